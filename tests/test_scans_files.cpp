// The scan files byte for byte: the scan list, the frequency pairs and the
// band sweep, their readers' rules and refusals.
#include "core/canvas.h"
#include "scans/bandscan.h"
#include "scans/listscan.h"
#include "scans/pairscan.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;

TEST(ScanListFile, WritesTwentyLinesWithCommasAsPointsAndInvalidBoxesAsDash)
{
    std::array<QString, 20> boxes;
    boxes[0] = QStringLiteral("9650,5");
    boxes[1] = QStringLiteral("35000");   // above the receiver
    boxes[2] = QStringLiteral("abc");
    boxes[3] = QStringLiteral(" 6000");
    boxes[19] = QStringLiteral("30000");  // the limit itself is valid
    const QStringList lines = sflram2lines(boxes, 10, 30000);
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines[0], "9650.5");
    EXPECT_EQ(lines[1], "-");
    EXPECT_EQ(lines[2], "-");
    EXPECT_EQ(lines[3], " 6000");
    EXPECT_EQ(lines[4], "-");
    EXPECT_EQ(lines[19], "30000");
    // A scan box "9650,5" is still valid (its value ends at the comma).
    EXPECT_TRUE(sflValid(QStringLiteral("9650,5"), 10, 30000));
    EXPECT_FALSE(sflValid(QStringLiteral("-"), 10, 30000));
}

TEST(ScanListFile, ReadsAtMostTwentyLinesAndRefusesOutOfRange)
{
    QStringList lines{QStringLiteral("7100,000"), QStringLiteral("35000"), QStringLiteral("5000")};
    auto boxes = sflfile2boxes(lines, 10, 30000);
    EXPECT_EQ(boxes[0], "7100.000");
    EXPECT_EQ(boxes[1], "-");
    EXPECT_EQ(boxes[2], "5000");
    for (int i = 3; i < 20; ++i)
        EXPECT_EQ(boxes[size_t(i)], "-") << i;
    QStringList many;
    for (int i = 0; i < 25; ++i)
        many << QString::number(1000 + i);
    boxes = sflfile2boxes(many, 10, 30000);
    EXPECT_EQ(boxes[19], "1019");
}

TEST(PairFile, WritesFourFieldsWithTheActiveFlagAsStr)
{
    PairScan s;
    s.pairs = {{QStringLiteral("6577"), QStringLiteral("5550"), 1, QStringLiteral("day pair")},
               {QStringLiteral("8903"), QStringLiteral("2899"), 0, QStringLiteral("night, weak")}};
    EXPECT_EQ(s.toLines(), (QStringList{QStringLiteral("6577,5550, 1,day pair"),
                                        QStringLiteral("8903,2899, 0,night, weak")}));
}

TEST(PairFile, ReadsThreeFieldsAndTheRestAsRemark)
{
    PairScan s;
    ASSERT_TRUE(s.fromLines({QStringLiteral(" 6577 , 5550, 1,  day pair  "), QStringLiteral("8903,2899, 0,night, weak"),
                             QStringLiteral("4000")}));
    ASSERT_EQ(s.pairlast(), 2);
    EXPECT_EQ(s.pairs[0].freqa, "6577");
    EXPECT_EQ(s.pairs[0].freqb, "5550");
    EXPECT_EQ(s.pairs[0].active, 1);
    EXPECT_EQ(s.pairs[0].remark, "day pair");
    EXPECT_EQ(s.pairs[1].remark, "night, weak");
    EXPECT_EQ(s.pairs[1].active, 0);
    // A short line: missing fields empty; a side without a number is not tunable.
    EXPECT_EQ(s.pairs[2].freqb, "");
    EXPECT_FALSE(s.tunable(2));
    // An empty file is refused and the table stays.
    EXPECT_FALSE(s.fromLines({}));
    EXPECT_EQ(s.pairlast(), 2);
}

TEST(PairFile, AFrequencyBeginningWithADoubleQuoteIsReadAsItsQuotedValueAndTheRemarkAsWritten)
{
    struct Row {
        const char *line, *freqa, *freqb;
        int active;
        const char *remark;
    };
    const Row rows[] = {
        {"\"6577\",5550, 1,day pair", "6577", "5550", 1, "day pair"},
        {" \" 6577\" ,5550, 1,x", " 6577", "5550", 1, "x"},
        {"6577,\"5550\"x, 1,x", "6577", "5550", 1, "x"},
        {"6577,5550,\" 1\",\"day, pair, \"", "6577", "5550", 1, "\"day, pair, \""},
        {"6577,5550, 1,  \"night\" and more", "6577", "5550", 1, "\"night\" and more"},
        {"6577,5550, 1,\"open, remark", "6577", "5550", 1, "\"open, remark"},
        {"\"6577,5550, 1,x", "6577,5550, 1,x", "", 0, ""},
        {"6577,5550, 1,plain, with commas", "6577", "5550", 1, "plain, with commas"},
    };
    QStringList lines;
    for (const Row &r : rows)
        lines << QLatin1String(r.line);
    PairScan s;
    ASSERT_TRUE(s.fromLines(lines));
    ASSERT_EQ(s.pairlast(), int(std::size(rows)) - 1);
    for (int k = 0; k <= s.pairlast(); ++k) {
        const Row &r = rows[k];
        EXPECT_EQ(s.pairs[k].freqa, QLatin1String(r.freqa)) << r.line;
        EXPECT_EQ(s.pairs[k].freqb, QLatin1String(r.freqb)) << r.line;
        EXPECT_EQ(s.pairs[k].active, r.active) << r.line;
        EXPECT_EQ(s.pairs[k].remark, QLatin1String(r.remark)) << r.line;
    }
    // A quoted frequency is a frequency: its pair is scanned, not skipped.
    EXPECT_TRUE(s.tunable(0));
    EXPECT_DOUBLE_EQ(s.frequency(0, 0), 6577);
    EXPECT_TRUE(s.tunable(2));
}

