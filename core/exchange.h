#pragma once
// A receiver exchange (everything one driver operation sends and waits for)
// is atomic: while one runs, user input is held back and replayed afterwards,
// the port's receive event hands nothing to dial following or RTTY reading,
// and timer ticks that would start another exchange skip their turn.
// A control pressed again while the handling of its first press still waits
// (on the receiver, a pause or a box) does nothing: the press is dropped
// whether it was held back and replayed or let through between exchanges.

#include <QElapsedTimer>
#include <QObject>
#include <functional>

namespace tav {

class Exchange {
public:
    Exchange();
    ~Exchange();
    Exchange(const Exchange &) = delete;
    Exchange &operator=(const Exchange &) = delete;

    // True while any exchange runs.
    static bool active();
    // Runs `fn` once the running exchange has ended (at once when none runs).
    // Dropped when `context` is destroyed first.
    static void whenDone(QObject *context, std::function<void()> fn);

    // A window raised while an exchange may be running (a message box a tick
    // shows from inside another tool's reply wait) takes its input at once:
    // held back, it could be answered only after the exchange beneath it,
    // which cannot end before it is answered.
    class InputOpening {
    public:
        explicit InputOpening(QObject *window);
        ~InputOpening();
        InputOpening(const InputOpening &) = delete;
        InputOpening &operator=(const InputOpening &) = delete;

    private:
        QObject *m_window;
    };
};

// Waits up to `ms` milliseconds for `ready` to become true, processing port
// traffic but no user input. Returns whether it became true. Used by driver
// reply waits, which must always end. The wait sleeps until the bounding timer
// runs out or wakeWaiters() is called, and only then looks at `ready` again.
bool waitUntil(const std::function<bool()> &ready, int ms);
// Sleeps (processing events) until `ns` nanoseconds of `clock` have passed
// or wakeWaiters() is called; a precise timer, no polling.
void sleepUntilNs(const QElapsedTimer &clock, qint64 ns);
// Wakes every running waitUntil so it looks at its condition again (bytes
// arrived, a write finished, the line was lost).
void wakeWaiters();

// What the waits have done since the start. Tests count these rather than
// time them: a wait that ran out is a wait that ran out however busy the
// machine is.
struct WaitCounts {
    qint64 slept = 0;  // waits (waitUntil, sleepUntilNs) that went to sleep at least once
    qint64 runOut = 0; // waitUntil calls that ended on their bound
    qint64 wakeups = 0; // sleeps that ended, by their timer or by wakeWaiters()
};
WaitCounts waitCounts();

} // namespace tav
