// Window places: the same frame geometry stored and restored, start after
// start and close after close, whichever way the window is closed; a window
// with no stored place (or one off every screen) opening with its title bar on
// a screen; a window the program places itself lying wholly on the screen.
#include "hub/app.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/help.h"
#include "core/settings.h"
#include "core/tables.h"
#include "support/testenv.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QWindow>
#include <cmath>
#include <QScreen>
#include <gtest/gtest.h>

using namespace tav;

// Two screens side by side, 1280 x 1024 and 1920 x 1080, and a 1366 x 768
// one standing apart below them; the platform reads them when the
// application starts, after this.
static const bool kTwoScreens = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" TAVORIN_TWO_SCREENS);
    return true;
}();

namespace {

// A window of the size a test gives it (none of its own design to come back to).
class Tool : public TavForm {
public:
    explicit Tool(tav::WindowId id) : TavForm(id) { setRestoresDesign(false); }
};

bool titleBarOnAScreen(const QRect &frame)
{
    const QRect bar(frame.topLeft(), QSize(frame.width(), 20));
    for (QScreen *s : QGuiApplication::screens())
        if (s->availableGeometry().contains(bar.topLeft()) && s->availableGeometry().intersects(bar))
            return true;
    return false;
}

} // namespace

TEST(WindowPlaces, LeftAloneAWindowReopensOnTheSameFrameTenTimesOver)
{
    tavtest::ScratchDir dir;
    Windows::registerFactory(WindowId::frmMarkfreqs, [] { return new Tool(tav::WindowId::frmMarkfreqs); });
    TavForm *f = Windows::get(WindowId::frmMarkfreqs);
    f->resize(240, 130);
    f->showModeless();
    ASSERT_TRUE(tavtest::settled(f));
    f->move(301, 257);
    ASSERT_TRUE(tavtest::settled(f));
    const QRect placed = f->windowHandle()->frameGeometry();
    for (int i = 0; i < 10; ++i) {
        f->unload();
        // What a restart does to the stored place: through the file and back.
        const QStringList lines = positionLines();
        resetProgramState();
        applyPositionLines(lines);
        f->showModeless();
        ASSERT_TRUE(tavtest::settled(f));
        ASSERT_EQ(f->windowHandle()->frameGeometry(), placed) << "start " << i + 1;
    }
    f->unload();
    Windows::destroyAll();
}

TEST(WindowPlaces, NoStoredPlaceOrOneOffEveryScreenStillShowsTheTitleBar)
{
    Windows::registerFactory(WindowId::frmMarkfreqs, [] { return new Tool(tav::WindowId::frmMarkfreqs); });
    TavForm *f = Windows::get(WindowId::frmMarkfreqs);
    f->resize(240, 130);
    for (auto [left, top] : {std::pair{0, 0}, std::pair{-30000, -30000}, std::pair{40000, 40000},
                             std::pair{2000000, -5}, std::pair{0, 999999}}) {
        G.formleft[44] = left;
        G.formtop[44] = top;
        f->showModeless();
        ASSERT_TRUE(tavtest::settled(f));
        EXPECT_TRUE(titleBarOnAScreen(f->windowHandle()->frameGeometry())) << left << "," << top;
        f->unload();
    }
    // A place on the screen is kept as it is.
    G.formleft[44] = 1500;
    G.formtop[44] = 1500;
    f->showModeless();
    ASSERT_TRUE(tavtest::settled(f));
    EXPECT_EQ(f->windowHandle()->framePosition(), QPoint(100, 100));
    EXPECT_EQ(f->leftTwips(), 1500);
    EXPECT_EQ(f->topTwips(), 1500);
    f->unload();
    Windows::destroyAll();
}

#include "panels/frmPanel.h"
#include "drivers/receiver.h"
#include <QKeyEvent>
#include <QAction>