namespace {
struct BandFixture : ::testing::Test {
    Picture pic{632, 423, QColor(255, 255, 192)};
    BandSweep sweep{pic};
};
} // namespace

TEST_F(BandFixture, WritesHeaderAndLevelsAsIntOfTenthsInSinglePrecision)
{
    tavtest::GermanLocale german; // a decimal comma must not reach the file
    sweep.begin(7000, 7100, 0.2);
    sweep.sblevels[0] = 5.67f;
    sweep.sblevels[1] = -1.67f;
    sweep.sblevels[2] = 12.3f;
    sweep.sblevels[3] = 2.3f; // 22.99999 in double, 23 in single
    sweep.sbstepnr = 4;
    const QStringList lines = sweep.toLines(QStringLiteral("9 Dec 2026  08:00 Z"));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("9 Dec 2026  08:00 Z"), QStringLiteral(" 7000"),
                                  QStringLiteral(" 7100"), QStringLiteral(" .2"), QStringLiteral(" 4"),
                                  QStringLiteral("056"), QStringLiteral("-017"), QStringLiteral("123"),
                                  QStringLiteral("023"), QStringLiteral("000")}));
    // One step past a finished sweep of 500 steps has no level: the file
    // ends at step 500.
    sweep.sbstepnr = 501;
    const QStringList full = sweep.toLines(QString());
    EXPECT_EQ(full.size(), 5 + 501);
    EXPECT_EQ(full[4], " 500");
}

TEST_F(BandFixture, ReadsLevelsAsTenthsAndRefusesWhatCannotBeDrawn)
{
    tavtest::GermanLocale german;
    QString why;
    auto f = BandSweep::parse({QStringLiteral("cap Z"), QStringLiteral(" 5900"), QStringLiteral(" 6200"),
                               QStringLiteral("0.5"), QStringLiteral(" 2"), QStringLiteral("056"),
                               QStringLiteral("-017"), QStringLiteral("123")},
                              &why);
    ASSERT_TRUE(f) << why.toStdString();
    EXPECT_EQ(f->caption, "cap Z");
    EXPECT_EQ(f->start, 5900);
    EXPECT_EQ(f->end, 6200);
    EXPECT_EQ(f->step, 0.5);
    EXPECT_EQ(f->laststep, 2);
    EXPECT_FLOAT_EQ(f->levels[0], 5.6f);
    EXPECT_FLOAT_EQ(f->levels[1], -1.7f);
    EXPECT_FLOAT_EQ(f->levels[2], 12.3f);

    const struct {
        const char *start, *end, *step, *last;
        int levels;
    } refused[] = {
        {"7000", "7000", "1", "0", 1},   // end not above start
        {"7100", "7000", "1", "0", 1},
        {"7000", "7100", "0", "0", 1},   // step not above 0
        {"7000", "7100", "-1", "0", 1},
        {"7000", "8000", "1", "501", 502}, // more than 501 steps
        {"7000", "7100", "1", "10", 5},  // fewer levels than steps
    };
    for (const auto &r : refused) {
        QStringList lines{QStringLiteral("x"), QLatin1String(r.start), QLatin1String(r.end), QLatin1String(r.step),
                          QLatin1String(r.last)};
        for (int i = 0; i < r.levels; ++i)
            lines << QStringLiteral("010");
        why.clear();
        EXPECT_FALSE(BandSweep::parse(lines, &why)) << r.start << " " << r.end << " " << r.step << " " << r.last;
        EXPECT_FALSE(why.isEmpty());
    }
    // Outside the receiver's range or with more than 500 steps the band
    // check fails later, but the file itself can be drawn.
    EXPECT_TRUE(BandSweep::parse({QStringLiteral(""), QStringLiteral("7000"), QStringLiteral("7100"),
                                  QStringLiteral("0.1"), QStringLiteral("0"), QStringLiteral("000")},
                                 &why));
}

TEST_F(BandFixture, RoundTripKeepsEveryLine)
{
    sweep.begin(5900, 6200, 5);
    for (int k = 0; k <= 60; ++k)
        sweep.sblevels[size_t(k)] = float(k % 13) * 1.37f - 2;
    sweep.sbstepnr = 60;
    const QStringList first = sweep.toLines(QStringLiteral("1 Jan 2027  12:00 Z"));
    QString why;
    auto f = BandSweep::parse(first, &why);
    ASSERT_TRUE(f);
    sweep.applyOverlay(*f, overlayColour(1));
    sweep.sbstepnr = f->laststep;
    EXPECT_EQ(sweep.toLines(f->caption), first);
}
