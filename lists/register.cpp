#include "hub/app.h"
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
    Windows::registerWindow<frmBdxc>();
    Windows::registerWindow<frmOwn>();
    Windows::registerWindow<frm320Files>();
    Windows::registerWindow<frmLast20>();
    Windows::registerWindow<frmMarkfreqs>();
    Windows::registerWindow<frmScratchpad>();

    // Every route that reads the "Ignore Freq steps" box finds the window loaded.
    links::setLast20Loader([]() -> Last20Link * {
        TavForm *w = Windows::get(WindowId::frmLast20);
        if (!w)
            return nullptr;
        w->load();
        return dynamic_cast<Last20Link *>(w);
    });

    // A list read from the Load dialog opens its window to take it.
    const QString listClosed = QStringLiteral("The list window could not be opened.");
    registerReader(FileKind::Bdxc, windowFile(&frmBdxc::bdxcfile2ram, ClosedWindow::Load, listClosed));
    registerReader(FileKind::Own, windowFile(&frmOwn::ownfile2ram, ClosedWindow::Load, listClosed));
    registerReader(FileKind::F320, windowFile(&frm320Files::f320file2ram, ClosedWindow::Load, listClosed));
    registerReader(FileKind::Scratchpad, windowFile(&frmScratchpad::fspfile2ram, ClosedWindow::Load, listClosed));
    registerWriter(FileKind::Scratchpad, windowFile(&frmScratchpad::fspram2file, ClosedWindow::Load, listClosed));
}

} // namespace tav
