// The shared Load and Save dialogs, driven offscreen with a test reader and writer.
#include "hub/app.h"
#include "core/filekinds.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "core/globals.h"
#include "core/launch.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "core/links.h"
#include "hub/frmWelcome.h"
#include "core/clock.h"
#include "lists/frmScratchpad.h"
#include "scans/frmScanband.h"
#include "scans/frmScanpairs.h"
#include "signal/frmPropagation.h"
#include "timers/frmRxTimer.h"
#include "lists/frmBdxc.h"
#include "logbook/logbook.h"
#include "drivers/memrecord.h"
#include "memories/frmMemman.h"
#include "panels/jrc/frmRtty.h"
#include "stations/stationlist.h"
#include "stations/stationstore.h"
#include "support/filedialogs.h"
#include "support/testenv.h"
#include "drivers/receiver.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <functional>

using namespace tav;

namespace {

struct FileDialogs : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    QStringList readPaths;

    void SetUp() override
    {
        registerBuiltWindows();
        G.datapath = dir.path();
        InitConstants();
        buildFileDirs();
    }
    void TearDown() override
    {
        Windows::destroyAll();
        clearFileHandlers();
        Launcher::reset();
    }
    void put(const QString &sub, const QString &name, const QByteArray &content = "x\r\n")
    {
        dir.write(sub + name, content);
    }
    frmLoadfile *openLoad(FileKind kind, StationDb db = StationDb::None)
    {
        auto *f = Windows::get<frmLoadfile>();
        f->setKind(kind, db);
        f->load();
        return f;
    }
    frmSavefile *openSave(FileKind kind)
    {
        auto *f = Windows::get<frmSavefile>();
        f->setKind(kind);
        f->load();
        return f;
    }
    QStringList listed(frmLoadfile *f)
    {
        QStringList out;
        for (int i = 0; i < f->list->count(); ++i)
            out << f->list->item(i)->text();
        return out;
    }
    void recordingReader(FileKind kind, StationDb ftl = StationDb::None)
    {
        registerReader(
            kind, [this](const QString &path) { readPaths << path; return FileResult::success(); }, ftl);
    }
    void linesWriter(FileKind kind, const QStringList &lines)
    {
        registerWriter(kind, [lines](const QString &path) {
            QString err;
            return writeTextLines(path, lines, &err) ? FileResult::success() : FileResult::failure(err);
        });
    }
    QStringList filesIn(const QString &sub) { return QDir(dir.path() + sub).entryList(QDir::Files | QDir::Hidden); }
    QString lastText() const { return dialogs.shown().isEmpty() ? QString() : dialogs.shown().last().text; }
};

const QString kSaveError = QStringLiteral("Something went wrong while\nsaving your data to a file ! ! !\nPLEASE TRY AGAIN");

} // namespace

// ---- Load dialog ----

TEST_F(FileDialogs, LoadListsTheKindsPatternsWithoutRegardToCaseAndSelectsTheFirst)
{
    put("OWN/", "own_b.txt");
    put("OWN/", "OWN_A.TXT");
    put("OWN/", "Own_C.Txt");
    put("OWN/", "notes.txt");
    put("OWN/", "OWN_D.DOC");
    auto *f = openLoad(FileKind::Own);
    EXPECT_EQ(f->windowTitle(), "Select file to load");
    EXPECT_TRUE(Windows::loaded(WindowId::frmLoadfile));
    EXPECT_EQ(listed(f), (QStringList{"OWN_A.TXT", "own_b.txt", "Own_C.Txt"}));
    EXPECT_EQ(f->list->currentRow(), 0);
    EXPECT_EQ(G.filenames[FileKind::Own], "OWN_A.TXT");
    f->list->setCurrentRow(2);
    EXPECT_EQ(G.filenames[FileKind::Own], "Own_C.Txt");
}

TEST_F(FileDialogs, BroadcastListsUseAllThreePatterns)
{
    put("BDXC/", "BDX_A08TOE.TXT");
    put("BDXC/", "adx_b08tow.txt");
    put("BDXC/", "ILG_C08TOW.TXT");
    put("BDXC/", "BDX_A08TOW.TXT");
    EXPECT_EQ(listed(openLoad(FileKind::Bdxc)), (QStringList{"adx_b08tow.txt", "BDX_A08TOE.TXT", "ILG_C08TOW.TXT"}));
}

TEST_F(FileDialogs, MemoryFilesOfTheChosenReceiverTypeOnly)
{
    G.rxtype = 4;
    put("MEM/", "MEM_2ABC.TXT");
    put("MEM/", "mem_4abc.txt");
    put("MEM/", "MEM_4XYZ.TXT");
    frmLoadfile *l = openLoad(FileKind::Memories);
    EXPECT_EQ(listed(l), (QStringList{"mem_4abc.txt", "MEM_4XYZ.TXT"}));
    EXPECT_EQ(l->lblPattern->text(), "Names: MEM_4*.TXT");
    l->unload();
    auto *s = openSave(FileKind::Memories);
    EXPECT_EQ(s->cmbSavefile->currentText(), "mem_4xyzxyzxyzxy.txt");
    s->unload();

    // With a panel open, its receiver counts, not a type chosen in Set-up since.
    G.goRxtype = 4;
    G.rxtype = 2;
    EXPECT_EQ(listed(openLoad(FileKind::Memories)), (QStringList{"mem_4abc.txt", "MEM_4XYZ.TXT"}));
    Windows::get(WindowId::frmLoadfile)->unload();
    EXPECT_EQ(openSave(FileKind::Memories)->cmbSavefile->currentText(), "mem_4xyzxyzxyzxy.txt");
}

TEST_F(FileDialogs, StationDatabasesByKindAndTrackingSeesEveryFtl)
{
    put("RX2DB/", "ILGSDATA.FTL");
    put("RX2DB/", "aero.ftl");
    put("RX2DB/", "OTHER.FTL");
    EXPECT_EQ(listed(openLoad(FileKind::StationList, StationDb::Ilg)), (QStringList{"ILGSDATA.FTL"}));
    Windows::get(WindowId::frmLoadfile)->unload();
    EXPECT_EQ(listed(openLoad(FileKind::StationList, StationDb::Aero)), (QStringList{"aero.ftl"}));
    Windows::get(WindowId::frmLoadfile)->unload();
    EXPECT_EQ(listed(openLoad(FileKind::Tracking)), (QStringList{"aero.ftl", "ILGSDATA.FTL", "OTHER.FTL"}));
}

