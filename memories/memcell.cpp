#include "memories/memcell.h"
#include "drivers/receiver.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/memrecord.h"
#include "memories/memimage.h"

#include <cmath>

namespace tav {

namespace {

QString kHzText(double v) { return numPlain(v); }

} // namespace

MemCellBuild buildMemCell(const MemCellFields &f, int rxtype, int action, const MemCellShown *shown)
{
    MemCellBuild b;
    const auto cell = cellNumber(f.cell);
    if (!cell || *cell < 0 || *cell > goModel().lastCell) {
        b.error = QStringList{QStringLiteral("Input Error"),
                              QStringLiteral("Cell nr 000 to ") + cellText(goModel().lastCell)};
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
    const bool inRange = goModel().freqMaxKHz <= goModel().freqMinKHz || (goModel().freqMinKHz <= khz && khz <= goModel().freqMaxKHz);
    if (!fits || !inRange) {
        b.error = QStringList{QStringLiteral("Frequency outside range"),
                              kHzText(goModel().freqMinKHz) + QStringLiteral(" - ") + kHzText(goModel().freqMaxKHz) + QStringLiteral(" kHz")};
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
    // Each field the model's records keep, looked up in its names over the
    // values the model gives them.
    const RxModel &model = rxModel(rxtype);
    const MemoryRanges &kept = model.memory;
    // A value whose text is still the one shown keeps the value it came with
    // (a name that stands twice in a table finds the last of the two).
    auto asShown = [shown](const QString &text, QString MemCellFields::*field,
                           std::optional<int> MemCellShown::*value) -> std::optional<int> {
        if (!shown || text != shown->texts.*field)
            return std::nullopt;
        return shown->*value;
    };
    auto lookup = [&](const char *what, const std::optional<IntRange> &range, const auto &table, const QString &text,
                      QString MemCellFields::*field, std::optional<int> MemCellShown::*value) {
        if (!range)
            return 0;
        const int found = need(what, nameIndex(table, text, range->lo, range->hi), text);
        return asShown(text, field, value).value_or(found);
    };
    const int mode = lookup("Mode", kept.mode, G.modenames, f.mode, &MemCellFields::mode, &MemCellShown::mode);
    const int bw = lookup("Bandwidth", kept.bandwidth, G.bwnames, f.bandwidth, &MemCellFields::bandwidth,
                          &MemCellShown::bandwidth);
    const int scan = lookup("Scan Y/N", kept.scan, G.yesno, f.scan, &MemCellFields::scan, &MemCellShown::scan);
    const int att = lookup("Attenuator", kept.attenuator, G.attnames, f.attenuator, &MemCellFields::attenuator,
                           &MemCellShown::attenuator);
    const int agc = lookup("AGC", kept.agc, G.agcnames, f.agc, &MemCellFields::agc, &MemCellShown::agc);
    for (const Lookup &l : lookups) {
        if (!l.index) {
            b.error = QStringList{QLatin1String(l.what) + QStringLiteral(" \"") + *l.text + QStringLiteral("\""),
                                  QStringLiteral("is not one of the receiver's settings")};
            b.errorTitle = QStringLiteral("Input Error");
            return b;
        }
    }

    QString r = QStringLiteral("MEM") + cellText(*cell) + QLatin1Char(' ') + memFrequencyField(hz) + QLatin1Char(' ');
    if (!kept.mode) {
        r += QLatin1Char(' ');
    } else {
        auto field = [](const std::optional<IntRange> &range, int value, int width) {
            return range ? padded(value, width) : QString(width, QLatin1Char('@'));
        };
        // The shift and the squelch or BFO are typed as the receiver shows
        // them; the mode says which of the two the latter is.
        // The conversions are not each other's inverse: only a text the
        // user changed is converted.
        const int pbs = kept.pbs ? asShown(f.pbs, &MemCellFields::pbs, &MemCellShown::pbs).value_or(model.shiftByte(f.pbs)) : 0;
        // The same text is another value once the mode makes it a squelch
        // rather than a BFO offset.
        std::optional<int> sbShown = asShown(f.sqlbfo, &MemCellFields::sqlbfo, &MemCellShown::sqlbfo);
        if (!shown || !shown->mode || model.keepsBfo(*shown->mode) != model.keepsBfo(mode))
            sbShown.reset();
        const int sb = kept.sqlbfo ? sbShown.value_or(model.sqlBfoByte(mode, f.sqlbfo)) : 0;
        r += padded(mode, 1) + QLatin1Char(' ') + padded(bw, 2) + QLatin1Char(' ') + field(kept.attenuator, att, 1)
             + QLatin1Char(' ') + field(kept.agc, agc, 1) + QLatin1Char(' ') + field(kept.pbs, pbs, 3) + QLatin1Char(' ')
             + field(kept.sqlbfo, sb, 3) + QLatin1Char(' ') + field(kept.scan, scan, 1);
    }
    b.record = memPadded(r);
    b.info = f.tag;
    return b;
}

} // namespace tav
