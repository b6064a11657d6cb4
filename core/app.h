#pragma once
class QApplication;

namespace tav {

// Tells the window registry how to create every window that is built.
void registerBuiltWindows();
// Starts the program: the welcome window, then the event loop.
int runProgram(QApplication &app);

} // namespace tav
