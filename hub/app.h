#pragma once
class QApplication;

namespace tav {

// Tells the window registry how to create every window that is built.
void registerBuiltWindows();
// Each tool folder registers its own windows and file kinds.
void registerPanelWindows();
void registerListWindows();
void registerStationWindows();
void registerLogbookWindows();
void registerMemoryWindows();
void registerScanWindows();
void registerTimerWindows();
void registerSignalWindows();
// Starts the program: the welcome window, then the event loop.
int runProgram(QApplication &app);

} // namespace tav
