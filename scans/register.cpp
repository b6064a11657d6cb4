#include "hub/app.h"
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
    Windows::registerWindow<frmScanlist>();
    Windows::registerWindow<frmScanpairs>();
    Windows::registerWindow<frmScanband>();
    registerReader(FileKind::ScanList, windowFile(&frmScanlist::sflfile2ram, ClosedWindow::Refuse));
    registerWriter(FileKind::ScanList, windowFile(&frmScanlist::sflram2file, ClosedWindow::Refuse));
    registerReader(FileKind::ScanPairs, windowFile(&frmScanpairs::sfpfile2ram, ClosedWindow::Refuse));
    registerWriter(FileKind::ScanPairs, windowFile(&frmScanpairs::sfpram2file, ClosedWindow::Refuse));
    registerReader(FileKind::BandScan, windowFile(&frmScanband::sanfile2ram, ClosedWindow::Refuse));
    registerWriter(FileKind::BandScan, windowFile(&frmScanband::sanram2file, ClosedWindow::Refuse));
}

} // namespace tav
