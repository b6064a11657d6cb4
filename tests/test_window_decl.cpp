// The window declaration drives the registry, the unload order and the main
// menu: every declared window is built with its name and slot, is loaded
// from its load to its unload, is closed by UnloadTools in order when it is a
// tool, and opens
// from a click on its main-menu entry.
#include "hub/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "panels/frmNoRx.h"
#include "panels/mainmenu.h"
#include "support/testenv.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>
#include <gtest/gtest.h>

using namespace tav;

namespace {

QList<WindowId> g_unloads;

// A window with none of the real one's work: it records its unload.
class StandIn : public TavForm {
public:
    explicit StandIn(WindowId id) : TavForm(id), m_id(id) {}

protected:
    void Form_Unload() override { g_unloads << m_id; }

private:
    WindowId m_id;
};

// A receiver panel carrying the real Direct and main menus.
class MenuPanel : public TavForm {
public:
    explicit MenuPanel(WindowId id) : TavForm(id)
    {
        bar = new QMenuBar(this);
        QMenu *direct = addDirectMenu(bar);
        addDirectEntry(direct, this, DirectEntry::Setup);
        addDirectEntry(direct, this, DirectEntry::Last20);
        addDirectEntry(direct, this, DirectEntry::MarkFreqs);
        addDirectEntry(direct, this, DirectEntry::Scratchpad);
        addDirectEntry(direct, this, DirectEntry::Close);
        addDirectEntry(direct, this, DirectEntry::Exit);
        addMainMenus(bar, this, id == WindowId::frmNoRx);
    }
    QMenuBar *bar;
};

struct WindowDeclaration : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    std::function<void(int)> savedEnd;

    void SetUp() override
    {
        registerBuiltWindows();
        G.datapath = dir.path();
        InitConstants();
        buildFileDirs();
        savedEnd = frmWelcome::endProgram;
        frmWelcome::endProgram = [](int) {};
        g_unloads.clear();
    }
    void TearDown() override
    {
        frmWelcome::endProgram = savedEnd;
        frmWelcome::destroy();
        Windows::destroyAll();
        registerBuiltWindows();
        closeOpenFiles();
    }
    static void standInsForAll(bool toolsOnly = false)
    {
        for (const WindowDecl &d : windowDecls)
            if (!toolsOnly || d.role == WindowRole::Tool)
                Windows::registerFactory(d.id, [id = d.id] { return new StandIn(id); });
    }
    static void unloadAllTools()
    {
        for (const WindowDecl &d : windowDecls)
            if (d.role == WindowRole::Tool && Windows::loaded(d.id))
                Windows::existing(d.id)->unload();
    }

    // Clicks every window entry of the panel's menus, as a user opens them,
    // and notes which declared windows each click loaded.
    static QSet<WindowId> windowsOpenedFromMenus(QWidget &panel, QMenuBar *bar)
    {
        QSet<WindowId> opened;
        unloadAllTools();
        static const QSet<QString> notWindows = {"mnuClose", "mnuExit", "mnuHTMLhelp", "mnuHtmlhelp", "mnuPCclock"};
        for (QAction *m : bar->actions()) {
            QMenu *menu = m->menu();
            for (QAction *a : menu->actions()) {
                if (a->isSeparator() || notWindows.contains(a->objectName()))
                    continue;
                menu->popup(panel.mapToGlobal(QPoint(0, 0)));
                if (!QTest::qWaitForWindowExposed(menu))
                    ADD_FAILURE() << "menu not shown: " << menu->objectName().toStdString();
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(a).center());
                menu->hide();
                for (const WindowDecl &d : windowDecls) {
                    if (d.role != WindowRole::Tool || !Windows::loaded(d.id))
                        continue;
                    opened << d.id;
                    Windows::existing(d.id)->unload();
                }
            }
        }
        return opened;
    }
};

} // namespace

