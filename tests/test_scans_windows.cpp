// The three scan windows without a receiver ("No RX"): their input checks
// and messages, the drawing on the canvas, the files through the Load and
// Save machinery, and the states of their buttons.
#include "hub/app.h"
#include "drivers/receiver.h"
#include "core/filekinds.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "scans/frmScanpairs.h"
#include "support/testenv.h"

#include <QFileInfo>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tav;

namespace {

const QColor kBack(255, 255, 192), kBlack(0, 0, 0), kMarkGreen(0, 255, 0);

struct ScanWindows : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;

    void SetUp() override
    {
        registerBuiltWindows();
        G.datapath = dir.path();
        InitConstants();
        buildFileDirs();
        G.rxtype = 0;
        G.goRxtype = 0; // No RX: 10 .. 30000 kHz
        G.utctext = QStringLiteral("9 Dec 2026  08:00");
    }
    void TearDown() override
    {
        Windows::destroyAll();
        frmWelcome::destroy();
    }
    template <class W> W *open(WindowId id)
    {
        auto *w = Windows::get<W>(id);
        w->load();
        return w;
    }
    QString lastText() const { return dialogs.shown().isEmpty() ? QString() : dialogs.shown().last().text; }
    bool load(FileKind kind, const QString &name, const QByteArray &content)
    {
        dir.write(G.filesubdir[kind] + QLatin1Char('/') + name, content);
        G.filenames[kind] = name;
        return runReader(kind);
    }
    QByteArray save(FileKind kind, const QString &name)
    {
        G.filenames[kind] = name;
        const FileResult r = runWriter(kind);
        EXPECT_TRUE(r.ok) << r.error.toStdString();
        return dir.read(G.filesubdir[kind] + QLatin1Char('/') + name);
    }
};

} // namespace

TEST_F(ScanWindows, ListScanVisitsValidBoxesDrawsAndStopsWhenAllAreEmptied)
{
    auto *w = open<frmScanlist>(WindowId::frmScanlist);
    EXPECT_TRUE(Windows::loaded(WindowId::frmScanlist));
    EXPECT_FALSE(w->cmdStop->isEnabled());
    w->cmdStart_Click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(lastText(), "No valid\nFrequencies\nfilled in");
    EXPECT_FALSE(w->scanning());

    w->txtFreqlist[3]->setText("6000");
    w->txtFreqlist[7]->setText("7000,5");
    w->txtFreqlist[12]->setText("9650");
    w->txtDelay->setText("1.5");
    w->txtUpdate->setText("70000");
    w->cmdStart_Click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].title, "Input Error");
    EXPECT_EQ(w->txtUpdate->text(), "5");
    EXPECT_TRUE(w->scanning());
    EXPECT_EQ(w->tmrScanlist.interval(), 1500);
    EXPECT_EQ(w->lblStartUTC->text(), "9 Dec 2026  08:00");
    EXPECT_FALSE(w->cmdStart->isEnabled());
    EXPECT_FALSE(w->cmdLoad->isEnabled());

    std::vector<int> visited;
    for (int n = 0; n < 4; ++n) {
        w->tmrScanlist_Timer();
        visited.push_back(w->scan().slbox);
    }
    EXPECT_EQ(visited, (std::vector<int>{3, 7, 12, 3}));
    EXPECT_EQ(w->lblRuns->text(), "0001");
    // No receiver: every reading is 0, one pixel at the base line of each bar.
    const Picture &pic = w->picScan->picture();
    EXPECT_EQ(pic.pixel(94, 270), kBlack);   // box 0, read after Start
    EXPECT_EQ(pic.pixel(94 + 75, 270), kBlack); // box 3
    EXPECT_EQ(pic.pixel(94 + 75, 269), kBack);
    EXPECT_EQ(pic.pixel(64, 100), kBlack);   // the left axis
    // The drawing is what the window shows: covering and repainting keep it.
    const QImage shown = w->picScan->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(94 + 75, 270)), kBlack);
    EXPECT_EQ(QColor(shown.pixel(94 + 75, 260)), kBack);

    // Every box emptied while scanning: one round, then the scan stops.
    for (auto *t : w->txtFreqlist)
        t->clear();
    w->tmrScanlist_Timer();
    EXPECT_FALSE(w->scanning());
    EXPECT_EQ(lastText(), "No valid\nFrequencies\nfilled in");
    EXPECT_TRUE(w->cmdContinue->isEnabled());
    EXPECT_FALSE(w->lblEndUTC->text().isEmpty());
    w->cmdExit_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmScanlist));
}

