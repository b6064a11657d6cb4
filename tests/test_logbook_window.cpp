// The logbook window with its entry, column and sort dialogs, offscreen: the
// record buttons while an entry is open, adding, changing, withdrawing and
// deleting records, saving, loading a file larger than the logbook, the
// column mask, tuning from the grid against the NRD-545 emulator, and every
// way of closing the tools that hold unsaved data.
#include "hub/app.h"
#include "core/clock.h"
#include "core/filekinds.h"
#include "hub/frmLoadfile.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "logbook/frmLog.h"
#include "logbook/frmLogdialogs.h"
#include "logbook/frmLoginput.h"
#include "drivers/memrecord.h"
#include "lists/frmScratchpad.h"
#include "panels/frmNoRx.h"
#include "support/filedialogs.h"
#include "support/nrd545rig.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QScrollBar>
#include <QAction>
#include <QTest>
#include <gtest/gtest.h>

using namespace tav;

namespace {

const QByteArray kThree = "000 20020101 1200      06195     45444 ENG BBC\r\n"
                          "001 20011231 0900      09410.500                  \r\n"
                          "002 20020101 0800      15070\r\n";

struct LogWindow : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    frmLog *w = nullptr;

    void SetUp() override
    {
        registerBuiltWindows();
        G.datapath = dir.path();
        InitConstants();
        buildFileDirs();
        G.setupdata[6] = 1;
        resetLogStore();
        w = Windows::get<frmLog>();
        w->showModeless();
    }
    void TearDown() override
    {
        Windows::destroyAll();
        resetLogStore();
    }
    void loadFile(const QString &name, const QByteArray &content)
    {
        dir.write("LOG/" + name, content);
        G.filenames[FileKind::Log] = name;
        ASSERT_TRUE(runReader(FileKind::Log));
    }
    frmLoginput *entry() { return Windows::existing<frmLoginput>(); }
    QString cell(int row, int col) { return w->model->cellText(row, col); }
    QList<bool> guarded()
    {
        QList<bool> e;
        for (QPushButton *b : {w->cmdAddrecord, w->cmdChangerecord, w->cmdDeleterecord, w->cmdSort, w->cmdLoad,
                               w->cmdSave, w->cmdsaveas, w->cmdClose, w->cmdExit})
            e << b->isEnabled();
        return e;
    }
};

} // namespace

TEST_F(LogWindow, LoadShowsRecordsAndAllColumnsWithoutFormatFile)
{
    EXPECT_FALSE(w->cmdAddrecord->isEnabled()) << "no file loaded yet";
    loadFile("LOG_TEST.TXT", kThree);
    EXPECT_EQ(w->lblDbname->text(), "LOG_TEST.TXT");
    EXPECT_EQ(w->model->rowCount(), 4);
    EXPECT_EQ(w->model->columnCount(), 16) << "a missing loggridformat.ini shows every column";
    EXPECT_EQ(cell(0, 0), "");
    EXPECT_EQ(cell(1, 0), "000");
    EXPECT_EQ(cell(3, 0), "002");
    EXPECT_EQ(cell(2, 4), "09410.500");
    EXPECT_TRUE(w->cmdAddrecord->isEnabled());
}

