#pragma once
// The S-meter window's rules without the window: the level's clamp and the
// sixty-second ring whose levels are counted in 21 one-S-unit bins.

#include <array>
#include <cstddef>
#include <vector>

namespace tav {

// The bin of a level among bins first..last: bin k holds k - 0.5 <= level <
// k + 0.5. 0 when the level lies in none (first is never 0 for the callers
// that use 0 as "none"), -1 when first is 0.
int levelBin(float level, int first, int last);

class SmeterHistory {
public:
    static constexpr int kSlots = 60;
    static constexpr int kBins = 21;

    // The needle and the histogram show S1 to S21.
    static float clampLevel(float level);

    // One bar to redraw after a sample: bin k's column is erased first when
    // `erase`, then drawn `count` pixels high when count > 0.
    struct BarUpdate {
        int bin = 0;
        bool erase = false;
        int count = 0;
        bool operator==(const BarUpdate &) const = default;
    };
    // Puts a clamped level into the ring. The sample leaving the ring (0
    // during the first minute, in no bin) is taken out of its bin first;
    // the updates come by bin, the leaving sample before the new one.
    std::vector<BarUpdate> add(float level);

    int count(int bin) const { return (bin >= 1 && bin <= kBins) ? m_bins[std::size_t(bin)] : 0; }
    int position() const { return m_pos; }

private:
    std::array<float, kSlots + 1> m_ring{};
    std::array<int, kBins + 1> m_bins{};
    int m_pos = 0;
};

} // namespace tav