TEST(WindowPlaces, AToolWithoutAStoredPlaceOpensBesideTheOpenPanelAndAStoredPlaceWins)
{
    Windows::registerFactory(WindowId::frmAR7030, [] { return new Tool(tav::WindowId::frmAR7030); });
    Windows::registerFactory(WindowId::frmBdxc, [] { return new Tool(tav::WindowId::frmBdxc); });
    TavForm *panel = Windows::get(WindowId::frmAR7030);
    panel->resize(500, 300);
    panel->showModeless();
    panel->move(0, 0);
    ASSERT_TRUE(tavtest::settled(panel));
    const int slot = windowDecl(WindowId::frmBdxc).slot;
    ASSERT_GT(slot, 0);
    G.formleft[slot] = 0;
    G.formtop[slot] = 0;
    TavForm *tool = Windows::get(WindowId::frmBdxc);
    tool->resize(250, 150);
    tool->showModeless();
    ASSERT_TRUE(tavtest::settled(tool));
    EXPECT_FALSE(tool->windowHandle()->frameGeometry().intersects(panel->windowHandle()->frameGeometry()))
        << tool->windowHandle()->frameGeometry().x() << "," << tool->windowHandle()->frameGeometry().y();
    EXPECT_TRUE(titleBarOnAScreen(tool->windowHandle()->frameGeometry()));
    tool->unload();

    // A stored place wins, even over the panel.
    G.formleft[slot] = int(std::lround(40 * twipsPerPixel()));
    G.formtop[slot] = int(std::lround(30 * twipsPerPixel()));
    tool->showModeless();
    ASSERT_TRUE(tavtest::settled(tool));
    EXPECT_EQ(tool->windowHandle()->framePosition(), QPoint(40, 30));
    tool->unload();
    panel->unload();
    Windows::destroyAll();
}

namespace {

// The frame as the window system has it, not as the program reckons it.
QRect frameOnScreen(QWidget *w) { return w->windowHandle()->frameGeometry(); }

QPoint pixels(int leftTwips, int topTwips)
{
    return QPoint(int(std::lround(leftTwips / twipsPerPixel())), int(std::lround(topTwips / twipsPerPixel())));
}

void storeAt(int slot, QPoint px)
{
    G.formleft[slot] = int(std::lround(px.x() * twipsPerPixel()));
    G.formtop[slot] = int(std::lround(px.y() * twipsPerPixel()));
}

// The program's windows with what they need to load, in a scratch data directory.
struct RealWindows {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    RealWindows()
    {
        InitConstants();
        G.datapath = dir.path();
        buildFileDirs();
        registerBuiltWindows();
    }
    ~RealWindows()
    {
        if (HelpWindow *h = HelpWindow::existing())
            delete h;
        Windows::destroyAll();
    }
};

} // namespace

TEST(WindowPlaces, AWindowTheProgramPlacesLiesWhollyOnTheScreenBesideBelowOrOverThePanel)
{
    RealWindows real;
    ASSERT_EQ(QGuiApplication::screens().size(), 3);
    const QRect screens[] = {QGuiApplication::screens()[0]->availableGeometry(),
                             QGuiApplication::screens()[1]->availableGeometry(),
                             QGuiApplication::screens()[2]->availableGeometry()};
    ASSERT_EQ(screens[0].size(), QSize(1280, 1024));
    ASSERT_EQ(screens[1].size(), QSize(1920, 1080));
    ASSERT_EQ(screens[2].size(), QSize(1366, 768));
    enum Where { Right, Below, Above, Over };
    // The help window is 760 x 640, the tracking window 932 x 555; the AR7030
    // panel is 1248 pixels wide.
    const struct {
        int screen;
        QSize panel;
        std::optional<WindowId> tool; // none: the help window
        Where where;
        bool low = false; // the panel stands at the screen's foot
    } rows[] = {
        {0, {1248, 300}, std::nullopt, Below},
        {0, {1248, 500}, std::nullopt, Over},
        {0, {400, 300}, std::nullopt, Right},
        {0, {1248, 300}, WindowId::frmTracking, Below},
        {0, {1248, 600}, WindowId::frmTracking, Over},
        {0, {300, 200}, WindowId::frmTracking, Right},
        {1, {1000, 300}, std::nullopt, Right},
        {1, {1248, 500}, WindowId::frmTracking, Below},
        {1, {1248, 700}, std::nullopt, Over},
        {1, {1248, 900}, WindowId::frmTracking, Over},
        {2, {1248, 371}, WindowId::frmScratchpad, Above, true},
    };
    Windows::registerFactory(WindowId::frmAR7030, [] { return new Tool(tav::WindowId::frmAR7030); });
    for (const auto &row : rows) {
        SCOPED_TRACE(::testing::Message() << "screen " << row.screen << ", panel " << row.panel.width() << "x"
                                          << row.panel.height() << ", "
                                          << (row.tool ? windowName(*row.tool).toStdString() : "help"));
        TavForm *panel = Windows::get(WindowId::frmAR7030);
        panel->resize(row.panel);
        // Stored past the foot, the panel is moved up until it stands wholly on the screen.
        storeAt(panel->slot(), screens[row.screen].topLeft() + QPoint(0, row.low ? screens[row.screen].height() : 0));
        panel->showModeless();
        ASSERT_TRUE(tavtest::settled(panel));
        QWidget *w = nullptr;
        if (row.tool) {
            TavForm *tool = Windows::get(*row.tool);
            G.formleft[tool->slot()] = G.formtop[tool->slot()] = 0; // no stored place
            tool->showModeless();
            w = tool;
        } else {
            ASSERT_TRUE(openHelp(QStringLiteral("index.html")));
            w = HelpWindow::existing();
        }
        ASSERT_TRUE(tavtest::settled(w));
        const QRect p = frameOnScreen(panel), t = frameOnScreen(w);
        EXPECT_TRUE(screens[row.screen].contains(t)) << t.x() << "," << t.y() << " " << t.width() << "x" << t.height();
        switch (row.where) {
        case Right:
            EXPECT_EQ(t.topLeft(), QPoint(p.right() + 1, p.top()));
            break;
        case Below:
            EXPECT_EQ(t.topLeft(), QPoint(p.left(), p.bottom() + 1));
            break;
        case Above:
            EXPECT_EQ(t.topLeft(), QPoint(p.left(), p.top() - t.height()));
            break;
        case Over:
            EXPECT_TRUE(t.intersects(p));
            break;
        }
        if (row.tool)
            static_cast<TavForm *>(w)->unload();
        else
            delete w; // the help window finds its place once per run
        panel->unload();
    }
}