TEST_F(LogWindow, GridShowsWholeFieldsAndSizeTogglesWorkBothWays)
{
    // Every column holds a full field of digits and its whole title, whatever the font.
    QFont large = w->grdLog->font();
    large.setPointSize(16);
    w->grdLog->setFont(large);
    w->grdTitles->setFont(large);
    loadFile("LOG_TEST.TXT", kThree);
    const QFontMetrics fm = w->grdLog->fontMetrics();
    for (int c = 0; c < w->model->columnCount(); ++c) {
        const int f = w->model->fieldOfColumn(c);
        const int chars = c == 0 ? 3 : kLogFieldWidth[size_t(f)];
        const QString title = w->grdTitles->item(0, c)->text();
        EXPECT_GE(w->grdLog->columnWidth(c), fm.horizontalAdvance(QString(chars, QLatin1Char('0')))) << title.toStdString();
        EXPECT_GE(w->grdTitles->columnWidth(c), fm.horizontalAdvance(title)) << title.toStdString();
        EXPECT_EQ(w->grdTitles->columnWidth(c), w->grdLog->columnWidth(c));
    }

    const QSize small = w->size();
    w->cmdHeigh_Click();
    EXPECT_GT(w->height(), small.height());
    w->cmdHeigh_Click();
    EXPECT_EQ(w->height(), small.height()) << "back to small";
    // Wide and narrow again, no empty title cell stands after the last title.
    auto titlesEnd = [&] {
        int end = 0;
        for (int c = 0; c < w->grdTitles->columnCount(); ++c)
            if (!w->grdTitles->isColumnHidden(c))
                end = std::max(end, w->grdTitles->columnViewportPosition(c) + w->grdTitles->columnWidth(c));
        return end;
    };
    const int lastColumn = w->model->columnCount() - 1;
    const auto gridEnd = [&] { return w->grdLog->columnViewportPosition(lastColumn) + w->grdLog->columnWidth(lastColumn); };
    QTest::mouseClick(w->cmdWidth, Qt::LeftButton);
    EXPECT_GT(w->width(), small.width()) << "wide shows more";
    tavtest::pump(20);
    EXPECT_EQ(titlesEnd(), gridEnd());
    QTest::mouseClick(w->cmdWidth, Qt::LeftButton);
    EXPECT_EQ(w->width(), small.width()) << "back to narrow";
    tavtest::pump(20);
    EXPECT_EQ(titlesEnd(), gridEnd());

    // Scrolled fully right with the grid's vertical bar showing, the titles stay over their columns.
    QByteArray many;
    for (int i = 0; i < 40; ++i)
        many += "000 20020101 1200      06195\r\n";
    loadFile("LOG_MANY.TXT", many);
    tavtest::pump(20);
    ASSERT_TRUE(w->grdLog->verticalScrollBar()->isVisible());
    QScrollBar *h = w->grdLog->horizontalScrollBar();
    h->setValue(h->maximum());
    ASSERT_GT(h->value(), 0);
    const int last = w->model->columnCount() - 1;
    EXPECT_EQ(w->grdTitles->columnViewportPosition(last), w->grdLog->columnViewportPosition(last));
}

TEST_F(LogWindow, EntryDialogAddsFormatsAndGuardsTheLogbook)
{
    loadFile("LOG_TEST.TXT", kThree);
    w->cmdAddrecord_Click();
    frmLoginput *d = entry();
    ASSERT_TRUE(d && Windows::loaded(WindowId::frmLoginput));
    EXPECT_EQ(d->windowTitle(), "Input Record 003");
    EXPECT_EQ(guarded(), QList<bool>(9, false)) << "nothing may move the record being entered";
    EXPECT_TRUE(w->cmdFormat->isEnabled());

    d->txtLoginput[1]->setText("930");
    d->txtLoginput[3]->setText("6195.5");
    d->txtLoginput[6]->setText("Radio Japan");
    d->cmdOk_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmLoginput));
    EXPECT_EQ(guarded(), QList<bool>(9, true));
    ASSERT_EQ(logStore().logcount(), 3);
    const LogRecord &r = logStore().records[3];
    EXPECT_EQ(r[LogStart], "0930");
    EXPECT_EQ(r[LogEnd], "");
    EXPECT_EQ(r[LogFreq], "06195.500");
    EXPECT_EQ(cell(4, 0), "003");
    EXPECT_EQ(cell(4, 7), "Radio Japan");

    // A frequency that does not fit its field keeps the dialog open.
    w->cmdAddrecord_Click();
    d->txtLoginput[3]->setText("123456");
    d->cmdOk_Click();
    EXPECT_TRUE(Windows::loaded(WindowId::frmLoginput));
    EXPECT_EQ(dialogs.shown().last().title, "Input Error");
    EXPECT_EQ(logStore().logcount(), 3);
    d->cmdCancel_Click();
}

TEST_F(LogWindow, WithdrawnEntriesLeaveTheLogbookAsItWas)
{
    loadFile("LOG_TEST.TXT", kThree);
    // OK with nothing typed, Cancel, the close box and the panel's UnloadTools.
    for (int way = 0; way < 4; ++way) {
        w->cmdAddrecord_Click();
        frmLoginput *d = entry();
        ASSERT_TRUE(Windows::loaded(WindowId::frmLoginput));
        d->txtLoginput[2]->setText(way == 0 ? "" : "1000");
        if (way == 0)
            d->cmdOk_Click();
        else if (way == 1)
            d->cmdCancel_Click();
        else if (way == 2)
            d->close();
        else
            UnloadTools();
        EXPECT_FALSE(Windows::loaded(WindowId::frmLoginput)) << way;
        EXPECT_EQ(logStore().logcount(), 2) << way;
        if (way == 3) {
            EXPECT_FALSE(Windows::loaded(WindowId::frmLog));
            break;
        }
        EXPECT_EQ(guarded(), QList<bool>(9, true)) << way;
    }
}

