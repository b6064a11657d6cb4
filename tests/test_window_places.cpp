// Window places: the same frame geometry stored and restored, start after
// start, and a window with no stored place (or one off every screen) opening
// with its title bar on a screen.
#include "core/form.h"
#include "core/globals.h"
#include "core/settings.h"
#include "support/testenv.h"

#include <QGuiApplication>
#include <cmath>
#include <QScreen>
#include <gtest/gtest.h>

using namespace tav;

namespace {

class Tool : public TavForm {
public:
    explicit Tool(tav::WindowId id) : TavForm(id) {}
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
    f->move(301, 257);
    tavtest::pump(20);
    const QRect placed = f->frameGeometry();
    for (int i = 0; i < 10; ++i) {
        f->unload();
        // What a restart does to the stored place: through the file and back.
        const QStringList lines = positionLines();
        resetProgramState();
        applyPositionLines(lines);
        f->showModeless();
        tavtest::pump(20);
        ASSERT_EQ(f->frameGeometry(), placed) << "start " << i + 1;
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
        tavtest::pump(20);
        EXPECT_TRUE(titleBarOnAScreen(f->frameGeometry())) << left << "," << top;
        f->unload();
    }
    // A place on the screen is kept as it is.
    G.formleft[44] = 1500;
    G.formtop[44] = 1500;
    f->showModeless();
    EXPECT_EQ(f->leftTwips(), 1500);
    EXPECT_EQ(f->topTwips(), 1500);
    f->unload();
    Windows::destroyAll();
}

#include "panels/frmPanel.h"
#include <QKeyEvent>

TEST(WindowPlaces, AToolWithoutAStoredPlaceOpensBesideTheOpenPanelAndAStoredPlaceWins)
{
    Windows::registerFactory(WindowId::frmAR7030, [] { return new Tool(tav::WindowId::frmAR7030); });
    Windows::registerFactory(WindowId::frmBdxc, [] { return new Tool(tav::WindowId::frmBdxc); });
    TavForm *panel = Windows::get(WindowId::frmAR7030);
    panel->resize(500, 300);
    panel->showModeless();
    panel->move(0, 0);
    tavtest::pump(20);
    const int slot = windowDecl(WindowId::frmBdxc).slot;
    ASSERT_GT(slot, 0);
    G.formleft[slot] = 0;
    G.formtop[slot] = 0;
    TavForm *tool = Windows::get(WindowId::frmBdxc);
    tool->resize(250, 150);
    tool->showModeless();
    tavtest::pump(20);
    EXPECT_FALSE(tool->frameGeometry().intersects(panel->frameGeometry()))
        << tool->frameGeometry().x() << "," << tool->frameGeometry().y();
    EXPECT_TRUE(titleBarOnAScreen(tool->frameGeometry()));
    tool->unload();

    // A stored place wins, even over the panel.
    G.formleft[slot] = int(std::lround(40 * twipsPerPixel()));
    G.formtop[slot] = int(std::lround(30 * twipsPerPixel()));
    tool->showModeless();
    tavtest::waitFor([&] { return tool->frameGeometry().topLeft() == QPoint(40, 30); }, 2000);
    EXPECT_EQ(tool->frameGeometry().topLeft(), QPoint(40, 30));
    tool->unload();
    panel->unload();
    Windows::destroyAll();
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
