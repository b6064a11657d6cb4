#include "hub/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "timers/frmRxClock.h"
#include "timers/frmRxTimer.h"
#include "timers/timerprog.h"

#include <QFileInfo>
#include <algorithm>

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
    if (w && w->armed())
        return FileResult::failure(QStringLiteral("The timer is running; its programs cannot be replaced now."));
    const int rxtype = w ? w->rxtype() : goModel().rxtype;
    const TprReadResult r = tprRead(*lines, rxtype, tprdata());
    QStringList left = r.refused;
    if (w) {
        // The window fixes them as its Fix would, so they run as they are.
        left += w->fixFilePrograms(tprdata());
        tprdata() = w->table.progdata;
        w->programsKept(tprLines(tprdata()));
    }
    // In the order of the lines.
    std::stable_sort(left.begin(), left.end(), [](const QString &a, const QString &b) {
        return leadingNumber(a.mid(5)) < leadingNumber(b.mid(5));
    });
    if (!left.isEmpty() || r.linesPast > 0) {
        QStringList text;
        if (!left.isEmpty()) {
            text << QStringLiteral("These lines were not taken as programs:");
            for (int i = 0; i < left.size() && i < kPrograms; ++i)
                text << left[i];
        }
        if (r.linesPast > 0)
            text << QStringLiteral("The file has more than six lines; only the first six were read.");
        msgBox(text, MsgIcon::Exclamation, QStringLiteral("Timer program file"));
    }
    // A save writes the rows, so what was not taken as a program is gone then.
    return FileResult::loaded({qint64(left.size()) + r.linesPast, false});
}

FileResult tprram2file(const QString &path)
{
    QString error;
    if (!writeTextLines(path, tprLines(tprdata()), &error))
        return FileResult::failure(error);
    if (auto *w = Windows::existing<frmRxTimer>(); w && w->isLoadedForm() && tprdata() == w->table.progdata)
        w->programsKept(tprLines(tprdata()));
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
