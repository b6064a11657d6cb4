// The station store and its windows: the query rules, the sort's order
// against a plain transcription of the program's sort, the aero search, the
// scan's stepping, and the ILG and aero windows against the AR7030 emulator.
#include "hub/app.h"
#include "core/filekinds.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "panels/frmAR7030.h"
#include "panels/jrclock.h"
#include "sim/ar7030.h"
#include "sim/pty.h"
#include "stations/ftlrecord.h"
#include "stations/stationlist.h"
#include "stations/stationstate.h"
#include "stations/queryini.h"
#include "stations/stationstore.h"
#include "support/nrd545rig.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

using namespace tav;

namespace {

// An FTL record from its parts (the columns the readers use).
QString rec(const char *freq, const char *utc, const char *station, const char *language = "English",
            const char *flags = "000000000", const char *country = "Germany")
{
    ftl::Fields f;
    f.freq = QLatin1String(freq);
    f.utc = QLatin1String(utc);
    f.station = QLatin1String(station);
    f.target = QStringLiteral("EU");
    f.language = QLatin1String(language);
    for (int i = 0; i < 9; ++i)
        f.areas[i] = flags[i] == '1';
    f.country = QLatin1String(country);
    f.location = QStringLiteral("Somewhere");
    return ftl::held(ftl::build(f));
}

StationStore storeOf(const QVector<QString> &recs)
{
    StationStore s;
    s.ftlrecs = recs;
    s.ftlcount = int(recs.size()) - 1;
    for (int i = 0; i < recs.size(); ++i)
        s.ftlindex << i;
    s.ftlhits = s.ftlcount;
    return s;
}

// The sort as the program has always done it, keys built at every compare.
QVector<int> referenceSort(const QVector<QString> &recs, QVector<int> idx, int key)
{
    const int hits = int(idx.size()) - 1;
    auto k = [&](int i) { return ftlSortKey(recs[idx[i]], key); };
    auto pass = [&](int gap) {
        int last = 0;
        for (int i = 0; i <= hits - gap; ++i)
            if (k(i) > k(i + gap)) {
                std::swap(idx[i], idx[i + gap]);
                last = i;
            }
        return last;
    };
    if (hits == 1) {
        pass(1);
        return idx;
    }
    int gap = hits;
    while (gap > 1) {
        gap = gap / 2 + ((gap % 4 == 3) ? 1 : 0); // half, a half rounded to even
        while (pass(gap) != 0) {
        }
    }
    return idx;
}

struct StationFixture : ::testing::Test {
    void SetUp() override
    {
        resetProgramState();
        resetStationState();
        ftlStore().clear();
        InitConstants();
        G.setupdata[7] = 2;
    }
};

using StationQuery = StationFixture;

} // namespace

