#pragma once
// The one guard of a timer tick against running inside another tick. A reply
// wait or a message box runs the event loop, so a window's timer can fire
// while its own tick is still under way; that tick finds the guard taken and
// does nothing. A tick may also stay out of every receiver exchange, or come
// back once the running exchange has ended.
//
//     void frmX::tmrX_Timer()
//     {
//         const TickGuard tick(this, m_ticking);
//         if (!tick)
//             return;
//         ...
//     }

#include <QObject>
#include <QPointer>
#include <functional>

namespace tav {

class LineRun;

class TickGuard {
public:
    enum Exchanges {
        RunInside,  // another window's exchange does not matter
        SkipInside, // a tick that falls inside any exchange skips its turn
    };

    // `busy` is the window's flag; `owner` the window, so that a tick during
    // which the window was destroyed leaves the flag alone.
    TickGuard(QObject *owner, bool &busy, Exchanges exchanges = RunInside);
    // A tick that falls inside an exchange comes again, once, when that
    // exchange has ended (`waiting` keeps it to once).
    TickGuard(QObject *owner, bool &busy, bool &waiting, std::function<void()> again);
    // The tick of a run on the line: on a lost line it does not run, and the
    // run ends (the panel tells the loss; a tick may come before that).
    TickGuard(QObject *owner, bool &busy, LineRun &run, Exchanges exchanges = RunInside);
    ~TickGuard();
    TickGuard(const TickGuard &) = delete;
    TickGuard &operator=(const TickGuard &) = delete;

    // Whether this tick runs.
    explicit operator bool() const { return m_entered; }

private:
    void enter(bool &busy);

    QPointer<QObject> m_owner;
    bool *m_busy = nullptr;
    bool m_entered = false;
};

} // namespace tav
