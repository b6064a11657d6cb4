// The memory cell editor: every action written into the image and into the
// receiver, what it refuses, and that it never writes during a transfer.
#include "support/memrig.h"

#include <QTest>
#include <QTimer>

using namespace tav;

namespace {

class MemCellEditor : public ::testing::Test, public tavtest::MemRig {
protected:
    void TearDown() override { close(); }

    frmMemcell *editor() { return Windows::existing<frmMemcell>(); }
    MemImage &image() { return memState().image; }
    // Opens the manager for a model with cell 5 filled and selected.
    void start(int rxtype, const QString &record5)
    {
        open(rxtype);
        image().setRecord(5, record5);
        image().setInfo(5, QStringLiteral("Radio Austria"));
        mm->memcmdenabler(true);
        mm->grdMemman_Click(5);
    }
    void click(int index, int answer = vbYes)
    {
        dialogs.answer(answer);
        editor()->cmdToMMWorRM_Click(index);
    }
};

} // namespace

TEST_F(MemCellEditor, ChangeShowsTheCellAndWritesImageGridAndReceiver)
{
    start(2, QStringLiteral("MEM005 09650000 4 01 1 2 @@@ @@@ @"));
    mm->cmdChange_Click();
    frmMemcell *e = editor();
    ASSERT_TRUE(e && e->isLoadedForm());
    EXPECT_EQ(e->windowTitle(), QStringLiteral("Change selected Mem Cell"));
    EXPECT_FALSE(e->cmbCellnr->isEnabled());
    EXPECT_EQ(e->cmbCellnr->currentText(), QStringLiteral("005"));
    EXPECT_EQ(e->txtFrequency->text(), QStringLiteral("09650.000"));
    EXPECT_EQ(e->cmbMode->currentText(), QStringLiteral("AM"));
    EXPECT_EQ(e->cmbBandwidth->currentText(), QStringLiteral("Int"));
    EXPECT_EQ(e->cmbAttenuator->currentText(), QStringLiteral("-20 dB"));
    EXPECT_EQ(e->cmbAgcspeed->currentText(), QStringLiteral("Off"));
    EXPECT_EQ(e->txtMemtag->text(), QStringLiteral("Radio Austria"));
    EXPECT_TRUE(e->cmdToMMWorRM[1]->isEnabled());

    e->txtFrequency->setText(QStringLiteral("7205,5"));
    e->cmbMode->setEditText(QStringLiteral("USB"));
    e->txtMemtag->setText(QStringLiteral("Voice\tof the listeners"));
    click(0);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[0].text,
              QStringLiteral("You want to fill the MemMan\nWindow row 005 with the\nsettings shown"));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Adapt MemMan Window"));
    EXPECT_EQ(lastText(), QStringLiteral("MemMan Window row\n005 is now updated"));
    EXPECT_EQ(lastTitle(), QStringLiteral("MemMan Window changed"));
    EXPECT_EQ(image().record(5), QStringLiteral("MEM005 07205500 2 01 1 2 @@@ @@@ @ "));
    EXPECT_EQ(image().info(5).trimmed(), QStringLiteral("Voice of the listeners"));
    EXPECT_EQ(mm->model->index(5, 1).data().toString(), QStringLiteral("07205.500"));
    EXPECT_EQ(mm->model->index(5, 2).data().toString(), QStringLiteral("USB"));

    click(1);
    EXPECT_EQ(lastText(), QStringLiteral("Receiver memory cell\n005 is now updated"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Receiver memory is changed"));
    ASSERT_TRUE(tavtest::waitFor([&] { return jrc()->memory[5].used; }, 3000));
    EXPECT_EQ(jrc()->memory[5].hz, 7205500);
    EXPECT_EQ(jrc()->memory[5].mode, 2);
    EXPECT_EQ(jrc()->memory[5].att, 1);
    EXPECT_TRUE(e->isLoadedForm()) << "the editor stays open for the next cell";
}

TEST_F(MemCellEditor, StoreTakesTheReceiversSettingIntoAChosenCell)
{
    open(4);
    jrc()->cur.hz = 11700000;
    jrc()->cur.mode = 2;
    jrc()->cur.bw = 2;
    jrc()->cur.att = 0;
    jrc()->cur.agc = 30;
    mm->cmdDump_Click(); // no data needed
    frmMemcell *e = editor();
    ASSERT_TRUE(e && e->isLoadedForm());
    EXPECT_EQ(e->windowTitle(), QStringLiteral(" Store Rx setting in Mem Cell"));
    EXPECT_TRUE(e->cmbCellnr->isEnabled());
    EXPECT_EQ(e->txtFrequency->text(), QStringLiteral("11700.000"));
    EXPECT_EQ(e->cmbMode->currentText(), QStringLiteral("USB"));
    EXPECT_EQ(e->cmbBandwidth->currentText(), QStringLiteral("Nar"));
    EXPECT_EQ(e->cmbAttenuator->currentText(), QStringLiteral("0 dB"));
    EXPECT_EQ(e->cmbAgcspeed->currentText(), QStringLiteral("0600"));
    e->cmbCellnr->setEditText(QStringLiteral("17"));
    click(0);
    EXPECT_EQ(image().record(17), QStringLiteral("MEM017 11700000 2 02 0 3 @@@ @@@ @ "));
    EXPECT_EQ(memState().memcellnr, 17);
}

TEST_F(MemCellEditor, CopyAndDeleteAndTheReceiversThatCannotEmptyACell)
{
    start(4, QStringLiteral("MEM005 09650000 4 01 1 2 @@@ @@@ @"));
    mm->cmdCopy_Click();
    EXPECT_TRUE(editor()->cmbCellnr->isEnabled());
    editor()->cmbCellnr->setEditText(QStringLiteral("045"));
    click(0);
    EXPECT_TRUE(image().record(45).startsWith(QStringLiteral("MEM045 09650000 4 01 1 2")));
    EXPECT_EQ(image().info(45).trimmed(), QStringLiteral("Radio Austria"));
    EXPECT_TRUE(image().record(5).startsWith(QStringLiteral("MEM005")));

    // Delete, to the receiver: the NRD-545 keeps no empty channel, and says so.
    storeInReceiver(5, 6000, 2, 1);
    mm->grdMemman_Click(5);
    mm->cmdDelete_Click();
    EXPECT_FALSE(editor()->cmbCellnr->isEnabled());
    clearSent();
    click(1);
    EXPECT_EQ(dialogs.shown()[dialogs.shown().size() - 2].text,
              QStringLiteral("You want to empty the receiver\nmemory cell 005"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Receiver memory not changed"));
    EXPECT_FALSE(lastText().contains(QStringLiteral("updated")));
    EXPECT_FALSE(sent().contains(QStringLiteral("K005")));
    EXPECT_TRUE(jrc()->memory[5].used);

    click(0);
    EXPECT_EQ(image().record(5), memEmptyRecord(5));
    EXPECT_TRUE(image().info(5).trimmed().isEmpty());
    EXPECT_EQ(mm->model->index(5, 1).data().toString(), QStringLiteral("No data "));
}

TEST_F(MemCellEditor, DeleteIntoAReceiverThatClearsItsChannel)
{
    start(2, QStringLiteral("MEM005 09650000 4 01 1 2 @@@ @@@ @"));
    mm->cmdDelete_Click();
    clearSent();
    click(1);
    EXPECT_EQ(lastTitle(), QStringLiteral("Receiver memory is changed"));
    EXPECT_TRUE(sent().contains(QStringLiteral("U5005\r")));
}

TEST_F(MemCellEditor, TheWorkingChannelIsNeverWrittenToTheReceiver)
{
    for (int rx : {2, 4}) {
        const QString last = cellText(rxModel(rx).lastChannel.value_or(0));
        start(rx, QStringLiteral("MEM005 09650000 2 01 1 2 @@@ @@@ @"));
        QTest::mouseClick(mm->cmdCopy, Qt::LeftButton);
        editor()->cmbCellnr->setEditText(last);
        clearSent();
        tav::DialogScript::shown.clear();
        click(1);
        ASSERT_EQ(dialogs.shown().size(), 1) << "refused before anything is asked";
        EXPECT_EQ(lastTitle(), QStringLiteral("Receiver memory not changed"));
        EXPECT_TRUE(lastText().contains(last + QStringLiteral(" is the program's working channel"))) << rx;
        EXPECT_FALSE(sent().contains(QStringLiteral("K") + last)) << rx;
        // Into the image it may go, like any other cell.
        click(0);
        EXPECT_EQ(lastTitle(), QStringLiteral("MemMan Window changed"));
        close();
    }
}

TEST_F(MemCellEditor, RefusalsAndAnswersOtherThanYesWriteNothing)
{
    start(2, QStringLiteral("MEM005 09650000 4 01 1 2 @@@ @@@ @"));
    mm->cmdCopy_Click();
    frmMemcell *e = editor();
    const QString before = image().record(5);
    struct Case {
        const char *cell, *freq, *mode;
        const char *title;
    };
    // (Every refusal rule is in the record's own tests; these are the window's.)
    for (const Case &c : {Case{"200", "9650", "AM", " \u00CBrror"}, Case{"6", "100000", "AM", "Input Error"},
                          Case{"6", "9650", "Foo", "Input Error"}}) {
        tav::DialogScript::shown.clear();
        e->cmbCellnr->setEditText(QLatin1String(c.cell));
        e->txtFrequency->setText(QLatin1String(c.freq));
        e->cmbMode->setEditText(QLatin1String(c.mode));
        for (int index : {0, 1}) {
            e->cmdToMMWorRM_Click(index);
            EXPECT_EQ(lastTitle(), QString::fromUtf8(c.title)) << c.cell << " " << c.freq << " " << c.mode;
        }
        EXPECT_EQ(dialogs.shown().size(), 2) << "no question is asked";
        EXPECT_FALSE(image().held(6));
    }
    EXPECT_EQ(lastText().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Mode \"Foo\""));
    EXPECT_EQ(image().record(5), before);

    // No: nothing is written, but the cell number chosen stays selected.
    e->cmbCellnr->setEditText(QStringLiteral("7"));
    e->txtFrequency->setText(QStringLiteral("9650"));
    e->cmbMode->setEditText(QStringLiteral("AM"));
    clearSent();
    click(0, vbNo);
    click(1, vbCancel);
    EXPECT_FALSE(image().held(7));
    EXPECT_EQ(memState().memcellnr, 7);
    EXPECT_FALSE(sent().contains(QStringLiteral("K007")));
}

TEST_F(MemCellEditor, Ar7030SquelchOrBfoFollowsTheMode)
{
    start(1, QStringLiteral("MEM005 14100000 5 02 @ @ 250 006 1"));
    mm->cmdChange_Click();
    frmMemcell *e = editor();
    EXPECT_EQ(e->lblSqlBfo->text(), QStringLiteral("BFO"));
    EXPECT_EQ(e->cmbSqlBfo->currentText(), QStringLiteral("+0.2k"));
    EXPECT_EQ(e->cmbPBS->currentText(), QStringLiteral("-0.2k"));
    EXPECT_EQ(e->cmbScanyn->currentText(), QStringLiteral("N"));
    EXPECT_EQ(e->cmbSqlBfo->count(), 85);
    EXPECT_FALSE(e->cmbAttenuator->isEnabled());

    e->cmbMode->setEditText(QStringLiteral("USB"));
    EXPECT_EQ(e->lblSqlBfo->text(), QStringLiteral("Sql"));
    EXPECT_EQ(e->cmbSqlBfo->currentText(), QStringLiteral("00"));
    EXPECT_EQ(e->cmbSqlBfo->count(), 100);
    e->cmbSqlBfo->setEditText(QStringLiteral("30"));
    click(0);
    EXPECT_EQ(image().record(5), QStringLiteral("MEM005 14100000 7 02 @ @ 250 045 1 "));

    e->cmbMode->setEditText(QStringLiteral("CW"));
    EXPECT_EQ(e->cmbSqlBfo->currentText(), QStringLiteral(" 0.0k"));
    e->cmbSqlBfo->setEditText(QStringLiteral("-0.2k"));
    click(1);
    EXPECT_EQ(image().record(5), QStringLiteral("MEM005 14100000 5 02 @ @ 250 250 1 "));
    ASSERT_TRUE(tavtest::waitFor([&] { return ar()->byteAt(2, 4 * 5 + 3) == 0x80 + 0x25; }, 3000))
        << int(ar()->byteAt(2, 4 * 5 + 3));

    // Each mode the list offers: Data and CW keep a BFO offset, the rest a squelch.
    ASSERT_EQ(e->cmbMode->count(), 7);
    for (int i = 0; i < e->cmbMode->count(); ++i) {
        const QString mode = e->cmbMode->itemText(i);
        const bool bfo = mode == QLatin1String("Data") || mode == QLatin1String("CW");
        e->cmbMode->setEditText(mode);
        EXPECT_EQ(e->lblSqlBfo->text(), bfo ? QStringLiteral("BFO") : QStringLiteral("Sql")) << mode.toStdString();
        EXPECT_EQ(e->cmbSqlBfo->currentText(), bfo ? QStringLiteral(" 0.0k") : QStringLiteral("00")) << mode.toStdString();
    }

    // A fetched cell of which only the frequency and tag are changed keeps
    // the shift and BFO bytes it came with, though their texts read back
    // one step off.
    storeInReceiver(8, 9650, 5, 2, 28, 52);
    mm->txtTo->setText(QStringLiteral("10"));
    clickAnswered(mm->cmdFetch);
    const QModelIndex row8 = mm->model->index(8, 0);
    mm->grdMemman->scrollTo(row8);
    QTest::mouseClick(mm->grdMemman->viewport(), Qt::LeftButton, {}, mm->grdMemman->visualRect(row8).center());
    QTest::mouseClick(mm->cmdChange, Qt::LeftButton);
    e = editor();
    e->txtFrequency->setText(QStringLiteral("9655"));
    e->txtMemtag->setText(QStringLiteral("Beacon"));
    dialogs.answer(vbYes);
    QTest::mouseClick(e->cmdToMMWorRM[0], Qt::LeftButton);
    EXPECT_EQ(lastTitle(), QStringLiteral("MemMan Window changed"));
    EXPECT_EQ(image().record(8), recordOf(8, 9655, 5, 2, 28, 52));
}

TEST_F(MemCellEditor, NoReceiverAndRx320CannotWriteToTheReceiver)
{
    start(0, QStringLiteral("MEM005 09650000  "));
    mm->cmdChange_Click();
    EXPECT_FALSE(editor()->cmdToMMWorRM[1]->isEnabled());
    editor()->txtFrequency->setText(QStringLiteral("7200"));
    click(0);
    EXPECT_EQ(image().record(5), QStringLiteral("MEM005 07200000") + QString(20, QLatin1Char(' ')));
    close();

    tavtest::MemRig::open(3);
    EXPECT_FALSE(mm->cmdFetch->isEnabled());
    mm->cmdDump_Click();
    EXPECT_FALSE(editor()->cmdToMMWorRM[1]->isEnabled());
}

TEST_F(MemCellEditor, DoesNotWriteWhileATransferRuns)
{
    start(2, QStringLiteral("MEM005 09650000 4 01 1 2 @@@ @@@ @"));
    mm->cmdChange_Click();
    editor()->txtFrequency->setText(QStringLiteral("7200"));
    QTimer during;
    during.setInterval(0);
    bool clicked = false;
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (memState().image.held(3)) {
            during.stop();
            editor()->cmdToMMWorRM_Click(0);
            clicked = true;
        }
    });
    during.start();
    mm->txtTo->setText(QStringLiteral("10"));
    dialogs.answer(vbYes);
    mm->cmdFetch_Click();
    ASSERT_TRUE(clicked);
    EXPECT_TRUE(shownTitle(QStringLiteral("Memory transfer")));
    EXPECT_FALSE(shownTitle(QStringLiteral("Adapt MemMan Window")));
    EXPECT_EQ(image().record(5), memEmptyRecord(5)) << "the fetched channel, not the editor's";
}
