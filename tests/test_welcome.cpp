// The welcome window: start-up from the files, the label, the clock, Go and Exit.
#include "hub/app.h"
#include "core/clock.h"
#include "hub/frmWelcome.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {

struct Welcome : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    int exitCode = -1;
    std::function<void(int)> oldEnd;

    void SetUp() override
    {
        registerBuiltWindows();
        oldEnd = frmWelcome::endProgram;
        frmWelcome::endProgram = [this](int c) { exitCode = c; };
    }
    void TearDown() override
    {
        frmWelcome::endProgram = oldEnd;
        frmWelcome::destroy();
        Windows::destroyAll();
    }
    void writeSettings(const QString &type, double utcOffset = 0)
    {
        QStringList l{dir.path(), "5130N", "00007W", type, " 1", " 3", numSingleText(utcOffset)};
        for (int k = 4; k <= 31; ++k)
            l << (k == 4 ? " 2" : (k == 7 ? " 15" : " 1"));
        QByteArray b;
        for (const QString &s : l)
            b += s.toLatin1() + "\r\n";
        dir.write("tavorin2.ini", b);
    }
    static QString numSingleText(double v) { return v < 0 ? QString::number(v) : " " + QString::number(v); }
};

} // namespace

TEST_F(Welcome, StartsFromTheFilesWithLabelPositionAndClock)
{
    writeSettings(" 3", 3);
    QByteArray pos;
    for (int i = 1; i <= 45; ++i)
        pos += (i == 34 ? " 1500, 900" : " 0, 0") + QByteArray("\r\n");
    dir.write("formpositions.ini", pos);
    Clock::set(QDateTime(QDate(2026, 12, 9), QTime(14, 5)));

    frmWelcome *w = frmWelcome::instance();
    w->showModeless();
    EXPECT_TRUE(w->loadedMark());
    EXPECT_EQ(G.rxtype, 3);
    EXPECT_EQ(w->lblGo->text(), "RX320");
    EXPECT_EQ(w->lblGo->palette().color(QPalette::Window), QColor(128, 204, 128));
    EXPECT_EQ(G.formleft[34], 1500);
    EXPECT_EQ(G.filedirs[FileKind::Log], dir.path() + "LOG/");
    EXPECT_EQ(G.freqsteps[15], "12.5");
    // Never empty, even before the first tick.
    EXPECT_EQ(G.lttext, "9 Dec 2026  14:05");
    EXPECT_EQ(G.utctext, "9 Dec 2026  11:05");
    EXPECT_EQ(G.utcstamp, "20261209 1105");
    EXPECT_TRUE(w->startupNotice().isEmpty());
}

TEST_F(Welcome, ClockTickFollowsTheOffsetAcrossMidnight)
{
    writeSettings(" 0", 5.5);
    frmWelcome *w = frmWelcome::instance();
    Clock::set(QDateTime(QDate(2026, 1, 1), QTime(3, 10)));
    w->showModeless();
    EXPECT_EQ(G.utctext, "31 Dec 2025  21:40");
    G.setupdata[3] = -2;
    Clock::advanceSecs(5);
    w->Showtime_Timer();
    EXPECT_EQ(G.utctext, "1 Jan 2026  05:10");
    EXPECT_EQ(G.utcstamp, "20260101 0510");
}

TEST_F(Welcome, MissingSettingsStartWithDefaultsAndTellTheUserOnce)
{
    frmWelcome *w = frmWelcome::instance();
    w->showModeless();
    EXPECT_EQ(G.rxtype, 0);
    EXPECT_EQ(w->lblGo->text(), "No RX");
    EXPECT_FALSE(w->startupNotice().isEmpty());
    EXPECT_EQ(G.setupdata[1], 1);
}

TEST_F(Welcome, UnknownReceiverTypeIsToldAndStartsWithoutReceiver)
{
    writeSettings(" 9");
    frmWelcome *w = frmWelcome::instance();
    w->showModeless();
    EXPECT_EQ(G.rxtype, 0);
    EXPECT_EQ(w->lblGo->text(), "No RX");
    EXPECT_TRUE(w->startupNotice().contains("holds values out of range")) << w->startupNotice().toStdString();
    w->imgGo->click();
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(Windows::loaded(WindowId::frmNoRx)) << "Go opens the panel the label names";
}

TEST_F(Welcome, ExitWritesThePositionsIntoTheDataDirectory)
{
    writeSettings(" 0");
    frmWelcome *w = frmWelcome::instance();
    w->showModeless();
    w->move(200, 150);
    w->imgExit->click();
    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(w->loadedMark());
    auto lines = readTextLines(dir.file("formpositions.ini"));
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 45);
    EXPECT_NE(lines->at(33), " 0, 0") << "slot 34 holds the welcome window's place";
}

TEST_F(Welcome, GermanLocaleStartsTheSame)
{
    tavtest::GermanLocale de;
    ASSERT_TRUE(de.active());
    writeSettings(" 4", 5.5);
    frmWelcome *w = frmWelcome::instance();
    w->showModeless();
    EXPECT_EQ(G.setupdata[3], 5.5f);
    EXPECT_EQ(w->lblGo->text(), "NRD545");
    w->imgExit->click();
    auto lines = readTextLines(dir.file("formpositions.ini"));
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->size(), 45);
}