TEST_F(FileDialogs, OkHandsTheSelectedFileToTheKindsReaderAndCloses)
{
    put("LOG/", "LOG_2024.TXT");
    put("LOG/", "LOG_2025.TXT");
    recordingReader(FileKind::Log);
    auto *f = openLoad(FileKind::Log);
    f->list->setCurrentRow(1);
    f->cmdOK->click();
    EXPECT_EQ(readPaths, (QStringList{dir.path() + "LOG/LOG_2025.TXT"}));
    EXPECT_FALSE(Windows::loaded(WindowId::frmLoadfile));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(FileDialogs, DoubleClickSelectsAndLoads)
{
    put("FSP/", "FSP_A.TXT");
    put("FSP/", "FSP_B.TXT");
    recordingReader(FileKind::Scratchpad);
    auto *f = openLoad(FileKind::Scratchpad);
    f->list_DblClick(1);
    EXPECT_EQ(readPaths, (QStringList{dir.path() + "FSP/FSP_B.TXT"}));
    EXPECT_FALSE(Windows::loaded(WindowId::frmLoadfile));
}

TEST_F(FileDialogs, WithNothingListedOkDeleteAndEditTouchNoFile)
{
    // A name an earlier load or save left stays the kind's name, but the
    // dialog acts only on a file its list shows: under No RX the memory list
    // shows no MEM_0 file, and the last receiver's file is not loaded.
    G.rxtype = 0;
    G.goRxtype = 0;
    QStringList opened;
    Launcher::openWithDesktop = [&](const QString &p) { opened << p; return true; };
    struct Left { FileKind kind; StationDb ftl; const char *name; };
    const Left cases[] = {
        {FileKind::Memories, StationDb::None, "MEM_3BROADCAST.TXT"}, {FileKind::StationList, StationDb::Ilg, "AERO.FTL"},
        {FileKind::Bdxc, StationDb::None, "BDX_A08TOW.TXT"},          {FileKind::Own, StationDb::None, "EARLIER.DAT"},
        {FileKind::Log, StationDb::None, "EARLIER.DAT"},              {FileKind::Tracking, StationDb::None, "EARLIER.DAT"},
        {FileKind::Scratchpad, StationDb::None, "EARLIER.DAT"},       {FileKind::F320, StationDb::None, "EARLIER.DAT"},
        {FileKind::ScanList, StationDb::None, "EARLIER.DAT"},         {FileKind::ScanPairs, StationDb::None, "EARLIER.DAT"},
        {FileKind::BandScan, StationDb::None, "EARLIER.DAT"},         {FileKind::Propagation, StationDb::None, "EARLIER.DAT"},
        {FileKind::PropagationPrint, StationDb::None, "EARLIER.DAT"}, {FileKind::TimerPrograms, StationDb::None, "EARLIER.DAT"},
    };
    for (const Left &c : cases) {
        SCOPED_TRACE(G.filesubdir[c.kind].toStdString() + c.name);
        const QString sub = G.filesubdir[c.kind];
        put(sub, c.name);
        recordingReader(c.kind, c.ftl);
        G.filenames[c.kind] = c.name;
        auto *f = openLoad(c.kind, c.ftl);
        EXPECT_EQ(f->list->count(), 0);
        dialogs.answer(vbYes);
        f->cmdDelete->click();
        f->cmdEdit->click();
        f->cmdOK->click();
        EXPECT_FALSE(Windows::loaded(WindowId::frmLoadfile));
        EXPECT_TRUE(readPaths.isEmpty());
        EXPECT_TRUE(dialogs.shown().isEmpty()) << lastText().toStdString();
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_TRUE(QFileInfo::exists(dir.path() + sub + c.name));
        EXPECT_EQ(G.filenames[c.kind], c.name);
        tav::DialogScript::answers.clear();
        QFile::remove(dir.path() + sub + c.name);
    }
}

TEST_F(FileDialogs, MissingFileKindWithoutReaderAndFailingReaderAreReported)
{
    clearFileHandlers(); // kinds as a build without their windows has them
    recordingReader(FileKind::ScanPairs);
    put("SFP/", "SFP_GONE.TXT");
    auto *gone = openLoad(FileKind::ScanPairs);
    QFile::remove(dir.path() + "SFP/SFP_GONE.TXT"); // taken away while the list shows it
    gone->cmdOK->click();
    EXPECT_TRUE(readPaths.isEmpty());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(lastText().contains("could not be found")) << lastText().toStdString();

    put("SAN/", "SAN_A.TXT");
    openLoad(FileKind::BandScan)->cmdOK->click(); // nobody reads band scans here
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(lastText().contains("cannot be loaded")) << lastText().toStdString();

    registerReader(FileKind::BandScan, [](const QString &) { return FileResult::failure("line 3 is not a number"); });
    openLoad(FileKind::BandScan)->cmdOK->click();
    ASSERT_EQ(dialogs.shown().size(), 3);
    EXPECT_TRUE(lastText().contains("line 3 is not a number"));
}

TEST_F(FileDialogs, MemoryFileIsLoadedOnlyAfterYes)
{
    G.rxtype = 2;
    G.dialtrack = true;
    put("MEM/", "MEM_2A.TXT");
    recordingReader(FileKind::Memories);
    dialogs.answer(vbNo);
    openLoad(FileKind::Memories)->cmdOK->click();
    EXPECT_TRUE(readPaths.isEmpty());
    EXPECT_FALSE(G.dialtrack); // loading stops the NRD-535's dial following
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text,
              "Are sure you want to load the file\nMEM_2A.TXT in the MemMan Window\nand overwrite possible current data");
    EXPECT_EQ(dialogs.shown()[0].title, "Load Memory File");
    EXPECT_EQ(dialogs.shown()[0].buttons, MsgButtons::YesNoCancel);
    dialogs.answer(vbYes);
    openLoad(FileKind::Memories)->cmdOK->click();
    EXPECT_EQ(readPaths, (QStringList{dir.path() + "MEM/MEM_2A.TXT"}));
}

namespace {
// The tracking window as the Load dialog sees it: its dial choice.
class TrackingStandIn : public TavForm, public TrackingLink {
public:
    TrackingStandIn() : TavForm(WindowId::frmTracking)
    {
        for (int i = 0; i < 2; ++i) {
            auto *b = new QRadioButton(this);
            b->setObjectName(QStringLiteral("optMousedial(%1)").arg(i));
        }
    }
    bool trackDatabaseLoaded() const override { return false; }
    void Trackfreq() override {}
    void disableDialFollowing() override
    {
        findChild<QRadioButton *>(QStringLiteral("optMousedial(1)"))->setEnabled(false);
    }
    void endDialFollowing() override {}

protected:
    void Form_Load() override { links::add(static_cast<TrackingLink *>(this)); }
    void Form_Unload() override { links::remove(static_cast<TrackingLink *>(this)); }
};
} // namespace

TEST_F(FileDialogs, LoadingWithTheRx320SwitchesOffDialFollowingInTheTrackingWindow)
{
    Windows::registerFactory(WindowId::frmTracking, [] { return new TrackingStandIn; });
    TavForm *tracking = Windows::get(WindowId::frmTracking);
    tracking->load();
    G.rxtype = 3;
    G.dialtrack = true;
    put("RX2DB/", "ILGSDATA.FTL");
    recordingReader(FileKind::Tracking);
    openLoad(FileKind::Tracking)->cmdOK->click();
    EXPECT_EQ(readPaths.size(), 1);
    EXPECT_FALSE(tracking->findChild<QRadioButton *>(QStringLiteral("optMousedial(1)"))->isEnabled());
    EXPECT_TRUE(tracking->findChild<QRadioButton *>(QStringLiteral("optMousedial(0)"))->isEnabled());
    EXPECT_TRUE(G.dialtrack); // only the NRD-535's is cleared
    Windows::destroyAll();
    Windows::registerFactory(WindowId::frmTracking, {});
}