TEST_F(WindowDeclaration, EveryWindowIsBuiltUnderItsNameWithItsOwnSlot)
{
    QSet<int> usedSlots;
    for (const WindowDecl &d : windowDecls) {
        SCOPED_TRACE(d.name);
        // A slot shared by two windows would mix their places.
        EXPECT_TRUE(d.slot == 0 || !usedSlots.contains(d.slot));
        EXPECT_LT(d.slot, int(G.formleft.size()));
        usedSlots << d.slot;

        ASSERT_TRUE(Windows::available(d.id));
        TavForm *f = Windows::get(d.id);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->objectName(), QLatin1String(d.name));
        EXPECT_EQ(f->slot(), d.slot);
        EXPECT_EQ(Windows::existing(d.id), f);
    }
    EXPECT_EQ(Windows::names().size(), qsizetype(windowDecls.size()));
}

// A value typed into any window's combo box is the value taken: no listed
// item that begins with it is completed into the box.
TEST_F(WindowDeclaration, EveryComboTheUserTypesIntoKeepsWhatIsTyped)
{
    int combos = 0;
    for (const WindowDecl &d : windowDecls) {
        TavForm *f = Windows::get(d.id);
        ASSERT_NE(f, nullptr) << d.name;
        for (QComboBox *c : f->findChildren<QComboBox *>()) {
            if (!c->isEditable())
                continue;
            SCOPED_TRACE(std::string(d.name) + " " + c->objectName().toStdString());
            // Typed as a user types: into the focused box of the active window.
            f->show();
            f->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(f));
            c->setFocus();
            c->addItem(QStringLiteral("6.2"));
            c->setEditText(QString());
            QTest::keyClicks(c->lineEdit(), QStringLiteral("6"));
            EXPECT_EQ(c->currentText(), QStringLiteral("6"));
            QTest::keyClick(c->lineEdit(), Qt::Key_Return);
            EXPECT_EQ(c->currentText(), QStringLiteral("6"));
            EXPECT_EQ(c->findText(QStringLiteral("6")), -1) << "Enter adds no item";
            ++combos;
        }
        f->hide();
    }
    // The query boxes, the cell editor's, the panels' steps, the save name.
    EXPECT_GE(combos, 20);
}

TEST_F(WindowDeclaration, LoadMarksEachWindowLoadedAndUnloadToolsClosesEveryToolInOrder)
{
    standInsForAll();
    QList<WindowId> tools;
    for (const WindowDecl &d : windowDecls) {
        SCOPED_TRACE(d.name);
        Windows::get(d.id)->load();
        EXPECT_TRUE(Windows::loaded(d.id));
        if (d.role == WindowRole::Tool)
            tools << d.id;
    }
    UnloadTools();
    EXPECT_EQ(g_unloads, tools);
    for (const WindowDecl &d : windowDecls) {
        SCOPED_TRACE(d.name);
        // Panels and the welcome window stay: only the tools are closed.
        EXPECT_EQ(Windows::loaded(d.id), d.role != WindowRole::Tool);
        EXPECT_EQ(Windows::existing(d.id)->isLoadedForm(), d.role != WindowRole::Tool);
    }
}

TEST_F(WindowDeclaration, EveryMenuWindowOpensFromAClickOnItsEntry)
{
    standInsForAll();
    QSet<WindowId> declared;
    for (const WindowDecl &d : windowDecls)
        if (d.inMainMenu)
            declared << d.id;

    MenuPanel panel(WindowId::frmAR7030);
    panel.show();
    EXPECT_EQ(windowsOpenedFromMenus(panel, panel.bar), declared);
}

TEST_F(WindowDeclaration, EveryMenuWindowOpensFromTheNoRxPanelOpenedByGo)
{
    standInsForAll(true);
    QSet<WindowId> declared;
    for (const WindowDecl &d : windowDecls)
        if (d.inMainMenu)
            declared << d.id;
    G.rxtype = 0;
    frmWelcome::instance()->load();
    frmWelcome::instance()->imgGo_Click();
    auto *norx = Windows::existing<frmNoRx>();
    ASSERT_NE(norx, nullptr);
    ASSERT_TRUE(norx->isVisible());
    // The receiver-less panel has no receiver clock to set.
    declared.remove(WindowId::frmRxClock);
    EXPECT_EQ(windowsOpenedFromMenus(*norx, norx->mnuBar), declared);
}
