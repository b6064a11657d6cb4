#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/textfile.h"
#include "timers/frmRxClock.h"
#include "timers/frmRxTimer.h"
#include "timers/timerprog.h"

namespace tav {

namespace {

FileResult tprfile2ram(const QString &path)
{
    const auto lines = readTextLines(path);
    if (!lines)
        return FileResult::failure(QStringLiteral("The file could not be read."));
    const int count = tprRead(*lines, tprdata());
    if (auto *w = Windows::get<frmRxTimer>(QStringLiteral("frmRxTimer"))) {
        w->load();
        w->showTprPrograms(count);
    }
    return FileResult::success();
}

FileResult tprram2file(const QString &path)
{
    QString error;
    if (!writeTextLines(path, tprLines(tprdata()), &error))
        return FileResult::failure(error);
    return FileResult::success();
}

} // namespace

// The windows and file kinds of this folder join the program here.
void registerTimerWindows()
{
    Windows::registerFactory(QStringLiteral("frmRxTimer"), [] { return new frmRxTimer; });
    Windows::registerFactory(QStringLiteral("frmRxClock"), [] { return new frmRxClock; });
    registerReader(15, tprfile2ram);
    registerWriter(15, tprram2file);
}

} // namespace tav
