#pragma once
// What the benchmarks share: the application they run in and the ways they
// let the event loop (the line, the emulator, the windows' timers) run.

#include <functional>

namespace tavbench {

// Runs the registered benchmarks inside an offscreen QApplication, so that
// windows can be built and shown without a display.
int runWithWindows(int argc, char **argv);

// Runs events until `cond` holds or `ms` pass; whether it held. The wait
// blocks between events (woken by a short timer): a time-limited
// processEvents never waits, it would spin and measure its own busy loop.
bool waitUntil(const std::function<bool()> &cond, int ms);

// Runs events for `ms` (e.g. to let a line fall idle between operations).
void runEventsFor(int ms);

} // namespace tavbench
