// The JRC rules of the frequency and mode hub: mode letters both ways and
// the dial reports the receivers send while they report their tuning.
#include "drivers/jrchub.h"
#include "sim/jrcsim.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {
struct Row {
    const char *letter;
    int mode, bw, agc; // -1: left alone
};
void expectSetting(const std::optional<JrcModeSetting> &s, const Row &r)
{
    ASSERT_TRUE(s.has_value()) << r.letter;
    EXPECT_EQ(s->mode, r.mode) << r.letter;
    EXPECT_EQ(s->bandwidth.value_or(-1), r.bw) << r.letter;
    EXPECT_EQ(s->agcspeed.value_or(-1), r.agc) << r.letter;
}
} // namespace

TEST(JrcHub, Nrd535EveryLetterSetsModeFilterAndAgc)
{
    const Row rows[] = {{"a", 4, 0, 1}, {"u", 2, 1, 0}, {"l", 3, 1, 0}, {"c", 1, 1, 1}, {"f", 5, 3, -1}, {"d", 6, 1, 1}};
    for (const Row &r : rows) {
        expectSetting(nrd535ModeSetting(QLatin1String(r.letter), 0), r);
        expectSetting(nrd535ModeSetting(QString::fromLatin1(r.letter).toUpper(), 0), r);
    }
    // CW takes the narrow filter only when the set-up says exactly 1.
    EXPECT_EQ(nrd535ModeSetting("c", 1)->bandwidth, 2);
    EXPECT_EQ(nrd535ModeSetting("C", 2)->bandwidth, 1);
    EXPECT_EQ(nrd535ModeSetting("c", 0.5)->bandwidth, 1);
    EXPECT_EQ(nrd535ModeSetting("a", 1)->bandwidth, 0) << "only CW looks at the set-up";
    for (const char *bad : {"x", "", "am", "w"})
        EXPECT_FALSE(nrd535ModeSetting(QLatin1String(bad), 1).has_value()) << bad;
}

TEST(JrcHub, Nrd545EveryLetterSetsTheModeOnly)
{
    const Row rows[] = {{"A", 4, -1, -1}, {"U", 2, -1, -1}, {"L", 3, -1, -1},
                        {"C", 1, -1, -1}, {"F", 5, -1, -1}, {"D", 0, -1, -1}};
    for (const Row &r : rows) {
        expectSetting(nrd545ModeSetting(QLatin1String(r.letter)), r);
        expectSetting(nrd545ModeSetting(QString::fromLatin1(r.letter).toLower()), r);
    }
    EXPECT_FALSE(nrd545ModeSetting("q").has_value());
}

TEST(JrcHub, EveryModeValueToItsLetter)
{
    const char *nrd535[] = {"d", "c", "u", "l", "a", "f", "d", "a", "a", "", ""};
    const char *nrd545[] = {"d", "c", "u", "l", "a", "f", "a", "a", "a", "", ""};
    for (int m = 0; m <= 10; ++m) {
        EXPECT_EQ(nrd535Mfacode(m), QLatin1String(nrd535[m])) << m;
        EXPECT_EQ(nrd545Mfacode(m), QLatin1String(nrd545[m])) << m;
    }
    EXPECT_EQ(nrd535Mfacode(-1), QString());
    EXPECT_EQ(nrd545Mfacode(9), QString()) << "WFM has no letter";
}

TEST(JrcHub, DialReportsInOneAndTwoPieces)
{
    sim::Nrd535Emulator n535;
    sim::Nrd545Emulator n545;
    n535.cur.hz = 9650000;
    n545.cur.hz = 15432100;
    const JrcDialReports r535(2), r545(4);

    QString term;
    bool complete = false;
    auto f = r535.take(term, QString::fromLatin1(n535.frequencyReport()), complete);
    EXPECT_TRUE(complete);
    ASSERT_TRUE(f.has_value());
    EXPECT_DOUBLE_EQ(*f, 9650.0);
    EXPECT_TRUE(term.isEmpty());

    const QString report = QString::fromLatin1(n545.frequencyReport());
    f = r545.take(term, report.left(7), complete);
    EXPECT_FALSE(complete);
    EXPECT_FALSE(f.has_value());
    EXPECT_EQ(term, report.left(7));
    f = r545.take(term, report.mid(7), complete);
    EXPECT_TRUE(complete);
    ASSERT_TRUE(f.has_value());
    EXPECT_DOUBLE_EQ(*f, 15432.1);
    EXPECT_TRUE(term.isEmpty());
}

TEST(JrcHub, GarbledReportTunesNothingAndTermStaysBounded)
{
    const JrcDialReports r535(2);
    QString term;
    bool complete = false;
    EXPECT_FALSE(r535.take(term, "I004096x00001\r", complete).has_value());
    EXPECT_TRUE(complete) << "the report is used up";
    EXPECT_TRUE(term.isEmpty());
    EXPECT_FALSE(r535.take(term, "\r", complete).has_value()) << "too short";
    EXPECT_FALSE(r535.take(term, "I00 9650000 1\r", complete).has_value()) << "blanks are not digits";

    // Noise without CR never fills memory, and a report after it still counts.
    for (int i = 0; i < 1000; ++i)
        r535.take(term, "noise-noise-", complete);
    EXPECT_LE(term.size(), JrcDialReports::kTermLimit);
    auto f = r535.take(term, "I004096500001\r", complete);
    ASSERT_TRUE(f.has_value());
    EXPECT_DOUBLE_EQ(*f, 9650.0);
}
