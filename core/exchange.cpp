#include "core/exchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QThread>
#include <memory>
#include <vector>

namespace tav {

namespace {

int depth = 0;

struct Pending {
    QPointer<QObject> context;
    std::function<void()> fn;
};
std::vector<Pending> pendingAfter;

bool isUserInput(QEvent::Type t)
{
    switch (t) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Holds user input back during an exchange and hands it on afterwards, in order.
class InputHold : public QObject {
public:
    struct Held {
        QPointer<QObject> target;
        std::unique_ptr<QEvent> event;
    };
    std::vector<Held> held;
    bool replaying = false;

    bool eventFilter(QObject *obj, QEvent *ev) override
    {
        if (depth > 0 && !replaying && isUserInput(ev->type()) && obj->isWidgetType()) {
            if (ev->type() == QEvent::ShortcutOverride)
                return false;
            held.push_back({obj, std::unique_ptr<QEvent>(ev->clone())});
            return true;
        }
        return false;
    }

    void replay()
    {
        auto items = std::move(held);
        held.clear();
        for (auto &h : items)
            if (h.target)
                QCoreApplication::postEvent(h.target, h.event.release());
    }
};

InputHold *hold()
{
    static InputHold *h = nullptr;
    if (!h && QCoreApplication::instance()) {
        h = new InputHold;
        QCoreApplication::instance()->installEventFilter(h);
    }
    return h;
}

} // namespace

Exchange::Exchange()
{
    hold();
    ++depth;
}

Exchange::~Exchange()
{
    if (--depth > 0)
        return;
    if (auto *h = hold())
        h->replay();
    auto todo = std::move(pendingAfter);
    pendingAfter.clear();
    for (auto &p : todo)
        if (p.context)
            QMetaObject::invokeMethod(p.context, p.fn, Qt::QueuedConnection);
}

bool Exchange::active() { return depth > 0; }

void Exchange::whenDone(QObject *context, std::function<void()> fn)
{
    if (depth == 0) {
        QMetaObject::invokeMethod(context, fn, Qt::QueuedConnection);
        return;
    }
    pendingAfter.push_back({context, std::move(fn)});
}

bool waitUntil(const std::function<bool()> &ready, int ms)
{
    QElapsedTimer t;
    t.start();
    while (true) {
        if (ready())
            return true;
        if (t.elapsed() >= ms)
            return ready();
        // Input is held back by the exchange; timers and port events still run.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
}

} // namespace tav
