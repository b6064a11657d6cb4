#include "core/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "timers/frmRxClock.h"
#include "timers/frmRxTimer.h"
#include "timers/timerprog.h"

#include <QFileInfo>

namespace tav {

namespace {

FileResult tprfile2ram(const QString &path)
{
    // Six short lines make the largest timer-program file; a far larger file
    // is refused before it is read, so no such file can fill the memory.
    if (QFileInfo(path).size() > kTprFileMaxBytes)
        return FileResult::failure(QStringLiteral("The file is far larger than a timer-program file can be."));
    const auto lines = readTextLines(path, kShortLineMax);
    if (!lines)
        return FileResult::failure(QStringLiteral("The file could not be read."));
    // The programs are checked against the receiver the timer window works for.
    auto *w = Windows::get<frmRxTimer>();
    if (w)
        w->load();
    const int rxtype = w ? w->rxtype() : G.goRxtype;
    const TprReadResult r = tprRead(*lines, rxtype, tprdata());
    if (!r.refused.isEmpty() || r.linesPast > 0) {
        QStringList text;
        if (!r.refused.isEmpty()) {
            text << QStringLiteral("These lines hold no program the receiver can take,")
                 << QStringLiteral("so they were not read:");
            for (int i = 0; i < r.refused.size() && i < kPrograms; ++i)
                text << r.refused[i];
        }
        if (r.linesPast > 0)
            text << QStringLiteral("The file has more than six lines; only the first six were read.");
        msgBox(text, MsgIcon::Exclamation, QStringLiteral("Timer program file"));
    }
    if (w)
        w->showTprPrograms(r.count);
    // A save writes refused rows empty and has no row for lines past the sixth.
    return FileResult::loaded({qint64(r.refused.size()) + r.linesPast, false});
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
    Windows::registerWindow<frmRxTimer>();
    Windows::registerWindow<frmRxClock>();
    registerReader(FileKind::TimerPrograms, tprfile2ram);
    registerWriter(FileKind::TimerPrograms, tprram2file);
}

} // namespace tav
