// The memory manager window: what can be used after loading, the memory file
// through the Load and Save dialogs, clearing and leaving, the sort, the
// detail labels, and the memory scan against an emulator.
#include "hub/frmLoadfile.h"
#include "drivers/receiver.h"
#include "hub/frmSavefile.h"
#include "support/memrig.h"

#include <QComboBox>
#include <QTest>

using namespace tav;

namespace {

class MemWindow : public ::testing::Test, public tavtest::MemRig {
protected:
    void TearDown() override { close(); }
    MemImage &image() { return memState().image; }
};

QList<QPushButton *> enabledButtons(frmMemman *mm)
{
    QList<QPushButton *> out;
    for (QPushButton *b : mm->findChildren<QPushButton *>())
        if (b->isEnabled() && b != mm->cmdHeigh && b != mm->cmdScanstop)
            out << b;
    return out;
}

} // namespace

TEST_F(MemWindow, AfterLoadingOnlyFetchLoadExitAndRxCtrWork)
{
    for (int rx : {0, 1, 2, 3, 4}) {
        resetProgramState();
        open(rx);
        QStringList names;
        for (QPushButton *b : enabledButtons(mm))
            names << b->objectName();
        names.sort();
        QStringList want{"cmdDiduzu", "cmdExit", "cmdFetch", "cmdLoad"};
        if (rx == 3 || rx == 0)
            want.removeAll(QStringLiteral("cmdFetch"));
        EXPECT_EQ(names, want) << rx;
        EXPECT_EQ(mm->txtTo->text(), QLatin1Char(' ') + QString::number(goModel().lastCell));
        EXPECT_EQ(mm->model->rowCount(), goModel().lastCell + 1);
        EXPECT_FALSE(image().anyHeld());
        EXPECT_EQ(mm->windowTitle(), QStringLiteral("Memory Management"));
        mm->memcmdenabler(true);
        EXPECT_EQ(mm->cmdFill->isEnabled(), rx != 3 && rx != 0);
        close();
    }
}

