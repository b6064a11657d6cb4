#pragma once
// The JRC rows of the frequency and mode hub as plain rules: the mode letter
// (`mfacode`) to and from the receivers' mode numbers, and the frequency in
// a dial report the receiver sends while it reports its tuning ("I1").

#include <QString>
#include <cstdint>
#include <optional>

namespace tav {

// What a mode letter sets on a JRC receiver. Absent fields are left alone.
struct JrcModeSetting {
    int16_t mode = 0;
    std::optional<int16_t> bandwidth;
    std::optional<int16_t> agcspeed;
};

// NRD-535: mode, filter and AGC for a letter (any case); nothing for a letter
// without a meaning. CW takes the Nar filter only when the Nar option setting is 1.
std::optional<JrcModeSetting> nrd535ModeSetting(const QString &code, double narFitted);
// NRD-545: the mode only.
std::optional<JrcModeSetting> nrd545ModeSetting(const QString &code);

// The letter of a receiver mode ("" for a mode without one).
QString nrd535Mfacode(int mode);
QString nrd545Mfacode(int mode);

// Collects dial reports across pieces of received text.
class JrcDialReports {
public:
    // `tail`: how many characters follow the 8 frequency digits up to and
    // including the CR (2 on the NRD-535, 4 on the NRD-545).
    explicit JrcDialReports(int tail) : m_tail(tail) {}

    // Appends received text to `term`. When `term` then ends in CR the report
    // is complete: `term` is emptied and `complete` set. The frequency in kHz
    // is returned only when its 8 characters are all digits; a garbled report
    // tunes nothing. A text that never ends in CR is kept to its last
    // kTermLimit characters, so `term` cannot grow without bound.
    std::optional<double> take(QString &term, const QString &received, bool &complete) const;

    static constexpr int kTermLimit = 64;

private:
    int m_tail;
};

} // namespace tav