TEST_F(StationQuery, IlgRules)
{
    const StationStore s = storeOf({
        rec("05999.90", "0000-0100", "Low"),
        rec("06000.00", "2200-0200", "Night Radio", "English", "000100000"),
        rec("06500.00", "1200-1200", "Same Times", "ENGlish"),
        rec("07000.50", "1100-1300", "Noon", "German", "100000000", "Austria"),
        rec("07001.00", "0000-2359", "Too High"),
    });
    struct Case {
        const char *name;
        IlgCriteria c;
        int now;
        QVector<int> found;
        QString lower = QString(), upper = QString();
    };
    auto freq = [](const char *lo, const char *hi) {
        IlgCriteria c;
        c.freq = true;
        c.lower = QLatin1String(lo);
        c.upper = QLatin1String(hi);
        return c;
    };
    auto with = [](auto setter) {
        IlgCriteria c;
        setter(c);
        return c;
    };
    const Case cases[] = {
        {"6 to 7 MHz: whole kHz, both ends", freq("6", "7"), 0, {1, 2, 3}, "6", "7"},
        {"reversed bounds exchanged", freq("7", "6"), 0, {1, 2, 3}, "6", "7"},
        {"empty upper bound is 32", freq("6", ""), 0, {1, 2, 3, 4}, "6", "32"},
        {"zero lower bound is 0", freq("0", "6"), 0, {0, 1}, "0", "6"},
        {"above every frequency", freq("8", "9"), 0, {}},
        {"language prefix in any case", with([](IlgCriteria &c) { c.language = true; c.languageText = "eng"; }), 0, {0, 1, 2, 4}},
        {"empty station matches all", with([](IlgCriteria &c) { c.station = true; }), 0, {0, 1, 2, 3, 4}},
        {"country prefix", with([](IlgCriteria &c) { c.country = true; c.countryText = "AUS"; }), 0, {3}},
        {"on air at 23:30", with([](IlgCriteria &c) { c.onAir = true; }), 2330, {1, 4}},
        {"on air at 01:00", with([](IlgCriteria &c) { c.onAir = true; }), 100, {0, 1, 4}},
        {"on air at noon; equal times never", with([](IlgCriteria &c) { c.onAir = true; }), 1200, {3, 4}},
        {"target code in lower case", with([](IlgCriteria &c) { c.target = true; c.targetText = "eu"; }), 0, {1}},
        {"target as a full name", with([](IlgCriteria &c) { c.target = true; c.targetText = "Europe"; }), 0, {}},
    };
    for (Case cs : cases) {
        EXPECT_EQ(ilgSearch(s, cs.c, cs.now), cs.found) << cs.name;
        if (!cs.lower.isEmpty()) {
            EXPECT_EQ(cs.c.lower, cs.lower) << cs.name;
            EXPECT_EQ(cs.c.upper, cs.upper) << cs.name;
        }
    }
    EXPECT_EQ(ilgSearchLine(s.ftlrecs[3]).size(), 77 + 26);
    EXPECT_EQ(ilgSearchLine(s.ftlrecs[3]).mid(77, 7), "Austria");
}

TEST_F(StationQuery, AeroRules)
{
    auto line = [](const char *text) { return ftl::held(QLatin1String(text)); };
    const StationStore s = storeOf({
        line("Aero list header"),
        line("07999.99 USB      NET LOW"),
        line("08000.00 USB      MWARA NAT-A"),
        line("         no frequency here"),
        line("08500.50 USB      VOLMET"),
        line("09000.00 USB    MWARA starts at 17"),
        line("09000.01 USB      LATE"),
        line("00005.00 trailing note"),
    });
    AeroCriteria c;
    c.freq = true;
    c.lower = "8";
    c.upper = "9";
    EXPECT_EQ(aeroSearch(s, c), (QVector<int>{2, 3, 4, 5})) << "decimal kHz; a line without frequency inside is examined";
    c.network = true;
    c.networkText = "mwara";
    EXPECT_EQ(aeroSearch(s, c), (QVector<int>{2})) << "the network is compared from column 19";
    c.freq = false;
    c.networkText.clear();
    EXPECT_EQ(aeroSearch(s, c).size(), 8);
    AeroCriteria high;
    high.freq = true;
    high.lower = "9.5";
    high.upper = "30";
    EXPECT_TRUE(aeroSearch(s, high).isEmpty()) << "lines at 10 kHz or below are stepped over by the walks";
}

