#include "hub/app.h"
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
    Windows::registerWindow<frmNoRx>();
    Windows::registerWindow<frmAR7030>();
    Windows::registerWindow<frmRX320>();
    Windows::registerWindow<frmUserdefs>();
    Windows::registerWindow<frmNRD545>();
    Windows::registerWindow<frmUserdefs545>();
    Windows::registerWindow<frmAdvancedDSP>();
    Windows::registerWindow<frmNRD535>();
    Windows::registerWindow<frmRtty>();
    setRttyCaptureShown([](const QString &name) {
        if (auto *rtty = Windows::existing<frmRtty>())
            rtty->showCaptureFile(name);
    });
}

} // namespace tav