TEST_F(FileDialogs, DeleteAsksRemovesAndForgetsTheName)
{
    put("OWN/", "OWN_A.TXT");
    put("OWN/", "OWN_B.TXT");
    recordingReader(FileKind::Own);
    auto *f = openLoad(FileKind::Own);
    dialogs.answer(vbNo);
    f->cmdDelete->click();
    EXPECT_EQ(filesIn("OWN/").size(), 2);
    EXPECT_EQ(dialogs.shown()[0].text,
              "         Are you really sure you\n         want to delete the file\n         OWN_A.TXT  ? ? ?");
    EXPECT_EQ(dialogs.shown()[0].title, "Delete file");

    dialogs.answer(vbYes);
    f->cmdDelete->click();
    EXPECT_EQ(filesIn("OWN/"), (QStringList{"OWN_B.TXT"}));
    EXPECT_EQ(listed(f), (QStringList{"OWN_B.TXT"}));
    EXPECT_TRUE(G.filenames[FileKind::Own].isEmpty());
    EXPECT_TRUE(Windows::loaded(WindowId::frmLoadfile));
    // With no name, Delete does nothing and OK reads nothing.
    f->cmdDelete->click();
    EXPECT_EQ(dialogs.shown().size(), 2);
    f->cmdOK->click();
    EXPECT_TRUE(readPaths.isEmpty());
}

TEST_F(FileDialogs, EditStartsTheConfiguredEditorOrTheDesktopsAndReportsFailure)
{
    put("OWN/", "OWN_A.TXT");
    QStringList started;
    Launcher::startDetached = [&](const QString &p, const QStringList &a) {
        started << p << a;
        return true;
    };
    QStringList opened;
    Launcher::openWithDesktop = [&](const QString &p) { opened << p; return true; };

    auto *f = openLoad(FileKind::Own);
    f->cmdEdit->click();
    EXPECT_EQ(opened, (QStringList{dir.path() + "OWN/OWN_A.TXT"}));
    EXPECT_TRUE(started.isEmpty());

    dir.write("alttxted.ini", "/usr/bin/my editor --new\r\nignored\r\n");
    f->cmdEdit->click();
    EXPECT_EQ(started, (QStringList{"/usr/bin/my", "editor", "--new", dir.path() + "OWN/OWN_A.TXT"}));
    EXPECT_TRUE(Windows::loaded(WindowId::frmLoadfile));
    EXPECT_TRUE(dialogs.shown().isEmpty());

    Launcher::startDetached = [](const QString &, const QStringList &) { return false; };
    f->cmdEdit->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, "Error");
    EXPECT_TRUE(lastText().contains("could not be started"));
}

TEST_F(FileDialogs, ShownModalTheCallerContinuesAfterTheDialogCloses)
{
    put("OWN/", "OWN_A.TXT");
    recordingReader(FileKind::Own);
    auto *f = Windows::get<frmLoadfile>();
    QTimer::singleShot(0, f, [f] { f->cmdOK->click(); });
    frmLoadfile::showFor(FileKind::Own);
    EXPECT_EQ(readPaths.size(), 1);
    EXPECT_FALSE(Windows::loaded(WindowId::frmLoadfile));
}

// ---- Save dialog ----

TEST_F(FileDialogs, SaveProposesTheDefaultAndListsTheDirectoryInLowerCase)
{
    put("LOG/", "LOG_A.TXT");
    put("LOG/", "Other.Doc");
    auto *f = openSave(FileKind::Log);
    EXPECT_EQ(f->windowTitle(), "Select Save Filename");
    EXPECT_TRUE(Windows::loaded(WindowId::frmSavefile));
    EXPECT_EQ(f->cmbSavefile->currentText(), "log_xyzxyzxyzxyz.txt");
    QStringList items;
    for (int i = 0; i < f->cmbSavefile->count(); ++i)
        items << f->cmbSavefile->itemText(i);
    EXPECT_EQ(items, (QStringList{"log_a.txt", "other.doc"}));
    f->cmdCancel->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmSavefile));
    EXPECT_TRUE(G.filenames[FileKind::Log].isEmpty());
}

TEST_F(FileDialogs, SaveWritesANewFileCreatingTheDirectory)
{
    linesWriter(FileKind::Scratchpad, {"14200", "note"});
    auto *f = openSave(FileKind::Scratchpad);
    f->cmbSavefile->setEditText("fsp_evening.txt");
    f->cmdOK->click();
    EXPECT_EQ(dir.read("FSP/fsp_evening.txt"), "14200\r\nnote\r\n");
    EXPECT_EQ(filesIn("FSP/"), (QStringList{"fsp_evening.txt"}));
    EXPECT_EQ(G.filenames[FileKind::Scratchpad], "fsp_evening.txt");
    EXPECT_FALSE(Windows::loaded(WindowId::frmSavefile));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "The data is now saved\nto the file fsp_evening.txt");
    EXPECT_EQ(dialogs.shown()[0].title, "Save File");
    EXPECT_EQ(dialogs.shown()[0].icon, MsgIcon::Exclamation);
}

TEST_F(FileDialogs, EveryRejectedNameGivesError2AndKeepsThePreviousName)
{
    linesWriter(FileKind::Log, {"row"});
    const QString fortyOne = "LOG_" + QString(33, 'x') + ".TXT"; // last "." at 38
    ASSERT_EQ(fortyOne.size(), 41);
    const QStringList bad = {"",           "log_abc.doc",    "own_abc.txt", fortyOne, "log_a.txt.bak",
                             "log_/x.txt", "log_\\x.txt",   "LOG_../../x.txt", "lo.txt"};
    for (const QString &name : bad) {
        G.filenames[FileKind::Log] = "LOG_EARLIER.TXT";
        tav::DialogScript::shown.clear();
        auto *f = openSave(FileKind::Log);
        f->cmbSavefile->setEditText(name);
        f->cmdOK->click();
        ASSERT_EQ(dialogs.shown().size(), 1) << name.toStdString();
        // The usual words, then why, and the names the kind takes.
        const QString text = dialogs.shown()[0].text;
        EXPECT_TRUE(text.startsWith(kSaveError)) << text.toStdString();
        EXPECT_TRUE(text.contains("LOG_*.TXT") && text.contains("LOG_evening.TXT")) << text.toStdString();
        EXPECT_GT(text.size(), QString(kSaveError).size() + 40) << text.toStdString();
        EXPECT_EQ(dialogs.shown()[0].title, "Error 2");
        EXPECT_EQ(G.filenames[FileKind::Log], "LOG_EARLIER.TXT") << name.toStdString();
        EXPECT_FALSE(Windows::loaded(WindowId::frmSavefile));
    }
    EXPECT_TRUE(filesIn("LOG/").isEmpty());
    EXPECT_TRUE(filesIn("").filter("x.txt", Qt::CaseInsensitive).isEmpty());
}

