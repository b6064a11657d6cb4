#pragma once

namespace tav {

// Waits `ms` milliseconds while window events are processed. Each call keeps
// its own deadline, so a Delay started by a handler during another Delay does
// not cut the outer one short. 0 or less returns at once.
void Delay(int ms);
// How many Delay calls have waited since the start (tests count pauses
// rather than time them).
long long delaysBegun();

} // namespace tav
