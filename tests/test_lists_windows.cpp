// The list windows offscreen against the emulated AR7030 through the hub:
// loading lists, clicks that tune (and set the mode in each list's order),
// the frequency boxes, the last-20 and marked lists, and the scratch pad.
#include "hub/app.h"
#include "core/filekinds.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "lists/frm320Files.h"
#include "lists/frmBdxc.h"
#include "lists/frmLast20.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmOwn.h"
#include "lists/frmScratchpad.h"
#include "panels/frmAR7030.h"
#include "sim/ar7030.h"
#include "sim/pty.h"
#include "support/filedialogs.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace tav;
using namespace tav::lists;
using tavtest::waitFor;

namespace {

// The AR7030 noting, byte by byte, when the frequency and the mode it works
// with change, so the order of a list's commands shows.
class RecordingAR7030 : public sim::AR7030Emulator {
public:
    QStringList events;
    void feed(const QByteArray &bytes) override
    {
        for (char b : bytes) {
            const Applied before = applied();
            AR7030Emulator::feed(QByteArray(1, b));
            if (applied().word != before.word)
                events << QStringLiteral("freq %1").arg(std::lround(hzForWord(applied().word) / 1000));
            if (applied().mode != before.mode)
                events << QStringLiteral("mode %1").arg(applied().mode);
        }
    }
};

struct ListsOnAR7030 : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    RecordingAR7030 emu;
    sim::PtyHarness pty{emu};
    frmAR7030 *panel = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        registerBuiltWindows();
        frmWelcome::instance()->load();
        G.datapath = dir.path();
        buildFileDirs();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        G.rxtype = 1;
        G.setupdata[1] = 1;
        G.setupdata[4] = 2;
        G.setupdata[5] = 1;
        DialogScript::shown.clear();
        emu.dial(7100000);
        frmWelcome::instance()->imgGo_Click();
        panel = Windows::existing<frmAR7030>();
        ASSERT_TRUE(panel && panel->isLoadedForm());
        settle();
        emu.events.clear();
    }
    void TearDown() override
    {
        if (panel)
            panel->unload();
        frmWelcome::destroy();
        Windows::destroyAll();
    }
    void settle() { tavtest::pump(30); }
    double tunedKhz() const { return emu.tunedFrequencyHz() / 1000; }
    bool tunedTo(double khz)
    {
        return waitFor([&] { return std::fabs(tunedKhz() - khz) < 0.01; }, 3000);
    }
    // A list file of a kind in its directory, made the kind's current file.
    void listFile(FileKind kind, const QString &name, const QByteArray &content)
    {
        ensureDir(G.filedirs[kind]);
        QFile f(G.filedirs[kind] + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        G.filenames[kind] = name;
    }
    template <class W> W *open(WindowId id)
    {
        auto *w = Windows::get<W>(id);
        w->showModeless();
        return w;
    }
    // A click on a cell of a grid, as the mouse gives it.
    static void click(QTableView *v, int row, int column)
    {
        v->scrollTo(v->model()->index(row, column));
        const QRect r = v->visualRect(v->model()->index(row, column));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
    }
    bool refused() const
    {
        return !dialogs.shown().isEmpty() && dialogs.shown().last().text == "Frequency outside range";
    }
    // Answers the Save dialog with a name.
    static void answerSave(const QString &name) { tavtest::answerSaveDialog(name); }
};

QByteArray bdxcLine(const char *first, const char *second, const char *time, const char *freqs)
{
    QByteArray l = QByteArray(first).leftJustified(17, ' ') + QByteArray(second).leftJustified(18, ' ') +
                   QByteArray(time).leftJustified(13, ' ');
    return l + freqs + "\r\n";
}

} // namespace