TEST(WindowPlaces, ToolWindowsClosedByTheirOwnButtonsOrTheCloseBoxReopenWhereTheyWereLeft)
{
    RealWindows real;
    const struct {
        WindowId id;
        const char *button; // the window's own way out
    } windows[] = {
        {WindowId::frmSetUp, "cmdClose"},      // sized by its layout
        {WindowId::frmTracking, "cmdExit"},    // sized by its code
        {WindowId::frmLog, "cmdExit"},         // asks whether to save
        {WindowId::frmMarkfreqs, "cmdExit"},
    };
    const QPoint stored(200, 300), moved(237, 323);
    for (const auto &win : windows)
        for (bool byButton : {true, false})
            for (bool restarts : {false, true}) {
                SCOPED_TRACE(::testing::Message() << windowName(win.id).toStdString()
                                                  << (byButton ? " by its button" : " by the close box")
                                                  << (restarts ? ", restarting" : ", reopening"));
                const int slot = windowDecl(win.id).slot;
                storeAt(slot, stored);
                QPoint expected = stored;
                for (int i = 0; i < 5; ++i) {
                    SCOPED_TRACE(i + 1);
                    if (restarts) {
                        // A new run: new window objects, the places through the file.
                        const QStringList lines = positionLines();
                        Windows::destroyAll();
                        registerBuiltWindows();
                        applyPositionLines(lines);
                    }
                    TavForm *w = Windows::get(win.id);
                    w->showModeless();
                    ASSERT_TRUE(tavtest::settled(w));
                    EXPECT_EQ(frameOnScreen(w).topLeft(), expected);
                    if (i == 1) {
                        // The user moves it: the window system moves the frame.
                        w->windowHandle()->setFramePosition(moved);
                        ASSERT_TRUE(tavtest::settled(w));
                        expected = moved;
                    }
                    if (byButton) {
                        real.dialogs.answer(vbNo); // should it ask to save: no
                        auto *b = w->findChild<QPushButton *>(QLatin1String(win.button));
                        ASSERT_NE(b, nullptr);
                        b->click();
                    } else {
                        w->close();
                    }
                    ASSERT_FALSE(w->isVisible());
                    EXPECT_EQ(pixels(G.formleft[slot], G.formtop[slot]), expected);
                    DialogScript::answers.clear();
                }
            }
}

#include "hub/frmWelcome.h"
#include "sim/ar7030.h"
#include "sim/pty.h"
#include "support/hubline.h"

