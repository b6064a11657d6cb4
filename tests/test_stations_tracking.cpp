// Station tracking: distance and bearing against a great circle of the
// test's own, the list around the tuned frequency, its pages and views, and
// the window following the AR7030's dial by polling and the NRD-545's by its
// reports, stepping, the close box and the copy into the log entry.
#include "hub/app.h"
#include "drivers/receiver.h"
#include "core/filekinds.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "logbook/frmLoginput.h"
#include "panels/frmAR7030.h"
#include "panels/jrclock.h"
#include "sim/ar7030.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "stations/frmTracking.h"
#include "stations/ftlrecord.h"
#include "stations/stationstate.h"
#include "stations/tracking.h"
#include "support/nrd545rig.h"
#include "support/testenv.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace tav;

namespace {

QString rec(double khz, const char *utc, const char *station, const char *lat = "5130N", const char *lon = "00006W",
            const char *target = "NA", const char *flags = "000000000")
{
    ftl::Fields f;
    f.freq = *ftl::frequencyText(khz);
    f.utc = QLatin1String(utc);
    f.station = QLatin1String(station);
    f.target = QLatin1String(target);
    f.language = QStringLiteral("English");
    f.lat = QLatin1String(lat);
    f.lon = QLatin1String(lon);
    for (int i = 0; i < 9; ++i)
        f.areas[i] = flags[i] == '1';
    f.country = QStringLiteral("England");
    f.location = QStringLiteral("Woofferton");
    return ftl::held(ftl::build(f));
}

double deg(const QString &t)
{
    const double s = t.endsWith('S') || t.endsWith('W') ? -1 : 1;
    const QString d = t.left(t.size() - 1);
    return s * (d.left(d.size() - 2).toDouble() + d.right(2).toDouble() / 60);
}

// Great-circle distance (haversine) and initial bearing on the program's sphere.
std::pair<double, double> greatCircle(const QString &la1, const QString &lo1, const QString &la2, const QString &lo2)
{
    const double r = 60 / 0.0174533 * 1.854, k = M_PI / 180;
    const double p1 = deg(la1) * k, p2 = deg(la2) * k, dl = (deg(lo2) - deg(lo1)) * k;
    const double a = std::pow(std::sin((p2 - p1) / 2), 2) + std::cos(p1) * std::cos(p2) * std::pow(std::sin(dl / 2), 2);
    const double d = 2 * r * std::asin(std::sqrt(a));
    double b = std::atan2(std::sin(dl) * std::cos(p2), std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl)) / k;
    if (b < 0)
        b += 360;
    return {d, b};
}

} // namespace

TEST(Tracking, DistanceAndBearing)
{
    const QString london = rec(6000, "0000-0100", "X");
    EXPECT_EQ(Distbearing(london, "5205N", "00445E"), "00340 km 261");

    struct Pair { const char *name, *la1, *lo1, *la2, *lo2; };
    const Pair pairs[] = {
        {"the example", "5205N", "00445E", "5130N", "00006W"},
        {"Sydney to Melbourne", "3352S", "15112E", "3749S", "14458E"},
        {"Cape Town to Johannesburg", "3355S", "01825E", "2612S", "02803E"},
        {"south to north, sum below zero", "3000S", "02000E", "1000N", "03000E"},
        {"north to south, sum above zero", "4000N", "00500W", "2000S", "01500E"},
        {"equal and opposite latitudes", "1000N", "02000E", "1000S", "03000E"},
        {"same longitude, southern", "3000S", "02000E", "4000S", "02000E"},
        {"same longitude, northern", "4000N", "02000E", "3000N", "02000E"},
    };
    for (const Pair &p : pairs) {
        const QString r = rec(6000, "0000-0100", "X", p.la2, p.lo2);
        const QString text = Distbearing(r, p.la1, p.lo1);
        ASSERT_EQ(text.size(), 12) << p.name;
        ASSERT_EQ(text.mid(5, 4), " km ") << p.name << " " << text.toStdString();
        const auto [km, bearing] = greatCircle(p.la1, p.lo1, p.la2, p.lo2);
        EXPECT_NEAR(text.left(5).toDouble(), km, 1.0) << p.name << " " << text.toStdString();
        const double b = text.right(3).toDouble();
        EXPECT_LT(std::fabs(std::remainder(b - bearing, 360.0)), 1.0) << p.name << " " << text.toStdString();
    }
    EXPECT_EQ(Distbearing(rec(6000, "0000-0100", "X", "3749S", "14458E"), "3352S", "15112E"), "00713 km 230");

    EXPECT_EQ(Distbearing(london, "5N", "00445E"), QString(12, ' ')) << "too short a listener position";
    const QString noPlace = rec(6000, "0000-0100", "X", "", "");
    EXPECT_EQ(Distbearing(noPlace, "5205N", "00445E"), noPlace.mid(77, 12));
}