TEST_F(LogWindow, ChangeAndDeleteRecords)
{
    loadFile("LOG_TEST.TXT", kThree);
    w->selectCell(0, 1);
    w->cmdChangerecord_Click();
    w->cmdDeleterecord_Click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    for (const ShownBox &b : dialogs.shown())
        EXPECT_EQ(b.text + "|" + b.title, "No record selected|Logging");

    w->selectCell(2, 1);
    w->cmdChangerecord_Click();
    frmLoginput *d = entry();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->windowTitle(), "Change record 001");
    EXPECT_EQ(d->txtLoginput[3]->text(), "09410.500") << "trailing blanks dropped";
    EXPECT_EQ(d->txtLoginput[6]->text(), "");
    d->txtLoginput[3]->setText("9410");
    d->txtLoginput[2]->setText("915");
    d->cmdOk_Click();
    EXPECT_EQ(logStore().records[1][LogFreq], "09410");
    EXPECT_EQ(logStore().records[1][LogEnd], "0915");
    EXPECT_EQ(logStore().logcount(), 2);

    w->selectCell(1, 4);
    dialogs.answer(vbOK);
    w->cmdDeleterecord_Click();
    EXPECT_EQ(dialogs.shown().last().text, "You are sure you want to delete\nrecord 000 about frequency 06195    ?");
    ASSERT_EQ(logStore().logcount(), 1);
    EXPECT_EQ(cell(1, 0), "000");
    EXPECT_EQ(cell(1, 4), "09410");
    EXPECT_EQ(cell(2, 0), "001");
    EXPECT_EQ(cell(2, 1), "20020101");
}

TEST_F(LogWindow, SaveReplacesTheFileAndReportsFailure)
{
    loadFile("LOG_TEST.TXT", kThree);
    dialogs.answer(vbYes);
    w->cmdSave_Click();
    EXPECT_EQ(dialogs.shown().last().title, "Save File");
    const QByteArray saved = dir.read("LOG/LOG_TEST.TXT");
    EXPECT_EQ(saved.size(), 3 * 162);
    EXPECT_TRUE(saved.startsWith("000 20020101 1200      06195     45444 ENG BBC   "));

    // A save that cannot replace its target is reported, never followed by "saved".
    ASSERT_TRUE(QDir(dir.path()).mkpath("LOG/LOG_BLOCKED.TXT/inside"));
    G.filenames[FileKind::Log] = "LOG_BLOCKED.TXT";
    dialogs.answer(vbYes);
    const int before = int(dialogs.shown().size());
    w->cmdSave_Click();
    ASSERT_EQ(dialogs.shown().size(), before + 2);
    EXPECT_EQ(dialogs.shown().last().title, "Error");
    EXPECT_TRUE(QFileInfo(dir.path() + "LOG/LOG_BLOCKED.TXT/inside").isDir());
}

TEST_F(LogWindow, AfterSaveAsTheLabelNamesTheFileSaveWrites)
{
    loadFile("LOG_2026.TXT", kThree);
    tavtest::answerSaveDialog("LOG_2027.TXT");
    w->cmdsaveas->click();
    ASSERT_TRUE(QFileInfo::exists(dir.path() + "LOG/LOG_2027.TXT"));
    EXPECT_EQ(w->lblDbname->text(), "LOG_2027.TXT");
}

TEST_F(LogWindow, LargerFileLoadsWhatFitsAndFullLogbookRefusesAdd)
{
    QByteArray big;
    for (int i = 0; i < 1005; ++i)
        big += "000 20020101 1200      06195\r\n";
    loadFile("LOG_BIG.TXT", big);
    EXPECT_EQ(logStore().records.size(), 1001);
    EXPECT_EQ(dialogs.shown().last().title, "Logging");
    EXPECT_TRUE(dialogs.shown().last().text.contains("1005"));
    w->cmdAddrecord_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmLoginput));
    EXPECT_TRUE(dialogs.shown().last().text.startsWith("The logbook is full"));
}

