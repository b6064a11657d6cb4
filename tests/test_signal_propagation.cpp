// The propagation measurement: the minute line's fixed columns, an hour of
// recording driven by the clock service with the file checked byte for
// byte, readings the receiver does not answer, stored files drawn back as
// overlays with the "Next hour" question, and DiDuzu.
#include "hub/app.h"
#include "core/clock.h"
#include "core/filekinds.h"
#include "core/globals.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "signal/frmProphisto.h"
#include "signal/frmPropagation.h"
#include "signal/propfile.h"
#include "signal/proppage.h"
#include "support/nrd545rig.h"
#include "support/diskfaults.h"
#include "support/testenv.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace tav;

TEST(PropagationFile, LevelsKeepTheirThreeColumnsAndReadBackAsWritten)
{
    struct Row {
        float level;
        const char *text;
    };
    for (const Row &r : {Row{9.7f, "097"}, Row{8.8f, "088"}, Row{0.0f, "000"}, Row{21.0f, "210"}, Row{-1.7f, "-17"},
                         Row{-0.05f, "-01"}, Row{-30.0f, "-99"}}) {
        EXPECT_EQ(propLevelText(r.level), QLatin1String(r.text)) << r.level;
        if (r.level > -9.9f) {
            EXPECT_NEAR(propLevelValue(QLatin1String(r.text)), std::floor(r.level * 10.0f) / 10.0f, 1e-5) << r.text;
        }
    }
    const PropMinute m = parsePropMinute(QStringLiteral("07:37 088 093 -17 091 090 097"));
    EXPECT_EQ(m.hour, 7);
    EXPECT_EQ(m.minute, 37);
    EXPECT_FLOAT_EQ(m.min[1], -1.7f);
    EXPECT_FLOAT_EQ(m.max[2], 9.7f);
    EXPECT_FLOAT_EQ(m.max[3], 0.0f) << "a missing pair reads 0";
    // A line written by an earlier version with a fifth pair reads by its first four.
    const PropMinute five = parsePropMinute(QStringLiteral("23:28 104 110 112 119 114 119 116 116 106 116"));
    EXPECT_FLOAT_EQ(five.min[3], 11.6f);
    EXPECT_FLOAT_EQ(five.max[3], 11.6f);
}

TEST(PropagationFile, FourPeriodsOfAMinuteMakeTheExampleLine)
{
    Picture pic(632, 453, propBackground());
    PropagationMeter meter(pic);
    meter.start();
    // Each period's samples: the periods close at seconds 1, 16, 31 and 46.
    const float extremes[4][2] = {{8.8f, 9.3f}, {8.5f, 9.1f}, {9.0f, 9.7f}, {8.9f, 9.2f}};
    std::optional<QString> line;
    int minute = 36, second = 47;
    for (int n = 0; n < 60; ++n) {
        const int period = n < 15 ? 0 : n < 30 ? 1 : n < 45 ? 2 : 3;
        const float level = extremes[period][n % 2];
        line = meter.tick(7, minute, second, level, true);
        if (line)
            break;
        if (++second == 60)
            second = 0, ++minute;
    }
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, QStringLiteral("07:37 088 093 085 091 090 097 089 092"));
    // The hour graph got the period's line at x = 80 + 8 x 37 + 46 / 7.5.
    EXPECT_EQ(pic.pixel(382, 279 - 4 * 9), propGreen());
}

TEST(PropagationFile, AStartMidMinuteNeverFinishesTheLineOfAnEarlierStart)
{
    Picture pic(632, 453, propBackground());
    PropagationMeter meter(pic);
    meter.start();
    for (int second : {1, 16, 31})
        EXPECT_FALSE(meter.tick(7, 10, second, 9.0f, true));
    // Stopped (or closed) at 10:10:40 and started again at 10:12:40: the line
    // of 10:10 is not the 10:12 minute's.
    meter.start();
    EXPECT_FALSE(meter.tick(7, 12, 46, 5.0f, true)) << "no line for a minute that was not recorded whole";
    std::optional<QString> line;
    for (int second : {1, 16, 31, 46})
        line = meter.tick(7, 13, second, 5.0f, true);
    ASSERT_TRUE(line.has_value());
    EXPECT_TRUE(line->startsWith(QStringLiteral("07:13 050 050"))) << line->toStdString();
}

namespace {

struct PropagationWindow : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    frmPropagation *w = nullptr;

