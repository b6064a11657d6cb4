// The settings file and the window positions file: reading, writing, defaults.
#include "core/globals.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "support/mutate.h"
#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace tav;
using tavtest::crlf;

namespace {

QStringList fullFile(const QString &datapath, const QString &type = QStringLiteral(" 1"))
{
    QStringList l{datapath, QStringLiteral("5130N"), QStringLiteral("00007W"), type};
    for (int k = 1; k <= 31; ++k)
        l << QStringLiteral(" %1").arg(k == 1 ? 2 : (k == 3 ? 1 : (k == 4 ? 3 : (k == 8 ? 1 : double(setupDefault(k))))));
    return l;
}

struct SettingsFile : ::testing::Test {
    tavtest::ScratchDir dir;
};

} // namespace

TEST_F(SettingsFile, ReadsTextLinesTypeAndNumbers)
{
    QStringList lines = fullFile(dir.path());
    lines[7] = QStringLiteral(" 5.5"); // setupdata(4)
    lines[6] = QStringLiteral("-2");   // setupdata(3)
    dir.write("tavorin2.ini", crlf(lines));
    SettingsReadResult r = readSettingsFile();
    EXPECT_TRUE(r.found);
    EXPECT_TRUE(r.complete);
    EXPECT_FALSE(r.repaired);
    EXPECT_EQ(G.datapath, dir.path());
    EXPECT_EQ(G.rxlatitude, "5130N");
    EXPECT_EQ(G.rxlongitude, "00007W");
    EXPECT_EQ(G.rxtype, 1);
    EXPECT_EQ(G.setupdata[1], 2);
    EXPECT_EQ(G.setupdata[3], -2);
    EXPECT_EQ(G.setupdata[4], 5.5f);
    EXPECT_EQ(G.settingsReadDir, dir.path());
}

TEST_F(SettingsFile, ReceiverTypeIsRoundedHalfToEvenAndTextReadsZero)
{
    QStringList lines = fullFile(dir.path(), QStringLiteral("2.5"));
    applySettingsLines(lines);
    EXPECT_EQ(G.rxtype, 2);
    lines[3] = QStringLiteral("3.5");
    applySettingsLines(lines);
    EXPECT_EQ(G.rxtype, 4);
    lines[3] = QStringLiteral("abc");
    applySettingsLines(lines);
    EXPECT_EQ(G.rxtype, 0);
    lines[3] = QStringLiteral(" 7"); // kept as read: the welcome window, which knows the models, replaces it
    applySettingsLines(lines);
    EXPECT_EQ(G.rxtype, 7);
}

TEST_F(SettingsFile, ShortFileGivesDialogDefaultsNotZeros)
{
    SettingsReadResult r = applySettingsLines({dir.path(), "5130N", "00007W", " 4"});
    EXPECT_FALSE(r.complete);
    EXPECT_EQ(G.rxtype, 4);
    EXPECT_EQ(G.setupdata[1], 1);  // COM 1
    EXPECT_EQ(G.setupdata[4], 2);
    EXPECT_EQ(G.setupdata[5], 1);
    EXPECT_EQ(G.setupdata[6], 1);
    EXPECT_EQ(G.setupdata[7], 15);
    for (int k = 14; k <= 17; ++k)
        EXPECT_EQ(G.setupdata[k], 1) << k;
    EXPECT_EQ(G.setupdata[23], 1);
    EXPECT_EQ(G.setupdata[24], 3);
    EXPECT_EQ(G.setupdata[25], 9);
    EXPECT_EQ(G.setupdata[26], 50);
    EXPECT_EQ(G.setupdata[27], 20);
    EXPECT_EQ(G.setupdata[3], 0);
}

TEST_F(SettingsFile, MissingFileStartsWithDefaults)
{
    SettingsReadResult r = readSettingsFile();
    EXPECT_FALSE(r.found);
    EXPECT_EQ(G.rxtype, 0);
    EXPECT_EQ(G.datapath, QDir::homePath() + "/DiDuzu/");
    EXPECT_EQ(G.setupdata[1], 1);
    EXPECT_EQ(G.setupdata[7], 15);
}

TEST_F(SettingsFile, OutOfRangeTableIndexesFallBack)
{
    QStringList lines = fullFile(dir.path());
    lines[4] = QStringLiteral(" 9");    // port 9
    lines[5] = QStringLiteral(" 12");   // target area 12
    lines[11] = QStringLiteral(" 2.5"); // start step 2.5
    lines[13] = QStringLiteral(" 3");   // a yes/no setting of 3
    SettingsReadResult r = applySettingsLines(lines);
    EXPECT_TRUE(r.repaired);
    EXPECT_EQ(G.setupdata[1], 1);
    EXPECT_EQ(G.setupdata[2], 0);
    EXPECT_EQ(G.setupdata[8], 0);
    EXPECT_EQ(G.setupdata[10], 0);
}

TEST_F(SettingsFile, ThirtySixthLineIsReadAndDroppedByTheNextSave)
{
    QStringList lines = fullFile(dir.path());
    lines << QStringLiteral(" 77") << QStringLiteral(" 88");
    applySettingsLines(lines);
    EXPECT_EQ(G.setupdata[32], 77);
    const QStringList written = settingsLines();
    EXPECT_EQ(written.size(), 35);
    EXPECT_FALSE(written.contains(" 77"));
}

