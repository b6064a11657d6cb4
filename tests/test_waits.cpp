// Delay, nested waits, windows closed during a wait, and UnloadTools' order.
#include "core/delay.h"
#include "core/exchange.h"
#include "core/form.h"
#include "core/globals.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tav;

TEST(Delay, WaitsItsTimeAndZeroReturnsAtOnce)
{
    QElapsedTimer t;
    t.start();
    Delay(100);
    EXPECT_GE(t.elapsed(), 95);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_FALSE(G.delayflag);

    const long long begun = delaysBegun();
    Delay(0);
    Delay(-5);
    EXPECT_EQ(delaysBegun(), begun) << "no wait began";
}

TEST(Delay, NestedWaitDoesNotCutTheOuterShort)
{
    QElapsedTimer t;
    t.start();
    qint64 innerDone = -1;
    QTimer::singleShot(10, [&] {
        Delay(20); // a handler that runs during the outer wait
        innerDone = t.elapsed();
    });
    Delay(150);
    const qint64 outer = t.elapsed();
    EXPECT_GE(innerDone, 25);
    EXPECT_GE(outer, 145) << "the outer wait keeps its own deadline";
    EXPECT_LT(outer, 3000);
}

TEST(Delay, UserInputHeldDuringAnExchangeIsReplayedAfterwards)
{
    QWidget w;
    w.show();
    int keys = 0;
    struct Counter : QObject {
        int *n;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress)
                ++*n;
            return false;
        }
    } counter;
    counter.n = &keys;
    w.installEventFilter(&counter);
    {
        Exchange ex;
        QKeyEvent *k = new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
        QCoreApplication::postEvent(&w, k);
        Delay(30);
        EXPECT_EQ(keys, 0) << "held back while the exchange runs";
    }
    EXPECT_TRUE(tavtest::waitFor([&] { return keys == 1; }));
}

namespace {

QList<WindowId> unloadLog;

class ToolWindow : public TavForm {
public:
    explicit ToolWindow(WindowId id) : TavForm(id), m_id(id) {}
protected:
    void Form_Unload() override { unloadLog << m_id; }
private:
    WindowId m_id;
};

} // namespace

TEST(UnloadTools, WalksItsOrderOverTheWindowsThatExist)
{
    unloadLog.clear();
    for (WindowId id : {WindowId::frmMemman, WindowId::frmProp2prt2, WindowId::frmLog, WindowId::frmSetUp})
        Windows::registerFactory(id, [id] { return new ToolWindow(id); });
    Windows::get(WindowId::frmMemman)->load();
    Windows::get(WindowId::frmLog)->load();
    Windows::get(WindowId::frmProp2prt2)->load();
    EXPECT_TRUE(Windows::loaded(WindowId::frmMemman));
    EXPECT_TRUE(Windows::loaded(WindowId::frmLog));
    UnloadTools();
    EXPECT_EQ(unloadLog, (QList<WindowId>{WindowId::frmLog, WindowId::frmMemman, WindowId::frmProp2prt2}));
    EXPECT_FALSE(Windows::loaded(WindowId::frmMemman));
    EXPECT_FALSE(Windows::loaded(WindowId::frmProp2prt2));
    EXPECT_FALSE(Windows::loaded(WindowId::frmSetUp));
    EXPECT_EQ(unloadToolsOrder().size(), 38);
    Windows::destroyAll();
}

TEST(UnloadTools, WindowClosedDuringItsWaitIsTornDownAfterward)
{
    unloadLog.clear();
    Windows::registerFactory(WindowId::frmSmeter, [] { return new ToolWindow(tav::WindowId::frmSmeter); });
    TavForm *f = Windows::get(WindowId::frmSmeter);
    f->showModeless();
    {
        TavForm::Busy busy(f);
        f->close();
        EXPECT_TRUE(unloadLog.isEmpty()) << "not while its wait runs";
        EXPECT_TRUE(Windows::loaded(WindowId::frmSmeter));
    }
    EXPECT_EQ(unloadLog, QList<WindowId>{WindowId::frmSmeter});
    EXPECT_FALSE(Windows::loaded(WindowId::frmSmeter));
    Windows::destroyAll();
}

TEST(WindowPositions, RestoredAtLoadAndStoredByTheRuleAtUnload)
{
    Windows::registerFactory(WindowId::frmMarkfreqs, [] { return new ToolWindow(tav::WindowId::frmMarkfreqs); });
    G.formleft[44] = 3000;
    G.formtop[44] = 1500;
    TavForm *f = Windows::get(WindowId::frmMarkfreqs);
    f->resize(200, 100);
    f->showModeless();
    ASSERT_TRUE(tavtest::settled(f));
    EXPECT_EQ(f->leftTwips(), 3000);
    EXPECT_EQ(f->topTwips(), 1500);
    f->move(-500, -20); // dragged off the top left
    ASSERT_TRUE(tavtest::settled(f));
    f->unload();
    EXPECT_EQ(G.formtop[44], 0);
    EXPECT_EQ(G.formleft[44], std::max(f->leftTwips(), 1500 - f->widthTwips()));
    Windows::destroyAll();
}