TEST_F(FileDialogs, TheDialogsShowTheirFolderAndPatternAndReturnPressesOk)
{
    auto *load = openLoad(FileKind::Bdxc);
    EXPECT_TRUE(load->lblFolder->text().contains(G.filedirs[FileKind::Bdxc])) << load->lblFolder->text().toStdString();
    EXPECT_TRUE(load->lblPattern->text().contains("BDX_*TOE.TXT") && load->lblPattern->text().contains("ILG_*TOW.TXT"));
    load->cmdCancel->click();

    linesWriter(FileKind::Scratchpad, {"14200"});
    auto *f = openSave(FileKind::Scratchpad);
    f->show();
    EXPECT_TRUE(f->lblFolder->text().contains(G.filedirs[FileKind::Scratchpad]));
    EXPECT_TRUE(f->lblPattern->text().contains("FSP_*.TXT") && f->lblPattern->text().contains("FSP_evening.TXT"));
    // A refused name typed and entered: the message says what a good name is.
    QComboBox *box = f->cmbSavefile;
    box->lineEdit()->clear();
    box->setFocus();
    QTest::keyClicks(box, "evening.txt");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, "Error 2");
    EXPECT_TRUE(dialogs.shown()[0].text.contains("The name must begin with FSP_."));
    EXPECT_TRUE(dialogs.shown()[0].text.contains("FSP_*.TXT, for example FSP_evening.TXT"));
    EXPECT_FALSE(Windows::loaded(WindowId::frmSavefile));
    // A good one: Return saves.
    tav::DialogScript::shown.clear();
    f = openSave(FileKind::Scratchpad);
    f->show();
    box = f->cmbSavefile;
    box->lineEdit()->clear();
    box->setFocus();
    QTest::keyClicks(box, "FSP_evening.TXT");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(dir.read("FSP/FSP_evening.TXT"), "14200\r\n");
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, "Save File");

    // Return in the Load dialog's list loads the selected file.
    put("FSP/", "FSP_B.TXT");
    recordingReader(FileKind::Scratchpad);
    load = openLoad(FileKind::Scratchpad);
    load->show();
    load->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(load, 2000));
    load->list->setCurrentRow(1);
    // Wherever the focus stands (the list, or nowhere in particular).
    load->cmdOK->setFocus();
    load->setFocus();
    QTest::keyClick(load, Qt::Key_Return);
    EXPECT_EQ(readPaths, QStringList{dir.path() + "FSP/FSP_evening.TXT"});
    EXPECT_FALSE(Windows::loaded(WindowId::frmLoadfile));
}

TEST_F(FileDialogs, AMemoryFileIsSavedOnlyUnderTheOpenReceiversNamesTheLoadDialogLists)
{
    G.rxtype = 4;
    EXPECT_TRUE(frmSavefile::acceptableName("mem_4xyzxyzxyzxy.txt", FileKind::Memories));
    EXPECT_FALSE(frmSavefile::acceptableName("MEM_evening.TXT", FileKind::Memories));
    EXPECT_FALSE(frmSavefile::acceptableName("MEM_1evening.TXT", FileKind::Memories));
    EXPECT_EQ(frmSavefile::goodName(FileKind::Memories), "MEM_4evening.TXT");
}

TEST_F(FileDialogs, NameTestsAcceptUpperAndLowerCaseAndJudgeTheLastDot)
{
    EXPECT_TRUE(frmSavefile::acceptableName("log_xyzxyzxyzxyz.txt", FileKind::Log));
    EXPECT_TRUE(frmSavefile::acceptableName("LOG_a.b.c.TXT", FileKind::Log));
    EXPECT_TRUE(frmSavefile::acceptableName("LOG_" + QString(32, 'x') + ".TXT", FileKind::Log)); // 40 characters
    EXPECT_FALSE(frmSavefile::acceptableName("ABC.TXT", FileKind::StationList)); // no prefix: no saves of station databases
}

TEST_F(FileDialogs, ANameHoldingAControlCharacterIsRefusedForEveryKind)
{
    G.rxtype = 1;
    for (FileKind k : allFileKinds) {
        if (G.fileprefix[k].isEmpty())
            continue; // no saves of that kind
        const QString sub = G.filesubdir[k];
        const QString good = frmSavefile::goodName(k);
        // The name the system would see were the name cut at a NUL.
        const QString cut = good.left(good.size() - 4);
        put(sub, cut, "old\r\n");
        linesWriter(k, {"new"});
        for (const QChar c : {QChar(0), QChar(u'\r'), QChar(u'\n'), QChar(u'\t'), QChar(0x7f), QChar(0x85)}) {
            SCOPED_TRACE(good.toStdString() + " with " + std::to_string(c.unicode()));
            tav::DialogScript::shown.clear();
            G.filenames[k] = "EARLIER.TXT";
            auto *f = openSave(k);
            f->cmbSavefile->setEditText(cut + c + ".TXT");
            dialogs.answer(vbYes);
            f->cmdOK->click();
            ASSERT_EQ(dialogs.shown().size(), 1);
            EXPECT_EQ(dialogs.shown()[0].title, "Error 2");
            EXPECT_TRUE(lastText().contains("control characters")) << lastText().toStdString();
            EXPECT_EQ(filesIn(sub), QStringList{cut});
            EXPECT_EQ(dir.read(sub + cut), "old\r\n");
            EXPECT_EQ(G.filenames[k], "EARLIER.TXT");
            tav::DialogScript::answers.clear();
        }
        closeOpenFiles();
    }
}

TEST_F(FileDialogs, TypingAsTheSaveDialogOpensReplacesTheProposedName)
{
    linesWriter(FileKind::Scratchpad, {"14200"});
    // A tool's Save button, as the tools open the dialog.
    QWidget tool;
    auto *save = new QPushButton(QStringLiteral("Save"), &tool);
    QObject::connect(save, &QPushButton::clicked, [] {
        frmSavefile::showFor(FileKind::Scratchpad);
    });
    tool.show();
    // The name typed as soon as the dialog is the active window; the first
    // time OK is clicked with the mouse, the second time Return is pressed.
    struct Round {
        QString typed;
        bool clickOk;
    };
    for (const Round &r : {Round{QStringLiteral("FSP_first.TXT"), true}, Round{QStringLiteral("FSP_second.TXT"), false}}) {
        SCOPED_TRACE(r.typed.toStdString());
        tool.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return tool.isActiveWindow(); }, 5000));
        QTimer::singleShot(0, [r] {
            auto *f = Windows::existing<frmSavefile>();
            if (f && QTest::qWaitFor([f] { return f->isActiveWindow() && QApplication::focusWidget(); }, 5000)) {
                QTest::keyClicks(QApplication::focusWidget(), r.typed);
                if (r.clickOk)
                    QTest::mouseClick(f->cmdOK, Qt::LeftButton);
                else
                    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            if (f && f->isLoadedForm())
                f->unload();
        });
        save->click();
        EXPECT_EQ(filesIn("FSP/").filter(r.typed), QStringList{r.typed});
        EXPECT_EQ(G.filenames[FileKind::Scratchpad], r.typed);
        EXPECT_FALSE(QFileInfo::exists(dir.path() + "FSP/fsp_xyzxyzxyzxyz.txt"));
    }
}

