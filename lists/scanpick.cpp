#include "lists/scanpick.h"

#include "core/numtext.h"

namespace tav::lists {

int countInRange(const QStringList &texts, double fmin, double fmax)
{
    int n = 0;
    for (const QString &t : texts) {
        const double v = numericValue(t);
        if (fmin <= v && v <= fmax)
            ++n;
    }
    return n;
}

std::optional<int> nextScanIndex(const QStringList &texts, int from, double last, double fmin, double fmax)
{
    const int n = int(texts.size());
    if (n == 0)
        return std::nullopt;
    from = ((from % n) + n) % n;
    for (int step = 0; step < n; ++step) {
        const int i = (from + step) % n;
        const double v = numericValue(texts[i]);
        if (fmin <= v && v <= fmax && v != last)
            return i;
    }
    return std::nullopt;
}

} // namespace tav::lists
