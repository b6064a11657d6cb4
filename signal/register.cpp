#include "core/app.h"
#include "core/form.h"
#include "core/filekinds.h"
#include "signal/frmProp2prt2.h"
#include "signal/frmPropagation.h"
#include "signal/frmProphisto.h"
#include "signal/frmSmeter.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerSignalWindows()
{
    Windows::registerWindow<frmSmeter>();
    Windows::registerWindow<frmPropagation>();
    Windows::registerWindow<frmProphisto>();
    Windows::registerWindow<frmProp2prt2>();
    registerReader(FileKind::PropagationPrint, [](const QString &p) {
        auto *w = Windows::existing<frmProp2prt2>();
        return (w && w->isLoadedForm()) ? w->pan2prt2file2ram(p)
                                        : FileResult::failure(QStringLiteral("The printing window is not open."));
    });
    // The propagation file's reader and writer work on the open window.
    auto propagation = [] {
        auto *w = Windows::existing<frmPropagation>();
        return (w && w->isLoadedForm()) ? w : nullptr;
    };
    registerReader(FileKind::Propagation, [propagation](const QString &p) {
        frmPropagation *w = propagation();
        return w ? w->panfile2ram(p) : FileResult::failure(QStringLiteral("The propagation window is not open."));
    });
    registerWriter(FileKind::Propagation, [propagation](const QString &p) {
        frmPropagation *w = propagation();
        return w ? w->panram2file(p) : FileResult::failure(QStringLiteral("The propagation window is not open."));
    });
}

} // namespace tav
