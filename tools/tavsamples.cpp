// Puts the demonstration data into a data directory, leaving the user's own
// files as they are.   tavsamples SAMPLES_DATA_DIR DATA_DIR [RXTYPE]
// (RXTYPE, the settings' receiver type, chooses the numbers the sample
// timer programs are written in; 0 when not given.)
// For tools/emulate.sh it also names the settings' receiver type of an
// emulated model, from the model table.   tavsamples --rxtype MODEL
#include "core/portlock.h"
#include "drivers/receiver.h"
#include "samples/install.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // A write past the file-size limit fails and is reported, as a full disk is.
    tav::ignoreFileSizeSignal();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--rxtype")) {
        QStringList known;
        for (int t = 0; t < tav::rxModelCount(); ++t) {
            const tav::RxModel &m = tav::rxModel(t);
            if (!m.emulator)
                continue;
            if (args[2].compare(QLatin1String(m.emulator), Qt::CaseInsensitive) == 0) {
                std::printf("%d\n", m.rxtype);
                return 0;
            }
            known << QLatin1String(m.emulator);
        }
        std::fprintf(stderr, "unknown model '%s' (%s)\n", qPrintable(args[2]), qPrintable(known.join(", ")));
        return 2;
    }
    bool typeOk = args.size() == 3;
    const int rxtype = args.size() == 4 ? args[3].toInt(&typeOk) : 0;
    if ((args.size() != 3 && args.size() != 4) || !typeOk || !tav::findRxModel(rxtype)) {
        std::fprintf(stderr, "usage: tavsamples SAMPLES_DATA_DIR DATA_DIR [RXTYPE]\n");
        return 2;
    }
    const tav::SampleInstall r = tav::installSamples(args[1], args[2], rxtype);
    for (const QString &p : r.written)
        std::printf("sample written: %s\n", qPrintable(p));
    if (!r.ok()) {
        std::fprintf(stderr, "tavsamples: %s\n", qPrintable(r.error));
        return 1;
    }
    return 0;
}
