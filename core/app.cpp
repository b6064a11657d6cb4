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
    Windows::registerFactory(WindowId::frmWelcome, [] { return frmWelcome::instance(); });
    Windows::registerFactory(WindowId::frmAbout, [] { return new frmAbout; });
    Windows::registerFactory(WindowId::frmSetUp, [] { return new frmSetUp; });
    Windows::registerFactory(WindowId::frmLoadfile, [] { return new frmLoadfile; });
    Windows::registerFactory(WindowId::frmSavefile, [] { return new frmSavefile; });
    Windows::registerFactory(WindowId::frmNoRx, [] { return new frmNoRx; });
    Windows::registerFactory(WindowId::frmAR7030, [] { return new frmAR7030; });
    Windows::registerFactory(WindowId::frmRX320, [] { return new frmRX320; });
    Windows::registerFactory(WindowId::frmUserdefs, [] { return new frmUserdefs; });
    Windows::registerFactory(WindowId::frmNRD545, [] { return new frmNRD545; });
    Windows::registerFactory(WindowId::frmUserdefs545, [] { return new frmUserdefs545; });
    Windows::registerFactory(WindowId::frmAdvancedDSP, [] { return new frmAdvancedDSP; });
    Windows::registerFactory(WindowId::frmNRD535, [] { return new frmNRD535; });
    Windows::registerFactory(WindowId::frmRtty, [] { return new frmRtty; });
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