TEST_F(ListsOnAR7030, BroadcastListLoadsSelectsAndTunes)
{
    QAction *menu = panel->findChild<QAction *>(QStringLiteral("mnuBDXC"));
    ASSERT_TRUE(menu && menu->isEnabled());
    menu->trigger();
    auto *w = Windows::existing<frmBdxc>();
    ASSERT_TRUE(w && w->isVisible());
    listFile(FileKind::Bdxc, QStringLiteral("BDX_A26_TOE.TXT"),
             bdxcLine("Germany", "DW", "0600-0700", "9560,6075") + bdxcLine(".", "Radio X", "2200-0200", "5,7100") +
                 bdxcLine("Nowhere", ".", "1000-1100", "15000"));

    // Through the Load dialog, as the button opens it.
    G.filenames[FileKind::Bdxc].clear();
    tavtest::answerLoadDialog();
    dialogs.input(QStringLiteral("ALL"));
    w->cmdLoad->click();
    EXPECT_EQ(Windows::get<frmLoadfile>()->kind(), FileKind::Bdxc);
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().title, "Selection Criterium");
    EXPECT_TRUE(dialogs.shown().last().isInput);
    EXPECT_EQ(w->bdxcrows(), 3);
    EXPECT_EQ(w->model->rowCount(), 4); // the blank row 0 stays on top
    EXPECT_EQ(w->cellText(2, 0), "Germany         ");
    EXPECT_EQ(w->cellText(3, 1), "Radio X          ");
    EXPECT_EQ(w->lblDbname->text(), "BDX_A26_TOE.TXT");
    EXPECT_EQ(w->titles->text(0, 0), " Country");

    click(w->grdBdxc, 1, 4);
    EXPECT_TRUE(tunedTo(6075));
    settle();
    EXPECT_EQ(w->txtFrequencyA->text(), panel->txtFrequencyA->text()) << "the hub shows what it tuned";
    // Other columns do nothing; the blank row and an empty cell tune 0, which the hub refuses.
    emu.events.clear();
    click(w->grdBdxc, 1, 1);
    EXPECT_FALSE(refused());
    click(w->grdBdxc, 0, 3);
    EXPECT_TRUE(refused());
    DialogScript::shown.clear();
    click(w->grdBdxc, 2, 3); // the field 5 shows empty
    EXPECT_TRUE(refused());
    settle();
    EXPECT_TRUE(emu.events.isEmpty());

    // A time at which nothing is on the air says so over the empty grid.
    dialogs.input(QStringLiteral("1200"));
    ASSERT_TRUE(runReader(FileKind::Bdxc));
    EXPECT_EQ(w->bdxcrows(), 0);
    EXPECT_TRUE(w->lblNothingOnAir->isVisible());
    EXPECT_EQ(w->lblNothingOnAir->text(), "Nothing in the list is on the air at 1200 UTC.");
    // A time selection across midnight; then Cancel keeps the grid but renews the titles.
    dialogs.input(QStringLiteral("0100"));
    ASSERT_TRUE(runReader(FileKind::Bdxc));
    EXPECT_EQ(w->bdxcrows(), 1);
    EXPECT_FALSE(w->lblNothingOnAir->isVisible());
    EXPECT_EQ(w->cellText(1, 4), " 7100");
    listFile(FileKind::Bdxc, QStringLiteral("ILG_B26_TOW.TXT"), bdxcLine("Org", "Lang", "0000-2359", "9999"));
    dialogs.input(std::nullopt);
    ASSERT_TRUE(runReader(FileKind::Bdxc));
    EXPECT_EQ(w->bdxcrows(), 1);
    EXPECT_EQ(w->cellText(1, 4), " 7100");
    EXPECT_EQ(w->lblDbname->text(), "BDX_A26_TOE.TXT");
    EXPECT_EQ(w->titles->text(0, 1), " Language");
    click(w->grdBdxc, 1, 4);
    EXPECT_TRUE(tunedTo(7100)) << "the old grid still tunes";

    // A file longer than the list size loads what fits and says so once; a
    // missing file is reported and the grid kept.
    G.setupdata[4] = 0.002f;
    listFile(FileKind::Bdxc, QStringLiteral("BDX_LONG_TOE.TXT"),
             bdxcLine("A", "a", "0000-0100", "6000") + bdxcLine("B", "b", "0000-0100", "6001") +
                 bdxcLine("C", "c", "0000-0100", "6002"));
    DialogScript::shown.clear();
    dialogs.input(QStringLiteral("all"));
    ASSERT_TRUE(runReader(FileKind::Bdxc));
    EXPECT_EQ(w->bdxcrows(), 2);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("more lines than the list holds"));
    G.filenames[FileKind::Bdxc] = QStringLiteral("BDX_GONE_TOE.TXT");
    EXPECT_FALSE(runReader(FileKind::Bdxc));
    EXPECT_EQ(w->bdxcrows(), 2);
}

