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
    Windows::registerWindow<frmAbout>();
    Windows::registerWindow<frmSetUp>();
    Windows::registerWindow<frmLoadfile>();
    Windows::registerWindow<frmSavefile>();
    Windows::registerWindow<frmNoRx>();
    Windows::registerWindow<frmAR7030>();
    Windows::registerWindow<frmRX320>();
    Windows::registerWindow<frmUserdefs>();
    Windows::registerWindow<frmNRD545>();
    Windows::registerWindow<frmUserdefs545>();
    Windows::registerWindow<frmAdvancedDSP>();
    Windows::registerWindow<frmNRD535>();
    Windows::registerWindow<frmRtty>();
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
