#include "core/tickguard.h"

#include "core/exchange.h"
#include "core/linerun.h"

namespace tav {

TickGuard::TickGuard(QObject *owner, bool &busy, Exchanges exchanges) : m_owner(owner)
{
    if (busy || (exchanges == SkipInside && Exchange::active()))
        return;
    enter(busy);
}

TickGuard::TickGuard(QObject *owner, bool &busy, LineRun &run, Exchanges exchanges) : m_owner(owner)
{
    if (busy || run.endIfLost() || (exchanges == SkipInside && Exchange::active()))
        return;
    enter(busy);
}

TickGuard::TickGuard(QObject *owner, bool &busy, bool &waiting, std::function<void()> again) : m_owner(owner)
{
    if (busy)
        return;
    if (Exchange::active()) {
        if (!waiting) {
            waiting = true;
            bool *w = &waiting;
            Exchange::whenDone(owner, [w, again = std::move(again)] {
                *w = false;
                again();
            });
        }
        return;
    }
    enter(busy);
}

void TickGuard::enter(bool &busy)
{
    busy = true;
    m_busy = &busy;
    m_entered = true;
}

TickGuard::~TickGuard()
{
    if (m_entered && m_owner)
        *m_busy = false;
}

} // namespace tav