TEST_F(ListsOnAR7030, OwnListTunesThenSetsTheModeAndDotThreeTwentySetsItFirst)
{
    auto *own = open<frmOwn>(WindowId::frmOwn);
    QByteArray line = QByteArray("Radio Org").leftJustified(43, ' ') + "u";
    line = line.leftJustified(50, ' ') + "9560,6070,1,2,3,4,5,6,7,8";
    listFile(FileKind::Own, QStringLiteral("OWN_TEST.TXT"), line + "\r\n");
    ASSERT_TRUE(runReader(FileKind::Own));
    EXPECT_EQ(own->model->rowCount(), 2);
    EXPECT_EQ(own->cellText(1, OwnList::kModeColumn), "U");
    frmWelcome::instance()->hub().SetRx2mfa(QStringLiteral("a"));
    settle();
    emu.events.clear();
    click(own->grdOwn, 1, 4);
    ASSERT_TRUE(waitFor([&] { return emu.events.size() >= 2; })) << emu.events.join(", ").toStdString();
    settle();
    EXPECT_EQ(emu.events, (QStringList{"freq 9560", "mode 7"}));
    EXPECT_EQ(own->grdOwn->currentIndex().column(), OwnList::kModeColumn);

    // The eighth frequency column and the text columns do not respond.
    emu.events.clear();
    DialogScript::shown.clear();
    click(own->grdOwn, 1, 11);
    click(own->grdOwn, 1, 0);
    settle();
    EXPECT_TRUE(emu.events.isEmpty());
    EXPECT_TRUE(dialogs.shown().isEmpty());
    click(own->grdOwn, 0, 5);
    EXPECT_TRUE(refused());

    // ".320": mode letter of the row first, then the frequency in MHz.
    auto *f320 = open<frm320Files>(WindowId::frm320Files);
    frmWelcome::instance()->hub().SetRx2mfa(QStringLiteral("a"));
    settle();
    emu.events.clear();
    listFile(FileKind::F320, QStringLiteral("stations.320"),
             "\"Radio X\",9.65,\"USB\",a,b,c,d,\"Town\",\"Eng\",0600,0700,\"note\",x,y,z,\r\n");
    ASSERT_TRUE(runReader(FileKind::F320));
    EXPECT_EQ(f320->cellText(1, 1), "09650.000");
    EXPECT_EQ(f320->lblDbname->objectName(), "lblDBname");
    EXPECT_EQ(f320->lblDbname->text(), "stations.320");
    click(f320->grd320Files, 1, 6);
    ASSERT_TRUE(waitFor([&] { return emu.events.size() >= 2; })) << emu.events.join(", ").toStdString();
    settle();
    EXPECT_EQ(emu.events, (QStringList{"mode 7", "freq 9650"}));
    EXPECT_EQ(f320->grd320Files->currentIndex().column(), 1);
}

