#include "core/clock.h"
#include "core/setupdata.h"

#include "core/globals.h"
#include "core/numtext.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>
#include <optional>

namespace tav {

namespace {
std::optional<QDateTime> fixedNow;
qint64 fixedMono = 0;
const char *const monthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
} // namespace

QDateTime Clock::now() { return fixedNow ? *fixedNow : QDateTime::currentDateTime(); }
void Clock::set(const QDateTime &local) { fixedNow = local; }
void Clock::advanceSecs(qint64 secs) { advanceMsecs(secs * 1000); }
void Clock::advanceMsecs(qint64 ms)
{
    if (fixedNow) {
        fixedNow = fixedNow->addMSecs(ms);
        fixedMono += ms;
    }
}
void Clock::clear() { fixedNow.reset(); }
bool Clock::isSet() { return fixedNow.has_value(); }

qint64 Clock::monotonicMsecs()
{
    static QElapsedTimer running = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return fixedNow ? fixedMono : running.elapsed();
}

QString clockText(const QDateTime &t)
{
    const QDate d = t.date();
    const QTime tm = t.time();
    if (!d.isValid())
        return QString();
    return QString::number(d.day()) + QLatin1Char(' ') + QLatin1String(monthNames[d.month() - 1]) + QLatin1Char(' ') +
           QString::number(d.year()) + QLatin1String("  ") + padded(tm.hour(), 2) + QLatin1Char(':') +
           padded(tm.minute(), 2);
}

QString clockStamp(const QDateTime &t)
{
    const QDate d = t.date();
    const QTime tm = t.time();
    return padded(d.year(), 4) + padded(d.month(), 2) + padded(d.day(), 2) + QLatin1Char(' ') + padded(tm.hour(), 2) +
           padded(tm.minute(), 2);
}

QDateTime utcFromLocal(const QDateTime &local, double offsetHours)
{
    // Civil arithmetic on the wall-clock reading: no time zone, no daylight saving.
    QDateTime wall(local.date(), local.time(), Qt::UTC);
    // The set-up keeps the offset within 13 hours; a day either way bounds
    // anything else, so no product can overflow.
    const double h = std::isfinite(offsetHours) ? std::clamp(offsetHours, -24.0, 24.0) : 0.0;
    return wall.addSecs(-qint64(roundHalfEven(h * 60)) * 60);
}

namespace {
QDateTime utcOf(const QDateTime &local) { return utcFromLocal(local, setting(Setting::UtcOffsetHours)); }
} // namespace

void updateClockTexts()
{
    const QDateTime lt = Clock::now();
    const QDateTime ut = utcOf(lt);
    G.lttext = clockText(lt);
    G.utctext = clockText(ut);
    G.utcstamp = clockStamp(ut);
}

QString utcTextNow() { return clockText(utcOf(Clock::now())); }

} // namespace tav
