// Wheel notches reach the panel one per 120 units, whatever the device sends.
#include "core/mousewheel.h"

#include <QApplication>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
void wheel(QWidget *w, int dy)
{
    QWheelEvent ev(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &ev);
}
} // namespace

TEST(MouseWheel, OneEventPerNotchAndTouchpadDeltasAccumulate)
{
    QWidget panel;
    tav::WheelNotches *hook = tav::Mousewheelinit(&panel);
    QList<int> notches;
    QObject::connect(hook, &tav::WheelNotches::wheelNotch, [&](int d) { notches << d; });

    wheel(&panel, 120);
    wheel(&panel, -120);
    EXPECT_EQ(notches, (QList<int>{120, -120}));

    notches.clear();
    for (int i = 0; i < 7; ++i) // a touchpad swipe of 7 x 40 = 2 notches and a remainder
        wheel(&panel, 40);
    EXPECT_EQ(notches, (QList<int>{120, 120}));

    notches.clear();
    wheel(&panel, -40); // turning back drops the partial notch instead of netting it out
    wheel(&panel, -80);
    EXPECT_EQ(notches, (QList<int>{-120}));

    notches.clear();
    wheel(&panel, 360); // a fast flick of three notches at once
    EXPECT_EQ(notches.size(), 3);
}
