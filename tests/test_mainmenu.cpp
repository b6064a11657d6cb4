// The main menu on a test panel: entries, names, captions, shortcuts, what each
// opens, the disabled entries of windows not built, the outside programs, and
// Close and Exit.
#include "hub/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/help.h"
#include "core/launch.h"
#include "core/tables.h"
#include "panels/mainmenu.h"
#include "support/testenv.h"

#include <QAction>
#include <QTextBrowser>
#include <QUrl>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace tav;

namespace {

// A panel with the common Direct entries and the main menus.
class TestPanel : public TavForm {
public:
    explicit TestPanel(WindowId id) : TavForm(id)
    {
        bar = new QMenuBar(this);
        QMenu *direct = addDirectMenu(bar);
        addDirectEntry(direct, this, DirectEntry::Setup);
        addMenuSeparator(direct, QStringLiteral("mnuLine1"));
        addDirectEntry(direct, this, DirectEntry::Last20);
        addDirectEntry(direct, this, DirectEntry::MarkFreqs);
        addDirectEntry(direct, this, DirectEntry::Scratchpad);
        addMenuSeparator(direct, QStringLiteral("mnuLine13"));
        addDirectEntry(direct, this, DirectEntry::Close);
        addDirectEntry(direct, this, DirectEntry::Exit);
        addMainMenus(bar, this, id == WindowId::frmNoRx);
    }
    QMenuBar *bar;
    int unloads = 0;

protected:
    void Form_Unload() override { ++unloads; }
};

// A tool window that shows itself at the end of its load only when asked to.
class FakeTool : public TavForm {
public:
    FakeTool(WindowId id, bool showsItself) : TavForm(id), m_self(showsItself) {}
    int loads = 0;

protected:
    void Form_Load() override
    {
        ++loads;
        if (m_self)
            show();
    }

private:
    bool m_self;
};

struct MainMenu : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    std::function<void(int)> savedEnd;
    QList<int> ended;

    void SetUp() override
    {
        registerBuiltWindows();
        G.datapath = dir.path();
        InitConstants();
        buildFileDirs();
        savedEnd = frmWelcome::endProgram;
        frmWelcome::endProgram = [this](int code) { ended << code; };
        Windows::registerFactory(WindowId::frmLast20, [] { return new FakeTool(tav::WindowId::frmLast20, false); });
        Windows::registerFactory(WindowId::frmScanband, [] { return new FakeTool(tav::WindowId::frmScanband, true); });
    }
    void TearDown() override
    {
        frmWelcome::endProgram = savedEnd;
        Windows::destroyAll();
        Windows::registerFactory(WindowId::frmLast20, {});
        Windows::registerFactory(WindowId::frmScanband, {});
        Launcher::reset();
        closeOpenFiles();
    }

    // "menu caption|entry name=caption[|key];..." for the whole bar.
    static QStringList describe(QMenuBar *bar)
    {
        QStringList out;
        for (QAction *m : bar->actions()) {
            QString line = m->menu()->objectName() + "=" + m->text() + ":";
            QStringList entries;
            for (QAction *a : m->menu()->actions()) {
                QString e = a->objectName() + "=" + (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (!a->shortcut().isEmpty())
                    e += "[" + a->shortcut().toString() + "]";
                entries << e;
            }
            out << line + entries.join(";");
        }
        return out;
    }
    static QAction *entry(TavForm *p, const char *name) { return p->findChild<QAction *>(QLatin1String(name)); }
};

} // namespace

