#include "hub/app.h"
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
    Windows::registerWindow<frmSmeter>();
    Windows::registerWindow<frmPropagation>();
    Windows::registerWindow<frmProphisto>();
    Windows::registerWindow<frmProp2prt2>();
    registerReader(FileKind::PropagationPrint, windowFile(&frmProp2prt2::pan2prt2file2ram, ClosedWindow::Refuse,
                                                          QStringLiteral("The printing window is not open.")));
    // The propagation file's reader and writer work on the open window.
    const QString propagationClosed = QStringLiteral("The propagation window is not open.");
    registerReader(FileKind::Propagation, windowFile(&frmPropagation::panfile2ram, ClosedWindow::Refuse, propagationClosed));
    registerWriter(FileKind::Propagation, windowFile(&frmPropagation::panram2file, ClosedWindow::Refuse, propagationClosed),
                   [] {
                       // A save that could not take its place ends the recording.
                       auto *w = Windows::existing<frmPropagation>();
                       if (w && w->isLoadedForm())
                           w->abandonRecording();
                   });
}

} // namespace tav