    void SetUp() override
    {
        registerBuiltWindows();
        InitConstants();
        G.datapath = dir.path();
        buildFileDirs();
        G.goRxtype = G.rxtype = 0;
        Clock::set(QDateTime(QDate(2026, 3, 1), QTime(10, 0, 30)));
        w = Windows::get<frmPropagation>();
        w->load();
    }
    void TearDown() override { Windows::destroyAll(); }

    QString saveAs(const QString &name)
    {
        G.filenames[FileKind::Propagation] = name;
        EXPECT_TRUE(runWriter(FileKind::Propagation).ok);
        return G.filedirs[FileKind::Propagation] + name;
    }
};

} // namespace

TEST_F(PropagationWindow, AnHourOfRecordingWritesOneLinePerMinute)
{
    w->txtStation->setText(QStringLiteral("R. Vaticana"));
    saveAs(QStringLiteral("PAN_hour.TXT"));
    EXPECT_TRUE(w->recording());
    EXPECT_EQ(w->lblSaveas->text(), QStringLiteral("hour"));
    w->cmdStart->click();
    EXPECT_FALSE(w->cmdExit->isEnabled());
    for (int s = 0; s < 3600; ++s) {
        Clock::advanceSecs(1);
        w->tmrPropagation_Timer();
    }
    w->cmdStop->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("The Propagation data is now\nsaved to the file PAN_hour.TXT"));
    EXPECT_FALSE(w->recording());

    QByteArray expected = "1 Mar 2026  10:00 UTC\r\n\r\nR. Vaticana\r\n";
    // Without a receiver the level stays 0; the first line is the minute whose
    // second 1 the recording ran through.
    for (int m = 1; m <= 59; ++m)
        expected += "10:" + QByteArray::number(m).rightJustified(2, '0') + " 000 000 000 000 000 000 000 000\r\n";
    EXPECT_EQ(dir.read(QStringLiteral("PAN/PAN_hour.TXT")), expected);
}

TEST_F(PropagationWindow, ASecondTickInAClosingSecondClosesNothingMoreAndASecondFileEndsTheFirst)
{
    saveAs(QStringLiteral("PAN_one.TXT"));
    saveAs(QStringLiteral("PAN_two.TXT"));
    EXPECT_EQ(dir.read(QStringLiteral("PAN/PAN_one.TXT")).count("\r\n"), 3) << "the first recording was closed whole";
    w->cmdStart->click();
    // 10:00:30 .. 10:01:46 with second 16 ticked twice.
    for (int s = 31; s <= 106; ++s) {
        Clock::set(QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0).addSecs(s)));
        w->tmrPropagation_Timer();
        if (s == 76)
            w->tmrPropagation_Timer();
    }
    // Closing the window while it records ends the recording.
    w->unload();
    const QList<QByteArray> lines = dir.read(QStringLiteral("PAN/PAN_two.TXT")).split('\n');
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[3], "10:01 000 000 000 000 000 000 000 000\r") << "four pairs, whatever ticks a second gets";
}

TEST_F(PropagationWindow, OverlaysAskAtEveryHourAndCycleTheirColours)
{
    dir.write(QStringLiteral("PAN/PAN_eve.TXT"), "1 Mar 2026  10:58 UTC\r\n9650.00\r\nBBC\r\n"
                                                 "10:58 090 100 090 100 090 100 090 100\r\n"
                                                 "10:59 090 100 090 100 090 100 090 100\r\n"
                                                 "11:00 050 060 050 060 050 060 050 060\r\n");
    G.filenames[FileKind::Propagation] = QStringLiteral("PAN_eve.TXT");
    dialogs.answer(vbNo);
    ASSERT_TRUE(w->panfile2ram(G.filedirs[FileKind::Propagation] + G.filenames[FileKind::Propagation]).ok);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text,
              QStringLiteral("Click in YES to add data of next hour\nClick in NO to get data of next hour only"));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Next hour"));
    EXPECT_EQ(w->lblFrequency->text(), QStringLiteral("9650.00"));
    EXPECT_EQ(w->txtStation->text(), QStringLiteral("BBC"));
    EXPECT_EQ(w->lblPropfiles[0]->text(), QStringLiteral("eve   "));
    const Picture &pic = w->picForm->picture();
    const QColor first = propOverlayColour(1);
    // "No" cleared the first hour: only minute 0 of the next hour is drawn.
    EXPECT_EQ(pic.count(80 + 8 * 58, 179, 80 + 8 * 59 + 6, 279, first), 0);
    EXPECT_GT(pic.count(80, 279 - 4 * 6, 86, 279 - 4 * 5, first), 0);

    // Cancel stops the reading at the hour.
    dialogs.answer(vbCancel);
    ASSERT_TRUE(w->panfile2ram(G.filedirs[FileKind::Propagation] + G.filenames[FileKind::Propagation]).ok);
    EXPECT_EQ(pic.count(80, 279 - 4 * 6, 86, 279 - 4 * 5, propOverlayColour(2)), 0);
    for (int i = 0; i < 3; ++i) {
        dialogs.answer(vbYes);
        w->panfile2ram(G.filedirs[FileKind::Propagation] + G.filenames[FileKind::Propagation]);
    }
    EXPECT_EQ(frmPropagation::overlayNumber(), 1) << "the fifth file takes the first colour again";
}

