#include "stations/ftlrecord.h"

#include "core/numtext.h"

#include <charconv>
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

std::optional<QString> frequencyText(QStringView plain)
{
    const std::optional<QString> s = fixedFormatText(plain, 5, 2);
    if (!s || s->size() != 8)
        return std::nullopt;
    return s;
}

std::optional<QString> frequencyText(double khz)
{
    if (!std::isfinite(khz) || khz < 0)
        return std::nullopt;
    const std::optional<QString> shortest = shortestFixedText(khz);
    return shortest ? frequencyText(*shortest) : std::nullopt;
}

double frequency(const QString &rec) { return numericValue(columns(rec, 1, 8).toString()); }
double wholeKhz(const QString &rec) { return numericValue(columns(rec, 1, 5).toString()); }
int startTime(const QString &rec) { return int(numericValue(columns(rec, 10, 4).toString())); }
int endTime(const QString &rec) { return int(numericValue(columns(rec, 15, 4).toString())); }

double numericField(const char *p, int width)
{
    // The reading of numericValue (blanks, tabs and line ends skipped
    // anywhere, one sign, one point), on bytes.
    char digits[32];
    int n = 0, i = 0;
    auto skippable = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < width && skippable(p[i]))
        ++i;
    if (i < width && (p[i] == '-' || p[i] == '+'))
        digits[n++] = p[i++];
    bool point = false, any = false;
    for (; i < width && n < int(sizeof digits) - 1; ++i) {
        const char c = p[i];
        if (skippable(c))
            continue;
        if (c >= '0' && c <= '9') {
            digits[n++] = c;
            any = true;
        } else if (c == '.' && !point) {
            digits[n++] = '.';
            point = true;
        } else {
            break;
        }
    }
    if (!any)
        return 0;
    const char *first = digits[0] == '+' ? digits + 1 : digits;
    double v = 0;
    std::from_chars(first, digits + n, v);
    return v;
}

double frequency(const char *rec) { return numericField(rec, 8); }
double wholeKhz(const char *rec) { return numericField(rec, 5); }
int startTime(const char *rec) { return int(numericField(rec + 9, 4)); }
int endTime(const char *rec) { return int(numericField(rec + 14, 4)); }

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