TEST_F(FileDialogs, AWriteProtectedFileIsNotReplacedAndALinkedOneIsSavedThrough)
{
    linesWriter(FileKind::Log, {"new"});
    // Saved over with Yes to the question; the closing message is returned.
    auto saveOver = [&](const QString &name) {
        tav::DialogScript::shown.clear();
        dialogs.answer(vbYes);
        auto *f = openSave(FileKind::Log);
        f->cmbSavefile->setEditText(name);
        f->cmdOK->click();
        return dialogs.shown().size() == 2 ? dialogs.shown()[1] : ShownBox{};
    };
    put("LOG/", "LOG_RO.TXT", "old\r\n");
    QFile::setPermissions(dir.path() + "LOG/LOG_RO.TXT", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const ShownBox refused = saveOver("LOG_RO.TXT");
    EXPECT_EQ(refused.title, "Error");
    EXPECT_TRUE(refused.text.contains("write-protected")) << refused.text.toStdString();
    EXPECT_EQ(dir.read("LOG/LOG_RO.TXT"), "old\r\n");

    put("kept/", "LOG_REAL.TXT", "old\r\n");
    ASSERT_TRUE(QFile::link(dir.path() + "kept/LOG_REAL.TXT", dir.path() + "LOG/LOG_LINK.TXT"));
    EXPECT_EQ(saveOver("LOG_LINK.TXT").text, "The data is now saved\nto the file LOG_LINK.TXT");
    EXPECT_TRUE(QFileInfo(dir.path() + "LOG/LOG_LINK.TXT").isSymLink());
    EXPECT_EQ(dir.read("kept/LOG_REAL.TXT"), "new\r\n");
    EXPECT_EQ(filesIn("LOG/"), (QStringList{"LOG_LINK.TXT", "LOG_RO.TXT"}));
}

TEST_F(FileDialogs, ReplaceQuestionYesReplacesTheExistingFileWhateverItsCase)
{
    put("LOG/", "LOG_A.TXT", "old\r\n");
    linesWriter(FileKind::Log, {"new"});
    dialogs.answer(vbYes);
    auto *f = openSave(FileKind::Log);
    f->cmbSavefile->setEditText("log_a.txt");
    f->cmdOK->click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[0].text, "This file already exist.\nDo you want to replace it ?");
    EXPECT_EQ(dialogs.shown()[0].title, "Save File");
    EXPECT_EQ(dialogs.shown()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(dialogs.shown()[1].text, "The data is now saved\nto the file LOG_A.TXT");
    EXPECT_EQ(filesIn("LOG/"), (QStringList{"LOG_A.TXT"}));
    EXPECT_EQ(dir.read("LOG/LOG_A.TXT"), "new\r\n");
    EXPECT_EQ(G.filenames[FileKind::Log], "LOG_A.TXT");
}

TEST_F(FileDialogs, ReplaceQuestionNoOrCancelLeavesTheFileUntouchedAndIsNoError)
{
    for (int answer : {int(vbNo), int(vbCancel)}) {
        tav::DialogScript::shown.clear();
        put("SFP/", "SFP_A.TXT", "old\r\n");
        G.filenames[FileKind::ScanPairs] = "SFP_PREV.TXT";
        linesWriter(FileKind::ScanPairs, {"new"});
        dialogs.answer(answer);
        auto *f = openSave(FileKind::ScanPairs);
        f->cmbSavefile->setEditText("sfp_a.txt");
        f->cmdOK->click();
        // The listener's own answer ends the save quietly: no "Error 1".
        ASSERT_EQ(dialogs.shown().size(), 2);
        EXPECT_EQ(dialogs.shown()[1].text, "File save action aborted");
        EXPECT_EQ(dialogs.shown()[1].icon, MsgIcon::Information);
        EXPECT_FALSE(f->isLoadedForm());
        EXPECT_EQ(dir.read("SFP/SFP_A.TXT"), "old\r\n");
        EXPECT_EQ(G.filenames[FileKind::ScanPairs], "SFP_PREV.TXT");
    }
}

TEST_F(FileDialogs, AFailingWriterKeepsTheOldFileAndShowsNoSuccess)
{
    put("SAN/", "SAN_A.TXT", "old\r\n");
    registerWriter(FileKind::BandScan, [](const QString &path) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("half a fi");
        return FileResult::failure("the disk is full");
    });
    dialogs.answer(vbYes);
    auto *f = openSave(FileKind::BandScan);
    f->cmbSavefile->setEditText("SAN_A.TXT");
    f->cmdOK->click();
    EXPECT_EQ(dir.read("SAN/SAN_A.TXT"), "old\r\n");
    EXPECT_EQ(filesIn("SAN/"), (QStringList{"SAN_A.TXT"})); // no temporary file left behind
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown()[1].text.contains("the disk is full"));
    EXPECT_EQ(dialogs.shown()[1].title, "Error");
    for (const auto &b : dialogs.shown())
        EXPECT_FALSE(b.text.contains("now saved"));
}

TEST_F(FileDialogs, AKindWithoutWriterIsReported)
{
    clearFileHandlers(); // kinds as a build without their windows has them
    auto *f = openSave(FileKind::ScanList);
    f->cmbSavefile->setEditText("sfl_a.txt");
    f->cmdOK->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(lastText().contains("cannot be saved"));
    EXPECT_TRUE(filesIn("SFL/").isEmpty());
}