TEST_F(ScanWindows, ListScanFileRoundTripByteForByte)
{
    auto *w = open<frmScanlist>(WindowId::frmScanlist);
    ASSERT_TRUE(load(FileKind::ScanList, "SFL_T.TXT", "7100,000\r\n35000\r\n 6000\r\n"));
    EXPECT_EQ(w->txtFreqlist[0]->text(), "7100.000");
    EXPECT_EQ(w->txtFreqlist[1]->text(), "-");
    EXPECT_EQ(w->txtFreqlist[19]->text(), "-");
    w->txtFreqlist[5]->setText("9650,5");
    QByteArray expect = "7100.000\r\n-\r\n 6000\r\n-\r\n-\r\n9650.5\r\n";
    for (int i = 6; i < 20; ++i)
        expect += "-\r\n";
    EXPECT_EQ(save(FileKind::ScanList, "SFL_T.TXT"), expect);
    EXPECT_EQ(w->txtFreqlist[5]->text(), "9650,5"); // the box itself stays
}

TEST_F(ScanWindows, PairScanWaitsForATableChecksItsBoxesAndSavesEdits)
{
    auto *w = open<frmScanpairs>(WindowId::frmScanpairs);
    EXPECT_FALSE(w->cmdStart->isEnabled());
    EXPECT_FALSE(w->cmdContinue->isEnabled());
    EXPECT_FALSE(w->cmdsaveas->isEnabled());
    // A remark typed where no pair stands is data too: the close asks, and
    // its Save, having no place for it, says so and keeps the window.
    QTest::keyClicks(w->txtRemarks[5], "beacon");
    dialogs.answer(vbYes);
    w->close();
    EXPECT_EQ(dialogs.shown().value(0).title + "|" + dialogs.shown().value(1).title, "Unsaved data|Save Pairs");
    EXPECT_TRUE(w->isLoadedForm());
    w->cmdStop_Click();
    EXPECT_FALSE(w->cmdStart->isEnabled()); // still no table
    w->cmdStart_Click();
    EXPECT_FALSE(w->scanning());

    EXPECT_FALSE(load(FileKind::ScanPairs, "SFP_E.TXT", ""));
    EXPECT_TRUE(lastText().contains("no frequency pairs"));

    QByteArray file;
    for (int i = 0; i < 10; ++i)
        file += QByteArray::number(5000 + i) + "," + QByteArray::number(6000 + i) + ", 1,pair " +
                QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(load(FileKind::ScanPairs, "SFP_T.TXT", file));
    EXPECT_EQ(w->txtEnd->text(), " 9");
    EXPECT_EQ(w->lblFilename->text(), "SFP_T.TXT");
    EXPECT_TRUE(w->cmdStart->isEnabled());
    EXPECT_TRUE(w->cmdsaveas->isEnabled());
    // showactivepairs(0) with the run 0..9.
    EXPECT_EQ(w->lblNr[5]->text(), " 0");
    EXPECT_EQ(w->lblChannelA[5]->text(), "5000");
    EXPECT_EQ(w->lblNr[4]->text(), "");
    EXPECT_EQ(w->lblNr[10]->text(), " 5");

    const int before = int(dialogs.shown().size());
    w->txtEnd->setText("99");
    EXPECT_EQ(w->txtEnd->text(), " 9");
    EXPECT_EQ(w->pairScan().pairend, 9);
    w->txtStart->setText("-1");
    EXPECT_EQ(w->txtStart->text(), "0");
    w->txtStart->setText("70000");
    EXPECT_EQ(w->txtStart->text(), "0");
    EXPECT_EQ(int(dialogs.shown().size()), before + 3);
    EXPECT_EQ(dialogs.shown().last().title, "Input Error");
    w->txtDelay->setText("0");
    EXPECT_EQ(w->txtDelay->text(), "1");
    w->txtDelay->setText("2.5");
    EXPECT_EQ(w->pairdelay(), 2.5);

    // Edits in the rows take effect on focus loss; a comma in a remark survives.
    w->chkChannel[6]->setChecked(false);
    w->chkChannel_LostFocus(6);
    w->txtRemarks[5]->setText("day, strong");
    w->txtRemarks_LostFocus(5);
    w->txtRemarks[0]->setText("row without a pair");
    w->txtRemarks_LostFocus(0);
    // Edits not saved yet: the close box asks, and Cancel keeps the window.
    dialogs.answer(vbCancel);
    w->close();
    EXPECT_EQ(dialogs.shown().last().title + "|" + dialogs.shown().last().text.section('\n', 0, 0),
              "Unsaved data|The data in the Pair Scan window is not saved.");
    EXPECT_TRUE(w->isLoadedForm());
    const QByteArray saved = save(FileKind::ScanPairs, "SFP_T.TXT");
    EXPECT_TRUE(saved.startsWith("5000,6000, 1,day, strong\r\n5001,6001, 0,pair 1\r\n5002,6002, 1,pair 2\r\n"))
        << saved.constData();
    ASSERT_TRUE(load(FileKind::ScanPairs, "SFP_T.TXT", saved));
    EXPECT_EQ(w->pairScan().pairs[0].remark, "day, strong");
    EXPECT_EQ(save(FileKind::ScanPairs, "SFP_T.TXT"), saved);

    w->cmdStart_Click();
    EXPECT_TRUE(w->scanning());
    EXPECT_EQ(w->tmrScanpairs.interval(), 2500);
    EXPECT_FALSE(w->cmdLoad->isEnabled());
    EXPECT_FALSE(w->vsbActnr->isEnabled());
    w->tmrScanpairs_Timer(); // pair 0
    w->tmrScanpairs_Timer(); // pair 1 is off: pair 2
    EXPECT_EQ(w->lblNr[5]->text(), " 2");
    EXPECT_EQ(w->pairScan().paircur, 3);
    w->unload();
    EXPECT_FALSE(w->scanning());
    EXPECT_FALSE(Windows::loaded(WindowId::frmScanpairs));
}

