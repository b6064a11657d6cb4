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
    Windows::registerWindow<frmConvertILG>();
    Windows::registerWindow<frmILGfinddbf>();
    Windows::registerWindow<frmConvertAero>();
    Windows::registerWindow<frmIlg2rx>();
    Windows::registerWindow<frmIlgquery>();
    Windows::registerWindow<frmIlgqsort>();
    Windows::registerWindow<frmAero2rx>();
    Windows::registerWindow<frmAeroquery>();

    Windows::registerWindow<frmTracking>();

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
