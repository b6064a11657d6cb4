// The timer-program and memory-file readers fed thousands of seeded random
// damages of a valid file: no crash or sanitizer report, each reading in
// bounded time, and nothing outside the receiver's ranges in what they keep.
#include "core/textfile.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"
#include "memories/memimage.h"
#include "timers/timerprog.h"
#include "support/mutate.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <random>

using namespace tav;
using tavtest::crlf;
using tavtest::mutate;

namespace {

constexpr int kCases = 3000;

bool inRange(const std::optional<IntRange> &r, const std::optional<int> &v) { return !r || (v && r->contains(*v)); }

} // namespace

TEST(TimerFileMutations, EveryProgramReadLiesInTheReceiversRanges)
{
    std::array<ProgRow, kPrograms + 1> table{};
    for (int n = 1; n <= kPrograms; ++n) {
        ProgRow &r = table[size_t(n)];
        r = ProgRow{0, 28, 2, 2004, 10 + n, 5 * n, 10, 1, 1, 0, 0, 4, 1}; // AM holds the NRD-545's AGC at 1
        r[17] = 5, r[19] = 6; // 6050 kHz
    }
    const QByteArray base = crlf(tprLines(table));
    std::mt19937 rng(31034);
    double slowest = 0; // CPU time: what a reading costs, whatever the machine's load
    for (int c = 0; c < kCases; ++c) {
        const QByteArray file = mutate(base, rng);
        const int rx = c % 5;
        const double cpu0 = tavtest::threadCpuMs();
        std::array<ProgRow, kPrograms + 1> back{};
        const TprReadResult r = tprRead(splitTextLines(file, kShortLineMax), rx, back);
        slowest = std::max(slowest, tavtest::threadCpuMs() - cpu0);
        ASSERT_GE(r.count, 0);
        ASSERT_LE(r.count, kPrograms);
        const RxModel &m = rxModel(rx);
        for (int n = 1; n <= kPrograms; ++n) {
            const ProgRow &p = back[size_t(n)];
            if (rowEmpty(p))
                continue;
            ASSERT_TRUE(p[2] >= 1 && p[2] <= 12 && p[1] >= 1 && p[1] <= lastDayOfMonth(p[2], p[3])) << c;
            ASSERT_TRUE(p[3] >= kFirstYear && p[3] <= kLastYear && p[4] >= 0 && p[4] <= 23) << c;
            ASSERT_TRUE(p[5] >= 0 && p[5] <= 59 && p[6] >= 1 && p[6] <= 240) << c;
            ASSERT_TRUE(m.timer.att.contains(p[7]) && m.timer.bw.contains(p[8]) && m.timer.pbs.contains(p[9])) << c;
            ASSERT_TRUE(m.timer.bwc.contains(p[10]) && m.timer.mode.contains(p[11]) && m.timer.agc.contains(p[12]))
                << c;
            const double khz = rowFrequencyKHz(p);
            ASSERT_TRUE(khz >= m.freqMinKHz && khz <= m.freqMaxKHz) << c;
        }
        ASSERT_LE(r.refused.size(), kPrograms) << "only the six lines a file holds are read";
    }
    EXPECT_LT(slowest, 1000) << "one reading took " << slowest << " ms";
}

TEST(MemoryFileMutations, EveryCellReadIsAChannelTheReceiverTakes)
{
    const int rxFor[] = {1, 2, 3, 4};
    std::mt19937 rng(31035);
    double slowest = 0;
    for (int rx : rxFor) {
        const RxModel &m = rxModel(rx);
        const int last = m.lastChannel.value_or(99);
        MemImage image;
        image.reset(last);
        for (int i = 0; i <= last; i += 3) {
            MemRecord r;
            r.used = i % 2 == 0;
            r.cell = i;
            r.hz = 5000000 + 5000.0 * i;
            if (m.memory.mode)
                r.mode = m.memory.mode->lo;
            if (m.memory.bandwidth)
                r.bandwidth = m.memory.bandwidth->hi;
            if (m.memory.attenuator)
                r.attenuator = 1;
            if (m.memory.agc)
                r.agc = m.memory.agc->lo;
            if (m.memory.pbs)
                r.pbs = 12, r.sqlbfo = 30, r.scan = 1;
            image.setRecord(i, r.text());
            image.setInfo(i, QStringLiteral("Station %1").arg(i));
        }
        const QByteArray base = crlf(image.fileLines());
        for (int c = 0; c < kCases / 4; ++c) {
            const QByteArray file = mutate(base, rng);
            MemImage back;
            const double cpu0 = tavtest::threadCpuMs();
            back.readFileLines(splitTextLines(file, kShortLineMax), last, rx);
            slowest = std::max(slowest, tavtest::threadCpuMs() - cpu0);
            ASSERT_EQ(back.lastCell(), last);
            for (int cell : back.heldCells()) {
                const QString rec = back.record(cell);
                ASSERT_EQ(rec.size(), kMemRecordLength);
                ASSERT_LE(back.info(cell).size(), kMemInfoLength);
                const MemRecord r = MemRecord::parse(rec);
                ASSERT_TRUE(r.used || r.empty) << rx << " case " << c << ": " << rec.toStdString();
                if (!r.used)
                    continue;
                ASSERT_TRUE(r.khz() >= m.freqMinKHz && r.khz() <= m.freqMaxKHz) << rec.toStdString();
                ASSERT_TRUE(inRange(m.memory.mode, r.mode) && inRange(m.memory.bandwidth, r.bandwidth)) << rec.toStdString();
                ASSERT_TRUE(inRange(m.memory.attenuator, r.attenuator) && inRange(m.memory.agc, r.agc)) << rec.toStdString();
                ASSERT_TRUE(inRange(m.memory.pbs, r.pbs) && inRange(m.memory.sqlbfo, r.sqlbfo)
                            && inRange(m.memory.scan, r.scan))
                    << rec.toStdString();
            }
        }
    }
    EXPECT_LT(slowest, 1000) << "one reading took " << slowest << " ms";
}
