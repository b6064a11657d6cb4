#pragma once
// The NRD-535 panel's rules without the window: label texts from the values
// the driver reports, the fields of the status text, and the slider keys.

#include <QString>
#include <optional>

namespace tav {

// The fields of a 13-character status text ("X", attenuator, filter, mode,
// 8 frequency digits in Hz, AGC). A position that holds no digit gives -1;
// the frequency is absent unless all eight are digits.
struct Nrd535Status {
    int attenuator = -1, bandwidth = -1, mode = -1, agc = -1;
    std::optional<double> khz;
};
Nrd535Status parseNrd535Status(const QString &status);

// " 0", "-20"; "?" outside 0..1.
QString nrd535AttenuatorText(int v);
// The name table entry for 0..hi (bwnames, modenames, agcnames, nbnames);
// "?" outside, or for an entry the table leaves empty.
QString nrd535NameText(int v, int hi, const QString &name);
// A value with a leading blank when not negative (" 2200", "-50"); "?" outside lo..hi.
QString nrd535NumberText(int v, int lo, int hi);

// Shift with "=" (up), "-" (down) or "0" on the pass-band shift value.
enum class PbsKey { Up, Down, Zero };
int nrd535PbsKey(PbsKey key, int value);

// Ctrl+F1..F4 (fkey 1..4) on the bandwidth-control value for the filter the
// panel shows ("Wid" or "Int"); absent for any other filter (the slider is
// not moved). The result is then kept within the slider's range lo..hi,
// whatever the filter label says.
std::optional<int> nrd535BwcKey(int fkey, const QString &filter, int value, int lo, int hi);

} // namespace tav
