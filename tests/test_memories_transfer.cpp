// Fetch RM, Fill RM and Set R2M over a real line to each model's emulator:
// what reaches the image and the receiver, a receiver that falls silent
// midway, cells the image never held, and empty records a receiver cannot
// clear.
#include "support/memrig.h"
#include "drivers/receiver.h"

#include "hub/frmLoadfile.h"
#include "memories/memtext.h"

#include <QElapsedTimer>
#include <QFile>

#include <QTest>
#include <QTimer>

using namespace tav;
using tavtest::MemRig;

namespace {

class MemTransfer : public ::testing::TestWithParam<int>, public MemRig {
protected:
    void SetUp() override { open(GetParam()); }
    void TearDown() override { close(); }

    // Fetch RM with To set to `to`, answered Yes.
    void fetch(const QString &to)
    {
        mm->txtTo->setText(to);
        dialogs.answer(vbYes);
        mm->cmdFetch_Click();
    }
    void fill(const QString &from, const QString &to)
    {
        mm->txtFrom->setText(from);
        mm->txtTo->setText(to);
        dialogs.answer(vbYes);
        mm->cmdFill_Click();
    }
    MemImage &image() { return memState().image; }
};

} // namespace

TEST_P(MemTransfer, FetchReadsChannelsFromZeroToTheToBox)
{
    storeInReceiver(3, 9650, rx == 1 ? 1 : 4, rx == 1 ? 3 : 1, 3, 45);
    storeInReceiver(10, 15400, rx == 1 ? 7 : 2, 2);
    storeInReceiver(11, 6000, 2, 1);
    fetch(QStringLiteral("10"));

    EXPECT_EQ(lastTitle(), QStringLiteral("Fetch Rx ready"));
    EXPECT_EQ(lastText(), QStringLiteral("Rx memory is now loaded\nin the MemMan Window"));
    EXPECT_EQ(image().record(3), recordOf(3, 9650, rx == 1 ? 1 : 4, rx == 1 ? 3 : 1, 3, 45));
    EXPECT_EQ(image().record(10), recordOf(10, 15400, rx == 1 ? 7 : 2, 2));
    EXPECT_EQ(image().record(0), memEmptyRecord(0));
    EXPECT_FALSE(image().held(11)) << "cells after To are not read";
    // Grid row i is cell i.
    EXPECT_EQ(mm->model->index(3, 0).data().toString(), QStringLiteral("003"));
    EXPECT_EQ(mm->model->index(3, 1).data().toString(), QStringLiteral("09650.000"));
    EXPECT_EQ(mm->model->index(0, 1).data().toString(), QStringLiteral("No data "));
    EXPECT_TRUE(mm->model->index(11, 0).data().toString().isEmpty());
    EXPECT_EQ(mm->model->rowCount(), goModel().lastCell + 1);
    EXPECT_TRUE(mm->cmdSort->isEnabled());
    EXPECT_TRUE(mm->cmdFill->isEnabled());
    EXPECT_TRUE(mm->lblCellnr->text().isEmpty());

    // A To beyond the last cell reads every channel (the NRD-545's thousand
    // take long at the receiver's pace; the rule is the same).
    if (rx == 4)
        return;
    fetch(QStringLiteral("5000"));
    EXPECT_TRUE(image().held(goModel().lastCell));
    EXPECT_EQ(image().record(11), recordOf(11, 6000, 2, 1));
}