TEST(Tracking, ListAroundTheFrequencyPagesAndColours)
{
    resetProgramState();
    InitConstants();
    G.setupdata[2] = 3; // EU
    G.rxlatitude = "5205N";
    G.rxlongitude = "00445E";
    TrackEngine e;
    QVector<QString> recs;
    recs << rec(5990, "0000-2400", "Far below") << rec(5999, "1000-1200", "Below")
         << rec(6000, "2200-0200", "Exact", "5130N", "00006W", "EU") << rec(6001, "0500-0500", "Never")
         << rec(6001.5, "0000-2359", "Above", "5130N", "00006W", "NA", "000100000") << rec(6010, "0000-2400", "Far above");
    e.setRecords(recs);
    ASSERT_TRUE(e.search(6000));
    e.build(false, 6000, 2.5, 2330);
    ASSERT_EQ(e.lastLine, 4);
    EXPECT_TRUE(e.trackshow[1].contains("Exact")) << "a record on the tuned frequency stands before the separator";
    EXPECT_EQ(e.trackshow[2], TrackEngine::separator());
    EXPECT_EQ(TrackEngine::separator().size(), 49);
    EXPECT_EQ(e.pageCount(), 1);
    auto page = e.page(0, false, TrackEngine::DisDir, 2330);
    EXPECT_EQ(page[0].rgb, TrackEngine::kBackground) << "not on the air at 23:30";
    EXPECT_EQ(page[1].rgb, TrackEngine::kTarget) << "on the air across midnight, target EU";
    EXPECT_EQ(page[1].text.mid(77, 12), "00340 km 261");
    EXPECT_EQ(page[3].rgb, TrackEngine::kBackground) << "equal times: never on the air";
    EXPECT_EQ(page[4].rgb, TrackEngine::kTarget) << "the EU flag";
    EXPECT_EQ(page[5].text, "");
    page = e.page(0, false, TrackEngine::Ctry, 2330);
    EXPECT_EQ(page[1].text.mid(77, 12), "England     ");
    page = e.page(0, false, TrackEngine::Loc, 2330);
    EXPECT_EQ(page[1].text.mid(77, 12), "Woofferton  ");

    e.build(true, 6000, 2.5, 1100);
    ASSERT_EQ(e.lastLine, 2) << "hits at 11:00: Below, the separator, Above";
    EXPECT_TRUE(e.trackshow[0].contains("Below"));
    EXPECT_EQ(e.page(0, true, TrackEngine::LatLon, 1100)[0].rgb, TrackEngine::kOnAir);
    EXPECT_EQ(e.page(0, true, TrackEngine::LatLon, 1100)[1].rgb, TrackEngine::kBackground);

    e.build(false, 6000, 0, 0);
    EXPECT_EQ(e.lastLine, -1) << "a range of 0 takes nothing";
    EXPECT_EQ(e.pageCount(), 0);

    // More than 176 lines: the list stops at 175; page 7 is lines 144 to 168.
    QVector<QString> many;
    for (int i = 0; i < 400; ++i)
        many << rec(7000 + i * 0.01, "0000-2400", QString::number(i).toLatin1().constData());
    e.setRecords(many);
    ASSERT_TRUE(e.search(7001));
    e.build(false, 7001, 5, 0);
    EXPECT_EQ(e.lastLine, 175);
    EXPECT_EQ(e.pageCount(), 7);
    const auto last = e.page(6, false, TrackEngine::LatLon, 0);
    EXPECT_EQ(last[0].text, e.trackshow[144]);
    EXPECT_EQ(last[24].text, e.trackshow[168]);

    TrackEngine small;
    small.setRecords({recs[0], recs[1]});
    EXPECT_FALSE(small.search(6000)) << "two records never update the display";
}

