#pragma once
// The propagation measurement without its window: the minute lines of the
// propagation file (PAN_), the graphs the measurement draws second by
// second, and the overlays drawn from a stored file.
//
// A level is written as Int(level x 10), taken in single precision, in three
// characters: "097" for 9.7 S-units; below 0 as "-" and two digits ("-17"
// for -1.7, never below "-99"), so every pair keeps its columns and reads
// back as written. A period without a single answered reading is written
// as the missing mark, "  ?" for its minimum and for its maximum, so the
// minute still has its line and the columns stay where they are.

#include "core/canvas.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace tav {

QString propLevelText(float level);
// " mmm MMM": a blank and the minimum, a blank and the maximum.
QString propPairText(float minimum, float maximum);
// The pair of a period that got no reading: "   ?   ?".
QString propMissingPairText();
// The level in the three characters of a field (a field that is no number reads 0).
float propLevelValue(const QString &field);

// One minute line: "hh:mm" and four pairs, the minimum at character 7 + 8k
// and the maximum at 11 + 8k (from 1). Pairs the line lacks read as 0; a
// pair with the missing mark in either field reads as missing.
struct PropMinute {
    int hour = 0, minute = 0;
    std::array<float, 4> min{}, max{};
    std::array<bool, 4> missing{};
};
PropMinute parsePropMinute(const QString &line);

// The drawing colours of the measurement windows.
inline QColor propBackground() { return QColor(255, 255, 192); }
inline QColor propGreen() { return QColor(0, 192, 0); }
// The overlay colour of overlay n (1..4).
QColor propOverlayColour(int n);

// The measurement: 15-second and 6-minute extremes, the three graphs and the
// minute line being built. Draws on the window's picture (632 x 453).
class PropagationMeter {
public:
    explicit PropagationMeter(Picture &picture) : m_pic(picture) {}

    // The three graphs' axes, ticks, texts and the minute graph's guides.
    void drawAxes();
    // Extremes back to their start values (21.0 and 0), no minute line begun.
    void start();
    // One tick at UTC hh:mm:ss with the level, or none when the receiver
    // did not answer: that second gets no bar and its periods close all the
    // same, from the readings they have. A period closes once, at the first
    // tick of its closing second. With `recording` the minute line is
    // built; a complete line (more than 34 characters) is returned for the
    // file at second 46.
    std::optional<QString> tick(int hour, int minute, int second, std::optional<float> level, bool recording);

    // The line being built (tests).
    const QString &pendingLine() const { return m_line; }

private:
    Picture &m_pic;
    float m_min15 = 21.0f, m_max15 = 0, m_min6 = 21.0f, m_max6 = 0;
    // Whether each running period has had an answered reading.
    bool m_has15 = false, m_has6 = false;
    // The second of the day (hh:mm:ss in seconds) at which each period last
    // closed, so a second that gets two ticks closes it once.
    int m_closed15 = -1, m_closed6 = -1;
    QString m_line;
};

// What the "Next hour" question answered: draw over, clear the hour graph
// first, or stop reading.
enum class NextHour { Add, Only, Stop };

// Draws a stored propagation file (its lines, header included) as an overlay
// on the hour and day graphs in colour `c`. `ask` is asked after every
// minute 59. A missing pair leaves a gap in the hour graph, and a day
// period with nothing but missing pairs one in the day graph. Returns the three header lines (blank where the file is short).
std::array<QString, 3> drawPropOverlay(Picture &picture, const QStringList &lines, QColor c,
                                       const std::function<NextHour()> &ask);

} // namespace tav
