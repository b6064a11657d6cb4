#include "core/exchange.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QAction>
#include <QPointer>
#include <QShortcut>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <sys/timerfd.h>
#include <unistd.h>
#include <algorithm>
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

// The control an input event works: a widget, or the shortcut or action a
// key press became (a Return bound to a dialog's OK reaches its QShortcut).
bool isControl(QObject *obj)
{
    return obj->isWidgetType() || qobject_cast<QShortcut *>(obj) || qobject_cast<QAction *>(obj);
}

// The top-level window a control belongs to (nullptr for an action).
QObject *windowOf(QObject *obj)
{
    if (obj->isWidgetType())
        return static_cast<QWidget *>(obj)->window();
    if (auto *s = qobject_cast<QShortcut *>(obj))
        if (auto *w = qobject_cast<QWidget *>(s->parent()))
            return w->window();
    return nullptr;
}

// What may start work anew; a release ends what its press began.
bool startsWork(QEvent::Type t)
{
    return t == QEvent::KeyPress || t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick
        || t == QEvent::Wheel || t == QEvent::Shortcut;
}

int loopLevel() { return QThread::currentThread()->loopLevel(); }

// Holds user input back during an exchange and hands it on afterwards, in
// order; keeps a control whose work is still under way from starting it again.
class InputHold : public QObject {
public:
    struct Held {
        QPointer<QObject> target;
        std::unique_ptr<QEvent> event;
    };
    std::vector<Held> held;
    // Windows raised during an exchange that take their input at once.
    std::vector<QPointer<QObject>> open;
    // Controls whose press is being handled. The marker is deleted later,
    // which Qt does only once control is back in the loop that dispatched the
    // press: while it lives, a wait inside the handler is running.
    struct Working {
        QPointer<QObject> control;
        QPointer<QObject> window;
        QPointer<QObject> marker;
        int level;
        bool byKey;
    };
    std::vector<Working> working;

    bool takesInput(QObject *obj) const
    {
        QObject *w = windowOf(obj);
        return w && std::any_of(open.begin(), open.end(), [w](const QPointer<QObject> &o) { return o == w; });
    }

    static bool isKey(QEvent::Type t)
    {
        return t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::Shortcut;
    }

    // A second press of a control whose first is still being handled, come
    // through a wait in that handler (held back and replayed, or let through
    // between two exchanges), would run the handler inside itself. A key
    // works on its window (a default button, a shortcut pressing a button),
    // so a key and a click in the window where either is at work count as
    // pressing the same control again.
    bool stillWorking(QObject *obj, QEvent::Type t)
    {
        std::erase_if(working, [](const Working &k) { return !k.marker || !k.control; });
        const int level = loopLevel();
        QObject *window = windowOf(obj);
        return std::any_of(working.begin(), working.end(), [&](const Working &k) {
            return level > k.level
                && (k.control == obj || (window && k.window == window && (k.byKey || isKey(t))));
        });
    }

    void startWork(QObject *obj, QEvent::Type t)
    {
        auto *marker = new QObject;
        marker->deleteLater();
        working.push_back({obj, windowOf(obj), marker, loopLevel(), isKey(t)});
    }

    bool eventFilter(QObject *obj, QEvent *ev) override
    {
        const QEvent::Type t = ev->type();
        if (!isUserInput(t) || t == QEvent::ShortcutOverride || !isControl(obj))
            return false;
        if (depth > 0 && !takesInput(obj)) {
            held.push_back({obj, std::unique_ptr<QEvent>(ev->clone())});
            // A close event comes accepted: taken as it is, the window system
            // would put the window away at once, and the close asked for
            // afterwards (with its question, and a Cancel) would leave it
            // loaded but out of sight. It is refused now and asked for again.
            if (t == QEvent::Close)
                ev->ignore();
            return true;
        }
        // A release is never dropped (its press was taken), but a button's
        // work runs on it, so it marks the control as a press does.
        if (startsWork(t)) {
            if (stillWorking(obj, t))
                return true;
        } else if (t != QEvent::MouseButtonRelease && t != QEvent::KeyRelease) {
            return false;
        }
        startWork(obj, t);
        return false;
    }