TEST(WindowPlaces, WindowFramesAgainstTwoScreenSizes)
{
    // Every window the program places, frame included, at 1280 x 1024 and at
    // 1366 x 768: the welcome window, the AR7030 panel and every tool from a
    // stored place past the screen's left or bottom edge; the tools with none
    // stored beside the panel, those opened together each on its own place,
    // and Last 20 Freqs (loaded hidden with the panel) off it where there is room.
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 3);
    int checked = 0;
    for (QScreen *sc : {screens[0], screens[2]}) {
        const QRect area = sc->availableGeometry();
        SCOPED_TRACE(::testing::Message() << area.width() << "x" << area.height());
        const std::optional<QPoint> places[] = {std::nullopt, area.topLeft() + QPoint(-300, 10),
                                                area.topLeft() + QPoint(10, area.height() - 40)};
        auto store = [](int slot, std::optional<QPoint> at) {
            at ? storeAt(slot, *at) : void(G.formleft[slot] = G.formtop[slot] = 0);
        };
        auto onScreen = [&](TavForm *w) {
            EXPECT_TRUE(tavtest::settled(w));
            const QRect f = frameOnScreen(w);
            EXPECT_TRUE(area.contains(f)) << w->objectName().toStdString() << " " << f.x() << "," << f.y() << " "
                                          << f.width() << "x" << f.height();
            ++checked;
            return f;
        };
        tavtest::ScratchDir dir;
        tavtest::ScriptedDialogs dialogs;
        sim::AR7030Emulator emu;
        sim::PtyHarness pty(emu);
        ASSERT_TRUE(pty.ok());
        tavtest::openHub(dir, pty, 1);
        for (int k = 1; k <= 31; ++k)
            G.setupdata[size_t(k)] = setupDefault(k);
        frmWelcome *welcome = frmWelcome::instance();
        for (int i : {1, 2}) {
            store(welcome->slot(), places[i]);
            welcome->placeAgain();
            welcome->show();
            onScreen(welcome);
            welcome->hide();
        }
        store(windowDecl(WindowId::frmAR7030).slot, places[1]);
        store(windowDecl(WindowId::frmLast20).slot, std::nullopt);
        TavForm *panel = tavtest::go<TavForm>(WindowId::frmAR7030);
        ASSERT_TRUE(panel && panel->isVisible());
        const QRect panelFrame = onScreen(panel);
        panel->findChild<QAction *>(QStringLiteral("mnuLast20"))->trigger();
        TavForm *last20 = Windows::existing(WindowId::frmLast20);
        ASSERT_TRUE(last20->isVisible());
        const QRect l20 = onScreen(last20);
        const QWidget *keypad = panel->findChild<QWidget *>(QStringLiteral("cmd0to9(0)"))->parentWidget();
        EXPECT_FALSE(l20.intersects(area.height() >= panelFrame.height() + l20.height()
                                        ? panelFrame
                                        : QRect(keypad->mapToGlobal(QPoint()), keypad->size())));
        QList<QPoint> together;
        for (const std::optional<QPoint> &at : places)
            for (const WindowDecl &d : windowDecls) {
                TavForm *w = d.role == WindowRole::Tool ? Windows::get(d.id) : nullptr;
                if (!w || (w->isVisible() && !at))
                    continue;
                store(d.slot, at);
                w->showModeless();
                if (!w->isVisible())
                    continue; // a tool that does not open for this receiver
                const QPoint corner = onScreen(w).topLeft();
                if (!at && together.size() < 6) {
                    EXPECT_FALSE(together.contains(corner)) << d.name; // opened together, none stored
                    together << corner;
                    continue;
                }
                dialogs.answer(vbNo); // should it ask to save: no
                w->unload();
                DialogScript::answers.clear();
            }
        UnloadTools();
        tavtest::closeHub(WindowId::frmAR7030);
    }
    EXPECT_GT(checked, 150);
}

TEST(KeyMap, LettersFollowTheLayoutDigitsTheKeysPlace)
{
    auto code = [](int key, Qt::KeyboardModifiers mods, quint32 scan, const QString &text) {
        QKeyEvent ev(QEvent::KeyPress, key, mods, scan, 0, 0, text);
        return frmPanel::physicalKeyCode(&ev);
    };
    // French AZERTY: the key in the US "Q" place types A.
    EXPECT_EQ(code(Qt::Key_A, Qt::ShiftModifier, 24, "A"), int('A'));
    EXPECT_EQ(code(Qt::Key_Q, Qt::ShiftModifier, 38, "Q"), int('Q'));
    EXPECT_EQ(code(Qt::Key_W, Qt::ControlModifier, 52, ""), int('W'));
    // A Cyrillic layout has no Latin letter: the key's place counts.
    EXPECT_EQ(code(0x0444, Qt::ShiftModifier, 38, QStringLiteral("\u0424")), int('A'));
    // Digits by place: Shift+1 on AZERTY types "1", unshifted "&".
    EXPECT_EQ(code(Qt::Key_Ampersand, Qt::NoModifier, 10, "&"), int('1'));
    EXPECT_EQ(code(Qt::Key_1, Qt::ShiftModifier, 10, "1"), int('1'));
    EXPECT_EQ(code(Qt::Key_Equal, Qt::NoModifier, 21, "="), frmPanel::KeyEqual);
}
