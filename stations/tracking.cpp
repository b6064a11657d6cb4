#include "stations/tracking.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/setupdata.h"
#include "stations/ftlrecord.h"

#include <cmath>

namespace tav {

namespace {

struct Angle {
    double degrees = 0;
    bool ok = false;
};

// "ddmmN" style text to signed degrees; `neg` is the letter of the negative half.
double toDegrees(const QString &text, QChar neg)
{
    const double sign = text.endsWith(neg) ? -1 : 1;
    const QString t = text.left(text.size() - 1);
    const double minutes = numericValue(t.right(2)) / 60;
    const double degrees = numericValue(t.left(t.size() - 2));
    return (degrees + minutes) * sign;
}

bool validCoordinate(QStringView t, int digits, QChar pos, QChar neg)
{
    if (t.size() != digits + 1 || (t.back() != pos && t.back() != neg))
        return false;
    for (int i = 0; i < digits; ++i)
        if (!t[i].isDigit() || t[i].unicode() > 127)
            return false;
    return true;
}

QString formatWhole(double v, int digits)
{
    const double r = std::round(v); // halves away from zero
    return padded(int64_t(r), digits);
}

} // namespace

QString Distbearing(const QString &rec, const QString &lat, const QString &lon)
{
    const QString r = ftl::held(rec);
    const QString C = r.mid(77, 5), D = r.mid(83, 6);
    if (lat.size() < 3 || lon.size() < 3)
        return QString(12, QLatin1Char(' '));
    if (!validCoordinate(C, 4, QLatin1Char('N'), QLatin1Char('S')) ||
        !validCoordinate(D, 5, QLatin1Char('E'), QLatin1Char('W')))
        return r.mid(77, 12);
    double lat1 = toDegrees(lat, QLatin1Char('S')), lon1 = toDegrees(lon, QLatin1Char('W'));
    double lat2 = toDegrees(C, QLatin1Char('S')), lon2 = toDegrees(D, QLatin1Char('W'));
    // The steps below hold for a pair whose latitudes sum above zero. Any
    // other pair is reflected across the equator, which keeps the distance
    // and turns the bearing b into 180 - b.
    const bool mirrored = lat1 + lat2 < 0;
    if (mirrored) {
        lat1 = -lat1;
        lat2 = -lat2;
    }
    const double c = 0.00872665;
    double dl = (lon2 - lon1) * c, dp = (lat2 - lat1) * c, sp = (lat1 + lat2) * c;
    if (dl == 0)
        dl = 1e-8;
    if (dp == 0)
        dp = 1e-8;
    if (sp == 0)
        sp = 1e-8;
    const double x = std::atan(std::sin(dp) / (std::tan(dl) * std::cos(sp)));
    const double y = std::atan(std::cos(dp) / (std::tan(dl) * std::sin(sp)));
    const double h = std::atan(std::sin(y) / std::sin(x) * std::tan(dp));
    const double km = (h + h) * (60 / 0.0174533) * 1.854;
    double bearing = (y - x) / 0.0174533;
    if (mirrored)
        bearing = 180 - bearing;
    if (bearing < 0)
        bearing += 360;
    return (formatWhole(km, 5) + QStringLiteral(" km") + QLatin1Char(' ') + formatWhole(bearing, 3)).left(12);
}

const QString &TrackEngine::separator()
{
    static const QString s = [] {
        QStringList eq;
        for (int i = 0; i < 25; ++i)
            eq << QStringLiteral("=");
        return eq.join(QLatin1Char(' '));
    }();
    return s;
}

void TrackEngine::clear()
{
    trackrecs.clear();
    m_freq.clear();
    m_start.clear();
    m_end.clear();
    trackcount = -1;
    trackhit = 0;
    trackshow.clear();
    lastLine = -1;
}

void TrackEngine::setRecords(StationRecords recs)
{
    clear();
    trackrecs = std::move(recs);
    trackcount = int(trackrecs.size()) - 1;
    // Frequencies and times are read once here, not on every dial report.
    m_freq.resize(trackrecs.size());
    m_start.resize(trackrecs.size());
    m_end.resize(trackrecs.size());
    for (int i = 0; i < trackrecs.size(); ++i) {
        const char *r = trackrecs.data(i);
        m_freq[i] = ftl::frequency(r);
        m_start[i] = ftl::startTime(r);
        m_end[i] = ftl::endTime(r);
    }
}

bool TrackEngine::search(double rxfreqnow)
{
    if (trackcount < 2)
        return false;
    int low = 1, high = trackcount;
    do {
        const int mid = int(roundHalfEven((low + high) / 2.0));
        if (rxfreqnow >= m_freq[mid])
            low = mid;
        else
            high = mid;
    } while (low + 1 < high);
    trackhit = low;
    return true;
}

void TrackEngine::build(bool hitsOnly, double rxfreqnow, double catchRange, int now)
{
    trackshow.fill(QString(), kMaxLine + 1);
    trackshow.resize(kMaxLine + 1);
    lastLine = -1;
    bool separated = false;
    auto append = [&](const QString &line) {
        if (lastLine + 1 > kMaxLine)
            return;
        trackshow[++lastLine] = line;
    };
    for (int k = -250; k <= 250; ++k) {
        const int idx = trackhit + k;
        if (idx < 0 || idx > trackcount)
            continue;
        const double f = m_freq[idx];
        if (!(std::fabs(f - rxfreqnow) < catchRange))
            continue;
        if (hitsOnly && !ftl::onAir(m_start[idx], m_end[idx], now))
            continue;
        if (f > rxfreqnow && !separated) {
            append(separator());
            separated = true;
        }
        append(trackrecs[idx]);
    }
}

int TrackEngine::pageCount() const
{
    if (lastLine < 0)
        return 0;
    return std::min(kPages, lastLine / 24 + 1);
}

std::array<TrackEngine::Line, TrackEngine::kPageLines> TrackEngine::page(int p, bool hitsView, View view, int now) const
{
    std::array<Line, kPageLines> out;
    const int area = settingInt(Setting::TargetArea);
    const QString myArea = area >= 0 && area < 9 ? G.targetareas[area] : QString();
    for (int i = 0; i < kPageLines; ++i) {
        const int n = p * 24 + i;
        QString line = n >= 0 && n < trackshow.size() ? trackshow[n] : QString();
        Line &l = out[i];
        l.rgb = kBackground;
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('='))) {
            QString held = ftl::held(line);
            switch (view) {
            case DisDir: held.replace(77, 12, Distbearing(held, G.rxlatitude, G.rxlongitude)); break;
            case Ctry: held.replace(77, 12, held.mid(100, 12)); break;
            case Loc: held.replace(77, 12, held.mid(113, 12)); break;
            default: break;
            }
            line = held;
        }
        const bool isRecord = !line.isEmpty() && !line.startsWith(QLatin1Char('='));
        bool coloured = false;
        if (isRecord) {
            if (hitsView)
                coloured = ftl::frequency(line) > 10;
            else
                coloured = ftl::onAir(ftl::startTime(line), ftl::endTime(line), now);
        }
        if (coloured) {
            l.rgb = kOnAir;
            const QStringView target = ftl::columns(line, 43, 8);
            bool match = false;
            for (int k = 0; k + 2 <= target.size() && k < 7; ++k)
                if (!myArea.isEmpty() && target.mid(k, 2) == myArea)
                    match = true;
            if (area >= 0 && area < 9 && line.size() > 90 + area && line[90 + area] == QLatin1Char('1'))
                match = true;
            if (match)
                l.rgb = kTarget;
        }
        l.text = line;
    }
    return out;
}

} // namespace tav