TEST_F(LogWindow, ColumnDialogAndSortDialog)
{
    dir.write("loggridformat.ini", "100100000000000\r\n");
    w->unload();
    w->showModeless();
    loadFile("LOG_TEST.TXT", kThree);
    EXPECT_EQ(w->model->columnCount(), 3);
    // The titles of the narrowed mask, and nothing left in the blank column.
    auto titles = [&] {
        QStringList t;
        for (int c = 0; c < w->grdTitles->columnCount(); ++c)
            t << (w->grdTitles->item(0, c) ? w->grdTitles->item(0, c)->text() : QString());
        return t.join('|');
    };
    EXPECT_EQ(titles(), "Nr|Date|Frequency|");

    auto *f = Windows::get<frmLogFormat>();
    f->load();
    EXPECT_EQ(f->lblLoglength->text(), "019");
    f->chkLogformat[13]->setValue(1);
    EXPECT_EQ(f->lblLoglength->text(), "024");
    f->cmdSave_Click();
    EXPECT_EQ(dir.read("loggridformat.ini"), "100100000000010\r\n");
    f->cmdOK_Click();
    EXPECT_EQ(w->model->columnCount(), 4);
    EXPECT_EQ(w->model->fieldOfColumn(3), 13);

    auto *s = Windows::get<frmLogsort>();
    s->load();
    EXPECT_EQ(s->optSort->selected(), 0);
    s->cmdOK_Click();
    EXPECT_EQ(cell(1, 1) + cell(2, 1) + cell(3, 1), "200112312002010120020101");
    EXPECT_EQ(cell(2, 2), "15070") << "0800 before 1200 on the same day";
}

TEST_F(LogWindow, GetCurrentSettingWithoutReceiverAndStationCopy)
{
    Clock::set(QDateTime(QDate(2002, 1, 1), QTime(0, 59)));
    G.setupdata[3] = 1;
    updateClockTexts();
    loadFile("LOG_TEST.TXT", kThree);
    w->cmdAddrecord_Click();
    frmLoginput *d = entry();
    d->txtLoginput[3]->setText("5000");
    dialogs.answer(vbNo);
    d->cmdGetcurrentsetting_Click();
    EXPECT_EQ(dialogs.shown().last().title, "Replace");
    EXPECT_EQ(d->txtLoginput[0]->text(), "") << "No keeps every box";
    d->txtLoginput[3]->clear();
    const int asked = int(dialogs.shown().size());
    d->cmdGetcurrentsetting_Click();
    EXPECT_EQ(dialogs.shown().size(), asked) << "an empty frequency box is filled without asking";
    EXPECT_EQ(d->txtLoginput[0]->text(), "20011231");
    EXPECT_EQ(d->txtLoginput[1]->text(), "2359");
    EXPECT_TRUE(d->cmdGetcurrentsetting->isEnabled());

    QString line(100, QLatin1Char('.'));
    line.replace(19, 20, "Deutsche Welle      ");
    line.replace(51, 3, "GER");
    line.replace(77, 12, "1234km 045dg");
    EXPECT_TRUE(d->takeStationLine(line));
    EXPECT_EQ(d->txtLoginput[5]->text(), "GER");
    EXPECT_EQ(d->txtLoginput[6]->text(), "Deutsche Welle      ");
    EXPECT_EQ(d->txtLoginput[7]->text(), "1234km 045dg");
    d->cmdCancel_Click();
    EXPECT_FALSE(d->takeStationLine(line)) << "nothing while the entry is closed";
}

namespace {

struct LogOnNrd545 : tavtest::Nrd545Rig {
    void SetUp() override
    {
        Nrd545Rig::SetUp();
        InitConstants();
        buildFileDirs();
        G.setupdata[6] = 1;
        resetLogStore();
    }
    void TearDown() override
    {
        Nrd545Rig::TearDown();
        resetLogStore();
    }
};

} // namespace