TEST_F(StationQuery, SortKeepsTheProgramsOrderOnTies)
{
    QRandomGenerator rng(1234);
    const char *stations[] = {"Alpha", "Beta", "alpha", "Gamma"};
    const char *times[] = {"0000-0100", "1200-1300", "2300-0100"};
    const char *langs[] = {"English", "French", "english"};
    QVector<QString> recs;
    for (int i = 0; i < 700; ++i) {
        const QString f = fixedFormat(5000 + rng.bounded(6) * 5, 5, 2);
        recs << rec(f.toLatin1().constData(), times[rng.bounded(3)], stations[rng.bounded(4)], langs[rng.bounded(3)],
                    "000000000", i % 2 ? "Tie A" : "Tie B");
    }
    QVector<int> idx;
    for (int i = 0; i < recs.size(); ++i)
        idx << (i * 7919) % recs.size();
    for (int key = 0; key < 4; ++key) {
        const QVector<int> got = ftlSort(recs, idx, key);
        EXPECT_EQ(got, referenceSort(recs, idx, key)) << "key " << key;
        for (int i = 1; i < got.size(); ++i)
            ASSERT_LE(ftlSortKey(recs[got[i - 1]], key), ftlSortKey(recs[got[i]], key));
    }
    // Start time: midnight first, equal starts by station.
    const QVector<int> byStart = ftlSort(recs, idx, 1);
    EXPECT_EQ(recs[byStart[0]].mid(9, 4), "0000");
    EXPECT_EQ(recs[byStart[0]].mid(19, 5), "Alpha");
    // Two entries.
    const QVector<QString> two = {rec("09000.00", "0100-0200", "B"), rec("06000.00", "0100-0200", "A")};
    EXPECT_EQ(ftlSort(two, {0, 1}, 0), (QVector<int>{1, 0}));
}

TEST_F(StationQuery, ScanSteppingAndQueryChoices)
{
    auto run = [](const QVector<double> &f, StationScan &scan, int ticks) {
        QVector<double> tuned;
        for (int t = 0; t < ticks; ++t) {
            const auto step = scan.tick(int(f.size()), [&](int i) { return f[i]; });
            if (!step)
                break;
            tuned << step->frequency;
            scan.position = step->select; // the selection's click
            scan.advance(int(f.size()));
        }
        return tuned;
    };
    StationScan scan;
    EXPECT_EQ(run({6000, 7000, 7000, 7000, 7000, 7000, 8000}, scan, 4), (QVector<double>{6000, 7000, 8000, 6000}));
    StationScan same;
    QVector<double> all(300, 9500);
    EXPECT_EQ(run(all, same, 3), (QVector<double>{9500, 9500, 9500}));
    EXPECT_EQ(same.position, 1) << "after 200 passed over the scan returns to the first entry";
    StationScan empty;
    EXPECT_TRUE(run({}, empty, 2).isEmpty());
    StationScan beyond;
    beyond.position = 40;
    EXPECT_EQ(run({6000, 7000}, beyond, 1), QVector<double>{6000});

    tavtest::ScratchDir dir;
    dir.write("q.ini", "stray\r\n***\r\n6\r\n===\r\n\r\n***\r\n7\r\n***\r\nextra\r\n");
    const std::optional<QueryFile> q = readQueryFile(dir.file("q.ini"), 2);
    ASSERT_TRUE(q);
    EXPECT_EQ(q->combos[0], (QStringList{"6", ""}));
    EXPECT_EQ(q->combos[1], QStringList{"7"});
    EXPECT_EQ(q->beforeFirst, 1);
    EXPECT_EQ(q->beyondLast, 1);
    EXPECT_FALSE(readQueryFile(dir.file("missing.ini"), 3));
}

namespace {

struct StationWindows : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::AR7030Emulator emu;
    sim::PtyHarness pty{emu};
    frmAR7030 *panel = nullptr;

    void SetUp() override
    {
        resetStationState();
        ftlStore().clear();
        ASSERT_TRUE(pty.ok());
        registerBuiltWindows();
        frmWelcome::instance()->load();
        G.datapath = dir.path();
        buildFileDirs();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        G.rxtype = 1;
        G.setupdata[1] = 1;
        G.setupdata[7] = 1;
        DialogScript::shown.clear();
        emu.dial(7100000);
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
        return tavtest::waitFor([&] { return std::fabs(emu.tunedFrequencyHz() / 1000 - khz) < 0.01; }, 3000);
    }
    void stationFile(const QString &name, const QStringList &lines)
    {
        ensureDir(G.filedirs[FileKind::StationList]);
        ASSERT_TRUE(writeTextLines(G.filedirs[FileKind::StationList] + name, lines));
        G.filenames[FileKind::StationList] = name;
    }
};

} // namespace

