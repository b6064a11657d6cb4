// Every receiver panel against its emulator: the bars with their larger
// value at the top step towards it, a panel opened again in the same run
// looks as designed, and a load that fails at the port writes no state.
#include "hub/app.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/settings.h"
#include "panels/frmPanel.h"
#include "panels/jrc/frmAdvancedDSP.h"
#include "sim/ar7030.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/hubline.h"
#include "support/testenv.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace tav;

namespace {

WindowId panelOf(int rxtype) { return *panelWindow(rxtype); }

// Presses one part of a scroll bar where the style draws it.
// The style's option is filled from the bar's public state, as the bar
// itself fills it, so no cast into the bar's protected side is needed.
struct BarHit {
    static QPoint at(QScrollBar *bar, QStyle::SubControl part)
    {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.subControls = QStyle::SC_All;
        opt.activeSubControls = QStyle::SC_None;
        opt.orientation = bar->orientation();
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        opt.upsideDown = bar->invertedAppearance();
        if (bar->orientation() == Qt::Horizontal)
            opt.state |= QStyle::State_Horizontal;
        return bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, part, bar).center();
    }
};

struct Panels : ::testing::TestWithParam<int> {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    std::unique_ptr<sim::Emulator> emu;
    std::unique_ptr<sim::PtyHarness> pty;

    void SetUp() override
    {
        const int type = GetParam();
        if (type == 1) {
            auto e = std::make_unique<sim::AR7030Emulator>();
            e->dial(7100000);
            emu = std::move(e);
        } else if (type == 2) {
            auto e = std::make_unique<sim::Nrd535Emulator>();
            e->cur.hz = 9650000, e->cur.mode = 2, e->cur.bw = 1;
            emu = std::move(e);
        } else if (type == 3) {
            emu = std::make_unique<sim::Rx320Emulator>();
        } else {
            auto e = std::make_unique<sim::Nrd545Emulator>();
            e->cur.hz = 9650000, e->cur.mode = 2, e->cur.bw = 1, e->volume = 100;
            emu = std::move(e);
        }
        pty = std::make_unique<sim::PtyHarness>(*emu);
        ASSERT_TRUE(pty->ok());
        tavtest::openHub(dir, *pty, type, true);
        for (int k = 1; k <= 31; ++k)
            G.setupdata[size_t(k)] = setupDefault(k);
        G.setupdata[28] = 40, G.setupdata[29] = 60, G.setupdata[31] = 30;
    }
    void TearDown() override
    {
        tavtest::closeHub(panelOf(GetParam()), true);
    }
    frmPanel *go()
    {
        frmWelcome::instance()->imgGo_Click();
        auto *p = Windows::existing<frmPanel>(panelOf(GetParam()));
        tavtest::pump(60);
        return p && p->isLoadedForm() ? p : nullptr;
    }
    // What a user sees of every named control and menu entry.
    static QStringList look(QWidget *w)
    {
        QStringList out;
        for (QObject *o : w->findChildren<QObject *>()) {
            if (o->objectName().isEmpty() || o->objectName() == QLatin1String("txtFrequencyA"))
                continue;
            QString line = o->objectName();
            if (auto *a = qobject_cast<QAction *>(o)) {
                line += QStringLiteral(" %1 %2 %3").arg(a->isEnabled()).arg(a->isVisible()).arg(a->text());
            } else if (auto *c = qobject_cast<QWidget *>(o)) {
                line += QStringLiteral(" %1 %2").arg(c->isEnabled()).arg(c->isHidden());
                if (auto *l = qobject_cast<QLabel *>(c))
                    line += QLatin1Char(' ') + l->text();
                else if (auto *b = qobject_cast<QAbstractButton *>(c))
                    line += QLatin1Char(' ') + b->text() + QString::number(b->isChecked());
                if (c->autoFillBackground())
                    line += QLatin1Char(' ') + c->palette().color(QPalette::Window).name();
            } else {
                continue;
            }
            out << line;
        }
        out.sort();
        return out;
    }
    void setEmulatorMode(int jrcMode)
    {
        if (auto *e = dynamic_cast<sim::JrcEmulator *>(emu.get()))
            e->cur.mode = jrcMode;
    }
};

std::string instantiationName(const ::testing::TestParamInfo<int> &info)
{
    static const char *n[] = {"NoRx", "AR7030", "NRD535", "RX320", "NRD545"};
    return n[info.param];
}

} // namespace

