#pragma once
// Helpers shared by the tests: a scratch directory as the data directory and
// current directory, scripted message boxes, and waiting on the event loop.

#include "core/ui.h"

#include <QString>
#include <QWidget>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace tavtest {

void resetDialogScript();

// A fresh temporary directory made the current directory for the test's life;
// the old current directory comes back when it goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    QString path() const; // ends in "/"
    QString file(const QString &name) const { return path() + name; }
    void write(const QString &name, const QByteArray &content) const;
    QByteArray read(const QString &name) const;

private:
    QTemporaryDir m_dir;
    QString m_oldCwd;
};

// Processes events until `cond` holds or `ms` pass; returns whether it held.
// The default only catches a hang: a condition that holds ends the wait at
// once, however busy the machine is.
bool waitFor(const std::function<bool()> &cond, int ms = 20000);
// Processes events for about `ms`, and in a few passes at least.
void pump(int ms);
// Runs the event loop for `ms` without polling, so that the CPU time used
// meanwhile is the program's own (a spin shows as the whole of it).
void idle(int ms);
// The CPU time this thread has used, in milliseconds: what a piece of work
// costs, which the load of other processes stretches far less than it
// stretches the wall clock.
double threadCpuMs();
// Waits until a shown window is on the screen and what the window system
// reported about it has been handled: its place and size are then final.
// False when it did not come on the screen within generous bounds.
bool settled(QWidget *w);

// Records message boxes instead of showing them for the life of the object.
class ScriptedDialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs();
    const QList<tav::ShownBox> &shown() const { return tav::DialogScript::shown; }
    void answer(int result) { tav::DialogScript::answers << result; }
    void input(const std::optional<QString> &text) { tav::DialogScript::inputs << text; }
};

} // namespace tavtest

namespace tavtest {

// Switches the C library and Qt to a German locale (decimal comma) for the
// life of the object; numbers the program writes and reads must not notice.
class GermanLocale {
public:
    GermanLocale();
    ~GermanLocale();
    bool active() const { return m_active; }

private:
    bool m_active = false;
    QByteArray m_old;
};

} // namespace tavtest