TEST_F(SettingsFile, WritesThirtyFiveLinesInNumberFormAndRoundTrips)
{
    QStringList lines = fullFile(dir.path());
    lines[10] = QStringLiteral("5");   // hand-written, comes back with a blank
    lines[29] = QStringLiteral("0.5"); // comes back as " .5"
    applySettingsLines(lines);
    G.settingsReadDir = dir.path();
    QString error;
    ASSERT_TRUE(saveSettingsFile(&error)) << error.toStdString();
    const QByteArray raw = dir.read("tavorin2.ini");
    EXPECT_EQ(raw.count("\r\n"), 35);
    auto back = readTextLines(dir.file("tavorin2.ini"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->at(3), " 1");
    EXPECT_EQ(back->at(10), " 5");
    EXPECT_EQ(back->at(29), " .5");
    const auto before = G.setupdata;
    resetProgramState();
    readSettingsFile();
    EXPECT_EQ(G.setupdata, before);
}

TEST_F(SettingsFile, GermanLocaleReadsAndWritesTheSameText)
{
    tavtest::GermanLocale de;
    ASSERT_TRUE(de.active());
    QStringList lines = fullFile(dir.path());
    lines[6] = QStringLiteral(" 5.5");
    applySettingsLines(lines);
    EXPECT_EQ(G.setupdata[3], 5.5f);
    EXPECT_EQ(settingsLines().at(6), " 5.5");
}

TEST_F(SettingsFile, SaveWritesIntoDatapathAndWhereTheFileWasRead)
{
    const QString data = dir.path() + "data/";
    QStringList lines = fullFile(data);
    dir.write("tavorin2.ini", crlf(lines));
    readSettingsFile();
    G.setupdata[4] = 7;
    QString error;
    ASSERT_TRUE(saveSettingsFile(&error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(data + "tavorin2.ini")) << "the data directory is created when needed";
    resetProgramState();
    readSettingsFile(); // the next start reads from the current directory
    EXPECT_EQ(G.setupdata[4], 7);
}

TEST_F(SettingsFile, FailedSaveIsReported)
{
    G.datapath = QStringLiteral("/proc/no-such-place/");
    QString error;
    EXPECT_FALSE(saveSettingsFile(&error));
    EXPECT_TRUE(error.contains("/proc/no-such-place/")) << error.toStdString();
}

// ---- positions ----

TEST(Positions, ReadRules)
{
    applyPositionLines({" 1500, 300", " 100, 200, 300", " 1500", "abc,7", "-200,-10"});
    EXPECT_EQ(G.formleft[1], 1500);
    EXPECT_EQ(G.formtop[1], 300);
    EXPECT_EQ(G.formleft[2], 100);
    EXPECT_EQ(G.formtop[2], 300); // the last comma wins
    EXPECT_EQ(G.formleft[3], 1500);
    EXPECT_EQ(G.formtop[3], 0); // no comma: unchanged
    EXPECT_EQ(G.formleft[4], 0);
    EXPECT_EQ(G.formtop[4], 7);
    EXPECT_EQ(G.formleft[5], -200);
    EXPECT_EQ(G.formleft[11], 0);
}

TEST(Positions, HugeValuesNeitherOverflowNorSurviveTheWrite)
{
    QStringList lines;
    for (int i = 0; i < 50; ++i) // a 46th line and beyond are ignored
        lines << QStringLiteral(" 99999999999999, -40000");
    applyPositionLines(lines);
    EXPECT_EQ(G.formleft[1], INT32_MAX);
    EXPECT_EQ(G.formtop[1], -40000);
    const QStringList out = positionLines();
    EXPECT_EQ(out.size(), 45);
    EXPECT_EQ(out[0], " 0,-40000");
}

TEST(Positions, StoreRuleAndLimits)
{
    storePosition(5, -2000, 100, 3000);
    EXPECT_EQ(G.formleft[5], -1500);
    storePosition(5, -1000, -50, 3000);
    EXPECT_EQ(G.formleft[5], -1000);
    EXPECT_EQ(G.formtop[5], 0);
    G.formleft[6] = 40000;
    G.formleft[7] = 40001;
    G.formtop[7] = -40001;
    const QStringList out = positionLines();
    EXPECT_EQ(out[5], " 40000, 0");
    EXPECT_EQ(out[6], " 0, 0");
    EXPECT_EQ(out[4], "-1000, 0");
}

TEST(Positions, FileWrittenAlwaysHasFortyFiveLines)
{
    tavtest::ScratchDir dir;
    dir.write("formpositions.ini", " 10, 20\r\n 30, 40\r\n");
    G.datapath = dir.path();
    ASSERT_TRUE(readPositionsFile());
    EXPECT_EQ(G.formleft[2], 30);
    QString error;
    ASSERT_TRUE(savePositionsFile(&error));
    auto lines = readTextLines(dir.file("formpositions.ini"));
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 45);
    EXPECT_EQ(lines->at(0), " 10, 20");
    EXPECT_EQ(lines->at(44), " 0, 0");
}
