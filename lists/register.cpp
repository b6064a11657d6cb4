#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/links.h"
#include "lists/frm320Files.h"
#include "lists/frmBdxc.h"
#include "lists/frmLast20.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmOwn.h"
#include "lists/frmScratchpad.h"

namespace tav {

namespace {

// A reader works on its window, loading it when it is not loaded.
template <class W> W *loadedWindow()
{
    W *w = Windows::get<W>();
    if (w)
        w->load();
    return w;
}

FileResult missingWindow() { return FileResult::failure(QStringLiteral("The list window could not be opened.")); }

} // namespace

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

    registerReader(FileKind::Bdxc, [](const QString &path) {
        auto *w = loadedWindow<frmBdxc>();
        return w ? w->bdxcfile2ram(path) : missingWindow();
    });
    registerReader(FileKind::Own, [](const QString &path) {
        auto *w = loadedWindow<frmOwn>();
        return w ? w->ownfile2ram(path) : missingWindow();
    });
    registerReader(FileKind::F320, [](const QString &path) {
        auto *w = loadedWindow<frm320Files>();
        return w ? w->f320file2ram(path) : missingWindow();
    });
    registerReader(FileKind::Scratchpad, [](const QString &path) {
        auto *w = loadedWindow<frmScratchpad>();
        return w ? w->fspfile2ram(path) : missingWindow();
    });
    registerWriter(FileKind::Scratchpad, [](const QString &path) {
        auto *w = Windows::get<frmScratchpad>();
        return w ? w->fspram2file(path) : missingWindow();
    });
}

} // namespace tav
