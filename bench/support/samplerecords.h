#pragma once
// The records the benchmarks fill their files with: a log record and a
// station line of the sizes a listener's own files have.

#include "core/numtext.h"
#include "logbook/logbook.h"
#include "stations/ftlrecord.h"

#include <QRandomGenerator>

namespace tavbench {

inline tav::LogRecord sampleLogRecord(QRandomGenerator &rng)
{
    using namespace tav;
    LogRecord r;
    r[LogDate] = QString::number(20000101 + rng.bounded(991231));
    r[LogStart] = padded(rng.bounded(2400), 4);
    r[LogEnd] = padded(rng.bounded(2400), 4);
    r[LogFreq] = padded(rng.bounded(30000), 5);
    r[LogSinpo] = QStringLiteral("45444");
    r[LogLanguage] = QStringLiteral("ENG");
    r[LogStation] = QStringLiteral("Station %1").arg(rng.bounded(5000));
    r[LogLocation] = QStringLiteral("Somewhere");
    r[LogRemarks] = QStringLiteral("Remarks of the reception report");
    r[LogRxSetting] = QStringLiteral("a");
    return r;
}

// A station line (125 characters) broadcasting from Woofferton to Europe.
inline QString sampleStationLine(double kHz, const QString &utc, const QString &station, const QString &language)
{
    using namespace tav;
    ftl::Fields fl;
    fl.freq = *ftl::frequencyText(kHz);
    fl.utc = utc;
    fl.station = station;
    fl.target = QStringLiteral("EU NA");
    fl.language = language;
    fl.power = QStringLiteral("500");
    fl.lat = QStringLiteral("5130N");
    fl.lon = QStringLiteral("00006W");
    fl.areas[3] = true;
    fl.country = QStringLiteral("England");
    fl.location = QStringLiteral("Woofferton");
    return ftl::build(fl);
}

} // namespace tavbench