TEST_F(StationWindows, IlgWindowLoadsTunesScansQueriesAndSorts)
{
    dir.write("ilgquery.ini", "***\r\n6\r\n***\r\n7\r\n***\r\nEnglish\r\n");
    auto *w = Windows::get<frmIlg2rx>();
    w->showModeless();
    auto *q = Windows::existing<frmIlgquery>();
    ASSERT_NE(q, nullptr);
    EXPECT_TRUE(Windows::loaded(WindowId::frmIlgquery));
    EXPECT_EQ(q->cmbQuery[2]->count(), 1);
    EXPECT_FALSE(w->cmdQuery->isEnabled());
    const int small = w->lstIlgq->height();
    w->cmdHeigh_Click();
    EXPECT_EQ(w->cmdHeigh->text(), "S");
    EXPECT_NEAR(w->lstIlgq->height(), small * 2, 1) << "the first click gives the large window";

    stationFile("ILGSDATA.ftl", {rec("05990.00", "0000-0100", "Zeta"), rec("06005.00", "0100-0200", "Alpha", "German"),
                                 rec("06005.00", "0100-0200", "Alpha"), rec("09420.00", "0000-2400", "Beta")});
    ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Ilg));
    EXPECT_EQ(w->listLines().size(), 4);
    EXPECT_EQ(w->listLines()[0].size(), 126);
    EXPECT_EQ(w->windowTitle(), "ILG Radio");
    EXPECT_EQ(w->lblDbname->text(), "ILGSDATA.ftl");
    EXPECT_TRUE(w->cmdScan->isEnabled());
    EXPECT_EQ(ftlStore().ftlcount, 3);
    tavtest::pump(50);
    EXPECT_NEAR(emu.tunedFrequencyHz() / 1000, 7100, 0.01) << "loading a list tunes nothing";

    // A selection from the program acts as a click.
    w->lstIlgq->setCurrentIndex(w->lines->index(3));
    EXPECT_TRUE(tunedTo(9420));
    EXPECT_EQ(w->scan().position, 3);

    // The delay limits.
    for (const char *bad : {"0.5", "11"}) {
        w->txtScandelay->setText(bad);
        w->cmdScan_Click();
        EXPECT_FALSE(w->scanning()) << bad;
        ASSERT_FALSE(dialogs.shown().isEmpty());
        EXPECT_EQ(dialogs.shown().last().text, "Scan delay outside range.\nSelect value between 1 and 10 sec.");
    }
    w->txtScandelay->setText("1.5");
    w->cmdScan_Click();
    ASSERT_TRUE(w->scanning());
    EXPECT_EQ(w->tmrScan.interval(), 1500);
    EXPECT_FALSE(w->cmdLoad->isEnabled());
    EXPECT_EQ(w->cmdScan->text(), "Stop Scan");
    w->scan().position = 1; // a click during the scan
    w->scan().lastFrequency = 0;
    w->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(6005));
    w->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(9420)) << "the second entry of 6005 kHz is passed over";
    w->cmdScan_Click();
    EXPECT_FALSE(w->scanning());
    EXPECT_TRUE(w->cmdExit->isEnabled());

    // Query: bounds typed the wrong way round, language.
    w->cmdQuery_Click();
    EXPECT_EQ(w->scan().position, 0);
    q->chkQuery[0]->setChecked(true);
    q->cmbQuery[0]->setEditText("7");
    q->cmbQuery[1]->setEditText("6");
    q->cmdSearchilg_Click();
    EXPECT_EQ(q->cmbQuery[0]->currentText(), "6");
    EXPECT_EQ(q->cmbQuery[1]->currentText(), "7");
    ASSERT_EQ(w->listLines().size(), 2);
    EXPECT_EQ(w->listLines()[0].size(), 103);
    EXPECT_FALSE(w->lblProgress->isVisible());
    tavtest::pump(50);
    EXPECT_NEAR(emu.tunedFrequencyHz() / 1000, 9420, 0.01) << "a search tunes nothing";
    EXPECT_EQ(ftlStore().ftlhits, 1);

    // Sort by language: the English line moves first, whole lines.
    auto *s = Windows::get<frmIlgqsort>();
    s->load();
    s->optSort->select(3);
    s->cmdOK_Click();
    ASSERT_EQ(w->listLines().size(), 2);
    EXPECT_EQ(w->listLines()[0].mid(51, 7), "English");
    EXPECT_EQ(w->listLines()[0].size(), 126);
    s->load();
    EXPECT_EQ(stationState().ftlsortkey, 0) << "every sort starts at Frequency";
    s->cancel_Click();

    // The aero window replaces the store: a sort here then shows the aero lines.
    auto *a = Windows::get<frmAero2rx>();
    a->showModeless();
    stationFile("aero.ftl", {"08000.00 USB      MWARA", "06000.00 USB      LDOC"});
    ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Aero));
    EXPECT_EQ(w->listLines().size(), 2) << "the ILG list keeps its lines";
    w->Ftlsort();
    ASSERT_EQ(w->listLines().size(), 2);
    EXPECT_TRUE(w->listLines()[0].startsWith("06000.00 USB      LDOC"));

    // The aero delay limits and its network query.
    a->txtScandelay->setText("61");
    a->cmdScan_Click();
    EXPECT_FALSE(a->scanning());
    EXPECT_EQ(dialogs.shown().last().text, "Scan delay outside range.\nSelect value between 1 and 60 sec.");
    a->txtScandelay->setText("45");
    a->cmdScan_Click();
    EXPECT_TRUE(a->scanning());
    a->unload();
    EXPECT_FALSE(a->tmrScan.isActive()) << "closing stops the scan";
    a->showModeless();
    ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Aero));
    auto *aq = Windows::existing<frmAeroquery>();
    aq->chkQuery[1]->setChecked(true);
    aq->cmbQuery[2]->setEditText("ld");
    aq->cmdSearchaero_Click();
    EXPECT_EQ(a->listLines(), QStringList{ftl::held("06000.00 USB      LDOC")});
    a->lstAero->setCurrentIndex(a->lines->index(0));
    EXPECT_TRUE(tunedTo(6000));
}