namespace {

struct TrackingOnAR7030 : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::AR7030Emulator emu;
    sim::PtyHarness pty{emu};
    frmAR7030 *panel = nullptr;
    void SetUp() override
    {
        resetStationState();
        ASSERT_TRUE(pty.ok());
        registerBuiltWindows();
        frmWelcome::instance()->load();
        G.datapath = dir.path();
        buildFileDirs();
        dir.write("comports.ini", pty.slavePath().toLatin1() + "\r\n");
        G.rxtype = 1;
        G.setupdata[1] = 1;
        G.setupdata[7] = 1;
        G.setupdata[2] = 3;
        G.rxlatitude = "5205N";
        G.rxlongitude = "00445E";
        DialogScript::shown.clear();
        emu.dial(9420000);
        frmWelcome::instance()->imgGo_Click();
        panel = Windows::existing<frmAR7030>();
        ASSERT_TRUE(panel && panel->isLoadedForm());
        tavtest::pump(30);
    }
    void TearDown() override
    {
        if (panel)
            panel->unload();
        frmWelcome::destroy();
        Windows::destroyAll();
    }
    bool tunedTo(double khz)
    {
        return tavtest::waitFor([&] { return std::fabs(emu.tunedFrequencyHz() / 1000 - khz) < 0.005; }, 3000);
    }
    frmTracking *openWithFile()
    {
        auto *w = Windows::get<frmTracking>();
        w->showModeless();
        ensureDir(G.filedirs[FileKind::Tracking]);
        EXPECT_TRUE(writeTextLines(G.filedirs[FileKind::Tracking] + "ILGSDATA.ftl",
                                   {rec(9400, "0000-2400", "Low"), rec(9420, "0000-2400", "On it", "5130N", "00006W"),
                                    rec(9425, "0000-2400", "Step up"), rec(9650, "0000-2400", "Far")}));
        G.filenames[FileKind::Tracking] = "ILGSDATA.ftl";
        EXPECT_TRUE(runReader(FileKind::Tracking));
        return w;
    }
};

} // namespace