TEST_P(Panels, UpperArrowOfAVolumeBarRaisesItAndReachesTheReceiver)
{
    frmPanel *p = go();
    ASSERT_NE(p, nullptr);
    const char *barName = GetParam() == 2 ? "vsbPassbandshift" : "vsbVolume";
    auto *bar = p->findChild<VScroll *>(QLatin1String(barName));
    ASSERT_NE(bar, nullptr);
    if (GetParam() == 2 || GetParam() == 4) {
        // The JRC panels' bars work while the panel holds the receiver.
        auto *lock = p->findChild<QAbstractButton *>(QStringLiteral("cmdLock(1)"));
        ASSERT_NE(lock, nullptr);
        lock->click();
        tavtest::pump(100);
    }
    ASSERT_TRUE(bar->isEnabled());
    ASSERT_GT(bar->topValue(), bar->bottomValue());
    bar->setValue(bar->bottomValue() + 3 * bar->singleStep());
    tavtest::pump(60);
    pty->clearReceived();
    const int before = bar->value();

    QTest::mouseClick(bar, Qt::LeftButton, {}, BarHit::at(bar, QStyle::SC_ScrollBarSubLine));
    EXPECT_EQ(bar->value(), before + bar->singleStep());
    tavtest::pump(60);
    EXPECT_FALSE(pty->received().isEmpty());
    if (GetParam() == 1) {
        EXPECT_GT(static_cast<sim::AR7030Emulator *>(emu.get())->applied().volume, 0);
    }
    if (GetParam() == 4) {
        EXPECT_EQ(static_cast<sim::Nrd545Emulator *>(emu.get())->volume, bar->value());
    }

    // The page area above the thumb, and the wheel away from the user, go up too.
    const int mid = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, BarHit::at(bar, QStyle::SC_ScrollBarSubPage));
    EXPECT_GT(bar->value(), mid);
    const int paged = bar->value();
    QWheelEvent up(QPointF(bar->width() / 2.0, bar->height() / 2.0), bar->mapToGlobal(QPointF(2, 2)), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &up);
    EXPECT_GT(bar->value(), paged);
    // The lower arrow comes back down.
    const int high = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, BarHit::at(bar, QStyle::SC_ScrollBarAddLine));
    EXPECT_EQ(bar->value(), high - bar->singleStep());
}

TEST_P(Panels, SecondGoLooksAsTheFirst)
{
    frmPanel *p = go();
    ASSERT_NE(p, nullptr);
    const QStringList first = look(p);

    // What the last use may leave behind: the line bars switched off from the
    // menu (the user turns them on again in Set-up), the JRC receivers in NFM.
    for (const char *entry : {"mnuDisableLL", "mnuDisableLine"})
        if (auto *a = p->findChild<QAction *>(QLatin1String(entry)))
            a->trigger();
    p->unload();
    setEmulatorMode(5);
    ASSERT_NE(go(), nullptr);
    p->unload();

    G.setupdata[22] = 0;
    G.setupdata[30] = 0;
    setEmulatorMode(2);
    if (GetParam() == 1)
        static_cast<sim::AR7030Emulator *>(emu.get())->dial(7100000);
    ASSERT_EQ(go(), p);
    const QStringList again = look(p);
    QStringList differ;
    for (const QString &l : first)
        if (!again.contains(l))
            differ << QStringLiteral("first: ") + l;
    for (const QString &l : again)
        if (!first.contains(l))
            differ << QStringLiteral("again: ") + l;
    EXPECT_EQ(differ, QStringList());
}

INSTANTIATE_TEST_SUITE_P(EveryModel, Panels, ::testing::Values(1, 2, 3, 4), instantiationName);

TEST(Rx320StateFile, KeptWhenThePortCannotBeOpened)
{
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    registerBuiltWindows();
    frmWelcome::instance()->load();
    G.datapath = dir.path();
    dir.write(QStringLiteral("comports.ini"), dir.file(QStringLiteral("no-such-device")).toLatin1() + "\r\n");
    const QByteArray state = " 2\r\n 1\r\n 40\r\n 30\r\n 1\r\n 0\r\n 0\r\n 7100\r\n";
    dir.write(QStringLiteral("rx320settings.ini"), state);
    G.rxtype = 3;
    G.setupdata[1] = 1;
    DialogScript::shown.clear();
    frmWelcome::instance()->imgGo_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmRX320));
    ASSERT_EQ(DialogScript::shown.size(), 1); // the port's message, nothing about the state
    EXPECT_TRUE(DialogScript::shown[0].text.contains(QStringLiteral("COM 1")));
    EXPECT_EQ(dir.read(QStringLiteral("rx320settings.ini")), state);
    frmWelcome::destroy();
    Windows::destroyAll();
}

TEST_P(Panels, UpperArrowOfTheDspBeatCancellerBarRaisesIt)
{
    if (GetParam() != 4)
        GTEST_SKIP() << "the DSP dialog is the NRD-545's";
    ASSERT_NE(go(), nullptr);
    auto *d = Windows::get<frmAdvancedDSP>();
    ASSERT_NE(d, nullptr);
    d->showModeless();
    tavtest::pump(60);
    d->cmdNrbc[2]->click(); // BC on: its bar works
    ASSERT_TRUE(d->vsbBC->isEnabled());
    ASSERT_GT(d->vsbBC->topValue(), d->vsbBC->bottomValue());
    d->vsbBC->setValue(40);
    tavtest::pump(60);
    QTest::mouseClick(d->vsbBC, Qt::LeftButton, {}, BarHit::at(d->vsbBC, QStyle::SC_ScrollBarSubLine));
    EXPECT_EQ(d->vsbBC->value(), 40 + d->vsbBC->singleStep());
    auto *e = static_cast<sim::Nrd545Emulator *>(emu.get());
    EXPECT_TRUE(tavtest::waitFor([&] { return e->bcLevel == d->vsbBC->value(); })) << e->bcLevel;
    DialogScript::answers << vbNo;
    d->unload();
}