TEST_F(MainMenu, ReceiverPanelCarriesEveryEntryWithItsNameCaptionAndShortcut)
{
    TestPanel p(WindowId::frmAR7030);
    const QStringList expected = {
        "mnuDirect=Direct:mnuSetup=Set-up . . .;mnuLine1=-;mnuLast20=Last 20 Freqs . . .;mnuMaqrkfreqs=Mark Freqs . . .;"
        "mnuScratchpad=Freq Scratchpad . . .;mnuLine13=-;mnuClose=Close;mnuExit=Exit",
        "mnuDb2Rx=Db2Rx:mnuBDXC=BDXC . . .;mnuOwn=Own . . .;mnu320Files=.320 . . .;mnuIlg2rx=ILG . . .;"
        "mnuAero2rx=Aero . . .;mnuLine21=-;mnuConvertILG1=Convert ILG . . .;mnuConvertaero2=ConvertAero . . .",
        "mnuRx2Db=Rx2Db:mnuLog=Logging . . .;mnuTracking=Tracking . . .;mnuLine31=-;"
        "mnuConvertILG2=Convert ILG . . .;mnuConvertaero=Convert Aero . . .",
        "mnuSignalan=Signal An:mnuSmeter=S-meter . . .",
        "mnuScan=Scan:mnuScanBand=Freq Band . . .;mnuScanFreqList=Freq List . . .;mnuScanFreqpairs=Freq Pairs . . .",
        "mnuPropagation=Propagation:mnuTimean=Time Analysis;mnuTimean2prt=Time Analysis to Print;"
        "mnuProphisto=Time + Histogram",
        "mnuMem=MemMan:mnuMemman=Memory Management . . .",
        "mnuTimers=Timers:mnuPCclock=Set PC Clock . . .;mnuRxClock=Set RX Clock . . .;mnuRxTimer=Programming . . .",
        "mnuHelp=Help:mnuHTMLhelp=HTML Help[F1];mnuAbout=About . . .",
    };
    EXPECT_EQ(describe(p.bar), expected);
}

TEST_F(MainMenu, ReceiverLessPanelHasItsOwnNamesAndCaptions)
{
    TestPanel p(WindowId::frmNoRx);
    const QStringList expected = {
        "mnuDirect=Direct:mnuSetup=Set-up . . .;mnuLine1=-;mnuLast20=Last 20 freqs . . .;mnuMarkfreqs=Mark Freqs . . .;"
        "mnuScratchpad=Freq Sratchpad . . .;mnuLine13=-;mnuClose=Close;mnuExit=Exit",
        "mnuDb2Rx=Db2Rx:mnuBdxc=BDXC . . .;mnuOwn=Own . . .;mnu320Files=.320 . . .;mnuIlg2rx=ILG . . .;"
        "mnuAero2rx=Aero . . .;mnuLine3=-;mnuConvertIlg1=Convert ILG . . .;mnuConvertaero2=Convert Aero . . .",
        "mnuRx2Db=Rx2Db:mnuLog=Logging . . .;mnuTracking=Tracking . . .;mnuLine5=-;"
        "mnuConvertILG2=Convert ILG . . .;mnuConvertaero=Convert Aero . . .",
        "mnuSignalan=SignalAn:mnuSmeter=S meter . . .",
        "mnuScan=Scan:mnuScanBand=Freq Band . . .;mnuScanList=Freq List . . .;mnuScanFreqpairs=Freq Pairs . . .",
        "mnuPropagation=Propagation:mnuTimean=Time Analysis;mnuTimean2prt=Time Analysys to Print;"
        "mnuProphisto=Time + Histogram",
        "mnuMem=MemMan:mnuMemman=Memory Management . . .",
        "mnuTimers=Timers:mnuPCclock=Set PC Clock . . .;mnuRxClock=Set RX Clock . . .;mnuRxTimer=Programming . . .",
        "mnuHelp=Help:mnuHtmlhelp=HTML Help[F1];mnuAbout=About . . .",
    };
    EXPECT_EQ(describe(p.bar), expected);
    EXPECT_FALSE(entry(&p, "mnuRxClock")->isEnabled());
}

