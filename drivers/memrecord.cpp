#include "drivers/memrecord.h"
#include "drivers/receiver.h"

#include "core/globals.h"
#include "core/numtext.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

QString digits(int64_t v, int width)
{
    int64_t top = 1;
    for (int i = 0; i < width; ++i)
        top *= 10;
    return padded(std::clamp<int64_t>(v, 0, top - 1), width);
}

QString optDigits(const std::optional<int> &v, int width)
{
    return v ? digits(*v, width) : QString(width, QLatin1Char('@'));
}

QString exactly(const QString &s, int width)
{
    return s.left(width).leftJustified(width, QLatin1Char(' '));
}

int memInt(const QString &record, MemField f)
{
    return int(roundHalfEven(leadingNumber(memFieldText(record, f))));
}

QChar orBlank(QChar c) { return c.isNull() ? QLatin1Char(' ') : c; }

} // namespace

QString memFieldText(const QString &record, MemField f)
{
    return record.mid(f.first - 1, f.last - f.first + 1);
}

double memFieldValue(const QString &record, MemField f)
{
    return leadingNumber(memFieldText(record, f));
}

bool memFieldPresent(const QString &record, MemField f)
{
    const QString t = memFieldText(record, f).trimmed();
    return !t.isEmpty() && !t.contains(QLatin1Char('@'));
}

QString memPadded(const QString &record)
{
    return exactly(record, kMemRecordLength);
}

QString memEmptyRecord(const QString &cellDigits)
{
    return memPadded(QStringLiteral("XXX") + exactly(cellDigits, 3) + QStringLiteral(" No data  @ @@ @ @ @@@ @@@ @"));
}

QString memEmptyRecord(int cell) { return memEmptyRecord(digits(cell, 3)); }

QString memFrequencyField(double hz)
{
    if (!std::isfinite(hz))
        hz = 0;
    return digits(std::llround(std::clamp(hz, 0.0, 99999999.0)), 8);
}

QString memAr7030FrequencyField(double khz)
{
    if (!std::isfinite(khz))
        khz = 0;
    // Two decimals of a kHz first, then the 10 Hz multiple in whole Hz.
    const double tensOfHz = std::round(std::clamp(khz, 0.0, 99999.99) * 100.0);
    return digits(int64_t(tensOfHz) * 10, 8);
}

QString memAr7030Record(int cell, double khz, int mode, int filter, int pbs, int sqlbfo, int scan)
{
    return memPadded(QStringLiteral("MEM") + digits(cell, 3) + QLatin1Char(' ') + memAr7030FrequencyField(khz)
                     + QLatin1Char(' ') + digits(mode, 1) + QLatin1Char(' ') + digits(filter, 2)
                     + QStringLiteral(" @ @ ") + digits(pbs, 3) + QLatin1Char(' ') + digits(sqlbfo, 3)
                     + QLatin1Char(' ') + digits(scan, 1));
}

QString memValueProblem(const QString &what, long long value, int lo, int hi)
{
    return QStringLiteral("the %1 %2 is not in %3 to %4").arg(what).arg(value).arg(lo).arg(hi);
}

QString memJrcRecord(const QString &cellDigits, const QString &freqDigits, QChar mode, QChar bandwidth,
                     QChar attenuator, QChar agc)
{
    return memPadded(QStringLiteral("MEM") + exactly(cellDigits, 3) + QLatin1Char(' ') + exactly(freqDigits, 8)
                     + QLatin1Char(' ') + orBlank(mode) + QStringLiteral(" 0") + orBlank(bandwidth)
                     + QLatin1Char(' ') + orBlank(attenuator) + QLatin1Char(' ') + orBlank(agc)
                     + QStringLiteral(" @@@ @@@ @"));
}

QChar memNrd545AgcDigit(const QString &agcTime)
{
    const int64_t step = std::clamp<int64_t>(roundHalfEven(leadingNumber(agcTime) / 10.0), 1, 9);
    return QChar(char16_t(u'0' + step));
}

QString MemRecord::text() const
{
    if (!used)
        return memEmptyRecord(cell);
    return memPadded(QStringLiteral("MEM") + digits(cell, 3) + QLatin1Char(' ') + memFrequencyField(hz)
                     + QLatin1Char(' ') + optDigits(mode, 1) + QLatin1Char(' ') + optDigits(bandwidth, 2)
                     + QLatin1Char(' ') + optDigits(attenuator, 1) + QLatin1Char(' ') + optDigits(agc, 1)
                     + QLatin1Char(' ') + optDigits(pbs, 3) + QLatin1Char(' ') + optDigits(sqlbfo, 3)
                     + QLatin1Char(' ') + optDigits(scan, 1));
}

MemRecord MemRecord::parse(const QString &record)
{
    MemRecord r;
    const QString kind = memFieldText(record, memcol::Kind);
    r.used = kind == QLatin1String("MEM");
    r.empty = kind == QLatin1String("XXX");
    r.cell = int(memFieldValue(record, memcol::Cell));
    r.hz = memFieldValue(record, memcol::Frequency);
    auto opt = [&](MemField f) -> std::optional<int> {
        if (!memFieldPresent(record, f))
            return std::nullopt;
        return int(memFieldValue(record, f));
    };
    if (r.used) {
        r.mode = opt(memcol::Mode);
        r.bandwidth = opt(memcol::Bandwidth);
        r.attenuator = opt(memcol::Attenuator);
        r.agc = opt(memcol::Agc);
        r.pbs = opt(memcol::PassBandShift);
        r.sqlbfo = opt(memcol::SqlBfo);
        r.scan = opt(memcol::Scan);
    }
    return r;
}

std::optional<MemSetting> memSetting(const QString &r, const RxModel &model)
{
    if (r.isEmpty())
        return std::nullopt;
    MemSetting s;
    s.khz = leadingNumber(memFieldText(r, memcol::Frequency)) / 1000.0;
    if (!(model.freqMinKHz <= s.khz && s.khz <= model.freqMaxKHz))
        return std::nullopt;
    s.mode = memInt(r, memcol::Mode);
    s.bandwidth = memInt(r, memcol::Bandwidth);
    s.pbs = memInt(r, memcol::PassBandShift);
    s.sqlbfo = memInt(r, memcol::SqlBfo);
    s.agc = memInt(r, memcol::Agc);
    s.status = QStringLiteral("X") + r.mid(21, 1) + r.mid(19, 1) + r.mid(16, 1) + memFieldText(r, memcol::Frequency)
               + r.mid(23, 1);
    return s;
}

} // namespace tav
