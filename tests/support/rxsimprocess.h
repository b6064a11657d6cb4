#pragma once
// The standalone emulator, rxsim, as a separate process: started with its
// arguments, its device read from the first line it prints, told "quit" (and
// ended if it will not) when the object goes.

#include "support/testenv.h"

#include <QProcess>
#include <QStringList>

#ifdef RXSIM_PATH
namespace tavtest {

class RxsimProcess {
public:
    ~RxsimProcess()
    {
        if (proc.state() == QProcess::NotRunning)
            return;
        proc.write("quit\n");
        if (!proc.waitForFinished(5000)) {
            proc.kill();
            proc.waitForFinished(5000);
        }
    }
    // Starts rxsim and waits for its device; false when it gives none.
    bool start(const QStringList &args)
    {
        proc.start(QStringLiteral(RXSIM_PATH), args);
        return proc.waitForStarted(10000) && saw("\n") && device().startsWith(QLatin1String("/dev/"));
    }
    QString device() const { return QString::fromLocal8Bit(out.left(out.indexOf('\n'))).trimmed(); }
    // Waits until rxsim has printed `text`.
    bool saw(const QByteArray &text, int ms = 10000)
    {
        return waitFor(
            [&] {
                out += proc.readAllStandardOutput();
                return out.contains(text);
            },
            ms);
    }
    // A line on its standard input.
    void command(const QByteArray &line) { proc.write(line + '\n'); }

    QProcess proc;
    QByteArray out; // everything printed so far
};

} // namespace tavtest
#endif