TEST_F(ListsOnAR7030, ReturnInTheLoadDialogLoadsTheChosenListInEveryListWindow)
{
    struct Case {
        WindowId id;
        FileKind kind;
        QString name;
        QByteArray content;
    };
    const Case cases[] = {
        {WindowId::frmBdxc, FileKind::Bdxc, QStringLiteral("BDX_A26_TOE.TXT"), bdxcLine("Germany", "DW", "0600-0700", "9560")},
        {WindowId::frmOwn, FileKind::Own, QStringLiteral("OWN_TEST.TXT"),
         QByteArray("Radio Org").leftJustified(43, ' ') + "u      9560\r\n"},
        {WindowId::frm320Files, FileKind::F320, QStringLiteral("stations.320"),
         "\"Radio X\",9.65,\"USB\",a,b,c,d,\"Town\",\"Eng\",0600,0700,\"note\",x,y,z,\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        auto *w = open<ListWindow>(c.id);
        listFile(c.kind, c.name, c.content);
        G.filenames[c.kind].clear();
        // The Load button clicked in the list window, and `act` done as soon
        // as the dialog is the active window.
        auto load = [w](std::function<void(frmLoadfile *)> act) {
            w->activateWindow();
            ASSERT_TRUE(waitFor([w] { return w->isActiveWindow(); }));
            QTimer::singleShot(0, [act] {
                auto *d = Windows::existing<frmLoadfile>();
                if (d && waitFor([d] { return d->isActiveWindow() && QApplication::focusWidget(); }))
                    act(d);
                if (d && d->isLoadedForm())
                    d->unload();
            });
            w->cmdLoad->click();
        };
        // A look at the list and Cancel; then the dialog again, and Return.
        load([](frmLoadfile *d) { QTest::mouseClick(d->cmdCancel, Qt::LeftButton); });
        EXPECT_TRUE(w->lblDbname->text().isEmpty());
        dialogs.input(QStringLiteral("ALL"));
        load([](frmLoadfile *) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); });
        EXPECT_EQ(w->lblDbname->text(), c.name);
        EXPECT_EQ(w->model->rowCount(), 2);
        tav::DialogScript::inputs.clear();
    }
}

TEST_F(ListsOnAR7030, FrequencyBoxesFollowTheHubAndTuneOnEnter)
{
    auto *bdxc = open<frmBdxc>(WindowId::frmBdxc);
    auto *own = open<frmOwn>(WindowId::frmOwn);
    auto *pad = open<frmScratchpad>(WindowId::frmScratchpad);
    frmWelcome::instance()->hub().Change2FreqA(9560);
    ASSERT_TRUE(tunedTo(9560));
    settle();
    const QString shown = panel->txtFrequencyA->text();
    EXPECT_EQ(bdxc->txtFrequencyA->text(), shown);
    EXPECT_EQ(pad->txtFrequencyA->text(), shown);
    own->unload();
    frmWelcome::instance()->hub().Change2FreqA(6070);
    ASSERT_TRUE(tunedTo(6070));
    settle();
    EXPECT_EQ(own->txtFrequencyA->text(), shown) << "an unloaded window hears nothing";

    bdxc->txtFrequencyA->setText(QStringLiteral("7 1 2 0 kHz"));
    QTest::keyClick(bdxc->txtFrequencyA, Qt::Key_Return);
    EXPECT_TRUE(tunedTo(7120));
    QTest::mouseDClick(pad->txtFrequencyA, Qt::LeftButton);
    EXPECT_EQ(pad->txtFrequencyA->text(), "");
    panel->hide();
    bdxc->cmdDiduzu->click();
    EXPECT_TRUE(panel->isVisible()) << "DiDuzu shows the panel opened at Go";

    // The clock writes the captions of the broadcast and own lists, not the ".320" list's.
    auto *f320 = open<frm320Files>(WindowId::frm320Files);
    own->showModeless();
    frmWelcome::instance()->Showtime_Timer();
    EXPECT_TRUE(bdxc->windowTitle().startsWith("BDXC     LT : " + G.lttext + "     UTC : "));
    EXPECT_TRUE(own->windowTitle().startsWith("OWN     LT : "));
    EXPECT_EQ(f320->windowTitle(), ".320 files");

    // The size button names the size its next click gives.
    const int small = bdxc->grdBdxc->height();
    bdxc->cmdHeigh->click();
    EXPECT_EQ(bdxc->cmdHeigh->text(), "S");
    EXPECT_GT(bdxc->grdBdxc->height(), small);
    bdxc->cmdHeigh->click();
    EXPECT_EQ(bdxc->cmdHeigh->text(), "L");
    EXPECT_EQ(bdxc->grdBdxc->height(), small);
}