TEST_P(MemTransfer, FetchFromAReceiverThatFallsSilentStopsAndSaysWhere)
{
    storeInReceiver(2, 7200, 2, 1);
    silentAfter(rx == 1 ? 20 : 5);
    fetch(QStringLiteral("30"));

    EXPECT_FALSE(shownTitle(QStringLiteral("Fetch Rx ready")));
    EXPECT_EQ(lastTitle(), QStringLiteral("Fetch Rx error"));
    const QVector<int> held = image().heldCells();
    ASSERT_FALSE(held.isEmpty());
    const int failed = held.last() + 1;
    EXPECT_GT(failed, 2);
    EXPECT_LT(failed, 30);
    EXPECT_EQ(held.size(), failed) << "cells 0 to the failed one, nothing after";
    EXPECT_TRUE(lastText().contains(cellText(failed))) << lastText().toStdString();
    EXPECT_EQ(image().record(2), recordOf(2, 7200, 2, 1));
    EXPECT_TRUE(mm->cmdFetch->isEnabled()) << "the buttons come back after a failed fetch";

    // Garbled replies are no channels (on the AR7030 a mode nibble of 15 at
    // 11005.23 kHz): the first cell is refused and named, nothing is kept.
    close();
    open(GetParam());
    pty->setFault(sim::Fault::Garbage);
    fetch(QStringLiteral("30"));
    EXPECT_FALSE(shownTitle(QStringLiteral("Fetch Rx ready")));
    EXPECT_EQ(lastTitle(), QStringLiteral("Fetch Rx error"));
    EXPECT_TRUE(lastText().contains(QStringLiteral("cell 000"))) << lastText().toStdString();
    if (rx == 1) {
        EXPECT_TRUE(lastText().contains(QStringLiteral("the mode 15 is not in 1 to 7"))) << lastText().toStdString();
    }
    EXPECT_TRUE(image().heldCells().isEmpty());
    // Nothing was read, so nothing is there to edit or fill.
    EXPECT_FALSE(mm->cmdChange->isEnabled());
    EXPECT_TRUE(mm->cmdFetch->isEnabled());
    tav::DialogScript::shown.clear();
    clearSent();
    QTest::mouseClick(mm->cmdFill, Qt::LeftButton);
    EXPECT_TRUE(dialogs.shown().isEmpty()) << lastText().toStdString();
    EXPECT_TRUE(sent().isEmpty());

    // The line hangs up beside the open panel as cell 004 is read: one box,
    // the fetch's, says which cells came in and how to connect again.
    close();
    open(GetParam());
    ASSERT_NE(goPanel(), nullptr);
    const QString cell4 = rx == 1 ? QStringLiteral("read page 2 0x010") : QStringLiteral("L004004");
    emu->log = [&](const QString &c) {
        if (c.contains(cell4))
            pty->dropLine();
    };
    tav::DialogScript::shown.clear();
    mm->txtTo->setText(QStringLiteral("30"));
    clickAnswered(mm->cmdFetch);
    emu->log = nullptr;
    tavtest::pump(100);
    ASSERT_EQ(dialogs.shown().size(), 2) << lastText().toStdString();
    EXPECT_EQ(lastTitle(), QStringLiteral("Fetch Rx error"));
    EXPECT_EQ(lastText(), QStringLiteral("The line was lost\nwhen memory cell 004 was read.\n"
                                         "Cells 000 to 003 are in the MemMan Window\n"
                                         "To connect again, close the panel and press Go."));
    EXPECT_EQ(image().heldCells().size(), 4);
}

TEST_P(MemTransfer, FillWritesHeldCellsSkipsOthersAndNamesEmptiesItCannotClear)
{
    const int mode = rx == 1 ? 5 : 2;
    image().setRecord(0, recordOf(0, 7200, mode, 2, 250, 6));
    image().setRecord(1, recordOf(1, 9650, mode, 1));
    image().setRecord(2, memEmptyRecord(2));
    image().setRecord(4, recordOf(4, 11700, mode, 1));
    // Channels the image never held keep what the receiver has.
    storeInReceiver(3, 6000, 2, 1);
    storeInReceiver(5, 6100, 2, 1);
    clearSent();
    fill(QStringLiteral("5"), QStringLiteral("0"));

    ASSERT_EQ(lastTitle(), QStringLiteral("Fill Rx ready")) << lastText().toStdString();
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("MemMan data is now \nloaded in the Rx memory")));
    EXPECT_TRUE(lastText().contains(QStringLiteral("2 cells without data"))) << lastText().toStdString();
    const QString wire = sent();
    if (rx == 4) {
        EXPECT_TRUE(lastText().contains(QStringLiteral("1 cell is unchanged in the receiver,\nwhich cannot store it"))) << lastText().toStdString();
        EXPECT_TRUE(lastText().endsWith(QStringLiteral("002")));
        EXPECT_FALSE(wire.contains(QStringLiteral("K002")));
    } else {
        EXPECT_FALSE(lastText().contains(QStringLiteral("1 cell is unchanged in the receiver,\nwhich cannot store it")));
    }
    if (rx == 2) {
        EXPECT_TRUE(wire.contains(QStringLiteral("U5002\r")));
    }
    EXPECT_FALSE(wire.contains(QStringLiteral("K003"))) << "a cell never held is not written";

    // What the receiver now holds, read back by a fetch.
    fetch(QStringLiteral("5"));
    EXPECT_EQ(image().record(0), recordOf(0, 7200, mode, 2, 250, 6));
    EXPECT_EQ(image().record(1), recordOf(1, 9650, mode, 1));
    EXPECT_EQ(image().record(3), recordOf(3, 6000, 2, 1));
    EXPECT_EQ(image().record(4), recordOf(4, 11700, mode, 1));
    EXPECT_EQ(image().record(5), recordOf(5, 6100, 2, 1));
    if (rx != 2) { // the NRD-535 emulator keeps no record of clearing
        EXPECT_EQ(image().record(2), memEmptyRecord(2));
    }
}