TEST_F(MemWindow, SavedAndLoadedThroughTheFileDialogsGivesTheSameGrid)
{
    open(2);
    image().setRecord(0, QStringLiteral("MEM000 09650000 4 01 1 2 @@@ @@@ @"));
    image().setInfo(0, QStringLiteral("Radio Austria"));
    image().setRecord(150, memEmptyRecord(150));
    mm->cleargrdmemman();

    auto *save = Windows::get<frmSavefile>();
    save->setKind(FileKind::Memories);
    save->load();
    save->cmbSavefile->setEditText(QStringLiteral("MEM_2test.TXT"));
    save->cmdOK_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral("Save File"));
    const QByteArray bytes = dir.read(QStringLiteral("MEM/MEM_2test.TXT"));
    ASSERT_EQ(bytes.size(), 200 * 82);
    EXPECT_TRUE(bytes.startsWith("MEM000 09650000 4 01 1 2 @@@ @@@ @ Radio Austria"));
    EXPECT_EQ(bytes.mid(82, 82), QByteArray(80, ' ') + "\r\n");
    EXPECT_EQ(mm->grdTitles->item(0, 5)->text(), QStringLiteral("MEM_2test.TXT"));

    // Cls, No: everything empty; the no-data messages; Store R2M still opens.
    dialogs.answer(vbNo);
    mm->cmdCls_Click();
    EXPECT_FALSE(image().anyHeld());
    EXPECT_TRUE(mm->model->index(0, 1).data().toString().isEmpty());
    for (auto click : {&frmMemman::cmdChange_Click, &frmMemman::cmdCopy_Click, &frmMemman::cmdDelete_Click}) {
        (mm->*click)();
        EXPECT_EQ(lastTitle(), QStringLiteral("Change Mem error"));
        EXPECT_EQ(lastText(), QStringLiteral("No data loaded in the\nMemMan Window"));
    }
    EXPECT_FALSE(Windows::loaded(WindowId::frmMemcell));
    mm->cmdsaveas_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral("Save file error"));
    mm->cmdDump_Click();
    EXPECT_TRUE(Windows::loaded(WindowId::frmMemcell));

    // Load through the dialog, after its question.
    auto *load = Windows::get<frmLoadfile>();
    load->setKind(FileKind::Memories);
    load->load();
    ASSERT_EQ(load->list->count(), 1);
    dialogs.answer(vbYes);
    load->cmdOK_Click();
    EXPECT_EQ(image().record(0), QStringLiteral("MEM000 09650000 4 01 1 2 @@@ @@@ @ "));
    EXPECT_EQ(image().info(0).trimmed(), QStringLiteral("Radio Austria"));
    EXPECT_EQ(image().record(150), memEmptyRecord(150));
    EXPECT_FALSE(image().held(1));
    EXPECT_EQ(mm->model->index(0, 2).data().toString(), QStringLiteral("AM"));
    EXPECT_EQ(mm->model->index(150, 0).data().toString(), QStringLiteral("150"));
    EXPECT_TRUE(mm->cmdSort->isEnabled());
    EXPECT_EQ(mm->grdTitles->item(0, 5)->text(), QStringLiteral("MEM_2test.TXT"));

    // A file none of whose cells the receiver can take leaves nothing to
    // send, scan or save, and so nothing that could blank the file.
    const QByteArray refused = QByteArray("MEM000 99999999 4 01 1 2 @@@ @@@ @").leftJustified(80) + "\r\n"
                               + QByteArray("ABC001 09650000 4 01 1 2 @@@ @@@ @").leftJustified(80) + "\r\n";
    dir.write(QStringLiteral("MEM/MEM_2none.TXT"), refused);
    clickLoad(QStringLiteral("MEM_2none.TXT"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Memory file"));
    EXPECT_FALSE(image().anyHeld());
    QStringList names;
    for (QPushButton *b : enabledButtons(mm))
        names << b->objectName();
    names.sort();
    EXPECT_EQ(names, (QStringList{"cmdDiduzu", "cmdExit", "cmdFetch", "cmdLoad"}));
    const int boxes = int(dialogs.shown().size());
    QTest::mouseClick(mm->cmdsaveas, Qt::LeftButton);
    EXPECT_EQ(int(dialogs.shown().size()), boxes);
    EXPECT_EQ(dir.read(QStringLiteral("MEM/MEM_2none.TXT")), refused);
}

// Without a receiver the image is a file's: nothing offers to talk to a
// receiver, so nothing can empty the image or pretend to tune.
TEST_F(MemWindow, WithoutAReceiverOnlyTheFileAndImageCommandsWork)
{
    open(0);
    dir.write(QStringLiteral("MEM/MEM_0mine.TXT"),
              QByteArray("MEM000 09650000 1 01 @ @ @@@ @@@ @ Radio Austria").leftJustified(80) + "\r\n");
    clickLoad(QStringLiteral("MEM_0mine.TXT"));
    ASSERT_TRUE(image().held(0));
    QStringList names;
    for (QPushButton *b : enabledButtons(mm))
        names << b->objectName();
    names.sort();
    EXPECT_EQ(names, (QStringList{"cmdChange", "cmdCls", "cmdCopy", "cmdDelete", "cmdDiduzu", "cmdDump", "cmdExit",
                                  "cmdLoad", "cmdPrint", "cmdSort", "cmdsaveas"}));
    // A click on Fetch RM asks nothing and leaves the image.
    const int shown = int(dialogs.shown().size());
    QTest::mouseClick(mm->cmdFetch, Qt::LeftButton);
    EXPECT_EQ(int(dialogs.shown().size()), shown);
    EXPECT_TRUE(image().held(0));
    EXPECT_EQ(mm->model->index(0, 1).data().toString(), QStringLiteral("09650.000"));
    // After a sort the receiver's commands stay off.
    clickAnswered(mm->cmdSort);
    EXPECT_EQ(lastText(), QStringLiteral("Memory data is now sorted"));
    for (QPushButton *b : {mm->cmdFetch, mm->cmdFill, mm->cmdSetrx2mem, mm->cmdScanrun})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

// The set-up can be switched to another receiver while a panel runs; the
// image still belongs to the receiver opened at Go, and so do the files offered.
TEST_F(MemWindow, FileDialogsOfferTheMemoryFilesOfTheReceiverOpenedAtGo)
{
    open(4);
    dir.write(QStringLiteral("MEM/MEM_1ar.TXT"), QByteArray());
    dir.write(QStringLiteral("MEM/MEM_4nrd.TXT"), QByteArray());
    G.rxtype = 1;

    auto *load = Windows::get<frmLoadfile>();
    load->setKind(FileKind::Memories);
    load->load();
    ASSERT_EQ(load->list->count(), 1);
    EXPECT_EQ(load->list->item(0)->text().toUpper(), QStringLiteral("MEM_4NRD.TXT"));
    load->unload();

    auto *save = Windows::get<frmSavefile>();
    save->setKind(FileKind::Memories);
    save->load();
    EXPECT_EQ(save->cmbSavefile->currentText(), QStringLiteral("mem_4xyzxyzxyzxy.txt"));
}

TEST_F(MemWindow, ExitAsksAndCellClickShowsDetails)
{
    open(1);
    // Exit, Yes with no data: the save's message, and the window stays.
    dialogs.answer(vbYes);
    mm->cmdExit_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral("Save file error"));
    EXPECT_TRUE(mm->isLoadedForm());
    dialogs.answer(vbCancel);
    mm->cmdExit_Click();
    EXPECT_TRUE(mm->isLoadedForm());

    image().setRecord(12, QStringLiteral("MEM012 09650000 4 02 @ @ 003 250 1"));
    mm->grdMemman_Click(12);
    EXPECT_EQ(mm->lblCellnr->text(), QStringLiteral("012"));
    EXPECT_EQ(mm->lblBfo->text(), QStringLiteral("-0.2k"));
    EXPECT_EQ(mm->lblSql->text(), QStringLiteral("---"));
    EXPECT_EQ(mm->lblPBS->text(), QStringLiteral("+0.1k"));
    EXPECT_EQ(mm->lblScan->text(), QStringLiteral("N"));
    EXPECT_EQ(mm->lblAtt->text(), QStringLiteral("---"));
    // A cell never held changes only the cell number.
    mm->grdMemman_Click(13);
    EXPECT_EQ(mm->lblCellnr->text(), QStringLiteral("013"));
    EXPECT_EQ(mm->lblBfo->text(), QStringLiteral("-0.2k"));
    mm->lblFrom_Click();
    mm->lblTo_Click();
    EXPECT_EQ(mm->txtFrom->text(), QStringLiteral("013"));
    EXPECT_EQ(mm->txtTo->text(), QStringLiteral("013"));

    EXPECT_EQ(mm->cmdHeigh->text(), QStringLiteral("L"));
    mm->cmdHeigh_Click();
    EXPECT_EQ(mm->cmdHeigh->text(), QStringLiteral("S"));
    EXPECT_GT(mm->grdMemman->height(), 300);

    dialogs.answer(vbNo);
    mm->cmdExit_Click();
    EXPECT_FALSE(mm->isLoadedForm());
    EXPECT_FALSE(Windows::loaded(WindowId::frmMemman));

    // Opened again: an empty image, and nothing left of the last opening.
    mm->txtDelay->setText(QStringLiteral("7"));
    mm->load();
    for (QLabel *l : {mm->lblCellnr, mm->lblBfo, mm->lblPBS, mm->lblScan})
        EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
    EXPECT_EQ(mm->cmdHeigh->text(), QStringLiteral("L"));
    EXPECT_LT(mm->grdMemman->height(), 300);
    EXPECT_EQ(mm->txtFrom->text(), QStringLiteral("0"));
    EXPECT_EQ(mm->txtDelay->text(), QStringLiteral("1"));
}

TEST_F(MemWindow, SortAsksOrdersAndShowsTheGridAgain)
{
    open(4);
    mm->cmdSort_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral("No memory data to sort"));
    image().setRecord(7, QStringLiteral("MEM007 15400000 2 01 0 1 @@@ @@@ @"));
    image().setInfo(7, QStringLiteral("seven"));
    image().setRecord(900, QStringLiteral("MEM900 06000000 2 01 0 1 @@@ @@@ @"));
    image().setRecord(3, memEmptyRecord(3));
    dialogs.answer(vbNo);
    mm->cmdSort_Click();
    EXPECT_TRUE(image().held(900));
    dialogs.answer(vbYes);
    mm->cmdSort_Click();
    EXPECT_EQ(lastText(), QStringLiteral("Memory data is now sorted"));
    EXPECT_EQ(lastTitle(), QStringLiteral("Memory data"));
    EXPECT_EQ(mm->model->index(0, 1).data().toString(), QStringLiteral("06000.000"));
    EXPECT_EQ(mm->model->index(1, 0).data().toString(), QStringLiteral("001"));
    EXPECT_EQ(mm->model->index(1, 4).data().toString().trimmed(), QStringLiteral("seven"));
    EXPECT_EQ(image().record(2), memEmptyRecord(2));
    EXPECT_EQ(image().heldCells().size(), 3) << "cells never held stay empty";
}