TEST_F(FileDialogs, PropagationSaveShowsNoClosingMessage)
{
    linesWriter(FileKind::Propagation, {"header"});
    auto *f = openSave(FileKind::Propagation);
    f->cmbSavefile->setEditText("pan_a.txt");
    f->cmdOK->click();
    EXPECT_EQ(dir.read("PAN/pan_a.txt"), "header\r\n");
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(FileDialogs, RttyCaptureAppendsWithoutQuestionOrMessage)
{
    // The RTTY window as built, not loaded: loading would start its receiver work.
    auto *rtty = Windows::get<frmRtty>();
    ASSERT_NE(rtty, nullptr);
    put("RTTY/", "RTY_A.TXT", "first\r\n");
    auto *f = openSave(FileKind::Rtty);
    EXPECT_EQ(f->cmbSavefile->currentText(), "rty_xyzxyzxyzxyz.txt");
    f->cmbSavefile->setEditText("rty_a.txt");
    f->cmdOK->click();
    EXPECT_TRUE(dialogs.shown().isEmpty());
    QFile &cap = rttyCaptureFile();
    ASSERT_TRUE(cap.isOpen());
    cap.write("second\r\n");
    closeOpenFiles();
    EXPECT_FALSE(cap.isOpen());
    EXPECT_EQ(dir.read("RTTY/RTY_A.TXT"), "first\r\nsecond\r\n");
    EXPECT_EQ(filesIn("RTTY/"), (QStringList{"RTY_A.TXT"}));
    EXPECT_EQ(rtty->lblSave->text(), "RTY_A.TXT");
    EXPECT_EQ(rtty->lblSave->palette().color(QPalette::Window), QColor(255, 128, 0));
}

TEST_F(FileDialogs, PlainSaveCheckFindsTheFileWithoutAsking)
{
    put("LOG/", "LOG_A.TXT", "old\r\n");
    G.filenames[FileKind::Log] = "log_a.txt";
    EXPECT_TRUE(checkoverwrite(FileKind::Log, false));
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(G.filenames[FileKind::Log], "LOG_A.TXT");
    linesWriter(FileKind::Log, {"new"});
    EXPECT_TRUE(runWriter(FileKind::Log).ok);
    EXPECT_EQ(dir.read("LOG/LOG_A.TXT"), "new\r\n");
    EXPECT_EQ(filesIn("LOG/"), (QStringList{"LOG_A.TXT"}));
}

// ---- files loaded in part, and files larger than their store ----

namespace {

struct PartLoads : FileDialogs {
    void SetUp() override
    {
        FileDialogs::SetUp();
        G.rxtype = G.goRxtype = 0; // No RX: 10 to 30000 kHz, 100 memory cells
        G.setupdata[size_t(Setting::DimLog)] = 1;
        resetLogStore();
    }
    void TearDown() override
    {
        FileDialogs::TearDown();
        frmWelcome::destroy();
        resetLogStore();
    }
    TavForm *open(WindowId id)
    {
        TavForm *w = Windows::get(id);
        w->showModeless();
        return w;
    }
    static QPushButton *button(TavForm *w, const char *name) { return w->findChild<QPushButton *>(QLatin1String(name)); }
    // The replace question among the boxes shown since `from`.
    std::optional<ShownBox> replaceQuestion(qsizetype from) const
    {
        for (qsizetype i = from; i < dialogs.shown().size(); ++i)
            if (dialogs.shown()[i].text.endsWith(QLatin1String("Do you want to replace it ?")))
                return dialogs.shown()[i];
        return std::nullopt;
    }
};

QByteArray linesOf(const std::function<QByteArray(int)> &line, int count)
{
    QByteArray b;
    for (int i = 0; i < count; ++i)
        b += line(i) + "\r\n";
    return b;
}

} // namespace

// A file whose reader left lines out (past what the store or format holds,
// or refused) and that is then saved over: the question says how many of
// its records are lost, and its default answer, No, keeps the file. Once
// the file is replaced, the next save asks as for any file.
TEST_F(PartLoads, SavingOverAFileLoadedInPartSaysWhatIsLostAndNoKeepsIt)
{
    struct Kind {
        WindowId window;
        FileKind kind;
        const char *name;
        QByteArray content;
        int lost;
        const char *save;  // the window's button that saves
        bool saveDialog;   // the button opens the Save dialog
        QList<int> loadAnswers;
    };
    const QByteArray logLine = "000 20020101 1200      06195     45444 ENG BBC";
    const Kind kinds[] = {
        // 1,200 records, 1,001 held.
        {WindowId::frmLog, FileKind::Log, "LOG_BIG.TXT", linesOf([&](int) { return logLine; }, 1200), 199, "cmdSave", false, {}},
        // 105 lines for 100 cells, and cell 3 no memory record.
        {WindowId::frmMemman, FileKind::Memories, "MEM_0big.TXT",
         linesOf([](int i) { return i == 3 ? QByteArray("garbage") : memEmptyRecord(i % 100).toLatin1(); }, 105), 6,
         "cmdsaveas", true, {vbYes}},
        // 13 lines for 10 rows, one more of blanks only.
        {WindowId::frmScratchpad, FileKind::Scratchpad, "FSP_BIG.TXT",
         linesOf([](int i) { return QByteArray(i == 13 ? "   " : "note,9560,6075"); }, 14), 3, "cmdSave", true, {}},
        // Ten lines, three of them with a ninth cell.
        {WindowId::frmScratchpad, FileKind::Scratchpad, "FSP_AWIDE.TXT",
         linesOf([](int i) { return QByteArray(i % 4 == 1 ? "n,1,2,3,4,5,6,7,8,9," : "n,1,2,"); }, 10), 3, "cmdSave",
         true, {}},
        // 22 lines for 20 boxes, the third no frequency the receiver tunes.
        {WindowId::frmScanlist, FileKind::ScanList, "SFL_BIG.TXT",
         linesOf([](int i) { return i == 2 ? QByteArray("99999") : QByteArray::number(6000 + i); }, 22), 3,
         "cmdsaveas", true, {}},
        // 32,770 pairs for 32,768.
        {WindowId::frmScanpairs, FileKind::ScanPairs, "SFP_BIG.TXT",
         linesOf([](int i) { return QByteArray::number(6000 + i % 1000) + ",7000,1,r"; }, 32770), 2, "cmdsaveas", true,
         {}},
    };
    for (const Kind &k : kinds) {
        SCOPED_TRACE(k.name);
        TavForm *w = open(k.window);
        dir.write(G.filesubdir[k.kind] + QLatin1Char('/') + QLatin1String(k.name), k.content);
        for (int a : k.loadAnswers)
            dialogs.answer(a);
        tavtest::answerLoadDialog();
        button(w, "cmdLoad")->click();
        ASSERT_EQ(G.filenames[k.kind], QLatin1String(k.name));

        // Saved over under its name in other case: asked with the count, No by default.
        const QString other = QString::fromLatin1(k.name).toLower();
        auto save = [&] {
            if (k.saveDialog)
                tavtest::answerSaveDialog(other);
            button(w, k.save)->click();
        };
        qsizetype from = dialogs.shown().size();
        save();
        std::optional<ShownBox> q = replaceQuestion(from);
        ASSERT_TRUE(q);
        const QString first = k.saveDialog ? QStringLiteral("This file already exist.")
                                           : QStringLiteral("File ") + QLatin1String(k.name) + QStringLiteral(" already exist.");
        EXPECT_EQ(q->text, first + QStringLiteral("\nIt was loaded only in part: %1 of its records\n"
                                                  "were not loaded and will be lost.\nDo you want to replace it ?")
                                       .arg(k.lost));
        EXPECT_EQ(q->buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(q->defaultAnswer, vbNo);
        EXPECT_EQ(dir.read(G.filesubdir[k.kind] + QLatin1Char('/') + QLatin1String(k.name)), k.content) << "No keeps the file";

        // Yes replaces it; what is on the disk now is what was loaded, so no count.
        dialogs.answer(vbYes);
        save();
        EXPECT_NE(dir.read(G.filesubdir[k.kind] + QLatin1Char('/') + QLatin1String(k.name)), k.content);
        from = dialogs.shown().size();
        save();
        q = replaceQuestion(from);
        ASSERT_TRUE(q);
        EXPECT_EQ(q->text, first + QStringLiteral("\nDo you want to replace it ?"));
        EXPECT_EQ(q->defaultAnswer, 0);
        w->unload();
    }
}

// A file larger than any the set-up's size holds loads the lines the store
// holds, and the message names the size that would hold it all.
TEST_F(PartLoads, OverSizeFilesLoadTheirFirstLinesAndNameTheSetUpSize)
{
    G.setupdata[size_t(Setting::DimIlg)] = 15;
    G.setupdata[size_t(Setting::DimBdxc)] = 1;
    const QByteArray station = QByteArray("06005.00 0000-2400").leftJustified(125, 'x');
    const QByteArray bdxc = QByteArray("Germany          DW                0600-0700    9560,6075").leftJustified(90, ' ');
    struct Kind {
        WindowId window;
        FileKind kind;
        const char *name;
        QByteArray content;
        std::function<qsizetype()> held;
        const char *message;
    };
    const Kind kinds[] = {
        // 5,000 full lines: 810,000 bytes, four times what 1,001 records take.
        {WindowId::frmLog, FileKind::Log, "LOG_BIG.TXT",
         linesOf([](int) { return QByteArray("000 20020101 1200").leftJustified(160, ' '); }, 5000),
         [] { return qsizetype(logStore().records.size()); },
         "The file holds 5000 records; the logbook holds at most 1001.\nOnly the first 1001 records were loaded.\n"
         "A \"Dim LOG\" of 5 in Set-up holds the whole file."},
        // The converted ILG table of 65,429 lines, 8,309,483 bytes.
        {WindowId::frmIlg2rx, FileKind::StationList, "ILGSDATA.FTL", linesOf([&](int) { return station; }, 65429),
         [] { return qsizetype(ftlStore().ftlrecs.size()); },
         "The file holds more lines than the list size allows;\nthe first 15001 lines were loaded, 50428 lines were left "
         "out.\nEven the largest \"Dim ILG\" in Set-up, 30, holds only 30001 of them."},
        {WindowId::frmBdxc, FileKind::Bdxc, "BDX_B26_TOE.TXT", linesOf([&](int) { return bdxc; }, 1001),
         [] { return qsizetype(Windows::existing<lists::frmBdxc>()->bdxcrows()); },
         "The file BDX_B26_TOE.TXT\nhas more lines than the list holds.\nOnly its first 1000 lines are loaded, 1 line "
         "is left out.\nA \"Dim BDXC\" of 2 in Set-up holds the whole file."},
        // 12,000 lines of 90 bytes: more than 1,000 lines of 1,024 bytes.
        {WindowId::frmBdxc, FileKind::Bdxc, "BDX_A26_TOE.TXT", linesOf([&](int) { return bdxc; }, 12000),
         [] { return qsizetype(Windows::existing<lists::frmBdxc>()->bdxcrows()); },
         "The file BDX_A26_TOE.TXT\nhas more lines than the list holds.\nOnly its first 1000 lines are loaded, 11000 "
         "lines are left out.\nA \"Dim BDXC\" of 12 in Set-up holds the whole file."},
        // A ninth cell in a line of the scratch pad.
        {WindowId::frmScratchpad, FileKind::Scratchpad, "FSP_WIDE.TXT", "n,9560,,,,,,,6075,7100,\r\n",
         [] {
             auto *pad = Windows::existing<lists::frmScratchpad>();
             return qsizetype(pad->cell(0, 7) == "6075" ? lists::ScratchPad::kCells : 0);
         },
         "The file FSP_WIDE.TXT\nhas more cells in a line than a file of its kind holds.\nOnly the first 8 cells of each "
         "line are loaded."},
    };
    for (const Kind &k : kinds) {
        SCOPED_TRACE(k.name);
        TavForm *w = open(k.window);
        dir.write(G.filesubdir[k.kind] + QLatin1Char('/') + QLatin1String(k.name), k.content);
        if (k.kind == FileKind::Bdxc)
            dialogs.input(QStringLiteral("ALL"));
        const qsizetype from = dialogs.shown().size();
        tavtest::answerLoadDialog();
        button(w, "cmdLoad")->click();
        EXPECT_EQ(k.held(), k.kind == FileKind::StationList ? 15001
                            : k.kind == FileKind::Log       ? 1001
                            : k.kind == FileKind::Scratchpad ? lists::ScratchPad::kCells
                                                             : 1000);
        ASSERT_GT(dialogs.shown().size(), from);
        EXPECT_EQ(dialogs.shown()[from].text, QLatin1String(k.message));
        w->unload();
        QFile::remove(dir.file(G.filesubdir[k.kind] + QLatin1Char('/') + QLatin1String(k.name)));
    }
}

// What a listener types or records comes back from each tool's file as it
// was: typed into the window, saved through the Save dialog, loaded back
// through the Load dialog. Text a file cannot hold is refused as it is typed.
TEST_F(FileDialogs, RoundTripsOfTypedTextThroughEachFile)
{
    G.rxtype = G.goRxtype = 0;
    auto typeInto = [](QLineEdit *box, const QString &text) {
        box->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(box->window(), 2000));
        box->setFocus();
        box->selectAll(); // what is typed replaces what the box held
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(box, Qt::Key_Tab); // the box loses the focus, as to the next field
    };
    auto saveAs = [](QPushButton *button, const QString &name) {
        tavtest::answerSaveDialog(name);
        QTest::mouseClick(button, Qt::LeftButton);
    };
    auto loadFrom = [](QPushButton *button, const QString &name) {
        QTimer::singleShot(0, [name] {
            auto *l = Windows::existing<frmLoadfile>();
            const QList<QListWidgetItem *> found =
                l->list->findItems(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
            if (found.size() != 1)
                return l->unload();
            QTest::mouseClick(l->list->viewport(), Qt::LeftButton, {}, l->list->visualItemRect(found.first()).center());
            QTest::mouseClick(l->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
    };
    auto blackInPlot = [](const Picture &pic) {
        int n = 0;
        for (int x = 70; x <= 570; ++x)
            for (int y = 184; y <= 360; ++y)
                n += pic.pixel(x, y) == QColor(0, 0, 0);
        return n;
    };

    struct Row {
        const char *what, *typed, *kept, *said; // said: the start of the refusal shown, "" for none
        std::function<QString(const QString &typed)> roundTrip; // returns what came back
    };
    const Row rows[] = {
        {"pair-scan remark", "\"RAF\" VOLMET London, 5505 kHz", "\"RAF\" VOLMET London, 5505 kHz", "",
         [&](const QString &typed) {
             put("SFP/", "SFP_IN.TXT", "6577,5550, 1,day\r\n");
             auto *w = Windows::get<frmScanpairs>();
             w->load();
             loadFrom(w->cmdLoad, "SFP_IN.TXT");
             typeInto(w->txtRemarks[5], typed);
             saveAs(w->cmdsaveas, "SFP_RT.TXT");
             w->txtRemarks[5]->clear();
             loadFrom(w->cmdLoad, "SFP_RT.TXT");
             return w->txtRemarks[5]->text();
         }},
        {"pair-scan frequency with a quote", "\"6577, \"", "6577, |6577, ", "",
         [&](const QString &typed) {
             put("SFP/", "SFP_Q.TXT", typed.toLatin1() + ",5550, 1,x\r\n");
             auto *w = Windows::get<frmScanpairs>();
             w->load();
             loadFrom(w->cmdLoad, "SFP_Q.TXT");
             const QString first = w->lblChannelA[5]->text();
             saveAs(w->cmdsaveas, "SFP_Q1.TXT");
             loadFrom(w->cmdLoad, "SFP_Q1.TXT");
             saveAs(w->cmdsaveas, "SFP_Q2.TXT");
             EXPECT_EQ(dir.read("SFP/SFP_Q1.TXT"), dir.read("SFP/SFP_Q2.TXT")) << "a save and a load change nothing";
             return first + '|' + w->lblChannelA[5]->text();
         }},
        {"scratch-pad note", "Morning, BBC", "Morning BBC|", "The note cannot hold \",\"",
         [&](const QString &typed) {
             auto *w = Windows::get<lists::frmScratchpad>();
             w->showModeless();
             typeInto(w->txtNotes[0], typed);
             saveAs(w->cmdSave, "FSP_RT.TXT");
             w->txtNotes[0]->clear();
             dialogs.answer(vbNo); // the cleared note is not kept
             loadFrom(w->cmdLoad, "FSP_RT.TXT");
             return w->txtNotes[0]->text() + '|' + w->cell(0, 0);
         }},
        {"timer line out of range", "", "13:30|", "These lines were not taken as programs:\nLine 2: the attenuator 7",
         [&](const QString &) {
             Clock::set(QDateTime(QDate(2030, 8, 15), QTime(12, 50)));
             auto *w = Windows::get<frmRxTimer>();
             w->showModeless();
             w->editor.year = 2030, w->editor.month = 8, w->editor.day = 15;
             w->editor.hour = 12, w->editor.minute = 30;
             w->editor.setFrequencyKHz(6095);
             QTest::mouseClick(w->spnTime[0]->upButton(), Qt::LeftButton);
             QTest::mouseClick(w->rows[1].cmdFixClr[0], Qt::LeftButton);
             saveAs(w->cmdSave, "TPR_RT.TXT");
             // The file edited by hand: a second program with an attenuator of 7.
             QByteArray file = dir.read("TPR/TPR_RT.TXT");
             const qsizetype second = file.indexOf("\r\n") + 2;
             file.replace(second, file.indexOf("\r\n", second) - second,
                          " 15, 8, 2030, 18, 0, 10, 7, 0, 0, 0, 0, 0,06095000");
             put("TPR/", "TPR_RT.TXT", file);
             QTest::mouseClick(w->rows[1].cmdFixClr[1], Qt::LeftButton);
             loadFrom(w->cmdLoad, "TPR_RT.TXT");
             return w->rows[1].time[0]->text() + ':' + w->rows[1].time[1]->text() + '|' + w->rows[2].time[0]->text();
         }},
        {"propagation station and minutes", "R. \"Free\" Asia, 9650", "R. \"Free\" Asia, 9650", "",
         [&](const QString &typed) {
             Clock::set(QDateTime(QDate(2026, 3, 1), QTime(10, 0, 30)));
             auto *w = Windows::get<frmPropagation>();
             w->load();
             typeInto(w->txtStation, typed);
             saveAs(w->cmdSaveas, "PAN_RT.TXT");
             QTest::mouseClick(w->cmdStart, Qt::LeftButton);
             // Ticks 850 ms apart: some seconds get two, closing ones among them.
             for (int t = 0; t < 300; ++t) {
                 Clock::advanceMsecs(850);
                 w->tmrPropagation_Timer();
             }
             QTest::mouseClick(w->cmdStop, Qt::LeftButton);
             const QList<QByteArray> lines = dir.read("PAN/PAN_RT.TXT").split('\n');
             EXPECT_EQ(lines.size(), 3 + 3 + 1) << "a line for each minute recorded through its second 1";
             for (qsizetype i = 3; i + 1 < lines.size(); ++i)
                 EXPECT_EQ(lines[i].size(), 37 + 1) << "four pairs: " << lines[i].constData();
             loadFrom(w->cmdLoad, "PAN_RT.TXT");
             return w->txtStation->text();
         }},
        {"band file of another band", "7000/7010/1", "7000/7010/1", "",
         [&](const QString &typed) {
             auto *w = Windows::get<frmScanband>();
             w->load();
             const QStringList band = typed.split('/');
             for (int i = 0; i < 3; ++i)
                 typeInto(w->txtInput[size_t(i)], band[i]);
             typeInto(w->txtInput[3], "0.05");
             QTest::mouseClick(w->cmdStart, Qt::LeftButton);
             for (int t = 0; t < 12; ++t)
                 w->tmrScanband_Timer();
             QTest::mouseClick(w->cmdStop, Qt::LeftButton);
             EXPECT_GT(blackInPlot(w->picScan->picture()), 0) << "the sweep was drawn";
             saveAs(w->cmdSave, "SAN_RT.TXT");
             QByteArray other = "08:00 Z\r\n 9000\r\n 9500\r\n 10\r\n 50\r\n";
             for (int k = 0; k <= 50; ++k)
                 other += "050\r\n";
             put("SAN/", "SAN_OTHER.TXT", other);
             loadFrom(w->cmdLoad, "SAN_OTHER.TXT");
             EXPECT_EQ(w->lblFreqlow->text().trimmed(), "9000");
             EXPECT_EQ(blackInPlot(w->picScan->picture()), 0) << "no bar of the old band's scale is left";
             loadFrom(w->cmdLoad, "SAN_RT.TXT");
             return w->txtInput[0]->text().trimmed() + '/' + w->txtInput[1]->text().trimmed() + '/' +
                    w->txtInput[2]->text().trimmed();
         }},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        tav::DialogScript::shown.clear();
        EXPECT_EQ(r.roundTrip(QLatin1String(r.typed)), QLatin1String(r.kept));
        QStringList refusals;
        for (const ShownBox &b : dialogs.shown())
            if (b.title != "Save File" && b.title != "Propagation" && b.title != "Unsaved data")
                refusals << b.text;
        if (*r.said) {
            EXPECT_EQ(refusals.size(), 1) << refusals.join(" / ").toStdString();
            EXPECT_TRUE(refusals.value(0).startsWith(QLatin1String(r.said))) << refusals.value(0).toStdString();
        } else {
            EXPECT_TRUE(refusals.isEmpty()) << refusals.join(" / ").toStdString();
        }
        Windows::destroyAll();
    }
}