TEST_F(TrackingOnAR7030, LoadStepPollAndLogEntry)
{
    frmTracking *w = openWithFile();
    EXPECT_TRUE(G.trackdbloaded);
    EXPECT_EQ(w->windowTitle(), "Tracking database ILGSDATA.ftl /  4 records");
    EXPECT_EQ(w->txtFreqstep->text(), "5");
    EXPECT_EQ(w->optHitsall->selected(), 0);
    EXPECT_EQ(w->optAlternates->selected(), 1);
    EXPECT_EQ(w->optMousedial->selected(), 0);
    EXPECT_TRUE(w->spnFreqstep->isEnabled());

    // The hub's tuning runs the search: 9420 listed with distance and bearing.
    frmWelcome::instance()->hub().Change2FreqA(9420);
    ASSERT_TRUE(tunedTo(9420));
    EXPECT_EQ(w->txtFrequencyA->text().trimmed().left(4), "9420");
    EXPECT_TRUE(w->lblBingo[0]->text().contains("On it"));
    EXPECT_EQ(w->lblBingo[0]->text().mid(77, 12), "00340 km 261");
    EXPECT_EQ(w->lblBingo[1]->text(), "") << "nothing above within 2 kHz, so no separator";
    w->txtCatchrange->setText("5,5");
    w->optAlternates->select(3);
    EXPECT_EQ(w->lblBingo[1]->text(), TrackEngine::separator());
    EXPECT_TRUE(w->lblBingo[2]->text().contains("Step up")) << "a range of \"5,5\" acts as 5.5 kHz";
    EXPECT_EQ(w->lblBingo[2]->text().mid(77, 12), "Woofferton  ");

    // Stepping: 5 kHz from 9420 down and up, no snapping to the grid.
    w->spnFreqstep_SpinDown();
    EXPECT_TRUE(tunedTo(9415));
    w->spnFreqstep_SpinUp();
    EXPECT_TRUE(tunedTo(9420));
    frmWelcome::instance()->hub().Change2FreqA(9420.01);
    ASSERT_TRUE(tunedTo(9420.01));
    w->spnFreqstep_SpinUp();
    EXPECT_TRUE(tunedTo(9425.01));
    w->txtFreqstep->setText("40000");
    w->spnFreqstep_SpinDown();
    EXPECT_TRUE(tunedTo(goModel().freqMinKHz)) << "stepping below the range tunes its lowest frequency";
    EXPECT_TRUE(w->spnFreqstep->isEnabled());

    // The AR7030 poll: the dial moved, then stands still.
    frmWelcome::instance()->hub().Change2FreqA(9420);
    ASSERT_TRUE(tunedTo(9420));
    w->optMousedial->select(1);
    EXPECT_TRUE(w->tmrDial7030.isActive());
    EXPECT_TRUE(w->spnFreqstep->isHidden());
    w->tmrDial7030.stop(); // ticks are driven by the test
    emu.dial(9650000);
    w->tmrDial7030_Timer();
    EXPECT_NEAR(G.rxfreqnow, 9650, 0.01);
    EXPECT_TRUE(w->lblBingo[0]->text().contains("Far"));
    const int builds = w->builds();
    w->tmrDial7030_Timer();
    EXPECT_EQ(w->builds(), builds) << "an unchanged frequency causes no refresh";
    pty.setOff(true);
    w->tmrDial7030_Timer();
    EXPECT_EQ(panel->txtFrequencyA->text(), "?") << "a read that timed out is not a frequency";
    tavtest::pump(20); // the silent receiver takes the rest of the reads
    pty.setOff(false);
    w->tmrDial7030_Timer();
    EXPECT_TRUE(w->lblBingo[0]->text().contains("Far"));

    // A row click copies into an open log entry only.
    w->optAlternates->select(1);
    const QString line = w->lblBingo[0]->text();
    auto *entry = Windows::get<frmLoginput>();
    w->lblBingo_Click(0);
    EXPECT_TRUE(entry->txtLoginput[LogStation]->text().isEmpty());
    entry->load();
    w->lblBingo_Click(0);
    EXPECT_EQ(entry->txtLoginput[LogLanguage]->text(), "Eng");
    EXPECT_EQ(entry->txtLoginput[LogStation]->text(), line.mid(19, 20));
    EXPECT_EQ(entry->txtLoginput[LogLocation]->text(), line.mid(77, 12));
    entry->unload();

    w->close();
    EXPECT_FALSE(Windows::loaded(WindowId::frmTracking));
    EXPECT_FALSE(G.trackdbloaded);
    EXPECT_FALSE(w->tmrDial7030.isActive());
    frmWelcome::instance()->hub().Change2FreqA(9425);
    EXPECT_TRUE(tunedTo(9425)) << "the hub leaves a closed window alone";
}

