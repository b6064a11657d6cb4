#include "memories/memimage.h"

#include "core/numtext.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"

#include <cmath>
#include <limits>

namespace tav {

namespace {

// An AR7030 channel that holds nothing keeps this frequency; the sort gives
// every record without a real frequency the same key, so such records go last.
const QString kSentinel = QStringLiteral("32016666");

QString fitted(const QString &s, int width) { return s.left(width).leftJustified(width, QLatin1Char(' ')); }

} // namespace

MemoryState &memState()
{
    static MemoryState s;
    return s;
}

QString cellText(int cell) { return padded(cell, 3); }

std::optional<int> cellNumber(const QString &text)
{
    const double v = numericValue(text);
    if (!std::isfinite(v) || v < -32768.5 || v > 32767.5)
        return std::nullopt;
    return int(roundHalfEven(v));
}

std::optional<CellRange> cellRange(const QString &fromText, const QString &toText, int lastcell)
{
    const auto from = cellNumber(fromText);
    const auto to = cellNumber(toText);
    if (!from || !to || *from < 0 || *from >= lastcell || *to < 0 || *to > lastcell)
        return std::nullopt;
    CellRange r{*from, *to};
    if (r.from > r.to)
        std::swap(r.from, r.to);
    return r;
}

void MemImage::reset(int lastcell)
{
    const int n = std::max(0, lastcell + 1);
    m_records = QVector<QString>(n);
    m_info = QVector<QString>(n);
}

void MemImage::setRecord(int cell, const QString &record)
{
    if (valid(cell))
        m_records[cell] = fitted(record, kMemRecordLength);
}

void MemImage::setInfo(int cell, const QString &info)
{
    if (!valid(cell))
        return;
    QString t = info;
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    m_info[cell] = fitted(t, kMemInfoLength);
}

bool MemImage::anyHeld() const
{
    for (const QString &r : m_records)
        if (!r.isEmpty())
            return true;
    return false;
}

QVector<int> MemImage::heldCells() const
{
    QVector<int> out;
    for (int i = 0; i < m_records.size(); ++i)
        if (!m_records[i].isEmpty())
            out << i;
    return out;
}

QStringList MemImage::fileLines() const
{
    QStringList lines;
    lines.reserve(m_records.size());
    for (int i = 0; i < m_records.size(); ++i)
        lines << fitted(m_records[i], kMemRecordLength) + fitted(m_info[i], kMemInfoLength);
    return lines;
}

MemImage::FileRead MemImage::readFileLines(const QStringList &lines, int lastcell, int rxtype)
{
    FileRead res;
    reset(lastcell);
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (i > lastcell) {
            if (!line.trimmed().isEmpty())
                ++res.linesPast;
            continue;
        }
        const QString rec = line.left(kMemRecordLength - 1);
        if (!rec.trimmed().isEmpty()) {
            const QString problem = memRecordProblem(rec, rxtype);
            if (!problem.isEmpty()) {
                res.refused << QStringLiteral("Cell ") + cellText(i) + QStringLiteral(": ") + problem;
                continue;
            }
            setRecord(i, rec);
        }
        if (line.size() > kMemRecordLength - 1) {
            const QString tag = line.mid(kMemRecordLength);
            if (held(i) || !tag.trimmed().isEmpty())
                setInfo(i, tag);
        }
    }
    return res;
}

