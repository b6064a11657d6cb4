#include "core/windowfile.h"
#include "hub/app.h"
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

    // A station file read while its window is closed is no failure: there is
    // nothing to show it in.
    registerReader(FileKind::Tracking, windowFile(&frmTracking::trackfile2ram, ClosedWindow::Skip));
    registerReader(FileKind::StationList, windowFile(&frmIlg2rx::ilgfile2ram, ClosedWindow::Skip), StationDb::Ilg);
    registerReader(FileKind::StationList, windowFile(&frmAero2rx::aerofile2ram, ClosedWindow::Skip), StationDb::Aero);
}

} // namespace tav
