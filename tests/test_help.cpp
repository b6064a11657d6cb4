// Help inside the program: F1 in every tool window opens the help window at
// that window's own section, which the files page holds, and every button
// whose caption says little is explained where its window's help is.
#include "hub/app.h"
#include "core/form.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "core/globals.h"
#include "core/help.h"
#include "core/tables.h"
#include "support/testenv.h"
#include "drivers/receiver.h"
#include "panels/mainmenu.h"

#include <QFile>
#include <QMenuBar>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace tav;

namespace {

// Windows of the receiver panels and the program's frame; F1 there belongs to
// the panel (its keys and its menu's help entry).
bool panelOrFrame(WindowId id)
{
    static const QList<WindowId> ids = {WindowId::frmAbout,    WindowId::frmSetUp,       WindowId::frmRtty,
                                        WindowId::frmUserdefs, WindowId::frmUserdefs545, WindowId::frmAdvancedDSP};
    return ids.contains(id);
}

QByteArray helpPage(const QString &file)
{
    openHelp(QStringLiteral("index.html")); // registers the pages
    QFile f(QStringLiteral(":/help/") + file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of a page's section, from its anchor to the next heading.
QByteArray helpSectionText(const char *page, const char *anchor)
{
    const QByteArray text = helpPage(QLatin1String(page));
    const qsizetype from = text.indexOf(QByteArray("name=\"") + anchor + '"');
    if (from < 0)
        return {};
    const qsizetype to = text.indexOf("<h2", from);
    return text.mid(from, to < 0 ? -1 : to - from);
}

} // namespace

TEST(HelpKey, F1InEveryToolWindowOpensItsOwnSection)
{
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    InitConstants();
    G.datapath = dir.path();
    buildFileDirs();
    registerBuiltWindows();
    // the Load and Save dialogs open for a kind
    Windows::get<frmLoadfile>()->setKind(FileKind::Scratchpad);
    Windows::get<frmSavefile>()->setKind(FileKind::Scratchpad);
    const QByteArray files = helpPage(QStringLiteral("files.html"));
    ASSERT_FALSE(files.isEmpty());
    int checked = 0;
    for (WindowId id : unloadToolsOrder()) {
        if (panelOrFrame(id) || !Windows::available(id))
            continue;
        const QString name = windowName(id);
        SCOPED_TRACE(name.toStdString());
        const QString section = helpSection(name);
        ASSERT_TRUE(section.startsWith(QLatin1String("files.html#"))) << "a tool window without a help section";
        const QString anchor = section.mid(section.indexOf(QLatin1Char('#')) + 1);
        EXPECT_TRUE(files.contains("name=\"" + anchor.toLatin1() + "\"")) << anchor.toStdString();

        TavForm *w = Windows::get(id);
        ASSERT_NE(w, nullptr);
        w->load();
        ASSERT_TRUE(w->isLoadedForm());
        w->show();
        if (HelpWindow *h = HelpWindow::existing())
            h->hide();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w, 2000));
        QTest::keyClick(w->focusWidget() ? w->focusWidget() : static_cast<QWidget *>(w), Qt::Key_F1);
        HelpWindow *help = HelpWindow::existing();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->shownPage(), section);
        w->unload();
        ++checked;
    }
    EXPECT_GT(checked, 25);
    Windows::destroyAll();
}

// A caption a listener cannot read (a letter, an abbreviation, the program's
// name, a number or nothing) is explained in its window's section, under
// the caption the window really shows.
TEST(HelpKey, EveryButtonWithAShortCaptionIsExplained)
{
    tavtest::ScratchDir dir;
    InitConstants();
    G.datapath = dir.path();
    buildFileDirs();
    registerBuiltWindows();
    struct Explained {
        const char *page, *anchor, *term;
        WindowId window;
        const char *control, *caption;
    };
    const Explained table[] = {
        {"files.html", "buttons", "<b>DiDuzu</b>", WindowId::frmBdxc, "cmdDiduzu", "DiDuzu"},
        {"files.html", "buttons", "<b>L</b>", WindowId::frmIlg2rx, "cmdHeigh", "L"},
        {"files.html", "log", "<b>W</b>", WindowId::frmLog, "cmdWidth", "W"},
        {"files.html", "log", "<b>L</b>", WindowId::frmLog, "cmdHeigh", "L"},
        {"files.html", "memories", "<b>RxCtr</b>", WindowId::frmMemman, "cmdDiduzu", "RxCtr"},
        {"files.html", "memories", "<b>Store R2M</b>", WindowId::frmMemman, "cmdDump", "Store R2M"},
        {"files.html", "bandscan", "<b>Squelch Hold</b>", WindowId::frmScanband, "chkSqlonoff", "Squelch Hold"},
        {"files.html", "bandscan", "one step past <i>End</i>", WindowId::frmScanband, "cmdStop", "Stop"},
        {"files.html", "tracking", "<b>1</b> to <b>7</b>", WindowId::frmTracking, "cmdShow(0)", ""},
        {"files.html", "rxclock", "<b>Set PC Clock</b>", WindowId::frmAR7030, "mnuPCclock", "Set PC Clock . . ."},
        {"panels.html", "buttons", "<b>f/c</b>", WindowId::frmNRD545, "cmdFreqOrChan", "f/c"},
        {"panels.html", "buttons", "<b>Pwr</b>", WindowId::frmNRD535, "cmdPowerOnOff", "Pwr"},
        {"panels.html", "buttons", "<b>i 5</b>", WindowId::frmAR7030, "lblInt5", "i 5"},
        {"panels.html", "buttons", "<b>&lt;-</b>", WindowId::frmAR7030, "cmdBack", "<-"},
        {"panels.html", "norx", "do nothing when used", WindowId::frmNoRx, "cmdEnterfreq", "Enter"},
    };
    for (const Explained &e : table) {
        SCOPED_TRACE(e.control);
        TavForm *w = Windows::get(e.window);
        ASSERT_NE(w, nullptr);
        QObject *control = w->findChild<QObject *>(QLatin1String(e.control));
        QMenuBar menus; // a panel's menu entries, as the panel's load makes them
        if (!control) {
            addMainMenus(&menus, w, false);
            control = menus.findChild<QObject *>(QLatin1String(e.control));
        }
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->property("text").toString(), QLatin1String(e.caption));
        EXPECT_TRUE(helpSectionText(e.page, e.anchor).contains(e.term)) << e.page << "#" << e.anchor << " " << e.term;
    }
    Windows::destroyAll();
}

TEST(HelpKey, TheFilesPageAnswersWhereEachFileGoes)
{
    const QByteArray files = helpPage(QStringLiteral("files.html"));
    // Each kind's folder and name pattern, and the working channel of the JRC receivers.
    InitConstants();
    for (FileKind k : allFileKinds) {
        if (G.filesubdir[k].isEmpty())
            continue;
        SCOPED_TRACE(int(k));
        EXPECT_TRUE(files.contains("<code>" + G.filesubdir[k].toLatin1() + "</code>"));
        const QString first = G.filepattern[k].section(QLatin1Char(';'), 0, 0).replace(QLatin1Char('#'), QLatin1Char('1'));
        EXPECT_TRUE(files.contains(first.toLatin1())) << first.toStdString();
    }
    EXPECT_TRUE(files.contains("199 on the NRD-535, 999 on the") && files.contains("NRD-545"));
    // Every page is reachable from the files page and back.
    for (const char *page : {"index.html", "panels.html", "emulator.html"})
        EXPECT_TRUE(helpPage(QLatin1String(page)).contains("href=\"files.html\"")) << page;
}
