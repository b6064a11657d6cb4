#include "core/app.h"
#include "core/form.h"
#include "core/windowfile.h"
#include "core/filekinds.h"
#include "signal/frmProp2prt2.h"
#include "signal/frmPropagation.h"
#include "signal/frmProphisto.h"
#include "signal/frmSmeter.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerSignalWindows()
{
    Windows::registerFactory(QStringLiteral("frmSmeter"), [] { return new frmSmeter; });
    Windows::registerFactory(QStringLiteral("frmPropagation"), [] { return new frmPropagation; });
    Windows::registerFactory(QStringLiteral("frmProphisto"), [] { return new frmProphisto; });
    Windows::registerFactory(QStringLiteral("frmProp2prt2"), [] { return new frmProp2prt2; });
    registerReader(14, windowFile("frmProp2prt2", &frmProp2prt2::pan2prt2file2ram, ClosedWindow::Refuse,
                                  QStringLiteral("The printing window is not open.")));
    // The propagation file's reader and writer work on the open window.
    const QString propagationClosed = QStringLiteral("The propagation window is not open.");
    registerReader(7, windowFile("frmPropagation", &frmPropagation::panfile2ram, ClosedWindow::Refuse, propagationClosed));
    registerWriter(7, windowFile("frmPropagation", &frmPropagation::panram2file, ClosedWindow::Refuse, propagationClosed),
                   [] {
                       // A save that could not take its place ends the recording.
                       auto *w = Windows::existing<frmPropagation>(QStringLiteral("frmPropagation"));
                       if (w && w->isLoadedForm())
                           w->abandonRecording();
                   });
}

} // namespace tav
