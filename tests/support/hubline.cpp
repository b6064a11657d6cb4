#include "support/hubline.h"

#include "hub/app.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "sim/pty.h"
#include "support/testenv.h"

namespace tavtest {

using tav::WindowId;

HiddenTool::HiddenTool(tav::WindowId id)
    : TavForm(id)
{
}

void openHub(const ScratchDir &dir, const sim::PtyHarness &pty, int rxtype, bool hideLast20)
{
    tav::registerBuiltWindows();
    if (hideLast20)
        tav::Windows::registerFactory(WindowId::frmLast20,
                                      [] { return new HiddenTool(tav::WindowId::frmLast20); });
    tav::frmWelcome::instance()->load();
    tav::DialogScript::shown.clear(); // the start-up notice about a missing settings file
    tav::G.datapath = dir.path();
    dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
    tav::G.rxtype = int16_t(rxtype);
}

void closeHub(WindowId panel, bool hideLast20)
{
    if (tav::TavForm *p = tav::Windows::existing(panel))
        if (p->isLoadedForm())
            p->unload();
    tav::frmWelcome::destroy();
    tav::Windows::destroyAll();
    if (hideLast20)
        tav::Windows::registerFactory(WindowId::frmLast20, {});
}

} // namespace tavtest