TEST(PropagationOverlay, ADayGraphAcrossMidnightIsNotJoinedAcrossTheGraph)
{
    QStringList lines = {QStringLiteral("1 Mar 2026  23:40 UTC"), QStringLiteral("9650.00"), QStringLiteral("BBC")};
    for (int t = 23 * 60 + 40; t < 24 * 60 + 20; ++t)
        lines << QStringLiteral("%1:%2 080 120 085 125 090 130 095 135")
                     .arg((t / 60) % 24, 2, 10, QLatin1Char('0'))
                     .arg(t % 60, 2, 10, QLatin1Char('0'));
    Picture pic(632, 453, propBackground());
    const QColor c = propOverlayColour(1);
    drawPropOverlay(pic, lines, c, [] { return NextHour::Add; });
    EXPECT_GT(pic.count(540, 309, 560, 409, c), 0) << "the evening is drawn at the right";
    EXPECT_GT(pic.count(80, 309, 90, 409, c), 0) << "and the small hours at the left";
    EXPECT_EQ(pic.count(100, 309, 520, 409, c), 0) << "with nothing drawn between them";
}

namespace {

struct PropagationOnNrd545 : tavtest::Nrd545Rig {
    void SetUp() override
    {
        Nrd545Rig::SetUp();
        buildFileDirs();
        emu.smeterRaw = 82;
    }
    void at(int minute, int second)
    {
        Clock::set(QDateTime(QDate(2026, 3, 1), QTime(10, minute, second)));
    }
};

} // namespace

// An unanswered S-meter read at a second that closes a period: the period
// closes from the readings it has, a period with none is written with the
// missing mark, and the file with the mark reads back onto the window and
// onto the printed page.
TEST_F(PropagationOnNrd545, AMissedReadingAtAClosingSecondKeepsTheMinuteWithTheMissingMark)
{
    ASSERT_NE(go(), nullptr);
    at(1, 0);
    auto *w = Windows::get<frmPropagation>();
    w->load();
    G.filenames[FileKind::Propagation] = QStringLiteral("PAN_miss.TXT");
    ASSERT_TRUE(runWriter(FileKind::Propagation).ok);
    QTest::mouseClick(w->cmdStart, Qt::LeftButton);
    ASSERT_TRUE(w->tmrPropagation.isActive());
    // 10:01:01 .. 10:02:46; the reads at the closing seconds 10:01:01 (the
    // first since Start), 10:01:16 and 10:02:46 go unanswered.
    for (int t = 61; t <= 166; ++t) {
        at(t / 60, t % 60);
        const bool silent = t == 61 || t == 76 || t == 166;
        pty->setOff(silent);
        w->tmrPropagation_Timer();
    }
    pty->setOff(false);
    EXPECT_TRUE(w->tmrPropagation.isActive()) << "single misses do not end the measurement";
    const QString l = propLevelText(w->level());
    EXPECT_EQ(l, QStringLiteral("123")) << "S9 with the attenuator's 20 dB";
    QTest::mouseClick(w->cmdStop, Qt::LeftButton);

    const QList<QByteArray> lines = dir.read(QStringLiteral("PAN/PAN_miss.TXT")).split('\n');
    ASSERT_EQ(lines.size(), 6) << "three header lines, two minute lines and the last line end";
    const QByteArray p = " 123 123";
    EXPECT_EQ(lines[3], "10:01   ?   ?" + p + p + p + "\r");
    EXPECT_EQ(lines[4], "10:02" + p + p + p + p + "\r");

    const QStringList file = *readTextLines(G.filedirs[FileKind::Propagation] + G.filenames[FileKind::Propagation]);
    const PropMinute m = parsePropMinute(file[3]);
    EXPECT_EQ(m.missing, (std::array<bool, 4>{true, false, false, false}));
    EXPECT_FLOAT_EQ(m.min[1], 12.3f);

    // Drawn back: the missing pair leaves its place on the hour graph empty.
    ASSERT_TRUE(w->panfile2ram(G.filedirs[FileKind::Propagation] + G.filenames[FileKind::Propagation]).ok);
    const Picture &pic = w->picForm->picture();
    const QColor c = propOverlayColour(frmPropagation::overlayNumber());
    EXPECT_EQ(pic.count(88, 179, 88, 279, c), 0) << "10:01, first pair";
    EXPECT_GT(pic.count(90, 279 - 4 * 13, 90, 279 - 4 * 12, c), 0) << "10:01, second pair";
    // And on the printed page.
    Picture page(816, 920, QColor(255, 255, 255));
    drawPropPage(page, file);
    const QColor black(0, 0, 0);
    EXPECT_EQ(page.count(120, 352, 120, 528, black), 0);
    EXPECT_GT(page.count(121, 352, 121, 528, black), 0);
    EXPECT_GT(page.count(124, 352, 127, 528, black), 0);
    w->unload();
}

