#pragma once
// The list scan without its window: twenty frequency boxes visited in turn,
// a history of the last twenty readings per box drawn as bars, and trend
// marks every few runs; and the scan-list file.

#include "core/canvas.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace tav {

class ListScan {
public:
    static constexpr int kBoxes = 20;

    explicit ListScan(Picture &picture) : m_pic(picture) {}

    // Levels per box (0..19 used) and sample slot 1..20 (20 the newest; slot 0 stays 0).
    std::array<std::array<float, 21>, 21> sllevels{};
    // Trend colour numbers per box and cell 1..10 (10 the newest); 0 never set.
    std::array<std::array<int16_t, 11>, 21> sltrends{};
    int slupdate = 5;
    int slbox = 0;
    int slruns = 0;
    int slupdcount = 0;
    int32_t sltrendcalls = 0;
    bool slnewscan = false;
    bool slnewtrend = false;

    // Axes, ticks, box numbers, scale texts and the empty trend rows.
    void drawFrame();
    // Clears the graphs, the trend rows and all levels and trends.
    void cls();
    // Start: the next tick restarts box, run and update counts, the next
    // trend update its call count.
    void begin(int update);
    // Continue: the counts go on from where they stopped.
    void resume();

    // First step of a tick.
    void tickStart();
    // Shifts the reading into the current box's history and redraws its bars.
    void storeReading(float level);
    // Marks the current box as unanswered; its next reading redraws it.
    void markUnanswered();
    // Moves on from the current box to the next box for which `valid` holds,
    // counting runs and running trend updates on the way. std::nullopt when a
    // full round finds none (slbox is then where the round ended).
    std::optional<int> nextValidBox(const std::function<bool(int)> &valid);
    void calctrend();

    QString runsText() const;

    // Runs per trend update as typed: a whole number 3..10, else nothing.
    static std::optional<int> updateFromText(const QString &text);
    // Seconds per frequency: 1..10, else 2.
    static double delayFromText(const QString &text);

    // y of a level's bar top.
    static int levelY(float level);

private:
    void drawColumn(int x, float level);
    Picture &m_pic;
};

// Whether a box's text is a frequency the receiver can tune.
bool sflValid(const QString &text, double fmin, double fmax);
// The scan-list file's twenty lines from the box texts.
QStringList sflram2lines(const std::array<QString, 20> &boxes, double fmin, double fmax);
// The box texts from the file's lines (at most twenty are used; missing ones
// "-"). *refused (when given) counts the lines that held text other than "-"
// but no frequency the receiver can tune: their boxes show "-".
std::array<QString, 20> sflfile2boxes(const QStringList &lines, double fmin, double fmax, int *refused = nullptr);

} // namespace tav
