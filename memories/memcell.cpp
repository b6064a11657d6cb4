#include "memories/memcell.h"
#include "drivers/receiver.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/memrecord.h"
#include "memories/memimage.h"
#include "panels/ar7030conv.h"

#include <cmath>

namespace tav {

namespace {

QString kHzText(double v) { return numPlain(v); }

} // namespace

MemCellBuild buildMemCell(const MemCellFields &f, int rxtype, int action)
{
    MemCellBuild b;
    const auto cell = cellNumber(f.cell);
    if (!cell || *cell < 0 || *cell > loadedModel().lastCell) {
        b.error = QStringList{QStringLiteral("Input Error"),
                              QStringLiteral("Cell nr 000 to ") + cellText(loadedModel().lastCell)};
        b.errorTitle = QStringLiteral(" \u00CBrror");
        return b;
    }
    b.cell = *cell;
    if (action == 4) {
        b.record = memEmptyRecord(*cell);
        return b;
    }

    QString ftext = f.frequency;
    ftext.replace(QLatin1Char(','), QLatin1Char('.'));
    const double khz = numericValue(ftext);
    const double hz = std::nearbyint(khz * 1000.0);
    const bool fits = std::isfinite(hz) && hz >= 0 && hz <= 99999999.0;
    const bool inRange = loadedModel().freqMaxKHz <= loadedModel().freqMinKHz || (loadedModel().freqMinKHz <= khz && khz <= loadedModel().freqMaxKHz);
    if (!fits || !inRange) {
        b.error = QStringList{QStringLiteral("Frequency outside range"),
                              kHzText(loadedModel().freqMinKHz) + QStringLiteral(" - ") + kHzText(loadedModel().freqMaxKHz) + QStringLiteral(" kHz")};
        b.errorTitle = QStringLiteral("Input Error");
        return b;
    }

    struct Lookup {
        const char *what;
        std::optional<int> index;
        const QString *text;
    };
    QList<Lookup> lookups;
    auto need = [&](const char *what, std::optional<int> index, const QString &text) {
        lookups << Lookup{what, index, &text};
        return index.value_or(0);
    };
    int mode = 0, bw = 0, att = 0, agc = 0, scan = 0;
    switch (rxtype) {
    case 1:
        mode = need("Mode", nameIndex(G.modenames, f.mode, 1, 7), f.mode);
        bw = need("Bandwidth", nameIndex(G.bwnames, f.bandwidth, 1, 6), f.bandwidth);
        scan = need("Scan Y/N", nameIndex(G.yesno, f.scan, 0, 1), f.scan);
        break;
    case 2:
        mode = need("Mode", nameIndex(G.modenames, f.mode, 0, 8), f.mode);
        bw = need("Bandwidth", nameIndex(G.bwnames, f.bandwidth, 0, 3), f.bandwidth);
        att = need("Attenuator", nameIndex(G.attnames, f.attenuator, 0, 1), f.attenuator);
        agc = need("AGC", nameIndex(G.agcnames, f.agc, 0, 3), f.agc);
        break;
    case 3:
        mode = need("Mode", nameIndex(G.modenames, f.mode, 0, 3), f.mode);
        bw = need("Bandwidth", nameIndex(G.bwnames, f.bandwidth, 0, 33), f.bandwidth);
        agc = need("AGC", nameIndex(G.agcnames, f.agc, 1, 3), f.agc);
        break;
    case 4:
        mode = need("Mode", nameIndex(G.modenames, f.mode, 0, 6), f.mode);
        bw = need("Bandwidth", nameIndex(G.bwnames, f.bandwidth, 0, 2), f.bandwidth);
        att = need("Attenuator", nameIndex(G.attnames, f.attenuator, 0, 1), f.attenuator);
        agc = need("AGC", nameIndex(G.agcnames, f.agc, 0, 9), f.agc);
        break;
    default:
        break;
    }
    for (const Lookup &l : lookups) {
        if (!l.index) {
            b.error = QStringList{QLatin1String(l.what) + QStringLiteral(" \"") + *l.text + QStringLiteral("\""),
                                  QStringLiteral("is not one of the receiver's settings")};
            b.errorTitle = QStringLiteral("Input Error");
            return b;
        }
    }

    QString r = QStringLiteral("MEM") + cellText(*cell) + QLatin1Char(' ') + memFrequencyField(hz) + QLatin1Char(' ');
    switch (rxtype) {
    case 1: {
        const int pbs = ar7030conv::fs2b(f.pbs);
        const int sb = (mode == 4 || mode == 5) ? ar7030conv::fs2b(f.sqlbfo) : ar7030conv::sql2b(f.sqlbfo);
        r += padded(mode, 1) + QLatin1Char(' ') + padded(bw, 2) + QStringLiteral(" @ @ ") + padded(pbs, 3)
             + QLatin1Char(' ') + padded(sb, 3) + QLatin1Char(' ') + padded(scan, 1);
        break;
    }
    case 2:
    case 4:
        r += padded(mode, 1) + QLatin1Char(' ') + padded(bw, 2) + QLatin1Char(' ') + padded(att, 1) + QLatin1Char(' ')
             + padded(agc, 1) + QStringLiteral(" @@@ @@@ @");
        break;
    case 3:
        r += padded(mode, 1) + QLatin1Char(' ') + padded(bw, 2) + QStringLiteral(" @ ") + padded(agc, 1)
             + QStringLiteral(" @@@ @@@ @");
        break;
    default:
        r += QLatin1Char(' ');
        break;
    }
    b.record = memPadded(r);
    b.info = f.tag;
    return b;
}

} // namespace tav
