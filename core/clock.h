#pragma once
// Every reading of the time of day goes through here, so tests can set the
// time and run an hour of timed work in milliseconds.

#include <QDateTime>
#include <QString>

namespace tav {

class Clock {
public:
    // Local date and time now (the set time while one is set).
    static QDateTime now();
    // Tests: fix the local time; it stays until advanced or cleared.
    static void set(const QDateTime &local);
    static void advanceSecs(qint64 secs);
    static void advanceMsecs(qint64 ms);
    static void clear();
    static bool isSet();
    // Milliseconds on a clock that only runs forward: a change of the time
    // of day never moves it. While a time is set, only the advance calls do.
    static qint64 monotonicMsecs();
};

// "d mmm yyyy  hh:mm" (two blanks before the hour), English month abbreviations.
QString clockText(const QDateTime &t);
// "yyyymmdd hhmm"
QString clockStamp(const QDateTime &t);
// UTC as plain civil arithmetic: local time minus `offsetHours` (whole or half).
QDateTime utcFromLocal(const QDateTime &local, double offsetHours);

// Recomputes lttext, utctext and utcstamp from the clock and the UTC offset setting.
void updateClockTexts();
// The UTC clock text (as utctext) of this moment, not of the last clock tick.
QString utcTextNow();

} // namespace tav