namespace {
// Dial following on a receiver that falls silent: the panel shows "?"
// instead of the last frequency, the user hears once that the receiver does
// not answer, and the next answer shows the frequency again.
TEST_F(TrackingOnAR7030, DialOnASilentReceiverShowsUnknownAndSaysSoOnce)
{
    frmTracking *w = openWithFile();
    w->optMousedial->button(1)->click();
    ASSERT_TRUE(w->tmrDial7030.isActive());
    w->tmrDial7030.stop(); // ticks are driven by the test
    w->tmrDial7030_Timer();
    ASSERT_EQ(panel->txtFrequencyA->text(), "9420.00");
    auto silenceMessages = [] {
        int n = 0;
        for (const ShownBox &b : DialogScript::shown)
            n += b.text == frmWelcome::instance()->Comm1.silenceText() ? 1 : 0;
        return n;
    };
    for (int round = 1; round <= 2; ++round) {
        pty.setOff(true);
        for (int i = 0; i < 3; ++i) {
            w->tmrDial7030_Timer();
            tavtest::pump(20);
        }
        EXPECT_EQ(panel->txtFrequencyA->text(), "?");
        EXPECT_EQ(silenceMessages(), round) << "once while it stays silent";
        pty.setOff(false);
        w->tmrDial7030_Timer();
        EXPECT_EQ(panel->txtFrequencyA->text(), "9420.00") << "the same frequency as before is shown again";
        EXPECT_NEAR(G.rxfreqnow, 9420, 0.01);
    }
}

struct TrackingOnNrd545 : tavtest::Nrd545Rig {};
} // namespace

TEST_F(TrackingOnNrd545, DialReportsInPiecesAndTheCloseBox)
{
    resetStationState();
    G.setupdata[7] = 1;
    ASSERT_NE(go(), nullptr);
    auto *w = Windows::get<frmTracking>();
    w->showModeless();
    ensureDir(G.filedirs[FileKind::Tracking]);
    ASSERT_TRUE(writeTextLines(G.filedirs[FileKind::Tracking] + "list.ftl", {rec(9600, "0000-2400", "A"), rec(9650, "0000-2400", "Dialled"),
                                                            rec(9700, "0000-2400", "C"), rec(9800, "0000-2400", "D")}));
    G.filenames[FileKind::Tracking] = "list.ftl";
    ASSERT_TRUE(runReader(FileKind::Tracking));
    w->optHitsall->select(1);
    clearSent();

    w->optMousedial->select(1);
    EXPECT_TRUE(sentCommand("I1"));
    EXPECT_TRUE(sentCommand("DD0"));
    EXPECT_TRUE(G.dialtrack);
    ASSERT_NE(openJrcLock(), nullptr);
    EXPECT_EQ(openJrcLock()->toolHolds(), 1);

    pty->setChunking(3, 5);
    emu.dial(9650000);
    ASSERT_TRUE(tavtest::waitFor([&] { return G.rxfreqnow == 9650.0; }, 10000));
    EXPECT_TRUE(tavtest::waitFor([&] { return w->lblBingo[0]->text().contains("Dialled"); }, 3000));

    // Another tool's hold outlives the window's close box.
    QObject other;
    Receiver::hold(&other, true);
    EXPECT_EQ(openJrcLock()->toolHolds(), 2);
    clearSent();
    w->close();
    EXPECT_TRUE(sentCommand("I0"));
    EXPECT_FALSE(G.dialtrack);
    EXPECT_EQ(openJrcLock()->toolHolds(), 1);
    Receiver::hold(&other, false);
}

namespace {

struct TrackingOnNrd535 : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::Nrd535Emulator emu;
    std::unique_ptr<sim::PtyHarness> pty;
    void SetUp() override
    {
        resetStationState();
        emu.cur.hz = 9600000;
        emu.cur.mode = 2;
        pty = std::make_unique<sim::PtyHarness>(emu);
        ASSERT_TRUE(pty->ok());
        registerBuiltWindows();
        Windows::registerFactory(WindowId::frmLast20, {});
        frmWelcome::instance()->load();
        DialogScript::shown.clear();
        G.datapath = dir.path();
        buildFileDirs();
        dir.write("comports.ini", pty->slavePath().toLatin1() + "\r\n");
        G.rxtype = 2;
        G.setupdata[1] = 1;
        G.setupdata[7] = 1;
    }
    void TearDown() override
    {
        if (TavForm *f = Windows::existing(WindowId::frmNRD535))
            f->unload();
        frmWelcome::destroy();
        Windows::destroyAll();
    }
    QString sent()
    {
        tavtest::pump(40);
        return QString::fromLatin1(pty->received());
    }
};

} // namespace

