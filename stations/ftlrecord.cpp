#include "stations/ftlrecord.h"

#include "core/numtext.h"

#include <cmath>

namespace tav::ftl {

QString fit(const QString &text, int width)
{
    if (text.size() >= width)
        return text.left(width);
    return text + QString(width - text.size(), QLatin1Char(' '));
}

QString held(const QString &line) { return fit(line, kHeldWidth); }

QStringView columns(const QString &rec, int col, int width)
{
    const int from = col - 1;
    if (from >= rec.size() || width <= 0)
        return {};
    return QStringView(rec).mid(from, std::min<qsizetype>(width, rec.size() - from));
}

std::optional<QString> frequencyText(double khz)
{
    if (!std::isfinite(khz) || khz < 0)
        return std::nullopt;
    QString s = fixedFormat(khz, 5, 2);
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    if (s.size() != 8)
        return std::nullopt;
    return s;
}

double frequency(const QString &rec) { return numericValue(columns(rec, 1, 8).toString()); }
double wholeKhz(const QString &rec) { return numericValue(columns(rec, 1, 5).toString()); }
int startTime(const QString &rec) { return int(numericValue(columns(rec, 10, 4).toString())); }
int endTime(const QString &rec) { return int(numericValue(columns(rec, 15, 4).toString())); }

bool onAir(int start, int end, int now)
{
    if (start < end)
        return start <= now && now <= end;
    if (start > end)
        return now >= start || now <= end;
    return false;
}

int hhmmFromClockText(const QString &utctext)
{
    const QString t = utctext.right(5);
    return int(numericValue(t.left(2) + t.mid(3, 2)));
}

QString build(const Fields &f)
{
    QString r;
    r.reserve(kWrittenWidth);
    r += fit(f.freq, kFreq.width);
    r += QLatin1Char(' ') + fit(f.utc, kUtc.width);
    r += QLatin1Char(' ') + fit(f.station, kStation.width);
    r += QLatin1Char(' ') + fit(f.target, kTarget.width);
    r += QLatin1Char(' ') + fit(f.language, kLanguage.width);
    r += QLatin1Char(' ') + fit(f.power, kPower.width);
    r += QLatin1Char(' ') + fit(f.lat, kLat.width);
    r += QLatin1Char(' ') + fit(f.lon, kLon.width);
    r += QLatin1Char(' ');
    for (bool a : f.areas)
        r += a ? QLatin1Char('1') : QLatin1Char('0');
    r += QLatin1Char(' ') + fit(f.country, kCountry.width);
    r += QLatin1Char(' ') + fit(f.location, kLocation.width);
    return r;
}

} // namespace tav::ftl