TEST_F(LogOnNrd545, GridClickTunesAndSetsModeAndEntryTakesTheReceiver)
{
    ASSERT_NE(go(), nullptr);
    dir.write("loggridformat.ini", "011111111111111\r\n"); // no date: the columns shift
    auto *w = Windows::get<frmLog>();
    w->showModeless();
    dir.write("LOG/LOG_RX.TXT", "000 20020101 1200      06195     45444 ENG BBC" + QByteArray(104, ' ') + "l    \r\n");
    G.filenames[FileKind::Log] = "LOG_RX.TXT";
    ASSERT_TRUE(runReader(FileKind::Log));
    ASSERT_EQ(w->model->fieldOfColumn(3), LogFreq);

    w->grdLog_Click(1, 1); // a time cell: nothing
    tavtest::pump(100);
    EXPECT_EQ(emu.cur.hz, 9650000);
    w->grdLog_Click(1, 3);
    ASSERT_TRUE(tavtest::waitFor([&] { return emu.cur.hz == 6195000 && emu.cur.mode == 3; }, 10000))
        << emu.cur.hz << " mode " << emu.cur.mode;
    EXPECT_EQ(w->txtFrequencyA->text().toDouble(), 6195.0) << "the hub wrote the window's frequency box";

    w->cmdAddrecord_Click();
    auto *d = Windows::existing<frmLoginput>();
    emu.dial(7205000);
    d->cmdGetcurrentsetting_Click();
    EXPECT_EQ(d->txtLoginput[3]->text().toDouble(), 7205.0);
    EXPECT_EQ(d->txtLoginput[13]->text(), "l");
    d->cmdOk_Click();
    EXPECT_EQ(logStore().records[1][LogFreq], "07205");
    EXPECT_EQ(logStore().records[1][LogRxSetting], "l");
}

