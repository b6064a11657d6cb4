#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "panels/frmNoRx.h"
#include "panels/frmAR7030.h"
#include "panels/frmRX320.h"
#include "panels/frmNRD545.h"
#include "panels/jrc/frmUserdefs545.h"
#include "panels/jrc/frmAdvancedDSP.h"
#include "panels/jrc/frmUserdefs.h"
#include "panels/frmNRD535.h"
#include "panels/jrc/frmRtty.h"

namespace tav {

// The receiver panels and the JRC windows join the program here.
void registerPanelWindows()
{
    Windows::registerFactory(QStringLiteral("frmNoRx"), [] { return new frmNoRx; });
    Windows::registerFactory(QStringLiteral("frmAR7030"), [] { return new frmAR7030; });
    Windows::registerFactory(QStringLiteral("frmRX320"), [] { return new frmRX320; });
    Windows::registerFactory(QStringLiteral("frmUserdefs"), [] { return new frmUserdefs; });
    Windows::registerFactory(QStringLiteral("frmNRD545"), [] { return new frmNRD545; });
    Windows::registerFactory(QStringLiteral("frmUserdefs545"), [] { return new frmUserdefs545; });
    Windows::registerFactory(QStringLiteral("frmAdvancedDSP"), [] { return new frmAdvancedDSP; });
    Windows::registerFactory(QStringLiteral("frmNRD535"), [] { return new frmNRD535; });
    Windows::registerFactory(QStringLiteral("frmRtty"), [] { return new frmRtty; });
    setRttyCaptureShown([](const QString &name) {
        if (auto *rtty = Windows::existing<frmRtty>(QStringLiteral("frmRtty")))
            rtty->showCaptureFile(name);
    });
}

} // namespace tav
