// The band the emulated receivers hear: every model's S-meter, read through
// its driver over a real line, stands high on a carrier and low between
// carriers, the attenuator lowers it by its steps, a level set by "smeter"
// holds until "band"; fading is seeded and repeats; the carriers come from
// the lists and station files of a data directory, and rxsim serves them.
#include "core/comm.h"
#include "core/tables.h"
#include "drivers/clsAR7030.h"
#include "samples/install.h"
#include "sim/band.h"
#include "support/receiverline.h"
#include "support/rxsimprocess.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace tav;

namespace {

struct MeterCase {
    int rxtype;
    const char *emulator;
    void (*init)();
    const char *fixed; // a level set on the emulator's input...
    double fixedS;     // ...and what the driver reads for it
};

void PrintTo(const MeterCase &c, std::ostream *os) { *os << c.emulator; }

class BandOnTheLine : public ::testing::TestWithParam<MeterCase>, protected tavtest::ReceiverLine {
protected:
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    std::shared_ptr<sim::Band> band = std::make_shared<sim::Band>(7);

    void SetUp() override
    {
        openReceiver(dir, GetParam().rxtype, GetParam().emulator, GetParam().init);
        // The meter's scale is the question here, not the fading.
        band->setFading(false);
        band->setCarrier(6040, 9);
        emu->setBand(band);
    }
    void TearDown() override { closeLine(); }

    double meterAt(double kHz)
    {
        EXPECT_TRUE(rx->tune(kHz));
        EXPECT_TRUE(tavtest::waitFor([&] { return std::abs(emu->tunedFrequencyHz() / 1000 - kHz) < 0.01; }, 10000));
        const auto s = rx->readSmeter();
        EXPECT_TRUE(s.has_value());
        return s.value_or(-1);
    }
    double bandHere() { return band->levelAt(emu->tunedFrequencyHz() / 1000, 0); }
};

} // namespace

TEST_P(BandOnTheLine, TheMeterFollowsTheBandTheAttenuatorAndASetLevel)
{
    // Each model's scale gives back the band's level, within a step of its meter.
    const double on = meterAt(6040);
    EXPECT_NEAR(on, bandHere(), 0.3);
    const double between = meterAt(6010);
    EXPECT_NEAR(between, bandHere(), 0.3);
    EXPECT_GE(on - between, 4.0) << on << " on the carrier, " << between << " between";
    // Two kHz off, the carrier is still heard, but lower.
    const double aside = meterAt(6042);
    EXPECT_LT(aside, on - 1);
    EXPECT_GT(aside, between + 1);

    // The attenuator takes off its steps, which the tools' correction adds back.
    const RxModel &m = rx->model();
    if (m.readsAttenuator()) {
        meterAt(6040);
        auto setting = rx->readSetting();
        ASSERT_TRUE(setting.has_value());
        setting->att = m.attNone + 1;
        ASSERT_TRUE(rx->applySetting(*setting));
        const double lowered = *rx->readSmeter();
        EXPECT_LT(lowered, on - 1);
        EXPECT_NEAR(lowered + m.attCorrection(setting->att), on, 0.4);
        setting->att = m.attNone;
        ASSERT_TRUE(rx->applySetting(*setting));
    }

    // "smeter" holds the meter wherever the dial is, "band" hands it back.
    ASSERT_TRUE(emu->control(QLatin1String(GetParam().fixed)));
    EXPECT_NEAR(meterAt(6040), GetParam().fixedS, 0.05);
    EXPECT_NEAR(meterAt(6010), GetParam().fixedS, 0.05);
    ASSERT_TRUE(emu->control(QStringLiteral("band")));
    EXPECT_NEAR(meterAt(6040), on, 0.05);
}

INSTANTIATE_TEST_SUITE_P(Models, BandOnTheLine,
                         ::testing::Values(MeterCase{1, "ar7030", &InitAR7030, "smeter 7", 7.0},
                                           MeterCase{2, "nrd535", &InitNRD535, "smeter 113", 6.0},
                                           MeterCase{3, "rx320", &InitRX320, "smeter 1000", 9.67},
                                           MeterCase{4, "nrd545", &InitNRD545, "smeter 64", 6.0}),
                         [](const auto &info) { return std::string(info.param.emulator); });