TEST_F(StationWindows, ScanTickUnderAMessageBoxOpensNoSecond)
{
    // Two entries beyond the receiver's range: the first tick's tuning
    // complains once (its selection of the entry does not tune again), and
    // ticks that come due while the box is up stay out.
    stationFile("ILGSDATA.ftl", {rec("40000.00", "0000-0100", "Far"), rec("45000.00", "0000-0100", "Further"),
                                 rec("09420.00", "0000-2400", "Near")});
    auto *w = Windows::get<frmIlg2rx>();
    w->showModeless();
    ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Ilg));
    w->txtScandelay->setText("1");
    w->cmdScan_Click();
    ASSERT_TRUE(w->scanning());
    DialogScript::shown.clear();
    int ticksUnderBox = 0;
    DialogScript::whileShown = [&] {
        ++ticksUnderBox;
        w->tmrScan_Timer();
        w->tmrScan_Timer();
    };
    w->tmrScan_Timer();
    EXPECT_EQ(ticksUnderBox, 1);
    ASSERT_EQ(dialogs.shown().size(), 1) << "one box for the one tuning";
    EXPECT_EQ(dialogs.shown()[0].text, "Frequency outside range");
    DialogScript::whileShown = nullptr;

    // Once the box is gone the scan goes on with the next entries.
    w->tmrScan_Timer();
    EXPECT_EQ(dialogs.shown().size(), 2) << "the second far entry complains in its own tick";
    w->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(9420));
    w->cmdScan_Click();
}

