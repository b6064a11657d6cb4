#pragma once
// The band scan without its window: the band and its steps, the levels kept
// per step in the three display modes, the plot geometry and drawing, and
// the band file.

#include "core/canvas.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tav {

class BandSweep {
public:
    static constexpr int kMaxStep = 500; // steps 0..500
    // The levels a band file holds: three digits of tenths of an S-unit,
    // far beyond the plot at either end (a reading never comes near them).
    static constexpr float kMinLevel = -99.9f, kMaxLevel = 99.9f;

    explicit BandSweep(Picture &picture) : m_pic(picture) {}

    double sbfreqstart = 0, sbfreqend = 0, sbstep = 0;
    int sbstepnr = 0;
    double sbfreq = 0;
    std::array<float, kMaxStep + 1> sblevels{};
    std::array<float, kMaxStep + 1> sbprev1{}, sbprev2{};
    float sbplotlevel = 0;
    int sbshowmode = 0;
    int sbfilelaststep = 0;

    // Whether a band can be swept: step above 0, within the receiver's
    // limits, end above start, at most 500 steps.
    static bool bandValid(double start, double end, double step, double fmin, double fmax);
    // Why a band cannot be swept between fmin and fmax; "" when it can.
    static QString bandProblem(double start, double end, double step, double fmin, double fmax);
    // The last step N of the band.
    int lastStep() const;

    // x of a frequency, y of a level.
    int xOf(double f) const;
    static int yOf(double level);

    // Axes, ticks and scale texts.
    void drawFrame();
    // The plot area in the background colour.
    void clearPlot();
    void clearStepMarker();
    void clearClickMarker();
    // The click marker at x.
    void clickMarker(int x);

    // A new sweep from the start step: all levels cleared.
    void begin(double start, double end, double step);
    // Records a reading for the current step by the display mode and draws
    // its bar and the step marker.
    void record(float reading);
    // Moves to the next step (wrapping to 0 after the last when `loop`);
    // returns the new step's frequency.
    double advance(bool loop);
    // Whether the sweep has passed its last step.
    bool finished() const { return sbstepnr > lastStep(); }

    // The frequency of plot column X (tune mode): the move and click rules.
    double mouseFrequency(int x) const;
    double clickFrequency(int x) const;

    // The band file's lines for the current sweep under `caption`.
    QStringList toLines(const QString &caption) const;
    // The same lines, only when they read back as a band the receiver
    // (fmin..fmax kHz) can sweep: a file is never written that its own
    // reader would refuse. Otherwise std::nullopt and why.
    std::optional<QStringList> fileLines(const QString &caption, double fmin, double fmax, QString *error) const;

    // A band file read but not yet applied.
    struct File {
        QString caption;
        double start = 0, end = 0, step = 0;
        int laststep = 0;
        std::array<float, kMaxStep + 1> levels{};
    };
    // Reads the lines; an error text for a file whose sweep cannot be drawn.
    // Levels are brought into kMinLevel..kMaxLevel.
    static std::optional<File> parse(const QStringList &lines, QString *error);
    // A band file as the Load takes it: parsed, and its band one the
    // receiver (fmin..fmax kHz) can sweep; a file refused here changes nothing.
    static std::optional<File> read(const QStringList &lines, double fmin, double fmax, QString *error);
    // Takes the file's band and levels as the current ones and draws its
    // sweep as a line in `colour`. A file of another band clears the plot
    // and its markers first; true when it did.
    bool applyOverlay(const File &f, const QColor &colour);

    // A start, end or step as the file and the boxes hold it: Str's text,
    // but in plain digits where Str would give an exponent ("1E-05"), which
    // neither the reader nor Start reads as the number.
    static QString bandText(double v);
    // Level text of the file: Int(level x 10) in single precision, at least three digits.
    static QString levelText(float level);

private:
    Picture &m_pic;
};

// Colour of overlay n (1..4).
QColor overlayColour(int n);
// S-level names 0..21 ("S0".."S9", "S9+6dB".."S9+72dB").
QString slabel(int n);

} // namespace tav