namespace {

// The logbook, scratch pad and memory manager open beside the receiver-less
// panel, each closed with something the listener put in and did not save.
struct ClosePaths : LogWindow {
    std::function<void(int)> savedEnd;
    int ended = 0;
    void SetUp() override
    {
        registerBuiltWindows();
        frmWelcome::instance()->load();
        LogWindow::SetUp();
        G.rxtype = 0;
        savedEnd = std::exchange(frmWelcome::endProgram, [this](int) { ++ended; });
    }
    void TearDown() override
    {
        frmWelcome::endProgram = savedEnd;
        frmWelcome::destroy();
        LogWindow::TearDown();
    }
    static void click(QWidget *in, const char *name)
    {
        auto *b = in->findChild<QPushButton *>(QLatin1String(name));
        ASSERT_TRUE(b && b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

enum Tool { Log, Pad, Mem };
enum Path { PanelClose, PanelExit, CloseBox, CloseThenGo };
// Answers: vbYes Save, vbNo Discard, vbCancel; kSaveDropped Save, then the
// save is cancelled; 0 nothing changed, so no question.
constexpr int kSaveDropped = -1;

} // namespace

TEST_F(ClosePaths, ClosePathsWithUnsavedDataAsk)
{
    const QString mem = memAr7030Record(0, 9560, 1, 1, 0, 0, 0) + QString(45, ' ') + "\r\n" +
                        memAr7030Record(1, 6070, 1, 1, 0, 0, 0) + QString(45, ' ') + "\r\n";
    const QString blankCells = QString(QString(80, ' ') + "\r\n").repeated(98);
    const QString names[] = {"Logging window", "Frequency Scratchpad", "Memory Management window"};
    struct Row {
        Tool tool;
        Path path;
        int answer;
        bool typing = false; // the record is still in the entry dialog
    };
    QList<Row> rows;
    for (Tool t : {Log, Pad, Mem}) {
        for (Path p : {PanelClose, PanelExit, CloseBox, CloseThenGo})
            for (int a : {vbYes, vbNo, vbCancel})
                rows.push_back({t, p, a});
        rows << Row{t, PanelClose, kSaveDropped} << Row{t, PanelClose, 0};
    }
    rows << Row{Log, PanelClose, vbYes, true} << Row{Log, CloseBox, vbNo, true};
    for (const Row &r : rows) {
        SCOPED_TRACE(QStringLiteral("tool %1 path %2 answer %3 %4").arg(r.tool).arg(r.path).arg(r.answer).arg(r.typing)
                         .toStdString());
        QFile::remove(dir.path() + "FSP/FSP_CLOSE.TXT");
        QFile::remove(dir.path() + "MEM/MEM_0CLOSE.TXT");
        frmWelcome::instance()->imgGo_Click();
        auto *panel = Windows::existing<frmNoRx>();
        ASSERT_TRUE(panel && panel->isLoadedForm());
        const bool changed = r.answer != 0, saving = r.answer == vbYes || r.answer == kSaveDropped;
        TavForm *tool = Windows::get(r.tool == Log ? WindowId::frmLog
                                     : r.tool == Pad ? WindowId::frmScratchpad : WindowId::frmMemman);
        tool->showModeless();
        QString file, expectSaved;
        if (r.tool == Log) {
            loadFile("LOG_TEST.TXT", kThree);
            file = "LOG/LOG_TEST.TXT";
            if (changed) {
                click(w, "cmdAddrecord");
                entry()->txtLoginput[3]->setText("7100");
                if (!r.typing)
                    click(entry(), "cmdOk");
            }
            // The file is written whole, every record at its full width.
            for (int i = 0; i < 4; ++i)
                expectSaved += logLine(i, i < 3 ? logStore().records.at(i) : LogRecord{"", "", "", "07100"}) + "\r\n";
            dialogs.answer(r.answer == kSaveDropped ? vbYes : r.answer ? r.answer : vbCancel);
            if (saving)
                dialogs.answer(r.answer == vbYes ? vbYes : vbNo); // replace LOG_TEST.TXT?
        } else {
            if (r.tool == Pad) {
                file = "FSP/FSP_CLOSE.TXT";
                if (changed)
                    QTest::keyClicks(static_cast<lists::frmScratchpad *>(tool)->txtNotes[1], "Evening");
                expectSaved = ",,,,,,,,,\r\nEvening,,,,,,,,,\r\n" + QString(",,,,,,,,,\r\n").repeated(8);
            } else {
                dir.write("MEM/MEM_0TEST.TXT", mem.toLatin1());
                G.filenames[FileKind::Memories] = "MEM_0TEST.TXT";
                ASSERT_TRUE(runReader(FileKind::Memories));
                file = "MEM/MEM_0CLOSE.TXT";
                if (changed) {
                    dialogs.answer(vbYes); // sort on frequency?
                    click(tool, "cmdSort");
                }
                // Sorted: 6070 kHz comes first and each record takes its new cell.
                expectSaved = QString(mem.mid(82) + mem.left(82)).replace(3, 3, "000").replace(85, 3, "001") + blankCells;
            }
            dialogs.answer(r.answer == kSaveDropped ? vbYes : r.answer ? r.answer : vbCancel);
            tavtest::answerSaveDialog(r.answer == kSaveDropped ? "" : file.mid(4));
        }
        const QByteArray before = dir.read(file);
        const qsizetype asked = dialogs.shown().size();
        ended = 0;
        switch (r.path) {
        case PanelClose: click(panel, "cmdClose"); break;
        case PanelExit: panel->findChild<QAction *>("mnuExit")->trigger(); break;
        case CloseBox: tool->close(); break;
        case CloseThenGo: // the way to another receiver: Close, then Go
            panel->findChild<QAction *>("mnuClose")->trigger();
            if (!panel->isLoadedForm())
                frmWelcome::instance()->imgGo->click();
            break;
        }
        tavtest::pump(50);
        if (!changed) {
            EXPECT_EQ(dialogs.shown().size(), asked) << "nothing changed: no question";
        } else {
            ASSERT_GT(dialogs.shown().size(), asked);
            const ShownBox &q = dialogs.shown()[asked];
            EXPECT_EQ(q.title + "|" + q.text.section('\n', 0, 0),
                      "Unsaved data|The data in the " + names[r.tool] + " is not saved.");
            EXPECT_EQ(q.buttons, MsgButtons::SaveDiscardCancel);
        }
        const bool kept = r.answer == vbCancel || r.answer == kSaveDropped;
        EXPECT_EQ(QString::fromLatin1(dir.read(file)), r.answer == vbYes ? expectSaved : QString::fromLatin1(before));
        EXPECT_EQ(ended, r.path == PanelExit && !kept ? 1 : 0);
        // The program's end unloads nothing but hides every window.
        EXPECT_EQ(tool->isLoadedForm(), kept || r.path == PanelExit);
        EXPECT_EQ(tool->isVisible(), kept);
        EXPECT_EQ(panel->isLoadedForm(), kept || r.path != PanelClose);
        // Every window goes without a question before the next row.
        UnloadTools();
        panel->unload();
        DialogScript::answers.clear();
    }
}
