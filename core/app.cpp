#include "core/app.h"

#include "core/frmAbout.h"
#include "core/frmLoadfile.h"
#include "core/frmSavefile.h"
#include "core/frmSetUp.h"
#include "core/frmWelcome.h"
#include "core/ui.h"
#include "drivers/clsRX320.h"
#include "drivers/clsAR7030.h"
#include "panels/frmNoRx.h"
#include "panels/frmAR7030.h"
#include "panels/frmRX320.h"
#include "panels/frmNRD545.h"
#include "panels/jrc/frmUserdefs545.h"
#include "panels/jrc/frmAdvancedDSP.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "panels/jrc/frmUserdefs.h"
#include "panels/frmNRD535.h"
#include "panels/jrc/frmRtty.h"

#include "core/help.h"

#include <QApplication>
#include <QTimer>

namespace tav {

void registerBuiltWindows()
{
    Windows::registerFactory(QStringLiteral("frmWelcome"), [] { return frmWelcome::instance(); });
    Windows::registerFactory(QStringLiteral("frmAbout"), [] { return new frmAbout; });
    Windows::registerFactory(QStringLiteral("frmSetUp"), [] { return new frmSetUp; });
    Windows::registerFactory(QStringLiteral("frmLoadfile"), [] { return new frmLoadfile; });
    Windows::registerFactory(QStringLiteral("frmSavefile"), [] { return new frmSavefile; });
    Windows::registerFactory(QStringLiteral("frmNoRx"), [] { return new frmNoRx; });
    Windows::registerFactory(QStringLiteral("frmAR7030"), [] { return new frmAR7030; });
    Windows::registerFactory(QStringLiteral("frmRX320"), [] { return new frmRX320; });
    Windows::registerFactory(QStringLiteral("frmUserdefs"), [] { return new frmUserdefs; });
    Windows::registerFactory(QStringLiteral("frmNRD545"), [] { return new frmNRD545; });
    Windows::registerFactory(QStringLiteral("frmUserdefs545"), [] { return new frmUserdefs545; });
    Windows::registerFactory(QStringLiteral("frmAdvancedDSP"), [] { return new frmAdvancedDSP; });
    Windows::registerFactory(QStringLiteral("frmNRD535"), [] { return new frmNRD535; });
    Windows::registerFactory(QStringLiteral("frmRtty"), [] { return new frmRtty; });
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