TEST_F(ListsOnAR7030, LastTwentyRecordsWhatTheHubTunes)
{
    auto *l20 = Windows::existing<frmLast20>();
    ASSERT_TRUE(l20 && Windows::loaded(WindowId::frmLast20)) << "the panel loads the window";
    EXPECT_FALSE(l20->isVisible());
    EXPECT_EQ(l20->chkNofreqsteps->value(), 1);
    auto tune = [&](double f) {
        frmWelcome::instance()->hub().Change2FreqA(f);
        ASSERT_TRUE(tunedTo(f));
    };
    const QString start = l20->shown(0); // the frequency read at Go
    tune(9560);
    tune(6070);
    tune(9560);
    EXPECT_EQ(l20->shown(0), "9560.00");
    EXPECT_EQ(l20->shown(1), "6070.00");
    EXPECT_EQ(l20->shown(2), start);
    EXPECT_EQ(l20->shown(3), "");
    EXPECT_EQ(l20->rows->text(19, 0), " 19");

    // Steps are left out while the box is ticked, recorded when it is not.
    panel->cmbFreqstep->setEditText(QStringLiteral("5"));
    emit panel->spnFreqstep->SpinUp();
    ASSERT_TRUE(tunedTo(9565));
    EXPECT_EQ(l20->shown(0), "9560.00");
    l20->chkNofreqsteps->setValue(0);
    emit panel->spnFreqstep->SpinUp();
    ASSERT_TRUE(tunedTo(9570));
    EXPECT_EQ(l20->shown(0), "9570.00");

    // A click tunes the stored text and moves it on top; rows below the
    // twentieth do nothing.
    click(l20->grdLast20, 2, 0);
    EXPECT_TRUE(tunedTo(6070));
    EXPECT_EQ(l20->shown(0), "6070.00");
    DialogScript::shown.clear();
    l20->grdLast20_Click(20, 1);
    l20->grdLast20_Click(19, 1); // an empty numbered row: 0, refused
    EXPECT_TRUE(refused());

    // Hide keeps recording; the close box unloads.
    l20->show();
    l20->cmdExit->click();
    EXPECT_FALSE(l20->isVisible());
    tune(7200);
    EXPECT_EQ(l20->shown(0), "7200.00");
    l20->close();
    EXPECT_FALSE(Windows::loaded(WindowId::frmLast20));
    tune(7300);
    EXPECT_EQ(l20->last20freqs().at(0), "7200.00");

    // A step reads the box, which loads the window again, hidden and ticked.
    emit panel->spnFreqstep->SpinUp();
    ASSERT_TRUE(tunedTo(7305));
    EXPECT_TRUE(Windows::loaded(WindowId::frmLast20));
    EXPECT_FALSE(l20->isVisible());
    EXPECT_EQ(l20->shown(0), "") << "the kept list is drawn at the next recording";
    EXPECT_EQ(l20->last20freqs().at(0), "7200.00");
    tune(7400);
    EXPECT_EQ(l20->shown(0), "7400.00");
    EXPECT_EQ(l20->shown(1), "7200.00");

    l20->cmdClear->click();
    EXPECT_EQ(l20->shown(0), "");
    EXPECT_EQ(l20->last20freqs().at(1), "");
    EXPECT_EQ(l20->rows->text(5, 0), " 5");
}

TEST_F(ListsOnAR7030, MarkedFrequenciesScanEveryTwoSeconds)
{
    auto *m = open<frmMarkfreqs>(WindowId::frmMarkfreqs);
    frmWelcome::instance()->hub().Change2FreqA(9560);
    ASSERT_TRUE(tunedTo(9560));
    settle();
    m->cmdMark->click();
    m->cmdScan->click();
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().text, "Not enough valid    \nfrequencies filled  \nin for scanning     ");
    EXPECT_FALSE(m->scanning());

    frmWelcome::instance()->hub().Change2FreqA(6070);
    ASSERT_TRUE(tunedTo(6070));
    settle();
    m->cmdMark->click();
    EXPECT_EQ(m->shown(0), "6070.00");
    EXPECT_EQ(m->shown(1), "9560.00");
    m->cmdScan->click();
    ASSERT_TRUE(m->scanning());
    EXPECT_EQ(m->tmrScan.interval(), 2000);
    EXPECT_TRUE(m->tmrScan.isActive());
    EXPECT_EQ(m->cmdScan->text(), "Stop");
    EXPECT_FALSE(m->cmdMark->isEnabled() || m->cmdCls->isEnabled() || m->cmdExit->isEnabled());
    m->tmrScan.stop(); // the test steps the scan itself
    m->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(6070));
    m->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(9560));
    m->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(6070));
    m->cmdScan->click();
    EXPECT_FALSE(m->scanning());
    EXPECT_TRUE(m->cmdMark->isEnabled() && m->cmdCls->isEnabled() && m->cmdExit->isEnabled());

    // The same frequency written twice differently: a tick finds nothing new and tunes nothing.
    m->cmdCls->click();
    panel->txtFrequencyA->setText(QStringLiteral("9560"));
    m->cmdMark->click();
    panel->txtFrequencyA->setText(QStringLiteral("9560.000"));
    m->cmdMark->click();
    m->cmdScan->click();
    ASSERT_TRUE(m->scanning());
    m->tmrScan.stop();
    m->tmrScan_Timer();
    ASSERT_TRUE(tunedTo(9560));
    settle();
    pty.clearReceived();
    m->tmrScan_Timer();
    m->tmrScan_Timer();
    settle();
    EXPECT_TRUE(pty.received().isEmpty());
    m->grdMarkfreqs_Click(20, 0);
    m->unload();
    EXPECT_FALSE(m->scanning());
}