TEST(Band, SeededFadingRepeatsAndCarriersStayAboveTheNoise)
{
    auto sequence = [](uint64_t seed, bool fading, double kHz) {
        sim::Band b(seed);
        b.addCarrier(6040);
        b.addCarrier(9690);
        b.setFading(fading);
        std::vector<double> levels;
        for (double t = 0; t <= 3600; t += 2.5)
            levels.push_back(b.levelAt(kHz, t));
        return levels;
    };
    const auto carrier = sequence(5, true, 6040);
    EXPECT_EQ(carrier, sequence(5, true, 6040));
    EXPECT_NE(carrier, sequence(6, true, 6040));
    const auto [lo, hi] = std::minmax_element(carrier.begin(), carrier.end());
    EXPECT_GE(*hi - *lo, 2.0) << "the carrier fades";
    const auto noise = sequence(5, true, 6010);
    const auto [nlo, nhi] = std::minmax_element(noise.begin(), noise.end());
    EXPECT_GE(*nhi - *nlo, 0.2) << "the noise flickers";
    // A fading carrier never sinks into the noise.
    for (uint64_t seed = 1; seed <= 20; ++seed)
        for (double kHz : {6040.0, 9690.0}) {
            const auto c = sequence(seed, true, kHz);
            EXPECT_GE(*std::min_element(c.begin(), c.end()), *nhi + 1.5) << seed << " " << kHz;
        }
    // Without fading the level is the frequency's alone.
    const auto still = sequence(5, false, 6040);
    EXPECT_EQ(*std::min_element(still.begin(), still.end()), *std::max_element(still.begin(), still.end()));
}

TEST(Band, EveryKindOfListInTheSamplesNamesItsCarriers)
{
    tavtest::ScratchDir all;
    ASSERT_TRUE(installSamples(QStringLiteral(TAVORIN_SAMPLES_DIR), all.path()).ok());
    // Each folder alone, with a frequency only its sample names (or its kind's unit shows).
    const struct {
        const char *folder;
        double kHz;
    } kinds[] = {{"SFL", 5975},  {"SFP", 11387}, {"FSP", 3413},   {"BDXC", 13730}, {"OWN", 13264}, {"F320", 5875},
                 {"MEM", 10100.8}, {"LOG", 5505}, {"TPR", 5950}, {"PAN", 6040},   {"RX2DB", 153}};
    for (const auto &k : kinds) {
        SCOPED_TRACE(k.folder);
        QTemporaryDir one;
        const QString folder = QString::fromLatin1(k.folder).toLower(); // names match in any case
        ASSERT_TRUE(QDir(one.path()).mkdir(folder));
        const QDir from(all.path() + QLatin1String(k.folder));
        for (const QString &f : from.entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(from.filePath(f), one.path() + '/' + folder + '/' + f));
        const QList<double> found = sim::Band::listedFrequencies(one.path());
        EXPECT_TRUE(std::any_of(found.begin(), found.end(), [&](double f) { return std::abs(f - k.kHz) < 0.001; }))
            << found.size() << " found";
        for (double f : found)
            EXPECT_TRUE(f >= 10 && f <= 30000) << f;
    }
    // A band scan's file names a range, not stations; times are never frequencies.
    const QList<double> found = sim::Band::listedFrequencies(all.path());
    for (double notOne : {1730.0, 1800.0, 2026.0, 100.0})
        EXPECT_FALSE(found.contains(notOne)) << notOne;
}

#ifdef RXSIM_PATH
TEST(Rxsim, ServesTheSampleCarriersAndTakesBandCommandsOnItsInput)
{
    tavtest::ScratchDir dir;
    ASSERT_TRUE(installSamples(QStringLiteral(TAVORIN_SAMPLES_DIR), dir.path()).ok());
    tavtest::RxsimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("ar7030"), QStringLiteral("--fast"), QStringLiteral("--carriers-from"), dir.path()}));
    const QByteArray carriers = QByteArray::number(sim::Band::listedFrequencies(dir.path()).size());
    EXPECT_TRUE(sim.saw("band: " + carriers + " carriers from")) << sim.out.constData();

    G.datapath = dir.path();
    dir.write(QStringLiteral("comports.ini"), sim.device().toLatin1() + "\r\n");
    CommControl port;
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    clsAR7030 rx(port);
    auto meterAt = [&](double kHz) {
        rx.setFrequencyA(kHz);
        bool ok = false;
        const float s = rx.Smeter(&ok);
        EXPECT_TRUE(ok);
        return s;
    };
    // 5975 kHz is on the sample scan list only; 5990 kHz on none.
    EXPECT_GE(meterAt(5975) - meterAt(5990), 1.5);

    sim.command("smeter 3");
    ASSERT_TRUE(sim.saw("rxsim: smeter 3"));
    EXPECT_NEAR(meterAt(5975), 3.0, 0.01);
    sim.command("band\ncarrier 5990 12");
    ASSERT_TRUE(sim.saw("rxsim: carrier 5990 12"));
    EXPECT_GE(meterAt(5990), 9.0);
    port.close();
}
#endif