// DiDuzu brings the panel opened at Go, whatever the set-up chose since.
TEST_F(PropagationOnNrd545, DiduzuShowsThePanelOpenedAtGoNotTheSetUpChoice)
{
    frmNRD545 *panel = go();
    ASSERT_NE(panel, nullptr);
    G.rxtype = 1; // the AR7030 chosen in set-up, not yet opened
    for (WindowId id : {WindowId::frmPropagation, WindowId::frmProphisto}) {
        SCOPED_TRACE(windowDecl(id).name);
        TavForm *w = Windows::get(id);
        ASSERT_NE(w, nullptr);
        w->load();
        panel->hide();
        auto *b = w->findChild<QPushButton *>(QStringLiteral("cmdDiduzu"));
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_TRUE(panel->isVisible());
        TavForm *other = Windows::existing(WindowId::frmAR7030);
        EXPECT_TRUE(other == nullptr || !other->isLoadedForm());
        w->unload();
    }
}

TEST_F(PropagationWindow, ASaveThatCannotTakeItsPlaceStopsTheRecording)
{
    saveAs(QStringLiteral("PAN_first.TXT"));
    ASSERT_TRUE(w->recording());
    // A directory holding a file stands where the new file should go.
    ASSERT_TRUE(QDir().mkpath(G.filedirs[FileKind::Propagation] + QStringLiteral("PAN_busy.TXT/inside")));
    G.filenames[FileKind::Propagation] = QStringLiteral("PAN_busy.TXT");
    const FileResult r = runWriter(FileKind::Propagation);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(w->recording()) << "nothing goes on into the removed temporary file";
    EXPECT_EQ(w->lblSaveas->text(), QString());
    EXPECT_EQ(QDir(G.filedirs[FileKind::Propagation]).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("PAN_first.TXT")});
    w->cmdStart->click();
    for (int s = 0; s < 120; ++s) {
        Clock::advanceSecs(1);
        w->tmrPropagation_Timer();
    }
    w->cmdStop->click();
    EXPECT_TRUE(dialogs.shown().isEmpty()) << "no \"now saved\" for a recording that ended";
}

TEST_F(PropagationWindow, SavesOnAFullDiskOrUnderASizeLimitKeepTheOldFileAndNameTheCause)
{
    w->txtStation->setText(QStringLiteral("R. Vaticana"));
    auto trySave = [&](const char *cause) {
        G.filenames[FileKind::Propagation] = QStringLiteral("PAN_keep.TXT");
        const FileResult r = runWriter(FileKind::Propagation);
        EXPECT_FALSE(r.ok);
        EXPECT_TRUE(r.error.contains(QLatin1String(cause))) << r.error.toStdString();
        EXPECT_FALSE(w->recording());
        QFile f(G.filedirs[FileKind::Propagation] + QStringLiteral("PAN_keep.TXT"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("old\r\n"));
    };
    dir.write(QStringLiteral("PAN/PAN_keep.TXT"), "old\r\n");
    {
        tavtest::FileSizeLimit limit(10);
        trySave("too large");
    }
    tavtest::SmallDisk disk(dir.path() + QStringLiteral("small"), 64);
    if (!disk.available()) {
        std::puts("(a small tmpfs cannot be mounted here: the full disk is not tried)");
        return;
    }
    G.filedirs[FileKind::Propagation] = dir.path() + QStringLiteral("small/");
    dir.write(QStringLiteral("small/PAN_keep.TXT"), "old\r\n");
    disk.fill();
    trySave("disk is full");
}
