#include "core/delay.h"

#include "core/globals.h"

#include <QEventLoop>
#include <QTimer>

namespace tav {

namespace {
int waiting = 0;
}

void Delay(int ms)
{
    if (ms <= 0)
        return;
    ++waiting;
    G.delayflag = true;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
    if (--waiting == 0)
        G.delayflag = false;
}

} // namespace tav
