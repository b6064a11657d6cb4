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
template <class W> W *loadedWindow(const char *name)
{
    W *w = Windows::get<W>(QLatin1String(name));
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

    registerReader(1, [](const QString &path) {
        auto *w = loadedWindow<frmBdxc>("frmBdxc");
        return w ? w->bdxcfile2ram(path) : missingWindow();
    });
    registerReader(2, [](const QString &path) {
        auto *w = loadedWindow<frmOwn>("frmOwn");
        return w ? w->ownfile2ram(path) : missingWindow();
    });
    registerReader(10, [](const QString &path) {
        auto *w = loadedWindow<frm320Files>("frm320Files");
        return w ? w->f320file2ram(path) : missingWindow();
    });
    registerReader(9, [](const QString &path) {
        auto *w = loadedWindow<frmScratchpad>("frmScratchpad");
        return w ? w->fspfile2ram(path) : missingWindow();
    });
    registerWriter(9, [](const QString &path) {
        auto *w = Windows::get<frmScratchpad>(QStringLiteral("frmScratchpad"));
        return w ? w->fspram2file(path) : missingWindow();
    });
}

} // namespace tav
