#pragma once
// "rx320settings.ini": the RX-320's state between sessions, since the
// receiver itself cannot be read back. Eight lines, one number each.

#include <QString>
#include <cstdint>

namespace tav::rx320state {

// Fills the rx320* globals from the file. A missing, short or damaged file
// (always so at the very first start) leaves sound defaults for what it does
// not hold, and every value is brought into its range, so nothing absurd is
// ever sent to the receiver. Returns whether all eight lines were usable.
bool read(const QString &path);
// Writes the rx320* globals, replacing the file only once the new one is
// complete. Returns false (with `error`) when it could not be written.
bool write(const QString &path, QString *error = nullptr);

// The defaults used for what the file does not hold.
constexpr double kDefaultFreq = 10000;
constexpr int16_t kDefaultFilter = 2, kDefaultPbs = 0, kDefaultAgc = 2, kDefaultBfo = 800, kDefaultMode = 0,
                  kDefaultVolume = 30, kDefaultLinelevel = 50;

} // namespace tav::rx320state
