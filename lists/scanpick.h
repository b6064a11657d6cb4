#pragma once
// The choice of the next frequency in the timed scans of the scratch pad and
// the marked frequencies.

#include <QString>
#include <QStringList>
#include <optional>

namespace tav::lists {

// How many of the texts have a leading numeric value within fmin..fmax.
int countInRange(const QStringList &texts, double fmin, double fmax);

// From index `from` on, wrapping at the end, the first text whose value lies
// within fmin..fmax and differs from `last`. One round at most: std::nullopt
// when no text qualifies (for example two equal frequencies written
// differently).
std::optional<int> nextScanIndex(const QStringList &texts, int from, double last, double fmin, double fmax);

} // namespace tav::lists