TEST_F(ScanWindows, BandScanInputChecks)
{
    auto *w = open<frmScanband>(WindowId::frmScanband);
    const struct {
        const char *start, *end, *step, *delay;
        bool accepted;
        const char *title; // of the refusal
        bool boxesEmptied;
        int interval;
    } cases[] = {
        {"7000", "7100", "0.2", "1", true, "", false, 1000},
        {"7000", "7100", "0.19", "1", false, "Error", true, 0},
        {"7000", "7100", "-1", "1", false, "Error", true, 0},
        {"5", "7100", "1", "1", false, "Error", true, 0},
        {"7000", "31000", "100", "1", false, "Error", true, 0},
        {"7100", "7000", "1", "1", false, "Error", true, 0},
        {"7000", "7000,5", "0", "0,05", true, "", false, 50}, // step 0 becomes 0.001
        {"7000", "7100", "1", "0.01", false, "Input Error", false, 0},
        {"7000", "7100", "1", "61", false, "Input Error", false, 0},
        {"7000", "7100", "1", "70000", false, "Input Error", false, 0},
    };
    for (const auto &c : cases) {
        const int before = int(dialogs.shown().size());
        w->txtInput[0]->setText(c.start);
        w->txtInput[1]->setText(c.end);
        w->txtInput[2]->setText(c.step);
        w->txtInput[3]->setText(c.delay);
        w->cmdStart_Click();
        SCOPED_TRACE(std::string(c.start) + " " + c.end + " " + c.step + " " + c.delay);
        EXPECT_EQ(w->sweeping(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(int(dialogs.shown().size()), before);
            EXPECT_EQ(w->tmrScanband.interval(), c.interval);
            EXPECT_EQ(w->lblFreq1->text(), "Scanning");
            EXPECT_EQ(w->lblTimedate->text(), "9 Dec 2026  08:00 Z");
            EXPECT_FALSE(w->cmdLoad->isEnabled());
            EXPECT_TRUE(w->cmdSave->isEnabled());
            EXPECT_FALSE(w->cmdExit->isEnabled());
            w->cmdStop_Click();
        } else {
            ASSERT_EQ(int(dialogs.shown().size()), before + 1);
            EXPECT_EQ(dialogs.shown().last().title, c.title);
            if (QLatin1String(c.title) == QLatin1String("Error")) {
                EXPECT_EQ(dialogs.shown().last().text, "Input ERROR");
            }
            EXPECT_EQ(w->txtInput[0]->text().isEmpty(), c.boxesEmptied);
            EXPECT_EQ(w->txtInput[3]->text(), c.delay);
        }
    }
    EXPECT_EQ(w->sweep().sbstep, 0.001);
}

TEST_F(ScanWindows, BandSweepWithoutReceiverDrawsThePartsPixels)
{
    auto *w = open<frmScanband>(WindowId::frmScanband);
    const Picture &pic = w->picScan->picture();
    EXPECT_EQ(pic.pixel(69, 361), kBlack);
    EXPECT_EQ(pic.pixel(571, 184), kBlack);
    EXPECT_EQ(pic.pixel(60, 352), kBlack);   // tick at S1
    EXPECT_EQ(pic.pixel(580, 192), kBlack);  // tick at S21
    EXPECT_EQ(pic.pixel(320, 370), kBlack);  // x tick
    w->txtInput[0]->setText("7000");
    w->txtInput[1]->setText("7010");
    w->txtInput[2]->setText("1");
    w->txtInput[3]->setText("60"); // the test ticks by hand
    w->cmdStart_Click();
    ASSERT_TRUE(w->sweeping());
    w->tmrScanband_Timer();
    EXPECT_EQ(pic.pixel(70, 360), kBlack);
    EXPECT_EQ(pic.pixel(70, 359), kBack);
    EXPECT_EQ(pic.count(69, 175, 71, 183, kMarkGreen), 27);
    EXPECT_EQ(w->lblFreq->text(), " 7001");
    EXPECT_EQ(w->sweep().sbstepnr, 1);
    for (int i = 0; i < 10; ++i)
        w->tmrScanband_Timer();
    EXPECT_EQ(w->sweep().sbstepnr, 11); // one beyond the end
    EXPECT_EQ(pic.pixel(570, 360), kBlack);
    EXPECT_EQ(pic.count(569, 175, 571, 183, kMarkGreen), 27);
    EXPECT_EQ(pic.count(69, 175, 568, 183, kMarkGreen), 0); // only the last marker
    w->tmrScanband_Timer();
    EXPECT_EQ(w->sweep().sbstepnr, 11);
    w->cmdStop_Click();
    EXPECT_EQ(pic.count(69, 175, 571, 183, kMarkGreen), 0);
    EXPECT_FALSE(w->cmdContinue->isEnabled());
    EXPECT_TRUE(w->cmdLoad->isEnabled());

    // Tune RX: the clicked column's step; the marker below the plot.
    w->cmdTunerx_Click();
    EXPECT_TRUE(w->tuneMode());
    EXPECT_FALSE(w->cmdStart->isEnabled());
    w->Form_MouseMove(320, 300);
    EXPECT_EQ(w->lblFreq1->text(), " 7005");
    w->Form_MouseDown(320, 300);
    EXPECT_EQ(w->lblFreq->text(), " 7005");
    EXPECT_EQ(pic.count(319, 372, 321, 380, kMarkGreen), 27);
    w->Form_MouseDown(600, 300); // outside the plot
    EXPECT_EQ(w->clickFrequency(), 7005);
    w->cmdStop_Click();
    EXPECT_FALSE(w->tuneMode());
    EXPECT_EQ(pic.count(70, 372, 570, 380, kMarkGreen), 0);
}

TEST_F(ScanWindows, BandStopEndsARunningTickAtOnceAndClosingEndsTheSweep)
{
    auto *w = open<frmScanband>(WindowId::frmScanband);
    w->txtInput[0]->setText("7000");
    w->txtInput[1]->setText("7100");
    w->txtInput[2]->setText("1");
    w->txtInput[3]->setText("60");
    w->cmdStart_Click();
    // Stop is clicked while the tick lets window events run.
    QTimer::singleShot(0, w, [w] { w->cmdStop->click(); });
    w->tmrScanband_Timer();
    EXPECT_FALSE(w->sweeping());
    EXPECT_EQ(w->sweep().sbstepnr, 0); // no advance and no tuning
    EXPECT_FALSE(w->tmrScanband.isActive());
    EXPECT_FALSE(w->tmrSqlon.isActive());

    w->cmdStart_Click();
    ASSERT_TRUE(w->tmrScanband.isActive());
    w->unload();
    EXPECT_FALSE(w->tmrScanband.isActive());
    EXPECT_FALSE(Windows::loaded(WindowId::frmScanband));
}

TEST_F(ScanWindows, BandFilesOverlayInTurnAndRoundTrip)
{
    auto *w = open<frmScanband>(WindowId::frmScanband);
    const Picture &pic = w->picScan->picture();
    const QByteArray band = "8 Dec 2026  20:00 Z\r\n 7000\r\n 7100\r\n 50\r\n 2\r\n090\r\n-017\r\n000\r\n";
    ASSERT_TRUE(load(FileKind::BandScan, "SAN_40m.TXT", band));
    const int first = frmScanband::overlayNumber();
    const QColor c1 = overlayColour(first);
    EXPECT_EQ(w->lblDbname[size_t(first - 1)]->text(), "40m   8 Dec 2026  20:00 Z");
    EXPECT_EQ(w->txtInput[0]->text(), " 7000");
    EXPECT_EQ(w->txtInput[2]->text(), " 50");
    EXPECT_EQ(w->lblFreqhigh->text(), " 7100");
    // From (70,400) up to step 0 at (70,288), then to (320,374) and (570,360).
    EXPECT_EQ(pic.pixel(70, 399), c1);
    EXPECT_EQ(pic.pixel(70, 288), c1);
    EXPECT_EQ(pic.pixel(320, 374), c1);
    EXPECT_EQ(pic.pixel(570, 360), c1);
    EXPECT_TRUE(w->cmdStart->isEnabled());
    EXPECT_FALSE(w->cmdContinue->isEnabled());
    // The saved sweep: the loaded band with the levels up to the step of the
    // last sweep (none yet: step 0).
    EXPECT_EQ(save(FileKind::BandScan, "SAN_A.TXT"), QByteArray("\r\n 7000\r\n 7100\r\n 50\r\n 0\r\n090\r\n"));

    // A file that cannot be drawn is refused before anything changes.
    const int shownBefore = int(dialogs.shown().size());
    EXPECT_FALSE(load(FileKind::BandScan, "SAN_BAD.TXT", "x\r\n 7000\r\n 7100\r\n 1\r\n 100\r\n010\r\n"));
    EXPECT_EQ(int(dialogs.shown().size()), shownBefore + 1);
    EXPECT_TRUE(lastText().contains("fewer levels"));
    EXPECT_EQ(frmScanband::overlayNumber(), first);

    // A second file takes the next colour and legend.
    ASSERT_TRUE(load(FileKind::BandScan, "SAN_x.TXT", "y\r\n 7000\r\n 7100\r\n 50\r\n 2\r\n010\r\n020\r\n030\r\n"));
    const int second = frmScanband::overlayNumber();
    EXPECT_EQ(second, first % 4 + 1);
    EXPECT_EQ(w->lblDbname[size_t(second - 1)]->text(), "x   y");
    EXPECT_EQ(pic.pixel(70, 352), overlayColour(second));
    EXPECT_EQ(pic.pixel(320, 344), overlayColour(second));

    // Four more loads: the numbers go round 1..4 and the legend follows.
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(load(FileKind::BandScan, "SAN_40m.TXT", band));
    EXPECT_EQ(frmScanband::overlayNumber(), second);
    EXPECT_EQ(w->lblDbname[size_t(second - 1)]->text(), "40m   8 Dec 2026  20:00 Z");
    EXPECT_EQ(pic.pixel(320, 374), overlayColour(second));
    EXPECT_EQ(overlayColour(1), QColor(0, 0, 255));
    EXPECT_EQ(overlayColour(4), QColor(255, 0, 0));

    // Cls clears the plot and the legends; the axes stay.
    w->cmdCls_Click();
    EXPECT_EQ(pic.count(70, 184, 570, 360, kBack), 501 * 177);
    EXPECT_EQ(w->lblDbname[0]->text(), "");
    EXPECT_EQ(pic.pixel(69, 361), kBlack);
}

// A band file is taken whole or not at all: a band the receiver cannot sweep
// changes nothing, and Save As writes only what its Load takes back.
TEST_F(ScanWindows, BandFilesTheReceiverCannotSweepAreRefusedAndEverySaveLoadsAgain)
{
    auto *w = open<frmScanband>(WindowId::frmScanband);
    w->show();
    const Picture &pic = w->picScan->picture();
    auto clickLoad = [&](const QString &name) {
        QTimer::singleShot(0, [name] {
            auto *d = Windows::existing<frmLoadfile>();
            const QList<QListWidgetItem *> items = d->list->findItems(name, Qt::MatchFixedString);
            if (!items.isEmpty())
                d->list->setCurrentItem(items.first());
            d->cmdOK->click();
        });
        QTest::mouseClick(w->cmdLoad, Qt::LeftButton);
    };
    auto clickSave = [&](const QString &name) {
        QTimer::singleShot(0, [name] {
            auto *d = Windows::existing<frmSavefile>();
            d->cmbSavefile->setEditText(name);
            d->cmdOK->click();
        });
        QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    };

    // Nothing swept yet: no file that its Load would refuse.
    clickSave(QStringLiteral("SAN_NONE.TXT"));
    EXPECT_TRUE(lastText().contains("nothing to save")) << lastText().toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.file("SAN/SAN_NONE.TXT")));

    const struct {
        const char *start, *end, *step;
    } sweeps[] = {{"7000", "7100", "50"}, {"7000", "7000.004", ".00001"}};
    for (const auto &sw : sweeps) {
        SCOPED_TRACE(sw.step);
        const QString name = QStringLiteral("SAN_STEP%1.TXT").arg(int(&sw - sweeps));
        w->txtInput[0]->setText(sw.start);
        w->txtInput[1]->setText(sw.end);
        w->txtInput[2]->setText(sw.step);
        w->txtInput[3]->setText("60"); // the test ticks by hand
        QTest::mouseClick(w->cmdStart, Qt::LeftButton);
        ASSERT_TRUE(w->sweeping());
        w->tmrScanband_Timer();
        QTest::mouseClick(w->cmdStop, Qt::LeftButton);
        clickSave(name);
        ASSERT_EQ(lastText(), "The data is now saved\nto the file " + name);
        for (QLineEdit *box : {w->txtInput[0], w->txtInput[1], w->txtInput[2]})
            box->clear();
        const int before = frmScanband::overlayNumber();
        clickLoad(name);
        EXPECT_EQ(frmScanband::overlayNumber(), before % 4 + 1) << lastText().toStdString();
        EXPECT_EQ(numericValue(w->txtInput[0]->text()), numericValue(QLatin1String(sw.start)));
        EXPECT_EQ(numericValue(w->txtInput[1]->text()), numericValue(QLatin1String(sw.end)));
        EXPECT_EQ(numericValue(w->txtInput[2]->text()), numericValue(QLatin1String(sw.step)));
    }

    const struct {
        const char *name, *band, *why;
    } refused[] = {
        {"SAN_FAR.TXT", " 7000\r\n 97000000000000000000000\r\n 50", "above the receiver's 30000 kHz"},
        {"SAN_LOW.TXT", " 5\r\n 100\r\n 5", "below the receiver's 10 kHz"},
        {"SAN_FINE.TXT", " 7000\r\n 7100\r\n .1", "more than 500 steps"},
    };
    const QImage drawn = pic.image();
    const int overlay = frmScanband::overlayNumber();
    const QString legend = w->lblDbname[size_t(overlay - 1)]->text();
    const QString start = w->txtInput[0]->text(), step = w->txtInput[2]->text();
    for (const auto &r : refused) {
        SCOPED_TRACE(r.name);
        dir.write(QStringLiteral("SAN/") + r.name, QByteArray("x\r\n") + r.band + "\r\n 2\r\n010\r\n020\r\n030\r\n");
        clickLoad(QLatin1String(r.name));
        EXPECT_TRUE(lastText().contains(QLatin1String(r.why))) << lastText().toStdString();
        EXPECT_EQ(frmScanband::overlayNumber(), overlay);
        EXPECT_EQ(w->lblDbname[size_t(overlay - 1)]->text(), legend);
        EXPECT_EQ(w->txtInput[0]->text(), start);
        EXPECT_EQ(w->txtInput[2]->text(), step);
        EXPECT_TRUE(pic.image() == drawn) << "nothing of the file is drawn";
    }
    // What Save As writes now is the last sweep's band, and it loads again.
    clickSave(QStringLiteral("SAN_AFTER.TXT"));
    ASSERT_EQ(lastText(), "The data is now saved\nto the file SAN_AFTER.TXT");
    EXPECT_TRUE(dir.read(QStringLiteral("SAN/SAN_AFTER.TXT")).contains("\r\n 7000\r\n 7000.004\r\n .00001\r\n"));
    clickLoad(QStringLiteral("SAN_AFTER.TXT"));
    EXPECT_EQ(frmScanband::overlayNumber(), overlay % 4 + 1) << lastText().toStdString();
}

