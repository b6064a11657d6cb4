#include "signal/smeterstats.h"

namespace tav {

int levelBin(float level, int first, int last)
{
    for (int k = first; k <= last; ++k)
        if (float(k) - 0.5f <= level && level < float(k) + 0.5f)
            return k;
    return first == 0 ? -1 : 0;
}

float SmeterHistory::clampLevel(float level)
{
    if (!(level >= 1.0f))
        return 1.0f;
    return level > 21.0f ? 21.0f : level;
}

std::vector<SmeterHistory::BarUpdate> SmeterHistory::add(float level)
{
    m_pos = m_pos % kSlots + 1;
    const float old = m_ring[std::size_t(m_pos)];
    m_ring[std::size_t(m_pos)] = level;
    const int oldBin = levelBin(old, 1, kBins);
    const int newBin = levelBin(level, 1, kBins);
    std::vector<BarUpdate> out;
    for (int k = 1; k <= kBins; ++k) {
        if (k == oldBin) {
            --m_bins[std::size_t(k)];
            out.push_back({k, true, m_bins[std::size_t(k)]});
        }
        if (k == newBin) {
            ++m_bins[std::size_t(k)];
            out.push_back({k, false, m_bins[std::size_t(k)]});
        }
    }
    return out;
}

} // namespace tav