TEST_F(MainMenu, ModelDifferences)
{
    TestPanel rx320(WindowId::frmRX320);
    EXPECT_NE(entry(&rx320, "mnuConvrtILG1"), nullptr);
    EXPECT_EQ(entry(&rx320, "mnuSratchpad")->text(), "Freq Scratchpad . . .");
    EXPECT_EQ(entry(&rx320, "mnuMarkfreqs")->text(), "Mark freqs . . . ");
    EXPECT_EQ(entry(&rx320, "mnuRxTimer")->text(), "Programming");
    EXPECT_EQ(entry(&rx320, "mnuConvertaero2")->text(), "Convert Aero . . .");
    // The RX-320 has no clock: its Direct menu offers none, only the greyed Timers entry exists.
    EXPECT_EQ(rx320.findChildren<QAction *>(QStringLiteral("mnuRxClock")).size(), 1);
    QAction *clock = entry(&rx320, "mnuRxClock");
    EXPECT_FALSE(clock->isEnabled());
    clock->setEnabled(true);
    EXPECT_FALSE(clock->isEnabled()); // switched off for good

    TestPanel nrd535(WindowId::frmNRD535);
    EXPECT_EQ(entry(&nrd535, "mnuConvertaero")->text(), "Convert Aero . . ");
    TestPanel nrd545(WindowId::frmNRD545);
    EXPECT_EQ(entry(&nrd545, "mnuMarkfreqs")->text(), "Mark Freqs . . . ");
    EXPECT_EQ(entry(&nrd545, "mnuScratchpad")->text(), "Freq Sratchpad . . .");
}

TEST_F(MainMenu, EntriesOfWindowsNotBuiltStayDisabled)
{
    // The broadcast list stands for a window not built (the next SetUp registers it again).
    Windows::registerFactory(WindowId::frmBdxc, {});
    TestPanel p(WindowId::frmAR7030);
    QAction *bdxc = entry(&p, "mnuBDXC");
    EXPECT_FALSE(bdxc->isEnabled());
    bdxc->setEnabled(true); // as a tool re-enables the menu after its work
    EXPECT_FALSE(bdxc->isEnabled());
    bdxc->trigger();
    EXPECT_EQ(Windows::existing(WindowId::frmBdxc), nullptr);

    // Built windows are enabled; a tool may switch them off and on again.
    QAction *last20 = entry(&p, "mnuLast20");
    EXPECT_TRUE(last20->isEnabled());
    last20->setEnabled(false);
    EXPECT_FALSE(last20->isEnabled());
    last20->setEnabled(true);
    EXPECT_TRUE(last20->isEnabled());
    EXPECT_TRUE(entry(&p, "mnuAbout")->isEnabled());
    EXPECT_TRUE(entry(&p, "mnuSetup")->isEnabled());
    EXPECT_TRUE(entry(&p, "mnuPCclock")->isEnabled());
    EXPECT_TRUE(entry(&p, "mnuHTMLhelp")->isEnabled());
}

TEST_F(MainMenu, ShownEntriesShowModelessAndLoadedEntriesOnlyLoad)
{
    TestPanel p(WindowId::frmAR7030);
    // The last-20 window is loaded hidden by the panel; the menu shows it.
    auto *last20 = static_cast<FakeTool *>(Windows::get(WindowId::frmLast20));
    last20->load();
    EXPECT_FALSE(last20->isVisible());
    entry(&p, "mnuLast20")->trigger();
    EXPECT_TRUE(last20->isVisible());
    EXPECT_EQ(last20->loads, 1);
    EXPECT_FALSE(last20->isModal());

    entry(&p, "mnuScanBand")->trigger();
    auto *band = static_cast<FakeTool *>(Windows::existing(WindowId::frmScanband));
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(Windows::loaded(WindowId::frmScanband));
    EXPECT_TRUE(band->isVisible()); // it showed itself
    band->hide();
    entry(&p, "mnuScanBand")->trigger(); // open already: nothing happens
    EXPECT_EQ(band->loads, 1);
    EXPECT_FALSE(band->isVisible());

    entry(&p, "mnuAbout")->trigger();
    EXPECT_TRUE(Windows::loaded(WindowId::frmAbout));
    EXPECT_TRUE(Windows::existing(WindowId::frmAbout)->isVisible());
    entry(&p, "mnuSetup")->trigger();
    EXPECT_TRUE(Windows::loaded(WindowId::frmSetUp));
    EXPECT_FALSE(Windows::existing(WindowId::frmSetUp)->isModal());
}