// ---- memory scan ----------------------------------------------------------------

namespace {
class MemScanRun : public ::testing::TestWithParam<int>, public tavtest::MemRig {
protected:
    void SetUp() override { open(GetParam()); }
    void TearDown() override { close(); }
};
} // namespace

TEST_P(MemScanRun, TicksSetTheReceiverCellByCellAtTheModelsInterval)
{
    MemImage &img = memState().image;
    const QList<double> khz{6000, 7200, 9650};
    for (int k = 0; k < 3; ++k)
        img.setRecord(10 + k, QStringLiteral("MEM%1 %2 2 01 0 1 @@@ @@@ @")
                                  .arg(cellText(10 + k), memFrequencyField(khz[k] * 1000)));
    img.setRecord(13, memEmptyRecord(13));
    mm->memcmdenabler(true);
    mm->txtFrom->setText(QStringLiteral("13"));
    mm->txtTo->setText(QStringLiteral("10"));
    mm->txtDelay->setText(QStringLiteral("0.5"));
    mm->cmdScanrun_Click();
    mm->tmrScan.stop(); // the test ticks itself
    EXPECT_EQ(mm->txtDelay->text(), QStringLiteral("1"));
    EXPECT_EQ(mm->tmrScan.interval(), 100);
    EXPECT_TRUE(mm->cmdScanrun->isHidden());
    EXPECT_FALSE(mm->cmdScanstop->isHidden());
    EXPECT_FALSE(mm->cmdFetch->isEnabled());

    const int interval = GetParam() == 1 ? 50 : 900;
    for (int round = 0; round < 2; ++round) {
        for (int k = 0; k < 4; ++k) {
            mm->tmrScan_Timer();
            EXPECT_EQ(mm->tmrScan.interval(), interval);
            EXPECT_EQ(memState().memcellnr, 10 + k);
            EXPECT_EQ(mm->lblCellnr->text(), cellText(10 + k));
            EXPECT_TRUE(mm->grdMemman->selectionModel()->isRowSelected(10 + k, QModelIndex()));
            if (k < 3) {
                ASSERT_TRUE(tavtest::waitFor(
                    [&] { return std::abs(emu->tunedFrequencyHz() - khz[k] * 1000) < 5; }, 5000))
                    << k << " " << emu->tunedFrequencyHz();
            }
        }
    }
    // The "XXX" cell took its turn without tuning.
    EXPECT_NEAR(emu->tunedFrequencyHz(), 9650000, 5);

    mm->cmdScanstop_Click();
    EXPECT_FALSE(mm->tmrScan.isActive());
    EXPECT_FALSE(mm->cmdScanrun->isHidden());
    EXPECT_TRUE(mm->cmdFetch->isEnabled());

    // A longer delay is held at 60 s; a new run starts at its From.
    mm->txtFrom->setText(QStringLiteral("12"));
    mm->txtTo->setText(QStringLiteral("12"));
    mm->txtDelay->setText(QStringLiteral("100"));
    mm->cmdScanrun_Click();
    mm->tmrScan.stop();
    EXPECT_EQ(mm->txtDelay->text(), QStringLiteral("60"));
    mm->tmrScan_Timer();
    EXPECT_EQ(memState().memcellnr, 12);
    EXPECT_EQ(mm->tmrScan.interval(), GetParam() == 1 ? 59050 : 59900);
    mm->tmrScan_Timer();
    EXPECT_EQ(memState().memcellnr, 12);
    mm->cmdScanstop_Click();

    // A refused range: the scan does not start.
    mm->txtFrom->setText(QString::number(goModel().lastCell));
    mm->cmdScanrun_Click();
    EXPECT_EQ(lastTitle(), QStringLiteral(" \u00CBrror"));
    EXPECT_EQ(mm->txtDelay->text(), QStringLiteral("2"));
    EXPECT_FALSE(mm->tmrScan.isActive());
}

INSTANTIATE_TEST_SUITE_P(Models, MemScanRun, ::testing::Values(1, 2),
                         [](const auto &info) { return std::string(tavtest::emulatorName(info.param)); });

// Scanning the last cells of the image: each tuned row is in view, though the
// first visible row is held at most sixteen rows from the end.
TEST_F(MemWindow, ScanOfTheLastCellsKeepsTheTunedRowInView)
{
    open(3);
    mm->show();
    mm->memcmdenabler(true);
    mm->txtFrom->setText(QString::number(goModel().lastCell - 4));
    mm->txtTo->setText(QString::number(goModel().lastCell));
    mm->cmdScanrun_Click();
    mm->tmrScan.stop(); // the test ticks itself
    for (int k = 0; k < 5; ++k) {
        mm->tmrScan_Timer();
        const int cell = memState().memcellnr;
        EXPECT_EQ(cell, goModel().lastCell - 4 + k);
        const QRect row = mm->grdMemman->visualRect(mm->model->index(cell, 0));
        EXPECT_TRUE(mm->grdMemman->viewport()->rect().contains(row)) << cell;
    }
    mm->cmdScanstop_Click();
}