TEST_F(ListsOnAR7030, ScratchPadFillsTunesScansAndKeepsItsFile)
{
    auto *pad = open<frmScratchpad>(WindowId::frmScratchpad);
    frmWelcome::instance()->hub().Change2FreqA(9560);
    ASSERT_TRUE(tunedTo(9560));
    settle();
    pad->setCurrentCell(2, 3);
    pad->cmdRx2sp->click();
    EXPECT_EQ(pad->cell(2, 3), "9560.00");
    frmWelcome::instance()->hub().Change2FreqA(6070);
    ASSERT_TRUE(tunedTo(6070));
    // A double-click on a filled cell tunes it, on an empty one fills it.
    auto doubleClick = [&](int row, int column) {
        click(pad->grdScratchpad, row, column);
        emit pad->grdScratchpad->doubleClicked(pad->grdScratchpad->model()->index(row, column));
    };
    doubleClick(2, 3);
    EXPECT_TRUE(tunedTo(9560));
    settle();
    doubleClick(2, 4);
    EXPECT_EQ(pad->cell(2, 4), "9560.00");

    // The file, byte for byte, through the Save dialog; Exit's Yes saves and stays.
    pad->txtNotes[0]->setText(QStringLiteral("Morning, early"));
    answerSave(QStringLiteral("fsp_test.txt"));
    dialogs.answer(vbYes);
    pad->cmdExit->click();
    EXPECT_TRUE(pad->isLoadedForm());
    QFile saved(G.filedirs[FileKind::Scratchpad] + "fsp_test.txt");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray file = saved.readAll();
    EXPECT_EQ(file.toStdString(), (QByteArray("Morning, early,,,,,,,,,\r\n,,,,,,,,,\r\n,,,,9560.00,9560.00,,,,\r\n") +
                                   QByteArray(",,,,,,,,,\r\n").repeated(7))
                                      .toStdString());
    // Loading it back over a cleared grid asks first, as closing would; Discard
    // goes on. The note's comma moves the rest into the cells.
    pad->cleargridscratchpad();
    const qsizetype asked = dialogs.shown().size();
    dialogs.answer(vbNo);
    tavtest::answerLoadDialog();
    QTest::mouseClick(pad->cmdLoad, Qt::LeftButton);
    ASSERT_GT(dialogs.shown().size(), asked);
    EXPECT_EQ(dialogs.shown()[asked].title + "|" + dialogs.shown()[asked].text,
              "Unsaved data|The data in the Frequency Scratchpad is not saved.\n"
              "Do you want to save it before it is replaced?");
    EXPECT_EQ(pad->txtNotes[0]->text(), "Morning");
    EXPECT_EQ(pad->cell(0, 0), " early");
    EXPECT_EQ(pad->cell(2, 4), "9560.00");

    // Row c from a file: an empty cell and one above the receiver's range.
    listFile(FileKind::Scratchpad, QStringLiteral("FSP_SCAN.TXT"),
             ",\r\n,\r\nc,9560.000,,6070.000,99999,,,,,\r\nd,9560,9560.000,,,,,,,\r\ne,7100,,,,,,,,\r\n");
    ASSERT_TRUE(runReader(FileKind::Scratchpad));
    DialogScript::shown.clear();
    pad->cmdScan[4]->click();
    EXPECT_EQ(dialogs.shown().last().title, "Error");
    EXPECT_TRUE(dialogs.shown().last().text.startsWith("Not enough valid"));
    for (const char *bad : {"0.5", "61"}) {
        pad->txtScandelay->setText(QLatin1String(bad));
        pad->cmdScan[2]->click();
        EXPECT_EQ(dialogs.shown().last().text, "Scan delay outside range.\nSelect value between 1 and 60 sec.");
        EXPECT_EQ(dialogs.shown().last().icon, MsgIcon::Critical);
        EXPECT_FALSE(pad->scanning());
    }
    pad->txtScandelay->setText(QStringLiteral("1.5"));
    pad->cmdScan[2]->click();
    ASSERT_TRUE(pad->scanning());
    EXPECT_EQ(pad->tmrScan.interval(), 1500);
    EXPECT_FALSE(pad->cmdExit->isEnabled() || pad->grdScratchpad->isEnabled() || pad->cmdScan[0]->isEnabled());
    EXPECT_TRUE(pad->cmdStop->isEnabled() && pad->cmdStop->font().bold());
    pad->tmrScan.stop();
    QList<double> tuned;
    for (int i = 0; i < 4; ++i) {
        pad->tmrScan_Timer();
        settle();
        tuned << std::round(tunedKhz());
    }
    EXPECT_EQ(tuned, (QList<double>{9560, 6070, 9560, 6070}));
    pad->cmdStop->click();
    EXPECT_FALSE(pad->scanning());
    EXPECT_TRUE(pad->cmdExit->isEnabled() && !pad->cmdStop->font().bold());

    // Equal entries: after the first, a tick tunes nothing.
    pad->cmdScan[3]->click();
    ASSERT_TRUE(pad->scanning());
    pad->tmrScan.stop();
    pad->tmrScan_Timer();
    settle();
    pty.clearReceived();
    pad->tmrScan_Timer();
    pad->tmrScan_Timer();
    settle();
    EXPECT_TRUE(pty.received().isEmpty());
    pad->cmdStop->click();

    // Exit's No closes; the clear buttons ask first.
    dialogs.answer(vbNo);
    pad->cmdClrgrid->click();
    EXPECT_EQ(pad->cell(2, 0), "9560.000");
    dialogs.answer(vbYes);
    pad->cmdClrgrid->click();
    EXPECT_EQ(pad->cell(2, 0), "");
    dialogs.answer(vbNo);
    pad->cmdExit->click();
    EXPECT_FALSE(pad->isLoadedForm());
}