TEST_F(MainMenu, HelpShowsTheProgramsOwnPagesInItsOwnWindowWithoutABrowser)
{
    // A desktop without a browser: help must not depend on one.
    int launched = 0;
    Launcher::openWithDesktop = [&](const QString &) { ++launched; return false; };
    TestPanel rx(WindowId::frmNRD545);
    TestPanel norx(WindowId::frmNoRx);
    entry(&rx, "mnuHTMLhelp")->trigger();
    HelpWindow *help = HelpWindow::existing();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->shownPage(), "panels.html");
    EXPECT_TRUE(help->txtHelp->toPlainText().contains("RTTY"));
    entry(&norx, "mnuHtmlhelp")->trigger();
    EXPECT_EQ(help->shownPage(), "panels.html#norx") << "the panel's own section: why its keys do nothing";
    EXPECT_EQ(launched, 0);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    // A link between the pages stays in the window.
    help->txtHelp->setSource(QUrl(QStringLiteral("files.html")));
    EXPECT_EQ(help->shownPage(), "files.html");
    EXPECT_TRUE(help->txtHelp->toPlainText().contains("BDX_*TOE.TXT"));
}

TEST_F(MainMenu, SetPcClockStartsTheDesktopsDateAndTimeSettingsOrReports)
{
    TestPanel p(WindowId::frmAR7030);
    QStringList started;
    Launcher::findProgram = [](const QString &prog) {
        return prog == QLatin1String("time-admin") ? QStringLiteral("/usr/bin/time-admin") : QString();
    };
    Launcher::startDetached = [&](const QString &prog, const QStringList &args) {
        started << prog << args;
        return true;
    };
    entry(&p, "mnuPCclock")->trigger();
    EXPECT_EQ(started, (QStringList{"/usr/bin/time-admin"}));
    EXPECT_TRUE(dialogs.shown().isEmpty());

    Launcher::startDetached = [](const QString &, const QStringList &) { return false; };
    entry(&p, "mnuPCclock")->trigger();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("could not be started"));

    Launcher::findProgram = [](const QString &) { return QString(); };
    entry(&p, "mnuPCclock")->trigger();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].title, "Error");
}

TEST_F(MainMenu, CloseUnloadsThePanel)
{
    TestPanel p(WindowId::frmAR7030);
    p.showModeless();
    entry(&p, "mnuClose")->trigger();
    EXPECT_FALSE(p.loadedMark());
    EXPECT_EQ(p.unloads, 1);
    EXPECT_TRUE(ended.isEmpty());
}

TEST_F(MainMenu, ExitClosesOpenFilesAndEndsWithoutUnloadWork)
{
    G.formleft[3] = 1234;
    dir.write("formpositions.ini", "10,20\r\n");
    TestPanel p(WindowId::frmAR7030);
    p.showModeless();
    p.moveTwips(3000, 3000);
    QFile &capture = rttyCaptureFile();
    capture.setFileName(dir.file("RTY_X.TXT"));
    ASSERT_TRUE(capture.open(QIODevice::WriteOnly | QIODevice::Append));
    bool otherClosed = false;
    registerOpenFileCloser(QStringLiteral("test"), [&] { otherClosed = true; });

    entry(&p, "mnuExit")->trigger();
    registerOpenFileCloser(QStringLiteral("test"), {});
    EXPECT_EQ(ended, (QList<int>{0}));
    EXPECT_FALSE(capture.isOpen());
    EXPECT_TRUE(otherClosed);
    EXPECT_EQ(p.unloads, 0);
    EXPECT_TRUE(p.loadedMark());
    EXPECT_EQ(G.formleft[3], 1234); // the position was not stored
    EXPECT_EQ(dir.read("formpositions.ini"), "10,20\r\n");
}
