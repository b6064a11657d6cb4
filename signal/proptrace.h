#pragma once
// The time trace and histograms without their window: level mark, peak
// marks, one trace column every L seconds over a span of 18, 60 or 180
// minutes, and the cumulative and last-minute histograms redrawn once a
// minute. Draws on the window's picture (632 x 337).

#include "core/canvas.h"

#include <QString>
#include <array>

namespace tav {

class TraceMeter {
public:
    // The spans by the index of the range box.
    enum Span { Min18 = 0, Min60 = 1, Min180 = 2 };
    // Seconds per column and the elapsed second after which the span is over.
    static int columnSeconds(Span s);
    static int endSeconds(Span s);
    // The seven time texts of a span's axis.
    static QString timeText(Span s, int i);

    enum Histo { Cumulative, PrevMinute, NoStats };
    static Histo histoFromText(const QString &text);

    explicit TraceMeter(Picture &picture) : m_pic(picture) {}

    // The frame, ticks, texts and guides drawn at load.
    void drawFrame(Span s);
    // The span's time texts (with trailing blanks covering earlier ones).
    void drawTimeTexts(Span s);
    // Clears the marks, trace and histogram area and redraws the guides.
    void cls();
    // Counts emptied, extremes back to their start values.
    void start();
    // Everything as when the window was made: counts, extremes, the last
    // level and the redraw gate.
    void reset();
    // One tick at `elapsed` whole seconds since Start. Returns false when the
    // span is over (the window stops; the tick has still run).
    bool tick(qint64 elapsed, float level, Span span, Histo histo);
    // Erases the level mark (Stop).
    void eraseLevelMark();

    int cumulative(int bin) const { return m_cum[size_t(bin)]; }
    int previous(int bin) const { return m_prev[size_t(bin)]; }
    qint64 gate() const { return m_gate; }

private:
    void redrawHistogram(Histo histo);
    void mark(int x1, int x2, float level, QColor c);

    Picture &m_pic;
    float m_last = 0, m_colMin = 21.0f, m_colMax = 0, m_peakMin = 21.0f, m_peakMax = 0;
    qint64 m_gate = 0;
    std::array<int, 22> m_cum{}, m_prev{};
};

} // namespace tav
