// rxsim MODEL: serves an emulated receiver on a pseudo-terminal. The first
// line of output is the device path to give the program; then one line per
// command received, and "frequency_hz=N" whenever the tuned frequency changes.
// Commands on standard input: see --help.

#include "sim/emulator.h"
#include "sim/pty.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

void printLine(const QString &s)
{
    std::fputs(s.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void usage(const std::unique_ptr<sim::Emulator> &emu)
{
    printLine(QStringLiteral("usage: rxsim MODEL    (MODEL: %1)").arg(sim::emulatorModels().join(QStringLiteral(", "))));
    printLine(QStringLiteral("Serves an emulated receiver on a pseudo-terminal; the first line printed is its device."));
    printLine(QStringLiteral("Commands on standard input:"));
    printLine(QStringLiteral("  dial HZ         turn the tuning knob to HZ"));
    printLine(QStringLiteral("  smeter VALUE    set the signal level the receiver reports"));
    printLine(QStringLiteral("  quit            end"));
    if (emu)
        for (const QString &l : emu->controlHelp())
            printLine(QStringLiteral("  ") + l);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args[1] == QLatin1String("--help") || args[1] == QLatin1String("-h")) {
        std::unique_ptr<sim::Emulator> emu;
        if (args.size() >= 3)
            emu = sim::createEmulator(args[2]);
        usage(emu);
        return args.size() < 2 ? 2 : 0;
    }
    std::unique_ptr<sim::Emulator> emu = sim::createEmulator(args[1]);
    if (!emu) {
        std::fprintf(stderr, "rxsim: unknown model '%s' (known: %s)\n", argv[1],
                     sim::emulatorModels().join(QStringLiteral(", ")).toLocal8Bit().constData());
        return 2;
    }
    if (args.size() >= 3 && args[2] == QLatin1String("--help")) {
        usage(emu);
        return 0;
    }
    sim::PtyHarness pty(*emu);
    if (!pty.ok()) {
        std::perror("rxsim: openpty");
        return 1;
    }
    emu->log = [](const QString &line) { printLine(line); };
    emu->frequencyChanged = [](double hz) { printLine(QStringLiteral("frequency_hz=%1").arg(qint64(std::llround(hz)))); };
    printLine(pty.slavePath());

    QSocketNotifier in(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&in, &QSocketNotifier::activated, &app, [&] {
        char buf[1024];
        ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf - 1);
        if (n <= 0) {
            in.setEnabled(false); // end of input: keep serving until ended
            return;
        }
        static QByteArray pending;
        pending += QByteArray(buf, int(n));
        int nl;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromLocal8Bit(pending.left(nl)).trimmed();
            pending.remove(0, nl + 1);
            if (line.isEmpty())
                continue;
            if (line == QLatin1String("quit")) {
                app.quit();
                return;
            }
            if (!emu->control(line))
                printLine(QStringLiteral("rxsim: unknown control '%1'").arg(line));
        }
    });
    return app.exec();
}
