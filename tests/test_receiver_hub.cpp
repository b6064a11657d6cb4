// The hub works every model through the one receiver interface, over a real
// line to each model's emulator; and it tells the windows linked to it of
// every tuned frequency.
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/links.h"
#include "core/tables.h"
#include "drivers/receiver.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "support/nrd545rig.h"
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
};

class HubThroughInterface : public ::testing::TestWithParam<ModelCase>, protected tavtest::ReceiverLine {
protected:
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;

    void SetUp() override
    {
        const ModelCase &c = GetParam();
        openLine(dir, c.rxtype, c.emulator, c.init);
        if (HasFatalFailure())
            return;
        w->hub().receiver = makeReceiver(c.rxtype, w->Comm1);
    }
    void TearDown() override
    {
        closeLine();
    }
};

} // namespace

TEST_P(HubThroughInterface, TunesReadsBackAndTellsASilentReceiverFromAnAnswer)
{
    ASSERT_NE(w->hub().receiver, nullptr);
    Receiver &rx = *w->hub().receiver;
    const RxModel &m = rx.model();
    ASSERT_EQ(m.rxtype, GetParam().rxtype) << "the factory makes the model opened at Go";

    w->hub().Change2FreqA(7205.5);
    ASSERT_TRUE(waitFor([&] { return std::abs(emu->tunedFrequencyHz() - 7205500) < 5; }, 10000))
        << emu->tunedFrequencyHz();
    EXPECT_NEAR(w->hub().Update2RxFreq(), 7205.5, 0.005);

    w->hub().SetRx2mfa(QStringLiteral("U"));
    EXPECT_EQ(w->hub().ConvertRx2mfa(), QStringLiteral("u"));
    w->hub().SetRx2mfa(QStringLiteral("c"));
    EXPECT_EQ(w->hub().ConvertRx2mfa(), QStringLiteral("c"));
    EXPECT_FALSE(rx.setModeLetter(QStringLiteral("x")).has_value()) << "a letter without meaning sets nothing";
    EXPECT_TRUE(rx.readSmeter().has_value());

    // Outside the model's range nothing goes on the line.
    tavtest::pump(100);
    pty->clearReceived();
    EXPECT_FALSE(rx.tune(m.freqMaxKHz + 1));
    EXPECT_FALSE(rx.tune(m.freqMinKHz - 1));
    tavtest::pump(100);
    EXPECT_TRUE(pty->received().isEmpty());
    EXPECT_TRUE(dialogs.shown().isEmpty());

    // A receiver that stops answering: reads say so instead of giving a value.
    pty->setOff(true);
    EXPECT_FALSE(rx.readSmeter().has_value());
    if (m.readsBack) {
        EXPECT_FALSE(rx.readFrequency().has_value());
        EXPECT_FALSE(rx.readModeLetter().has_value());
        EXPECT_EQ(w->hub().Update2RxFreq(), 0);
        EXPECT_EQ(w->hub().ConvertRx2mfa(), QString());
    } else {
        // What cannot be read back is the state last sent, answer or not.
        EXPECT_NEAR(rx.readFrequency().value_or(0), 7205.5, 0.0005);
        EXPECT_EQ(rx.readModeLetter().value_or(QString()), QStringLiteral("c"));
    }
    if (m.hasClock) {
        EXPECT_FALSE(rx.readClock().has_value());
    }
    if (m.lastChannel) {
        EXPECT_FALSE(rx.readMemory(1).has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryModel, HubThroughInterface,
                         ::testing::Values(ModelCase{1, "ar7030", &InitAR7030}, ModelCase{2, "nrd535", &InitNRD535},
                                           ModelCase{3, "rx320", &InitRX320}, ModelCase{4, "nrd545", &InitNRD545}),
                         [](const auto &info) { return std::string(info.param.emulator); });

TEST(ReceiverModels, FactsAndFactory)
{
    EXPECT_EQ(rxModel(0).rxtype, 0);
    EXPECT_EQ(rxModel(7).rxtype, 0) << "an unknown type is No RX";
    EXPECT_FALSE(rxModel(3).readsBack);
    EXPECT_FALSE(rxModel(3).lastChannel.has_value());
    EXPECT_EQ(rxModel(4).lastChannel, 999);
    EXPECT_TRUE(rxModel(4).hasClock && !rxModel(4).clockSeconds);
    CommControl port;
    EXPECT_EQ(makeReceiver(0, port), nullptr);
    for (int t = 1; t <= 4; ++t)
        EXPECT_EQ(makeReceiver(t, port)->model().rxtype, t);
}

// ---- typed links ----

namespace {

// Stand-ins for the tool windows, all writing to one log so the order shows.
struct Log {
    QStringList lines;
};
struct BoxStandIn : FrequencyBoxLink {
    Log &log;
    QString name;
    BoxStandIn(Log &l, QString n) : log(l), name(std::move(n)) {}
    void showTunedFrequency(const QString &t) override { log.lines << name + QLatin1Char(' ') + t; }
};
struct Last20StandIn : Last20Link {
    Log &log;
    explicit Last20StandIn(Log &l) : log(l) {}
    void fillgrdlast20(const QString &t) override { log.lines << QStringLiteral("last20 ") + t; }
    bool ignoresFreqSteps() const override { return true; }
};
struct TrackingStandIn : TrackingLink {
    Log &log;
    explicit TrackingStandIn(Log &l) : log(l) {}
    bool trackDatabaseLoaded() const override { return true; }
    void Trackfreq() override { log.lines << QStringLiteral("track ") + QString::number(G.rxfreqnow); }
    void disableDialFollowing() override {}
    void endDialFollowing() override {}
};

struct Links : tavtest::Nrd545Rig {};

} // namespace

TEST_F(Links, LinkedWindowsHearEachTunedFrequencyInOrderAndUnlinkedOnesNothing)
{
    ASSERT_NE(go(), nullptr);
    Log log;
    BoxStandIn bdxc(log, QStringLiteral("bdxc")), own(log, QStringLiteral("own")), gone(log, QStringLiteral("gone"));
    Last20StandIn last20(log);
    TrackingStandIn tracking(log);
    links::add(&bdxc);
    links::add(&gone);
    links::add(&own);
    links::add(&bdxc); // twice is once
    links::add(&last20);
    links::add(&tracking);
    links::remove(&gone);

    frmWelcome *w = frmWelcome::instance();
    w->hub().Change2FreqA(6070);
    w->hub().Change2FreqA(9650.5);
    EXPECT_EQ(log.lines, (QStringList{"bdxc 6070.000", "own 6070.000", "last20 6070.000", "track 6070", "bdxc 9650.500",
                                      "own 9650.500", "last20 9650.500", "track 9650.5"}));

    // A step while the last-20 window ignores steps reaches everyone but the last-20 list.
    log.lines.clear();
    G.last20record = links::recordsFreqSteps();
    EXPECT_FALSE(G.last20record);
    w->hub().Change2FreqA(9655);
    EXPECT_EQ(log.lines, (QStringList{"bdxc 9655.000", "own 9655.000", "track 9655"}));
    EXPECT_TRUE(G.last20record) << "the next tuning is recorded again";

    // After unload nothing more reaches a window.
    links::remove(&bdxc);
    links::remove(&own);
    links::remove(&last20);
    links::remove(&tracking);
    log.lines.clear();
    w->hub().Change2FreqA(6000);
    EXPECT_TRUE(log.lines.isEmpty());
    EXPECT_EQ(links::last20(), nullptr);
}
