#include "core/delay.h"

#include "core/globals.h"

#include <QEventLoop>
#include <QTimer>

namespace tav {

namespace {
int waiting = 0;
long long begun = 0;
}

long long delaysBegun() { return begun; }

void Delay(int ms)
{
    if (ms <= 0)
        return;
    ++waiting;
    ++begun;
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