TEST_F(TrackingOnNrd535, DialFollowingAndBackToMouse)
{
    frmWelcome::instance()->imgGo_Click();
    ASSERT_NE(Windows::existing(WindowId::frmNRD535), nullptr);
    auto *w = Windows::get<frmTracking>();
    w->showModeless();
    ensureDir(G.filedirs[FileKind::Tracking]);
    ASSERT_TRUE(writeTextLines(G.filedirs[FileKind::Tracking] + "ILGADATA.FTL", {rec(9600, "0000-2400", "A"), rec(9650, "0000-2400", "Dialled"),
                                                                rec(9700, "0000-2400", "C")}));
    G.filenames[FileKind::Tracking] = "ILGADATA.FTL";
    ASSERT_TRUE(runReader(FileKind::Tracking));
    EXPECT_EQ(w->txtFreqstep->text(), "9");
    w->optHitsall->select(1);
    pty->clearReceived();

    w->optMousedial->select(1);
    EXPECT_TRUE(sent().contains("I1\rH0\r"));
    EXPECT_TRUE(G.dialtrack);
    pty->setChunking(2, 5);
    emu.dial(9650000);
    ASSERT_TRUE(tavtest::waitFor([&] { return G.rxfreqnow == 9650.0; }, 10000));
    EXPECT_TRUE(tavtest::waitFor([&] { return w->lblBingo[0]->text().contains("Dialled"); }, 3000));

    pty->clearReceived();
    w->optMousedial->select(0);
    EXPECT_TRUE(sent().contains("I0\r"));
    EXPECT_FALSE(G.dialtrack);
    EXPECT_FALSE(w->spnFreqstep->isHidden()) << "Mouse shows the stepping again";
    ASSERT_NE(openJrcLock(), nullptr);
    EXPECT_EQ(openJrcLock()->toolHolds(), 0);
}

TEST(TrackingWindow, AeroPresetsAndDialWithoutReceiver)
{
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    resetProgramState();
    resetStationState();
    InitConstants();
    registerBuiltWindows();
    G.datapath = dir.path();
    buildFileDirs();
    G.setupdata[7] = 1;
    auto *w = Windows::get<frmTracking>();
    w->showModeless();
    EXPECT_FALSE(w->fraMousedial->isEnabled());
    EXPECT_FALSE(w->spnFreqstep->isEnabled());
    ensureDir(G.filedirs[FileKind::Tracking]);
    ASSERT_TRUE(writeTextLines(G.filedirs[FileKind::Tracking] + "aero.ftl", {"06000.00 USB      LDOC", "08000.00 USB      MWARA NAT",
                                                            "08001.00 USB      VOLMET"}));
    G.filenames[FileKind::Tracking] = "aero.ftl";
    ASSERT_TRUE(runReader(FileKind::Tracking));
    EXPECT_EQ(w->windowTitle(), "Tracking database aero.ftl /  3 records");
    EXPECT_EQ(w->txtFreqstep->text(), "3");
    EXPECT_EQ(w->optHitsall->selected(), 1);
    EXPECT_FALSE(w->fraHitsall->isEnabled());
    EXPECT_EQ(w->optAlternates->selected(), 0);
    EXPECT_FALSE(w->fraAlternates->isEnabled());

    w->txtFrequencyA->setText("8000.00");
    w->optMousedial->select(1);
    EXPECT_TRUE(w->spnFreqstep->isHidden());
    EXPECT_FALSE(G.dialtrack);
    EXPECT_TRUE(w->lblBingo[0]->text().startsWith("08000.00 USB      MWARA NAT")) << "aero lines shown as they stand";
    EXPECT_EQ(w->lblBingo[1]->text(), TrackEngine::separator());
    w->cmdExit_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmTracking));
    EXPECT_EQ(w->engine().trackcount, -1) << "Exit discards the records";
    Windows::destroyAll();
}
