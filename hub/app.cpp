#include "hub/app.h"

#include "core/frmAbout.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "hub/frmSetUp.h"
#include "hub/frmWelcome.h"
#include "core/ui.h"

#include "core/help.h"

#include <QApplication>
#include <QTimer>

namespace tav {

void registerBuiltWindows()
{
    Windows::registerFactory(WindowId::frmWelcome, [] { return frmWelcome::instance(); });
    Windows::registerWindow<frmAbout>();
    Windows::registerWindow<frmSetUp>();
    Windows::registerWindow<frmLoadfile>();
    Windows::registerWindow<frmSavefile>();
    registerPanelWindows();
    registerListWindows();
    registerStationWindows();
    registerLogbookWindows();
    registerMemoryWindows();
    registerScanWindows();
    registerTimerWindows();
    registerSignalWindows();
    // F1 in any of them opens its help section.
    installHelpKey();
}

int runProgram(QApplication &app)
{
    app.setApplicationName(QStringLiteral("Tavorin"));
    registerBuiltWindows();
    frmWelcome *w = frmWelcome::instance();
    w->showModeless();
    if (!w->startupNotice().isEmpty()) {
        const QString notice = w->startupNotice();
        QTimer::singleShot(0, w, [notice] { msgBox(notice, MsgIcon::Information, QStringLiteral("Tavorin")); });
    }
    // The welcome window's close box ends the program as its Exit does.
    QObject::connect(w, &TavForm::unloaded, &app, [] { frmWelcome::endProgram(0); });
    return app.exec();
}

} // namespace tav
