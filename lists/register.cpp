#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/links.h"
#include "core/windowfile.h"
#include "lists/frm320Files.h"
#include "lists/frmBdxc.h"
#include "lists/frmLast20.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmOwn.h"
#include "lists/frmScratchpad.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerListWindows()
{
    using namespace lists;
    Windows::registerFactory(QStringLiteral("frmBdxc"), [] { return new frmBdxc; });
    Windows::registerFactory(QStringLiteral("frmOwn"), [] { return new frmOwn; });
    Windows::registerFactory(QStringLiteral("frm320Files"), [] { return new frm320Files; });
    Windows::registerFactory(QStringLiteral("frmLast20"), [] { return new frmLast20; });
    Windows::registerFactory(QStringLiteral("frmMarkfreqs"), [] { return new frmMarkfreqs; });
    Windows::registerFactory(QStringLiteral("frmScratchpad"), [] { return new frmScratchpad; });

    // Every route that reads the "Ignore Freq steps" box finds the window loaded.
    links::setLast20Loader([]() -> Last20Link * {
        TavForm *w = Windows::get(QStringLiteral("frmLast20"));
        if (!w)
            return nullptr;
        w->load();
        return dynamic_cast<Last20Link *>(w);
    });

    // A list read from the Load dialog opens its window to take it.
    const QString listClosed = QStringLiteral("The list window could not be opened.");
    registerReader(1, windowFile("frmBdxc", &frmBdxc::bdxcfile2ram, ClosedWindow::Load, listClosed));
    registerReader(2, windowFile("frmOwn", &frmOwn::ownfile2ram, ClosedWindow::Load, listClosed));
    registerReader(10, windowFile("frm320Files", &frm320Files::f320file2ram, ClosedWindow::Load, listClosed));
    registerReader(9, windowFile("frmScratchpad", &frmScratchpad::fspfile2ram, ClosedWindow::Load, listClosed));
    registerWriter(9, windowFile("frmScratchpad", &frmScratchpad::fspram2file, ClosedWindow::Load, listClosed));
}

} // namespace tav