    void replay()
    {
        auto items = std::move(held);
        held.clear();
        for (auto &h : items) {
            if (!h.target)
                continue;
            // A held close is asked for the way the window system asks it,
            // so the window goes only when its close is granted.
            if (h.event->type() == QEvent::Close && h.target->isWidgetType()) {
                QWidget *w = static_cast<QWidget *>(h.target.data());
                QMetaObject::invokeMethod(w, [w] { w->close(); }, Qt::QueuedConnection);
                continue;
            }
            QCoreApplication::postEvent(h.target, h.event.release());
        }
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

Exchange::InputOpening::InputOpening(QObject *window) : m_window(window)
{
    if (InputHold *h = hold())
        h->open.push_back(window);
}

Exchange::InputOpening::~InputOpening()
{
    if (InputHold *h = hold())
        std::erase_if(h->open, [this](const QPointer<QObject> &o) { return o.isNull() || o == m_window; });
}

void Exchange::whenDone(QObject *context, std::function<void()> fn)
{
    if (depth == 0) {
        QMetaObject::invokeMethod(context, fn, Qt::QueuedConnection);
        return;
    }
    pendingAfter.push_back({context, std::move(fn)});
}

namespace {
std::vector<QEventLoop *> waiters;
WaitCounts counts;

// One nested event loop until `ms` pass or a waker ends it. Input is held back
// by the exchange; timers and port events still run.
void sleepFor(qint64 ns)
{
    QEventLoop loop;
    // A timer file rather than QTimer: its resolution is the microsecond, so
    // a write at 4800 baud is not stretched to the next millisecond.
    const int fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    std::unique_ptr<QSocketNotifier> ring;
    QTimer coarse;
    if (fd >= 0) {
        itimerspec spec{};
        spec.it_value.tv_sec = time_t(ns / 1000000000);
        spec.it_value.tv_nsec = long(ns % 1000000000);
        if (spec.it_value.tv_sec == 0 && spec.it_value.tv_nsec == 0)
            spec.it_value.tv_nsec = 1;
        ::timerfd_settime(fd, 0, &spec, nullptr);
        ring = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(ring.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
    } else {
        coarse.setSingleShot(true);
        coarse.setTimerType(Qt::PreciseTimer);
        QObject::connect(&coarse, &QTimer::timeout, &loop, &QEventLoop::quit);
        coarse.start(int((ns + 999999) / 1000000));
    }
    waiters.push_back(&loop);
    loop.exec();
    waiters.erase(std::find(waiters.begin(), waiters.end(), &loop));
    ++counts.wakeups;
    ring.reset();
    if (fd >= 0)
        ::close(fd);
}
} // namespace

void wakeWaiters()
{
    for (QEventLoop *l : waiters)
        l->quit();
}

WaitCounts waitCounts() { return counts; }

bool waitUntil(const std::function<bool()> &ready, int ms)
{
    QElapsedTimer t;
    t.start();
    const qint64 boundNs = qint64(ms) * 1000000;
    bool slept = false;
    while (true) {
        if (ready())
            return true;
        const qint64 left = boundNs - t.nsecsElapsed();
        if (left <= 0) {
            const bool late = ready();
            if (!late)
                ++counts.runOut;
            return late;
        }
        if (!slept)
            ++counts.slept;
        slept = true;
        sleepFor(left);
    }
}

void sleepUntilNs(const QElapsedTimer &clock, qint64 ns)
{
    bool slept = false;
    while (true) {
        const qint64 left = ns - clock.nsecsElapsed();
        if (left <= 0)
            return;
        if (!slept)
            ++counts.slept;
        slept = true;
        sleepFor(left);
    }
}

} // namespace tav
