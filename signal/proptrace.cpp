#include "signal/proptrace.h"

#include "core/numtext.h"
#include "signal/smeterstats.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

const QColor kBg(255, 255, 192);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);
const QColor kGrey(192, 192, 192);

int px(double v) { return int(std::floor(v + 0.5)); }
int levelY(float level) { return px(270 - 10.0 * level); }

} // namespace

int TraceMeter::columnSeconds(Span s) { return s == Min18 ? 6 : s == Min60 ? 20 : 60; }
int TraceMeter::endSeconds(Span s) { return s == Min18 ? 1081 : s == Min60 ? 3603 : 10810; }

QString TraceMeter::timeText(Span s, int i)
{
    switch (s) {
    case Min18: return padded(3 * i, 2) + QLatin1String("  ");
    case Min60: return padded(10 * i, 2) + QLatin1String("  ");
    case Min180: return padded(30 * i, 3) + QLatin1Char(' ');
    }
    return QString();
}

TraceMeter::Histo TraceMeter::histoFromText(const QString &text)
{
    if (text.left(3) == QLatin1String("Cum"))
        return Cumulative;
    if (text.left(3) == QLatin1String("Pre"))
        return PrevMinute;
    return NoStats;
}

void TraceMeter::drawFrame(Span s)
{
    m_pic.line(0, 40, 639, 40, kBlack);
    m_pic.line(0, 280, 639, 280, kBlack);
    for (int x : {30, 60, 570, 600})
        m_pic.line(x, 40, x, 280, kBlack);
    static const char *texts[] = {"+72", "+48", "+24", "S 9", "S 5", "S 1"};
    for (int i = 0; i < 6; ++i) {
        const int y = 60 + 40 * i;
        for (auto [a, b] : {std::pair{30, 36}, {54, 60}, {432, 438}, {570, 576}, {594, 600}})
            m_pic.line(a, y, b, y, kBlack);
        m_pic.print(6, y - 6, QLatin1String(texts[i]), kBlack);
        m_pic.print(606, y - 6, QLatin1String(texts[i]), kBlack);
    }
    for (int i = 0; i <= 6; ++i) {
        const int x = 70 + 60 * i;
        m_pic.line(x, 40, x, 45, kBlack);
        m_pic.line(x, 275, x, 285, kBlack);
    }
    for (int y = 60; y <= 260; y += 40)
        for (int i = 0; i <= 88; ++i)
            m_pic.point(71 + 4 * i, y, kBlack);
    drawTimeTexts(s);
}

void TraceMeter::drawTimeTexts(Span s)
{
    // The texts of another span are covered first, so none is left half visible.
    m_pic.box(60, 286, 570, 300, kBg);
    for (int i = 0; i <= 6; ++i)
        m_pic.print(64 + 60 * i, 287, timeText(s, i), kBlack);
}

void TraceMeter::cls()
{
    m_pic.box(38, 45, 52, 275, kBg);
    m_pic.box(578, 45, 592, 275, kBg);
    m_pic.box(65, 45, 565, 275, kBg);
    for (int y = 60; y <= 260; y += 40) {
        m_pic.line(432, y, 438, y, kBlack);
        for (int i = 0; i <= 88; ++i)
            m_pic.point(71 + 4 * i, y, kBlack);
    }
}

void TraceMeter::start()
{
    m_cum.fill(0);
    m_prev.fill(0);
    m_colMin = m_peakMin = 21.0f;
    m_colMax = m_peakMax = 0;
}

void TraceMeter::reset()
{
    start();
    m_last = 0;
    m_gate = 0;
}

void TraceMeter::mark(int x1, int x2, float level, QColor c)
{
    const int y = levelY(level);
    m_pic.box(x1, y - 1, x2, y + 1, c);
}

void TraceMeter::eraseLevelMark() { m_pic.box(578, 45, 592, 275, kBg); }

bool TraceMeter::tick(qint64 elapsed, float level, Span span, Histo histo)
{
    mark(578, 592, m_last, kBg);
    mark(578, 592, level, kRed);
    if (level > m_peakMax) {
        mark(38, 52, m_peakMax, kBg);
        m_peakMax = level;
        mark(38, 52, m_peakMax, kRed);
    }
    if (level < m_peakMin) {
        mark(38, 52, m_peakMin, kBg);
        m_peakMin = level;
        mark(38, 52, m_peakMin, kRed);
    }
    m_last = level;
    m_colMax = std::max(m_colMax, level);
    m_colMin = std::min(m_colMin, level);

    bool running = true;
    const int L = columnSeconds(span);
    if (elapsed > endSeconds(span)) {
        running = false;
    } else if (elapsed % L == L - 1) {
        const int x = 70 + 2 * int(elapsed / L);
        if (m_colMin == m_colMax)
            m_pic.point(x, levelY(m_colMin), kBlack);
        else
            m_pic.line(x, levelY(m_colMax), x, levelY(m_colMin), kBlack);
        m_colMin = 21.0f;
        m_colMax = 0;
    }

    const int k = levelBin(level, 0, 21);
    if (k >= 0) {
        ++m_cum[size_t(k)];
        ++m_prev[size_t(k)];
    }
    if (elapsed % 60 == 58) {
        if (elapsed - m_gate > 50)
            redrawHistogram(histo);
        m_gate = elapsed;
    }
    return running;
}

void TraceMeter::redrawHistogram(Histo histo)
{
    const int cumMax = *std::max_element(m_cum.begin(), m_cum.end());
    const int prevMax = *std::max_element(m_prev.begin(), m_prev.end());
    m_pic.box(435, 45, 565, 275, kBg);
    for (int k = 0; k <= 21; ++k) {
        if (histo == Cumulative && m_cum[size_t(k)] > 0)
            m_pic.box(560, 272 - 10 * k, px(560 - 120.0 * m_cum[size_t(k)] / cumMax), 268 - 10 * k, kBlack);
        else if (histo == PrevMinute && m_prev[size_t(k)] > 0)
            m_pic.box(560, 272 - 10 * k, px(560 - 120.0 * m_prev[size_t(k)] / prevMax), 268 - 10 * k, kGrey);
    }
    m_prev.fill(0);
}

} // namespace tav
