// Each model's table of facts against the receiver itself: the ends of the
// frequency range tune and nothing beyond them is sent, the memory channels
// and the working channel are the receiver's own, and every setting's limits
// are values the receiver takes, over a real line to each model's emulator.
#include "hub/app.h"
#include "hub/frmWelcome.h"
#include "core/comm.h"
#include "core/globals.h"
#include "core/tables.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"
#include "sim/emulator.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "support/receiverline.h"
#include "support/testenv.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"

#include <gtest/gtest.h>

using namespace tav;
using tavtest::waitFor;

namespace {

struct ModelCase {
    int rxtype;
    const char *emulator;
    void (*init)();
    // The settings the model's readSetting reports (att, bw, pbs, bwc, mode, agc).
    std::array<bool, 6> readBack;
    // The highest mode as the status read names it (the NRD-545 reports its
    // ECSS modes as AM).
    std::optional<int> topModeReadsAs;
};

std::array<int, 6> fields(const RxSetting &s) { return {s.att, s.bw, s.pbs, s.bwc, s.mode, s.agc}; }

class ModelTable : public ::testing::TestWithParam<ModelCase>, protected tavtest::ReceiverLine {
protected:
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;

    sim::JrcEmulator *jrc() { return dynamic_cast<sim::JrcEmulator *>(emu.get()); }

    void SetUp() override
    {
        const ModelCase &c = GetParam();
        openReceiver(dir, c.rxtype, c.emulator, c.init);
    }
    void TearDown() override { closeLine(); }

    bool tunedTo(double khz)
    {
        return waitFor([&] { return std::abs(emu->tunedFrequencyHz() - khz * 1000) < 10; }, 10000);
    }
};

} // namespace

TEST_P(ModelTable, RangeEndsTuneAndNothingBeyondIsSent)
{
    const RxModel &m = rx->model();
    ASSERT_EQ(m.rxtype, GetParam().rxtype);
    EXPECT_EQ(&goModel(), &m) << "the panel's tables are the model's";
    ASSERT_LT(m.freqMinKHz, m.freqMaxKHz);

    for (double end : {m.freqMinKHz, m.freqMaxKHz, m.freqMinKHz}) {
        ASSERT_TRUE(rx->tune(end)) << end;
        EXPECT_TRUE(tunedTo(end)) << end << " kHz: the receiver is at " << emu->tunedFrequencyHz() << " Hz";
    }
    tavtest::pump(200);
    pty->clearReceived();
    EXPECT_FALSE(rx->tune(m.freqMaxKHz + 0.001));
    EXPECT_FALSE(rx->tune(m.freqMinKHz - 0.001));
    tavtest::pump(100);
    EXPECT_TRUE(pty->received().isEmpty()) << pty->received().toStdString();
    EXPECT_TRUE(tunedTo(m.freqMinKHz));
}

TEST_P(ModelTable, MemoryChannelsAndTheWorkingChannelAreTheReceiversOwn)
{
    const RxModel &m = rx->model();
    EXPECT_EQ(m.lastCell, m.lastChannel.value_or(99)) << "files of a receiver without memories keep 100 cells";
    if (!m.lastChannel) {
        EXPECT_FALSE(rx->readMemory(0).has_value());
        EXPECT_FALSE(m.workingChannel.has_value());
        return;
    }
    const int last = *m.lastChannel;
    if (jrc()) {
        EXPECT_EQ(jrc()->memory.size(), last + 1);
    }
    EXPECT_TRUE(rx->readMemory(last).has_value()) << "the last channel answers";
    pty->clearReceived();
    EXPECT_FALSE(rx->readMemory(last + 1).has_value());
    EXPECT_FALSE(rx->writeMemory(last + 1, rx->readMemory(last).value_or(QString())));
    tavtest::pump(100);
    EXPECT_FALSE(pty->received().contains(QByteArray::number(last + 1)));

    if (m.workingChannel) {
        ASSERT_NE(jrc(), nullptr);
        ASSERT_TRUE(rx->tune(6070));
        ASSERT_TRUE(tunedTo(6070));
        const RxPresent p = rx->readPresent();
        ASSERT_TRUE(p.answered);
        EXPECT_EQ(p.frequency.trimmed(), QStringLiteral("06070.000"));
        EXPECT_EQ(jrc()->memory[*m.workingChannel].hz, 6070000) << "the status read stores into the working channel";
    }
}