TEST_F(ListsOnAR7030, OwnListClickNeverMovesTheGrid)
{
    auto *own = open<frmOwn>(WindowId::frmOwn);
    QByteArray line = QByteArray("Radio Org").leftJustified(43, ' ') + "a";
    line = line.leftJustified(50, ' ') + "6000,7000,8000,9000,10000,11000,12000,13000";
    listFile(FileKind::Own, QStringLiteral("OWN_TEST.TXT"), line + "\r\n");
    ASSERT_TRUE(runReader(FileKind::Own));
    settle();
    // One place on the screen, clicked twice with the receiver moved away
    // between: the same cell answers both times and nothing scrolls.
    const QPoint place = own->grdOwn->visualRect(own->model->index(1, OwnList::kFirstTuning)).center();
    const QPoint titlesAt = own->grdTitles->visualRect(own->titles->index(0, 0)).topLeft();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        frmWelcome::instance()->hub().Change2FreqA(7100);
        ASSERT_TRUE(tunedTo(7100));
        QTest::mouseClick(own->grdOwn->viewport(), Qt::LeftButton, {}, place);
        EXPECT_TRUE(tunedTo(6000)) << tunedKhz();
        settle();
        EXPECT_EQ(own->grdOwn->horizontalScrollBar()->value(), 0);
        EXPECT_EQ(own->grdOwn->visualRect(own->model->index(1, OwnList::kFirstTuning)).center(), place);
        EXPECT_EQ(own->grdTitles->visualRect(own->titles->index(0, 0)).topLeft(), titlesAt);
    }
}