TEST_F(StationWindows, LoadBeyondTheStoreSaysSo)
{
    G.setupdata[7] = 1;
    QStringList many;
    for (int i = 0; i < 1003; ++i)
        many << rec(fixedFormat(3000 + i, 5, 2).toLatin1().constData(), "0000-0100", "S");
    stationFile("ILGADATA.ftl", many);
    auto *w = Windows::get<frmIlg2rx>();
    w->showModeless();
    ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Ilg));
    EXPECT_EQ(w->listLines().size(), 1001);
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_TRUE(dialogs.shown().last().text.contains("2 lines were left out")) << dialogs.shown().last().text.toStdString();
}

namespace {
struct StationScanJrc : tavtest::Nrd545Rig {};
} // namespace

TEST_F(StationScanJrc, ClosingAScanningWindowLetsTheReceiverGo)
{
    resetStationState();
    ftlStore().clear();
    G.setupdata[7] = 1;
    ASSERT_NE(go(), nullptr);
    ensureDir(G.filedirs[FileKind::StationList]);
    ASSERT_TRUE(writeTextLines(G.filedirs[FileKind::StationList] + "ILGSDATA.ftl", {rec("06005.00", "0000-2400", "A")}));
    G.filenames[FileKind::StationList] = "ILGSDATA.ftl";
    auto *w = Windows::get<frmIlg2rx>();
    w->showModeless();
    ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Ilg));
    ASSERT_NE(openJrcLock(), nullptr);
    w->cmdScan_Click();
    ASSERT_TRUE(w->scanning());
    EXPECT_EQ(openJrcLock()->toolHolds(), 1);
    w->close();
    EXPECT_FALSE(Windows::loaded(WindowId::frmIlg2rx));
    EXPECT_FALSE(w->scanning());
    EXPECT_EQ(openJrcLock()->toolHolds(), 0);
}

TEST_F(StationWindows, ClickOnTheLineAScanSelectedTunesIt)
{
    struct Row { WindowId window; StationDb ftlkind; const char *file; QStringList lines; };
    const Row rows[] = {
        {WindowId::frmIlg2rx, StationDb::Ilg, "ILGSDATA.ftl", {rec("05990.00", "0000-2400", "Zeta"), rec("09420.00", "0000-2400", "Beta")}},
        {WindowId::frmAero2rx, StationDb::Aero, "aero.ftl", {"05598.00 USB      NAT-A", "08864.00 USB      NAT-B"}},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(windowDecl(r.window).name);
        auto *w = qobject_cast<StationListWindow *>(Windows::get(r.window));
        ASSERT_NE(w, nullptr);
        w->showModeless();
        stationFile(QLatin1String(r.file), r.lines);
        ASSERT_TRUE(runReader(FileKind::StationList, r.ftlkind));
        tavtest::pump(30);
        const double first = r.lines[0].left(8).toDouble();
        w->txtScandelay->setText("1");
        QTest::mouseClick(w->cmdScan, Qt::LeftButton);
        ASSERT_TRUE(w->scanning());
        w->tmrScan_Timer();
        ASSERT_TRUE(tunedTo(first));
        QTest::mouseClick(w->cmdScan, Qt::LeftButton);
        ASSERT_FALSE(w->scanning());
        ASSERT_EQ(w->list->currentIndex().row(), 0) << "the scan selected the first line";

        frmWelcome::instance()->hub().Change2FreqA(7100);
        ASSERT_TRUE(tunedTo(7100));
        const QRect line = w->list->visualRect(w->lines->index(0));
        QTest::mouseClick(w->list->viewport(), Qt::LeftButton, {}, line.center());
        EXPECT_TRUE(tunedTo(first)) << "the first click on that line tunes";
        w->unload();
    }
}