TEST_P(MemTransfer, FillToASilentReceiverNeverReportsLoaded)
{
    image().setRecord(0, recordOf(0, 7200, 2, 1));
    image().setRecord(1, recordOf(1, 9650, 2, 1));
    // Silent from the start: nothing is written.
    pty->setOff(true);
    clearSent();
    fill(QStringLiteral("0"), QStringLiteral("1"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Fill Rx error"));
    EXPECT_TRUE(lastText().contains(QStringLiteral("000")));
    EXPECT_FALSE(shownTitle(QStringLiteral("Fill Rx ready")));
    const QString wire = sent();
    EXPECT_FALSE(wire.contains(QStringLiteral("K000")));

    // Falls silent during the run: the check after it fails.
    pty->setOff(false);
    const auto answering = emu->send;
    silentAfter(rx == 1 ? 3 : 1);
    tav::DialogScript::shown.clear();
    fill(QStringLiteral("0"), QStringLiteral("1"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Fill Rx error"));
    EXPECT_FALSE(shownTitle(QStringLiteral("Fill Rx ready")));

    // The line hangs up midway beside the open panel: one box, the fill's,
    // says where it stopped, as for silence, and how to connect again.
    emu->send = answering;
    ASSERT_NE(goPanel(), nullptr);
    for (int i = 0; i < 10; ++i)
        image().setRecord(i, recordOf(i, 7200 + i, 2, 1));
    // It drops as cell 004 is written (on the AR7030 its bytes from 0x010 of page 2).
    const QString cell4 = rx == 1 ? QStringLiteral("write page 2 0x010") : QStringLiteral("K004");
    bool dropped = false;
    emu->log = [&](const QString &c) {
        if (!dropped && c.contains(cell4)) {
            dropped = true;
            pty->dropLine();
        }
    };
    tav::DialogScript::shown.clear();
    fill(QStringLiteral("0"), QStringLiteral("9"));
    emu->log = nullptr;
    tavtest::pump(100);
    ASSERT_EQ(dialogs.shown().size(), 2) << lastText().toStdString();
    EXPECT_EQ(lastTitle(), QStringLiteral("Fill Rx error"));
    EXPECT_TRUE(lastText().startsWith(QStringLiteral("The line was lost\nat memory cell 00"))) << lastText().toStdString();
    EXPECT_TRUE(dropped);
    EXPECT_FALSE(lastText().contains(QStringLiteral("cell 000"))) << "cells were written before the loss";
    EXPECT_TRUE(lastText().endsWith(QStringLiteral("The Rx memory was not filled completely.\n"
                                                   "To connect again, close the panel and press Go.")))
        << lastText().toStdString();
}

TEST_P(MemTransfer, NothingTransferredIsNeverAnnouncedAsLoaded)
{
    image().setRecord(40, recordOf(40, 7200, 2, 1));
    clearSent();
    // A fill of a range the image holds nothing of writes nothing.
    fill(QStringLiteral("0"), QStringLiteral("10"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Fill Rx ready"));
    EXPECT_EQ(lastText(), QStringLiteral("No cell from 000 to 010 holds data\nin the MemMan Window: the Rx memory is unchanged"));
    EXPECT_FALSE(sent().contains(QStringLiteral("K0")));
    // A negative To is refused before anything is asked, read or emptied.
    for (const char *to : {"-3", "-0.6", "-99999999999"}) {
        tav::DialogScript::shown.clear();
        clearSent();
        mm->txtTo->setText(QLatin1String(to));
        QTest::mouseClick(mm->cmdFetch, Qt::LeftButton);
        ASSERT_EQ(dialogs.shown().size(), 1) << to;
        EXPECT_EQ(lastText(), QStringLiteral("Input Error"));
        EXPECT_EQ(mm->txtTo->text(), QLatin1Char(' ') + QString::number(goModel().lastCell));
        EXPECT_TRUE(image().held(40)) << "the image is left as it was";
        EXPECT_EQ(memGridRow(image(), 40)[1], QStringLiteral("07200.000"));
        EXPECT_TRUE(sent().isEmpty()) << to;
    }
}

TEST_P(MemTransfer, TheWorkingChannelIsNeverWrittenAndShownAsSuch)
{
    // The JRC status read stores the receiver's state into the last channel,
    // so a memory written there would be lost at the next reading.
    const int last = goModel().lastCell;
    const bool working = rx == 2 || rx == 4;
    const int mode = rx == 1 ? 5 : 2;
    image().setRecord(last - 1, recordOf(last - 1, 7200, mode, 1));
    image().setRecord(last, recordOf(last, 9650, mode, 1));
    clearSent();
    fill(QString::number(last - 1), QString::number(last));
    ASSERT_EQ(lastTitle(), QStringLiteral("Fill Rx ready")) << lastText().toStdString();
    const QString wire = sent();
    if (working) {
        EXPECT_TRUE(wire.contains(QStringLiteral("K") + cellText(last - 1))) << wire.toStdString();
        EXPECT_FALSE(wire.contains(QStringLiteral("K") + cellText(last))) << wire.toStdString();
        EXPECT_EQ(lastText().count(QStringLiteral("working channel")), 1) << "said once";
        EXPECT_TRUE(lastText().contains(cellText(last)));
        EXPECT_EQ(memGridRow(image(), last)[4], workingChannelTag());
        // Only the working channel in the range: nothing at all is written.
        image().reset(last);
        image().setRecord(last, recordOf(last, 9650, mode, 1));
        clearSent();
        fill(QString::number(last - 1), QString::number(last));
        EXPECT_FALSE(sent().contains(QStringLiteral("K"))) << "nothing is written";
        EXPECT_TRUE(lastText().contains(QStringLiteral("working channel")));
    } else {
        EXPECT_FALSE(lastText().contains(QStringLiteral("working channel")));
        EXPECT_NE(memGridRow(image(), last)[4], workingChannelTag());
        fetch(QString::number(last));
        EXPECT_EQ(image().record(last), recordOf(last, 9650, mode, 1)) << "the AR7030 stores its last channel";
    }
    if (rx == 2) {
        // A fetch marks what it read there as the receiver's state.
        fetch(QString::number(last));
        ASSERT_EQ(lastTitle(), QStringLiteral("Fetch Rx ready"));
        EXPECT_EQ(image().info(last).trimmed(), workingChannelTag());
        EXPECT_EQ(image().info(last - 1).trimmed(), QString());
    }
}

TEST_P(MemTransfer, SortAndFillBackKeepEveryListenersChannelAndTheWorkingChannelInItsCell)
{
    // Six channels of the listener out of order, and in the last cell what a
    // fetch gives there: the receiver's state on a JRC receiver (its working
    // channel), a channel of the listener's on the AR7030.
    const int last = goModel().lastCell;
    const bool working = workingChannel(rx).has_value();
    const int mode = rx == 1 ? 5 : 2;
    QList<double> mine{15400, 6000, 9650, 11700, 7200, 21500};
    const double lastKhz = 8000;
    QByteArray file;
    for (int i = 0; i <= last; ++i) {
        QString line;
        if (i < mine.size())
            line = recordOf(i, mine[i], mode, 1) + QStringLiteral("mine %1").arg(i);
        else if (i == last)
            line = recordOf(i, lastKhz, mode, 1) + (working ? workingChannelTag() : QStringLiteral("mine last"));
        file += line.leftJustified(80).toLatin1() + "\r\n";
    }
    dir.write(QStringLiteral("MEM/MEM_%1sort.TXT").arg(rx), file);
    clickLoad(QStringLiteral("MEM_%1sort.TXT").arg(rx));
    ASSERT_TRUE(image().held(last));

    clickAnswered(mm->cmdSort);
    ASSERT_EQ(lastText(), QStringLiteral("Memory data is now sorted"));
    QList<double> sorted = mine;
    if (!working)
        sorted << lastKhz;
    std::sort(sorted.begin(), sorted.end());
    for (int k = 0; k < sorted.size(); ++k)
        EXPECT_EQ(image().record(k), recordOf(k, sorted[k], mode, 1)) << k;
    EXPECT_FALSE(image().held(int(sorted.size())));
    EXPECT_EQ(image().held(last), working);
    if (working) {
        EXPECT_EQ(image().record(last), recordOf(last, lastKhz, mode, 1));
        EXPECT_EQ(image().info(last).trimmed(), workingChannelTag());
    }

    // Filled back whole and fetched again: the receiver holds the listener's
    // channels in order, and none of them is the receiver's state.
    mm->txtFrom->setText(QStringLiteral("0"));
    mm->txtTo->setText(QString::number(last));
    clickAnswered(mm->cmdFill);
    ASSERT_EQ(lastTitle(), QStringLiteral("Fill Rx ready")) << lastText().toStdString();
    mm->txtTo->setText(QStringLiteral("7"));
    clickAnswered(mm->cmdFetch);
    ASSERT_EQ(lastTitle(), QStringLiteral("Fetch Rx ready")) << lastText().toStdString();
    EXPECT_EQ(mm->grdTitles->item(0, 5)->text(), QString()) << "the grid no longer holds the loaded file";
    for (int k = 0; k <= 7; ++k)
        EXPECT_EQ(image().record(k), k < sorted.size() ? recordOf(k, sorted[k], mode, 1) : memEmptyRecord(k)) << k;
}

TEST_P(MemTransfer, FileRowsTheReceiverCannotTakeAreRefusedAndNeverFilled)
{
    // Cell 1 lies above every model's range, cell 2 names a mode and filter
    // outside the receiver's tables; the file also runs past the last cell.
    const QString good = recordOf(0, 7200, rx == 1 ? 5 : 2, 1);
    QString bad2 = recordOf(2, 9650, 2, 1);
    bad2[16] = QLatin1Char('9');
    bad2[19] = QLatin1Char('8');
    QByteArray file = (good + "Good\r\n").toLatin1() + "MEM001 40000000 2 01 1 1 @@@ @@@ @ too high\r\n"
                      + (bad2 + "bad mode\r\n").toLatin1();
    for (int i = 3; i <= goModel().lastCell + 3; ++i)
        file += "\r\n";
    file += "MEM000 07200000 2 01 1 1 @@@ @@@ @ past the end\r\n";
    const QString name = QStringLiteral("MEM_%1bad.TXT").arg(rx);
    dir.write(QStringLiteral("MEM/") + name, file);
    storeInReceiver(1, 6000, 2, 1);
    storeInReceiver(2, 6100, 2, 1);

    tav::DialogScript::shown.clear();
    auto *load = Windows::get<frmLoadfile>();
    load->setKind(FileKind::Memories);
    load->load();
    ASSERT_EQ(load->list->count(), 1);
    dialogs.answer(vbYes);
    QTest::mouseClick(load->cmdOK, Qt::LeftButton);
    ASSERT_EQ(lastTitle(), QStringLiteral("Memory file"));
    EXPECT_TRUE(lastText().contains(QStringLiteral("Cell 001: the frequency 40000 kHz is not in"))) << lastText().toStdString();
    EXPECT_TRUE(lastText().contains(QStringLiteral("Cell 002: the mode 9 is not in"))) << lastText().toStdString();
    EXPECT_TRUE(lastText().contains(QStringLiteral("only the first %1 were read").arg(goModel().lastCell + 1)));
    EXPECT_EQ(dialogs.shown().size(), 2) << "the load's question, then one message";
    EXPECT_TRUE(image().held(0));
    EXPECT_FALSE(image().held(1));
    EXPECT_FALSE(image().held(2));
    EXPECT_TRUE(memGridRow(image(), 1)[1].isEmpty()) << "nothing of the row is shown";

    clearSent();
    fill(QStringLiteral("0"), QStringLiteral("2"));
    ASSERT_EQ(lastTitle(), QStringLiteral("Fill Rx ready")) << lastText().toStdString();
    fetch(QStringLiteral("2"));
    EXPECT_EQ(image().record(0), good);
    EXPECT_EQ(image().record(1), recordOf(1, 6000, 2, 1)) << "the receiver keeps its channel";
    EXPECT_EQ(image().record(2), recordOf(2, 6100, 2, 1));

    // A file far larger than any memory file is refused before it is read.
    QFile huge(dir.file(QStringLiteral("MEM/") + name));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(100 * 1024 * 1024)); // 100 MB
    huge.close();
    QElapsedTimer t;
    t.start();
    tav::DialogScript::shown.clear();
    load->load();
    dialogs.answer(vbYes);
    QTest::mouseClick(load->cmdOK, Qt::LeftButton);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_TRUE(lastText().contains(QStringLiteral("far larger"))) << lastText().toStdString();
    EXPECT_EQ(image().record(1), recordOf(1, 6000, 2, 1)) << "the image is left as it was";
}

TEST_P(MemTransfer, InputErrorsOfTheRangeBoxes)
{
    image().setRecord(0, recordOf(0, 7200, 2, 1));
    struct Case {
        const char *from, *to;
    };
    for (const Case c : {Case{"99", "99"}, Case{"-1", "5"}, Case{"0", "1000"}, Case{"4294967296", "5"}}) {
        if (QString::fromLatin1(c.from) == QLatin1String("99") && goModel().lastCell != 99)
            continue;
        tav::DialogScript::shown.clear();
        mm->txtFrom->setText(QLatin1String(c.from));
        mm->txtTo->setText(QLatin1String(c.to));
        mm->txtDelay->setText(QStringLiteral("5"));
        mm->cmdFill_Click();
        ASSERT_EQ(dialogs.shown().size(), 1) << c.from;
        EXPECT_EQ(lastText(), QStringLiteral("Input Error"));
        EXPECT_EQ(lastTitle(), QStringLiteral(" \u00CBrror"));
        EXPECT_EQ(mm->txtFrom->text(), QStringLiteral("0"));
        EXPECT_EQ(mm->txtTo->text(), QLatin1Char(' ') + QString::number(goModel().lastCell));
        EXPECT_EQ(mm->txtDelay->text(), QStringLiteral("2"));
    }
    // Print's refusal leaves the delay alone and has no blank in its title.
    mm->txtFrom->setText(QString::number(goModel().lastCell));
    mm->txtDelay->setText(QStringLiteral("5"));
    mm->cmdPrint_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral("\u00CBrror"));
    EXPECT_EQ(mm->txtDelay->text(), QStringLiteral("5"));
}

TEST_P(MemTransfer, ClosingTheManagerDuringAFetchStopsIt)
{
    auto *editor = Windows::get<frmMemcell>();
    memState().memcellaction = 2;
    editor->load();
    bool closedDuring = false;
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (memState().image.held(20)) {
            closer.stop();
            closedDuring = memState().transferring;
            mm->unload();
        }
    });
    closer.start();
    QElapsedTimer t;
    t.start();
    fetch(QString::number(goModel().lastCell));
    EXPECT_TRUE(closedDuring);
    EXPECT_LT(t.elapsed(), 20000);
    EXPECT_FALSE(mm->isLoadedForm());
    EXPECT_FALSE(Windows::loaded(WindowId::frmMemman));
    EXPECT_FALSE(Windows::loaded(WindowId::frmMemcell)) << "closing the manager closes the editor";
    EXPECT_FALSE(memState().transferring);
    EXPECT_FALSE(shownTitle(QStringLiteral("Fetch Rx ready")));
    EXPECT_FALSE(memState().image.held(goModel().lastCell));
}

INSTANTIATE_TEST_SUITE_P(Models, MemTransfer, ::testing::Values(1, 2, 4),
                         [](const auto &info) { return std::string(tavtest::emulatorName(info.param)); });

// ---- Set R2M ------------------------------------------------------------------

namespace {
class MemSetR2M : public ::testing::TestWithParam<int>, public MemRig {
protected:
    void SetUp() override { open(GetParam()); }
    void TearDown() override { close(); }
};
} // namespace

TEST_P(MemSetR2M, SetsTheReceiverFromTheSelectedCellOnly)
{
    MemImage &img = memState().image;
    QString rec;
    switch (rx) {
    case 1: rec = QStringLiteral("MEM003 09650000 5 02 @ @ 250 006 1"); break;
    case 2: rec = QStringLiteral("MEM003 09650000 3 02 1 2 @@@ @@@ @"); break;
    case 3: rec = QStringLiteral("MEM003 09650000 3 10 @ 3 @@@ @@@ @"); break;
    case 4: rec = QStringLiteral("MEM003 09650000 3 02 1 4 @@@ @@@ @"); break;
    }
    img.setRecord(3, rec);
    img.setRecord(4, memEmptyRecord(4));
    img.setRecord(6, QStringLiteral("MEM006 99000000 1 01 0 1 @@@ @@@ @")); // beyond the receiver
    if (rx == 1)
        img.setRecord(7, QStringLiteral("MEM007 06000000 1 03 @ @ 000 045 0"));
    clearSent();

    // Nothing goes out for an empty record, a cell never held, or a frequency out of range.
    for (int row : {4, 5, 6, goModel().lastCell + 1}) {
        mm->grdMemman_Click(row);
        mm->cmdSetrx2mem_Click();
    }
    EXPECT_TRUE(sent().isEmpty()) << sent().toStdString();

    mm->grdMemman_DblClick(3);
    EXPECT_EQ(memState().memcellnr, 3);
    ASSERT_TRUE(tavtest::waitFor([&] { return std::abs(emu->tunedFrequencyHz() - 9650000) < 5; }, 5000))
        << emu->tunedFrequencyHz();
    switch (rx) {
    case 1: {
        const auto &a = ar()->applied();
        EXPECT_EQ(a.mode, 5);
        EXPECT_EQ(a.filter, 2);
        EXPECT_EQ(a.pbs, 250);
        EXPECT_EQ(a.bfo, 6) << "CW: the byte is the BFO";
        mm->grdMemman_Click(7);
        mm->cmdSetrx2mem_Click();
        tavtest::pump(100);
        EXPECT_EQ(ar()->applied().mode, 1);
        EXPECT_EQ(ar()->applied().squelch, 45) << "AM: the same byte is the squelch";
        break;
    }
    case 2:
    case 4:
        // The status text "X", attenuator, bandwidth digit, mode, Hz, AGC, in each model's command.
        EXPECT_TRUE(sent().contains(rx == 2 ? QStringLiteral("S199123096500002\r")
                                            : QStringLiteral("S9991230009650000040\r")))
            << sent().toStdString();
        EXPECT_EQ(jrc()->cur.mode, 3);
        EXPECT_EQ(jrc()->cur.bw, 2);
        EXPECT_EQ(jrc()->cur.att, 1);
        EXPECT_EQ(jrc()->cur.agc, rx == 2 ? 2 : 40);
        break;
    case 3:
        EXPECT_EQ(rx320()->mode(), 3);
        EXPECT_EQ(rx320()->filter(), 10);
        EXPECT_EQ(rx320()->agc(), 3);
        EXPECT_EQ(G.rx320agc, 3);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, MemSetR2M, ::testing::Values(1, 2, 3, 4),
                         [](const auto &info) { return std::string(tavtest::emulatorName(info.param)); });