TEST_P(ModelTable, EachSettingsLimitsAreTakenByTheReceiver)
{
    const ModelCase &c = GetParam();
    const TimerRanges &t = rx->model().timer;
    const std::array<IntRange, 6> ranges{t.att, t.bw, t.pbs, t.bwc, t.mode, t.agc};
    // Each setting at each of its ends, the others at their lowest.
    for (size_t i = 0; i < ranges.size(); ++i) {
        for (int end : {ranges[i].lo, ranges[i].hi}) {
            std::array<int, 6> f{};
            for (size_t k = 0; k < f.size(); ++k)
                f[k] = ranges[k].lo;
            f[i] = end;
            const RxSetting s{f[0], f[1], f[2], f[3], f[4], f[5]};
            ASSERT_TRUE(rx->applySetting(s));
            tavtest::pump(100);
            const std::optional<RxSetting> r = rx->readSetting();
            ASSERT_TRUE(r.has_value());
            if (c.readBack[i]) {
                const int want = (i == 4 && end == t.mode.hi) ? c.topModeReadsAs.value_or(end) : end;
                EXPECT_EQ(fields(*r)[i], want) << "setting " << i << " sent " << end;
            }
            if (jrc()) {
                EXPECT_TRUE(jrc()->unknown.isEmpty()) << jrc()->unknown.join(QLatin1Char(' ')).toStdString();
                EXPECT_TRUE(jrc()->ignored.isEmpty()) << jrc()->ignored.join(QLatin1Char(' ')).toStdString();
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModel, ModelTable,
                         ::testing::Values(ModelCase{1, "ar7030", &InitAR7030, {true, true, false, false, true, true}, std::nullopt},
                                           ModelCase{2, "nrd535", &InitNRD535, {true, true, false, false, true, true}, std::nullopt},
                                           ModelCase{3, "rx320", &InitRX320, {true, true, true, true, true, true}, std::nullopt},
                                           ModelCase{4, "nrd545", &InitNRD545, {true, false, true, true, true, true}, 4}),
                         [](const auto &info) { return std::string(info.param.emulator); });

// Every entry of the model table is a model the program can show and open:
// its names, a registered panel window that leads back to it, its driver and
// its emulator.
TEST(ModelTableEntries, EachModelHasItsNamesAndARegisteredPanel)
{
    registerBuiltWindows();
    ASSERT_GE(rxModelCount(), 2);
    for (int t = 0; t < rxModelCount(); ++t) {
        SCOPED_TRACE(t);
        const RxModel *m = findRxModel(t);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->rxtype, t);
        EXPECT_STRNE(m->name, "");
        EXPECT_STRNE(m->setupChoice, "");
        EXPECT_STRNE(m->setupFrame, "");
        const std::optional<WindowId> panel = panelWindow(t);
        ASSERT_TRUE(panel);
        EXPECT_EQ(windowDecl(*panel).role, WindowRole::Panel);
        EXPECT_TRUE(Windows::available(*panel));
        EXPECT_EQ(rxModelOfPanel(windowName(*panel)), m);
        // A receiver has its driver and an emulator rxsim serves by the name
        // tools/emulate.sh is given.
        const std::unique_ptr<Receiver> rx = makeReceiver(t, rxPort());
        if (m->isNone()) {
            EXPECT_FALSE(rx);
            continue;
        }
        ASSERT_TRUE(rx);
        EXPECT_EQ(&rx->model(), m);
        ASSERT_TRUE(m->emulator);
        EXPECT_TRUE(sim::createEmulator(QString::fromLatin1(m->emulator)));
    }
    EXPECT_EQ(findRxModel(rxModelCount()), nullptr);
    EXPECT_FALSE(panelWindow(-1));
    EXPECT_EQ(rxModelOfPanel(QStringLiteral("frmBdxc")), nullptr);
}
