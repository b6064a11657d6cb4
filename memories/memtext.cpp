#include "memories/memtext.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"

namespace tav {

namespace {

double val(const QString &record, MemField f) { return leadingNumber(memFieldText(record, f)); }
int ival(const QString &record, MemField f) { return int(roundHalfEven(val(record, f))); }
bool isNone(const QString &record, MemField f) { return memFieldText(record, f).startsWith(QLatin1Char('@')); }
QString right(const QString &s, int width) { return s.rightJustified(width, QLatin1Char(' ')); }

// The printed columns between the cell number and the tag: the frequency
// (10), mode and bandwidth (5 each) and the settings the model's records keep.
int valueWidth(const RxModel &m)
{
    const MemoryRanges &f = m.memory;
    return 20 + (f.attenuator ? 5 : 0) + (f.agc ? 6 : 0) + (f.pbs ? 7 : 0) + (f.sqlbfo ? 10 : 0) + (f.scan ? 3 : 0);
}

} // namespace

int memRxtype() { return toolRxtype(); }

std::array<QString, 5> memGridRow(const MemImage &image, int cell)
{
    std::array<QString, 5> row;
    // The working channel is named as such whatever it holds.
    const bool working = workingChannel(memRxtype()) == cell && image.info(cell).trimmed().isEmpty();
    if (!image.held(cell)) {
        if (working)
            row[4] = workingChannelTag();
        return row;
    }
    const QString r = image.record(cell);
    row[0] = memFieldText(r, memcol::Cell);
    QString freq = memFieldText(r, memcol::Frequency);
    if (leadingNumber(freq) > 1)
        freq = freq.left(5) + QLatin1Char('.') + freq.mid(5, 3);
    row[1] = freq;
    row[2] = isNone(r, memcol::Mode) ? QStringLiteral(" ") : tableName(G.modenames, val(r, memcol::Mode));
    row[3] = isNone(r, memcol::Bandwidth) ? QStringLiteral(" ") : tableName(G.bwnames, val(r, memcol::Bandwidth));
    row[4] = working ? workingChannelTag()
                     : image.info(cell).isEmpty() ? QString(kMemInfoLength, QLatin1Char(' ')) : image.info(cell);
    return row;
}

MemDetails memDetails(const QString &r)
{
    const QString none = QStringLiteral("---");
    const RxModel &m = rxModel(memRxtype());
    MemDetails d;
    d.att = isNone(r, memcol::Attenuator) ? none : tableName(G.attnames, val(r, memcol::Attenuator));
    d.agc = isNone(r, memcol::Agc) ? none : tableName(G.agcnames, val(r, memcol::Agc));
    d.pbs = isNone(r, memcol::PassBandShift) ? none : m.shiftText(ival(r, memcol::PassBandShift));
    if (isNone(r, memcol::SqlBfo)) {
        d.bfo = d.sql = none;
    } else {
        const int mode = ival(r, memcol::Mode);
        const bool bfo = m.keepsBfo(mode);
        (bfo ? d.bfo : d.sql) = m.sqlBfoText(mode, ival(r, memcol::SqlBfo));
        (bfo ? d.sql : d.bfo) = none;
    }
    d.scan = isNone(r, memcol::Scan) ? QStringLiteral("-") : tableName(G.yesno, val(r, memcol::Scan));
    return d;
}

QStringList memPrintLines(const MemImage &image, int from, int to, int rxtype, const QString &fileName)
{
    const RxModel &m = rxModel(rxtype);
    const MemoryRanges &fields = m.memory;
    QStringList out{QString(), QString(), QStringLiteral("     ") + fileName.toUpper(), QString(), QString()};
    if (m.memPrintTitles)
        out << QStringLiteral("     ") + QLatin1String(m.memPrintTitles);
    out << QString();
    for (int i = from; i <= to; ++i) {
        QString line = QStringLiteral("     ") + cellText(i) + QLatin1Char(' ');
        if (!image.held(i)) {
            // A cell the image never held has no values to print, only its tag.
            out << line + image.info(i);
            continue;
        }
        const QString r = image.record(i);
        if (memFieldText(r, memcol::Kind) == QLatin1String("XXX")) {
            // The empty channel is printed as the grid shows it: no values.
            out << line + QStringLiteral("No data").leftJustified(valueWidth(m)) + image.info(i);
            continue;
        }
        line += padded(roundHalfEven(val(r, {8, 12})), 5) + QLatin1Char('.') + padded(roundHalfEven(val(r, {13, 15})), 3)
                + QLatin1Char(' ');
        line += right(tableName(G.modenames, val(r, memcol::Mode)), 4) + QLatin1Char(' ');
        line += right(tableName(G.bwnames, val(r, memcol::Bandwidth)), 4) + QLatin1Char(' ');
        if (fields.attenuator)
            line += right(tableName(G.attnames, val(r, memcol::Attenuator)), 4) + QLatin1Char(' ');
        if (fields.agc)
            line += right(tableName(G.agcnames, val(r, memcol::Agc)), 4) + QStringLiteral("  ");
        if (fields.pbs)
            line += right(m.shiftText(ival(r, memcol::PassBandShift)), 6) + QLatin1Char(' ');
        if (fields.sqlbfo) {
            // A BFO offset goes under "BFO", a squelch under "Sql".
            const int mode = ival(r, memcol::Mode);
            const QString sb = m.sqlBfoText(mode, ival(r, memcol::SqlBfo));
            if (m.keepsBfo(mode))
                line += QStringLiteral("   ") + right(sb, 6) + QLatin1Char(' ');
            else
                line += sb + QStringLiteral("        ");
        }
        if (fields.scan)
            line += tableName(G.yesno, ival(r, memcol::Scan)) + QStringLiteral("  ");
        line += image.info(i).isEmpty() ? QString(kMemInfoLength, QLatin1Char(' ')) : image.info(i);
        out << line;
    }
    return out;
}

int memScanIntervalMs(int rxtype, double delaySeconds)
{
    return int(roundHalfEven((-rxModel(rxtype).memScanLeadS + delaySeconds - 0.1) * 1000.0));
}

double memScanDelay(double typed)
{
    if (!(typed >= 1))
        return 1;
    return typed > 60 ? 60 : typed;
}

} // namespace tav
