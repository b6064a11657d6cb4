#pragma once
// A receiver exchange (everything one driver operation sends and waits for)
// is atomic: while one runs, user input is held back and replayed afterwards,
// the port's receive event hands nothing to dial following or RTTY reading,
// and timer ticks that would start another exchange skip their turn.

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
};

// Waits up to `ms` milliseconds for `ready` to become true, processing port
// traffic but no user input. Returns whether it became true. Used by driver
// reply waits, which must always end.
bool waitUntil(const std::function<bool()> &ready, int ms);

} // namespace tav
