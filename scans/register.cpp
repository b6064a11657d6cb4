#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/windowfile.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "scans/frmScanpairs.h"

namespace tav {

// The windows and file kinds of this folder join the program here.
void registerScanWindows()
{
    Windows::registerFactory(QStringLiteral("frmScanlist"), [] { return new frmScanlist; });
    Windows::registerFactory(QStringLiteral("frmScanpairs"), [] { return new frmScanpairs; });
    Windows::registerFactory(QStringLiteral("frmScanband"), [] { return new frmScanband; });
    registerReader(11, windowFile("frmScanlist", &frmScanlist::sflfile2ram, ClosedWindow::Refuse));
    registerWriter(11, windowFile("frmScanlist", &frmScanlist::sflram2file, ClosedWindow::Refuse));
    registerReader(12, windowFile("frmScanpairs", &frmScanpairs::sfpfile2ram, ClosedWindow::Refuse));
    registerWriter(12, windowFile("frmScanpairs", &frmScanpairs::sfpram2file, ClosedWindow::Refuse));
    registerReader(6, windowFile("frmScanband", &frmScanband::sanfile2ram, ClosedWindow::Refuse));
    registerWriter(6, windowFile("frmScanband", &frmScanband::sanram2file, ClosedWindow::Refuse));
}

} // namespace tav
