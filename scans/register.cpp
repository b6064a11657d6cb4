#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "scans/frmScanpairs.h"

namespace tav {

namespace {

// A file kind's reader or writer works on its window when that is open.
template <class W>
FileResult withWindow(FileResult (W::*fn)(const QString &), const QString &path)
{
    W *w = Windows::existing<W>();
    if (!w || !w->isLoadedForm())
        return FileResult::failure(QStringLiteral("The window for this file is not open."));
    return (w->*fn)(path);
}

} // namespace

// The windows and file kinds of this folder join the program here.
void registerScanWindows()
{
    Windows::registerWindow<frmScanlist>();
    Windows::registerWindow<frmScanpairs>();
    Windows::registerWindow<frmScanband>();
    registerReader(FileKind::ScanList, [](const QString &p) { return withWindow(&frmScanlist::sflfile2ram, p); });
    registerWriter(FileKind::ScanList, [](const QString &p) { return withWindow(&frmScanlist::sflram2file, p); });
    registerReader(FileKind::ScanPairs, [](const QString &p) { return withWindow(&frmScanpairs::sfpfile2ram, p); });
    registerWriter(FileKind::ScanPairs, [](const QString &p) { return withWindow(&frmScanpairs::sfpram2file, p); });
    registerReader(FileKind::BandScan, [](const QString &p) { return withWindow(&frmScanband::sanfile2ram, p); });
    registerWriter(FileKind::BandScan, [](const QString &p) { return withWindow(&frmScanband::sanram2file, p); });
}

} // namespace tav