TEST_F(ScanWindows, BandLoopAndSquelchChoicesGovernFilesAndLegends)
{
    auto *w = open<frmScanband>(WindowId::frmScanband);
    w->show();
    EXPECT_TRUE(w->cmdLoad->isEnabled());
    w->chkLoop->setValue(1);
    EXPECT_TRUE(w->optShow->button(0)->isVisible());
    EXPECT_FALSE(w->cmdLoad->isEnabled());
    EXPECT_FALSE(w->cmdSave->isEnabled());
    EXPECT_FALSE(w->lblDbname[0]->isVisible());
    w->optShow->select(2);
    EXPECT_EQ(w->sweep().sbshowmode, 2);
    w->chkLoop->setValue(0);
    EXPECT_FALSE(w->optShow->button(0)->isVisible());
    EXPECT_EQ(w->sweep().sbshowmode, 2);
    EXPECT_TRUE(w->cmdLoad->isEnabled());

    w->chkSqlonoff->setValue(1);
    EXPECT_TRUE(w->lblSsqlon->isVisible());
    EXPECT_FALSE(w->cmdSave->isEnabled());
    for (int i = 0; i < 30; ++i)
        w->spnSqlon_SpinDown();
    EXPECT_EQ(w->lblSqlon->text(), "S1");
    EXPECT_EQ(w->lblSsqlon->y(), 184 + 8 * 20);
    for (int i = 0; i < 14; ++i)
        w->spnSqlon_SpinUp();
    EXPECT_EQ(w->lblSqlon->text(), "S9+36dB");
    for (int i = 0; i < 5; ++i)
        w->spnSqloff_SpinUp();
    EXPECT_EQ(w->lblSqloff->text(), "S9+72dB");
    w->txtInput[0]->setText("7000");
    w->txtInput[1]->setText("7100");
    w->txtInput[2]->setText("1");
    w->txtInput[3]->setText("60");
    w->cmdStart_Click();
    EXPECT_EQ(w->sqloffnr(), 15);
    EXPECT_EQ(w->lblSqloff->text(), "S9+36dB");
    w->cmdStop_Click();
}
