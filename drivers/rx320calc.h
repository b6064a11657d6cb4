#pragma once
// The RX-320's arithmetic, kept apart from the serial port so it can be
// checked value by value: the receiver is tuned by three words computed from
// the frequency together with mode, filter, pass-band shift and CW offset.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace tav::rx320 {

// The receiver's 34 filters, index 0..33, as pass-band widths in Hz
// (the widest, 8000 Hz, stands last). 0 outside 0..33.
int filterWidthHz(int index);

// Frequency correction in Hz at `hz`: the straight line through the
// calibration points `c5` (at 5 MHz) and `c15` (at 15 MHz), extrapolated
// beyond them, rounded towards minus infinity.
int correctionHz(double hz, double c5, double c15);

// Everything a tuning command is computed from.
struct TuningInput {
    double kHz = 0;
    int mode = 0;      // 0 AM, 1 USB, 2 LSB, 3 CW
    int filter = 0;    // 0..33
    int pbs = 0;       // pass-band shift, Hz
    int bfo = 0;       // CW beat offset, Hz
    double c5 = 0, c15 = 0;
};

struct TuningWords {
    int coarse = 0;     // 0..65535
    double fine = 0;    // not rounded; split into two bytes
    int bfo = 0;        // 0..65535
    double adj = 0;     // the corrected local-oscillator frequency, Hz
};

// The three words, or nothing for a mode outside 0..3.
std::optional<TuningWords> tuningWords(const TuningInput &in);
// "N", coarse high, coarse low, fine high, fine low, BFO high, BFO low, CR;
// every parameter byte within 0..255. Nothing for a mode outside 0..3.
std::optional<QByteArray> tuningCommand(const TuningInput &in);

// Receiver attenuation 0 (loudest)..63 for a slider value 0..99; values
// beyond the slider's ends count as the ends.
int audioLevel(int slider);

// S-units from the reply to "X": the reading is characters 2 and 3 taken as
// a 16-bit number; ln(reading) * 1.4, never below 0. A reply too short to
// hold the reading gives 0.
float smeterUnits(const QByteArray &reply);

// Mode letters as lists and the logbook exchange them: 0 "a", 1 "u", 2 "l",
// 3 "c"; "" for any other mode.
QString modeLetter(int mode);

// What a mode letter sets (case does not matter); the RX-320 takes only
// a, u, l and c.
struct LetterSetting {
    int16_t mode = 0;
    int16_t bandwidth = 0;
    int16_t agc = 0;
};
std::optional<LetterSetting> settingForLetter(const QString &letter);

} // namespace tav::rx320
