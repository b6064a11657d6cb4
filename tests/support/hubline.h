#pragma once
// The hub started for a panel test against a receiver emulator on a
// pseudo-terminal: its data in a scratch directory, Comm1 named as the
// emulator's line, and the receiver type chosen. What each test sets on top
// (the set-up values, the emulator's state) stays with the test.

#include "core/form.h"

#include <QString>

namespace sim {
class PtyHarness;
}

namespace tavtest {

class ScratchDir;

// Stands in for a tool window Go would open beside the panel, so that the
// test sees the panel's own traffic only.
class HiddenTool : public tav::TavForm {
public:
    explicit HiddenTool(tav::WindowId id);
};

// Registers the windows (with the last-20 window hidden when asked), loads
// the hub, forgets its start-up notices, points the data directory and
// "comports.ini" at the scratch directory and the line, and sets the
// receiver type. Set-up values 1 (Comm1 is port 1) and 8 (no pacing
// question) are left to the caller.
void openHub(const ScratchDir &dir, const sim::PtyHarness &pty, int rxtype, bool hideLast20 = false);

// Unloads `panel` when it is loaded, closes the hub and every window, and
// gives the last-20 window its own factory back when it was hidden.
void closeHub(tav::WindowId panel, bool hideLast20 = false);

// Presses Go and returns the panel `name` as `P` (null when there is none).
template <class P> P *go(tav::WindowId panel);

} // namespace tavtest

#include "hub/frmWelcome.h"

template <class P> P *tavtest::go(tav::WindowId panel)
{
    tav::frmWelcome::instance()->imgGo_Click();
    return tav::Windows::existing<P>(panel);
}