namespace {

bool allDigits(const QString &t)
{
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

QString memRecordProblem(const QString &record, int rxtype)
{
    const QString kind = memFieldText(record, memcol::Kind);
    if (kind == QLatin1String("XXX"))
        return QString(); // the receiver's empty channel
    if (kind != QLatin1String("MEM"))
        return QStringLiteral("not a memory record");
    if (!allDigits(memFieldText(record, memcol::Cell).trimmed()))
        return QStringLiteral("the cell number is not a number");
    const QString freq = memFieldText(record, memcol::Frequency);
    if (freq.size() != 8 || !allDigits(freq))
        return QStringLiteral("the frequency is not eight digits");
    const RxModel &m = rxModel(rxtype);
    const double khz = freq.toLongLong() / 1000.0;
    if (!(khz >= m.freqMinKHz && khz <= m.freqMaxKHz))
        return QStringLiteral("the frequency %1 kHz is not in %2 to %3 kHz")
            .arg(numPlain(khz), numPlain(m.freqMinKHz), numPlain(m.freqMaxKHz));
    struct Field {
        const char *what;
        MemField field;
        std::optional<IntRange> range;
    };
    const MemoryRanges &r = m.memory;
    const Field fields[] = {
        {"mode", memcol::Mode, r.mode},
        {"bandwidth", memcol::Bandwidth, r.bandwidth},
        {"attenuator", memcol::Attenuator, r.attenuator},
        {"AGC", memcol::Agc, r.agc},
        {"pass-band shift", memcol::PassBandShift, r.pbs},
        {"squelch or BFO", memcol::SqlBfo, r.sqlbfo},
        {"scan flag", memcol::Scan, r.scan},
    };
    for (const Field &f : fields) {
        if (!f.range)
            continue;
        const QString t = memFieldText(record, f.field).trimmed();
        if (!allDigits(t))
            return QStringLiteral("the %1 has no value").arg(QLatin1String(f.what));
        const int v = t.toInt();
        if (!f.range->contains(v))
            return memValueProblem(QLatin1String(f.what), v, f.range->lo, f.range->hi);
    }
    return QString();
}

std::optional<int> workingChannel(int rxtype) { return rxModel(rxtype).workingChannel; }

QString workingChannelTag() { return QStringLiteral("Working channel: receiver's present state"); }

QStringList workingChannelNotice(int cell)
{
    return {QStringLiteral("Cell ") + cellText(cell) + QStringLiteral(" is the program's working channel:"),
            QStringLiteral("every reading of the receiver's state overwrites it,"),
            QStringLiteral("so it is not written.")};
}

QVector<int> MemImage::sortGaps(int lastcell)
{
    QVector<int> gaps;
    int gap = lastcell;
    while (gap > 1) {
        gap = int(roundHalfEven(gap / 2.0));
        gaps << gap;
    }
    return gaps;
}

// A gap-halving exchange sort on the frequency field compared as text (eight
// digits, so text order is number order). Records below 5 Hz ("No data",
// zero) get the sentinel and sort last among the held cells; cells never held
// sort after everything and stay unheld. Equal keys are never exchanged.
// The passes at one gap stop when a pass's last exchange stood at 0 or none
// was made. The sort runs over the cells other than `keep`, in their order,
// so the working channel neither moves nor takes a listener's cell.
QVector<int> MemImage::sortByFrequency(std::optional<int> keep)
{
    QVector<int> cells;
    for (int i = 0; i <= lastCell(); ++i)
        if (i != keep)
            cells << i;
    for (int i : cells) {
        if (m_records[i].isEmpty())
            continue;
        if (memFieldValue(m_records[i], memcol::Frequency) < 5)
            m_records[i].replace(memcol::Frequency.first - 1, 8, kSentinel);
    }
    auto greater = [this](int a, int b) {
        const bool ha = !m_records[a].isEmpty(), hb = !m_records[b].isEmpty();
        if (!ha)
            return hb; // an unheld cell is greater than any held one
        if (!hb)
            return false;
        return memFieldText(m_records[a], memcol::Frequency) > memFieldText(m_records[b], memcol::Frequency);
    };
    const int last = int(cells.size()) - 1;
    const QVector<int> gaps = sortGaps(last);
    for (int gap : gaps) {
        int lastswap;
        do {
            lastswap = 0;
            for (int j = 0; j <= last - gap; ++j) {
                const int a = cells[j], b = cells[j + gap];
                if (greater(a, b)) {
                    std::swap(m_records[a], m_records[b]);
                    std::swap(m_info[a], m_info[b]);
                    lastswap = j;
                }
            }
        } while (lastswap != 0);
    }
    for (int i : cells) {
        QString &r = m_records[i];
        if (r.isEmpty())
            continue;
        if (memFieldText(r, memcol::Kind) == QLatin1String("XXX"))
            r = memEmptyRecord(i);
        else
            r.replace(memcol::Cell.first - 1, 3, cellText(i));
    }
    return gaps;
}

} // namespace tav
