#pragma once
// Starting outside programs: the text editor, the help viewer and the
// desktop's date and time settings. The starters are replaceable so that tests
// can stand in for a desktop that lacks a program. Every failure to start is
// reported to the user; the programs themselves run on their own.

#include <QString>
#include <QStringList>
#include <functional>

namespace tav {

struct Launcher {
    // Starts a program without waiting; false when it could not be started.
    static std::function<bool(const QString &program, const QStringList &args)> startDetached;
    // Opens a file with the desktop's program for its type; false on failure.
    static std::function<bool(const QString &path)> openWithDesktop;
    // Finds a program on the search path ("" when there is none).
    static std::function<QString(const QString &program)> findProgram;
    // Puts the default starters back.
    static void reset();
};

// Starts `commandLine` (a program followed by its own arguments, split as a
// shell would) with `extraArgs` appended. A failure is reported; returns
// whether the program started.
bool launchCommand(const QString &commandLine, const QStringList &extraArgs);
// Opens `path` with the desktop's viewer or editor; a failure is reported.
bool launchDocument(const QString &path);
// The desktop's date and time settings; a failure, or no such program, is reported.
bool launchDateTimeSettings();

} // namespace tav
