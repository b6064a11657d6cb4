#include "core/windowfile.h"
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
    Windows::registerFactory(QStringLiteral("frmConvertILG"), [] { return new frmConvertILG; });
    Windows::registerFactory(QStringLiteral("frmILGfinddbf"), [] { return new frmILGfinddbf; });
    Windows::registerFactory(QStringLiteral("frmConvertAero"), [] { return new frmConvertAero; });
    Windows::registerFactory(QStringLiteral("frmIlg2rx"), [] { return new frmIlg2rx; });
    Windows::registerFactory(QStringLiteral("frmIlgquery"), [] { return new frmIlgquery; });
    Windows::registerFactory(QStringLiteral("frmIlgqsort"), [] { return new frmIlgqsort; });
    Windows::registerFactory(QStringLiteral("frmAero2rx"), [] { return new frmAero2rx; });
    Windows::registerFactory(QStringLiteral("frmAeroquery"), [] { return new frmAeroquery; });

    Windows::registerFactory(QStringLiteral("frmTracking"), [] { return new frmTracking; });

    // A station file read while its window is closed is no failure: there is
    // nothing to show it in.
    registerReader(5, windowFile("frmTracking", &frmTracking::trackfile2ram, ClosedWindow::Skip));
    registerReader(3, windowFile("frmIlg2rx", &frmIlg2rx::ilgfile2ram, ClosedWindow::Skip), 1);
    registerReader(3, windowFile("frmAero2rx", &frmAero2rx::aerofile2ram, ClosedWindow::Skip), 2);
}

} // namespace tav
