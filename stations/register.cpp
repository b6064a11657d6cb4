#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "stations/frmConvertAero.h"
#include "stations/frmConvertILG.h"
#include "stations/frmILGfinddbf.h"
#include "stations/frmTracking.h"
#include "stations/stationlist.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerStationWindows()
{
    Windows::registerFactory(WindowId::frmConvertILG, [] { return new frmConvertILG; });
    Windows::registerFactory(WindowId::frmILGfinddbf, [] { return new frmILGfinddbf; });
    Windows::registerFactory(WindowId::frmConvertAero, [] { return new frmConvertAero; });
    Windows::registerFactory(WindowId::frmIlg2rx, [] { return new frmIlg2rx; });
    Windows::registerFactory(WindowId::frmIlgquery, [] { return new frmIlgquery; });
    Windows::registerFactory(WindowId::frmIlgqsort, [] { return new frmIlgqsort; });
    Windows::registerFactory(WindowId::frmAero2rx, [] { return new frmAero2rx; });
    Windows::registerFactory(WindowId::frmAeroquery, [] { return new frmAeroquery; });

    Windows::registerFactory(WindowId::frmTracking, [] { return new frmTracking; });

    registerReader(FileKind::Tracking, [](const QString &path) {
        auto *w = Windows::existing<frmTracking>();
        return w && G.trackingloaded ? w->trackfile2ram(path) : FileResult::success();
    });
    registerReader(
        FileKind::StationList,
        [](const QString &path) {
            auto *w = Windows::existing<frmIlg2rx>();
            return w && G.ilg2rxloaded ? w->ilgfile2ram(path) : FileResult::success();
        },
        StationDb::Ilg);
    registerReader(
        FileKind::StationList,
        [](const QString &path) {
            auto *w = Windows::existing<frmAero2rx>();
            return w && G.aero2rxloaded ? w->aerofile2ram(path) : FileResult::success();
        },
        StationDb::Aero);
}

} // namespace tav
