#include "signal/propfile.h"

#include "core/numtext.h"

#include <cmath>

namespace tav {

namespace {

int px(double v) { return int(std::floor(v + 0.5)); }

// Int(level x 10) in single precision: 9.7 gives 97 where double arithmetic
// would give 96.
int tenths(float level)
{
    volatile float p = level * 10.0f;
    const float v = p;
    if (!std::isfinite(v))
        return v > 0 ? 999 : -99;
    return int(std::floor(v));
}

} // namespace

QString propLevelText(float level)
{
    int t = tenths(level);
    if (t < 0) {
        t = std::max(t, -99);
        return QLatin1Char('-') + padded(-t, 2);
    }
    return padded(std::min(t, 999), 3);
}

QString propPairText(float minimum, float maximum)
{
    return QLatin1Char(' ') + propLevelText(minimum) + QLatin1Char(' ') + propLevelText(maximum);
}

QString propMissingPairText() { return QStringLiteral("   ?   ?"); }

float propLevelValue(const QString &field) { return float(numericValue(field) * 0.1); }

namespace {

bool isMissingMark(const QString &field) { return field.trimmed() == QLatin1String("?"); }

} // namespace

PropMinute parsePropMinute(const QString &line)
{
    PropMinute m;
    m.hour = int(numericValue(line.mid(0, 2)));
    m.minute = int(numericValue(line.mid(3, 2)));
    for (int k = 0; k < 4; ++k) {
        const QString mn = line.mid(6 + 8 * k, 3), mx = line.mid(10 + 8 * k, 3);
        m.min[size_t(k)] = propLevelValue(mn);
        m.max[size_t(k)] = propLevelValue(mx);
        m.missing[size_t(k)] = isMissingMark(mn) || isMissingMark(mx);
    }
    return m;
}

QColor propOverlayColour(int n)
{
    switch (n) {
    case 1: return QColor(0, 0, 255);
    case 2: return QColor(0, 255, 0);
    case 3: return QColor(255, 0, 255);
    default: return QColor(255, 0, 0);
    }
}

void PropagationMeter::drawAxes()
{
    const QColor black(0, 0, 0);
    static const char *names[] = {"1 min", "1 hr", "1 day"};
    static const char *levels[] = {"+72", "+48", "+24", "  S9", "  S5", "  S1"};
    for (int g = 0; g < 3; ++g) {
        const int o = 130 * g;
        m_pic.line(80, 150 + o, 560, 150 + o, black);
        for (int i = 0; i <= 6; ++i)
            m_pic.line(80 + 80 * i, 150 + o, 80 + 80 * i, 155 + o, black);
        m_pic.line(79, 60 + o, 79, 150 + o, black);
        for (int i = 0; i <= 5; ++i)
            m_pic.line(74, 66 + 16 * i + o, 79, 66 + 16 * i + o, black);
        m_pic.print(580, 80 + o, QLatin1String(names[g]), black);
        m_pic.print(77, 156 + o, QStringLiteral("0"), black);
        m_pic.print(556, 156 + o, g == 2 ? QStringLiteral("24") : QStringLiteral("60"), black);
        for (int i = 0; i < 6; ++i)
            m_pic.print(48, 60 + 16 * i + o, QLatin1String(levels[i]), black);
    }
    for (int y : {82, 114})
        for (int x = 84; x <= 556; x += 8)
            m_pic.point(x, y, black);
}

void PropagationMeter::start()
{
    m_min15 = m_min6 = 21.0f;
    m_max15 = m_max6 = 0;
    m_has15 = m_has6 = false;
    m_closed15 = m_closed6 = -1;
    // A line begun before a Stop or a close belongs to another minute.
    m_line.clear();
}

std::optional<QString> PropagationMeter::tick(int hour, int minute, int second, std::optional<float> reading,
                                              bool recording)
{
    const QColor bg = propBackground(), green = propGreen();
    if (reading) {
        const float level = *reading;
        if (level > m_max15)
            m_max15 = level;
        if (level < m_min15)
            m_min15 = level;
        if (level > m_max6)
            m_max6 = level;
        if (level < m_min6)
            m_min6 = level;
        m_has15 = m_has6 = true;
    }

    const int xm = 80 + 8 * second;
    m_pic.line(xm + 8, 149, xm + 8, 49, bg);
    if (reading)
        m_pic.line(xm, 149, xm, px(149 - 4.0 * *reading), green);
    if (second == 59)
        m_pic.line(80, 149, 80, 49, bg);

    // Ticks 850 ms apart put two into some seconds: a period closes at the
    // first tick of its closing second only, and the second tick's reading
    // opens the next period.
    const int now = (hour * 60 + minute) * 60 + second;
    std::optional<QString> written;
    if ((second == 1 || second == 16 || second == 31 || second == 46) && now != m_closed15) {
        m_closed15 = now;
        const int x = px(80 + 8 * minute + second / 7.5);
        m_pic.line(x + 2, 279, x + 2, 179, bg);
        // A period that got no answered reading leaves its column empty.
        if (m_has15 && m_min15 == m_max15)
            m_pic.point(x, px(279 - 4.0 * m_min15), green);
        else if (m_has15)
            m_pic.line(x, px(279 - 4.0 * m_min15), x, px(279 - 4.0 * m_max15), green);
        if (recording) {
            const QString pair = m_has15 ? propPairText(m_min15, m_max15) : propMissingPairText();
            if (second == 1) {
                m_line = padded(hour, 2) + QLatin1Char(':') + padded(minute, 2) + pair;
            } else {
                m_line += pair;
                if (second == 46) {
                    if (m_line.size() > 34)
                        written = m_line;
                    m_line.clear();
                }
            }
        }
        m_min15 = 21.0f;
        m_max15 = 0;
        m_has15 = false;
    }
    if (minute == 59 && second == 45)
        m_pic.line(80, 279, 80, 179, bg);

    if (minute % 6 == 1 && second == 2 && now != m_closed6) {
        m_closed6 = now;
        const int x = px(80 + 20 * hour + minute / 3.0);
        m_pic.line(x + 2, 409, x + 2, 309, bg);
        // A period that got no answered reading leaves its column empty.
        if (m_has6 && m_min6 == m_max6)
            m_pic.point(x, px(409 - 4.0 * m_min6), green);
        else if (m_has6)
            m_pic.line(x, px(409 - 4.0 * m_min6), x, px(409 - 4.0 * m_max6), green);
        m_min6 = 21.0f;
        m_max6 = 0;
        m_has6 = false;
    }
    if (hour == 23 && minute == 59)
        m_pic.line(80, 409, 80, 309, bg);
    return written;
}

std::array<QString, 3> drawPropOverlay(Picture &pic, const QStringList &lines, QColor c,
                                       const std::function<NextHour()> &ask)
{
    std::array<QString, 3> header;
    for (int i = 0; i < 3 && i < lines.size(); ++i)
        header[size_t(i)] = lines[i];
    if (lines.size() < 4)
        return header;

    float low6 = 21.0f, high6 = 0;
    bool has6 = false;
    // `valid` is false after a missing value: the next point starts anew
    // rather than being joined across the gap.
    struct Point {
        int x;
        float min, max;
        bool valid;
    };
    Point hourPrev{}, dayPrev{};
    // Returns false when the reading is to stop.
    auto afterMinute59 = [&](int mm, int k) {
        if (mm != 59 || k != 3)
            return true;
        switch (ask()) {
        case NextHour::Stop: return false;
        case NextHour::Only: pic.box(80, 179, 560, 279, propBackground()); return true;
        case NextHour::Add: return true;
        }
        return true;
    };
    auto hourLines = [&](int mm, int k, float mn, float mx, bool missing) {
        const int x = 80 + 8 * mm + 2 * k;
        if (missing) {
            hourPrev.valid = false;
            return;
        }
        if (!hourPrev.valid)
            hourPrev = {x, mn, mx, true};
        pic.line(hourPrev.x, px(279 - 4.0 * hourPrev.min), x, px(279 - 4.0 * mn), c);
        pic.line(hourPrev.x, px(279 - 4.0 * hourPrev.max), x, px(279 - 4.0 * mx), c);
        hourPrev = {x == 558 ? 80 : x, mn, mx, true};
    };

    const PropMinute first = parsePropMinute(lines[3]);
    hourPrev = {80 + 8 * first.minute, first.min[0], first.max[0], !first.missing[0]};
    dayPrev = {px(80 + 20 * first.hour + first.minute / 3.0), first.min[0], first.max[0], !first.missing[0]};
    for (int k = 0; k < 4; ++k) {
        hourLines(first.minute, k, first.min[size_t(k)], first.max[size_t(k)], first.missing[size_t(k)]);
        if (!afterMinute59(first.minute, k))
            return header;
    }
    for (int i = 4; i < lines.size(); ++i) {
        const PropMinute m = parsePropMinute(lines[i]);
        for (int k = 0; k < 4; ++k) {
            const float mn = m.min[size_t(k)], mx = m.max[size_t(k)];
            const bool missing = m.missing[size_t(k)];
            if (!missing) {
                if (mx > high6)
                    high6 = mx;
                if (mn < low6)
                    low6 = mn;
                has6 = true;
            }
            hourLines(m.minute, k, mn, mx, missing);
            if (m.minute % 6 == 1) {
                const double xd = 80 + 20 * m.hour + m.minute / 3.0;
                // The day's last point goes back to the start only after the
                // line's last pair, so its other pairs are not joined across the graph.
                const int next = (m.hour == 23 && m.minute == 55 && k == 3) ? 80 : px(xd);
                if (has6) {
                    if (!dayPrev.valid)
                        dayPrev = {px(xd), low6, high6, true};
                    pic.line(dayPrev.x, px(409 - 4.0 * dayPrev.min), px(xd), px(409 - 4.0 * low6), c);
                    pic.line(dayPrev.x, px(409 - 4.0 * dayPrev.max), px(xd), px(409 - 4.0 * high6), c);
                    dayPrev = {next, low6, high6, true};
                } else {
                    dayPrev.valid = false;
                }
                low6 = 21.0f;
                high6 = 0;
                has6 = false;
            }
            if (!afterMinute59(m.minute, k))
                return header;
        }
    }
    return header;
}

} // namespace tav
