// rxsim MODEL: serves an emulated receiver on a pseudo-terminal. The first
// line of output is the device path to give the program; then one line per
// command received, and "frequency_hz=N" whenever the tuned frequency changes.
// The receiver takes and answers bytes at its line speed unless --fast is
// given. Its S-meter hears a band: a noise floor, slow fading, and carriers
// at the frequencies of the lists in --carriers-from DIR.
// Commands on standard input: see --help.

#include "sim/ar7030.h"
#include "sim/emulator.h"
#include "sim/pty.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <QTextStream>
#include <algorithm>
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

void usage()
{
    printLine(QStringLiteral("usage: rxsim MODEL [--fast] [--carriers-from DIR]    (MODEL: %1)")
                  .arg(sim::emulatorModels().join(QStringLiteral(", "))));
    printLine(QStringLiteral("Serves an emulated receiver on a pseudo-terminal; the first line printed is its device."));
    printLine(QStringLiteral("The receiver takes and answers bytes at its line speed (1200 baud AR7030 and RX-320,"));
    printLine(QStringLiteral("4800 baud NRD-535 and NRD-545); --fast serves at once."));
    printLine(QStringLiteral("Its S-meter follows the tuned frequency on a band of noise (about S2.5) with slowly"));
    printLine(QStringLiteral("fading carriers; --carriers-from DIR puts a carrier on every frequency named by the"));
    printLine(QStringLiteral("lists and station files of the data directory DIR. The attenuator lowers the level."));
    printLine(QStringLiteral("Commands on standard input, every model:"));
    printLine(QStringLiteral("  quit            end"));
    for (const QString &l : sim::PtyHarness::controlHelp())
        printLine(QStringLiteral("  ") + l);
    for (const QString &l : sim::Band::controlHelp())
        printLine(QStringLiteral("  ") + l);
    for (const QString &model : sim::emulatorModels()) {
        const auto emu = sim::createEmulator(model);
        printLine(QStringLiteral("Commands on standard input, %1:").arg(model));
        for (const QString &l : emu->controlHelp())
            printLine(QStringLiteral("  ") + l);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        usage();
        return args.isEmpty() ? 2 : 0;
    }
    const bool fast = args.removeAll(QStringLiteral("--fast")) > 0;
    QString carriersFrom;
    if (const int i = int(args.indexOf(QStringLiteral("--carriers-from"))); i >= 0) {
        carriersFrom = args.value(i + 1);
        args.remove(i, std::min(2, int(args.size()) - i));
        if (carriersFrom.isEmpty()) {
            std::fprintf(stderr, "rxsim: --carriers-from needs a directory\n");
            return 2;
        }
    }
    std::unique_ptr<sim::Emulator> emu = args.size() == 1 ? sim::createEmulator(args[0]) : nullptr;
    if (!emu) {
        std::fprintf(stderr, "rxsim: unknown model '%s' (known: %s)\n", args.value(0).toLocal8Bit().constData(),
                     sim::emulatorModels().join(QStringLiteral(", ")).toLocal8Bit().constData());
        return 2;
    }
    sim::PtyHarness pty(*emu);
    if (!pty.ok()) {
        std::perror("rxsim: openpty");
        return 1;
    }
    if (!fast)
        pty.setPacedAtModelSpeed();
    emu->log = [](const QString &line) { printLine(line); };
    emu->frequencyChanged = [](double hz) { printLine(QStringLiteral("frequency_hz=%1").arg(qint64(std::llround(hz)))); };
    printLine(pty.slavePath());
    auto band = std::make_shared<sim::Band>();
    if (!carriersFrom.isEmpty())
        printLine(QStringLiteral("band: %1 carriers from %2").arg(band->addCarriersFrom(carriersFrom)).arg(carriersFrom));
    emu->setBand(band);
    // The AR7030 keeps its clock in its memory; a real one runs, so the one
    // served to a person runs too (tests advance it by hand).
    QTimer clockTick;
    if (auto *ar = dynamic_cast<sim::AR7030Emulator *>(emu.get())) {
        QObject::connect(&clockTick, &QTimer::timeout, &app, [ar] { ar->advanceClock(1); });
        clockTick.start(1000);
    }

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
            if (pty.control(line)) {
                printLine(QStringLiteral("rxsim: %1").arg(line));
                if (pty.lineDropped()) {
                    app.quit();
                    return;
                }
                continue;
            }
            if (emu->control(line))
                printLine(QStringLiteral("rxsim: %1").arg(line));
            else
                printLine(QStringLiteral("rxsim: unknown control '%1'").arg(line));
        }
    });
    return app.exec();
}
