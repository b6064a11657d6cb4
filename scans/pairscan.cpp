#include "scans/pairscan.h"

#include "core/numtext.h"

#include <QRegularExpression>

namespace tav {

bool pairFieldHasNumber(const QString &field)
{
    static const QRegularExpression re(QStringLiteral("^[ \\t]*[-+]?[ \\t]*(\\d|\\.\\d)"));
    return re.match(field).hasMatch();
}

bool PairScan::inRun(int k) const
{
    if (k < 0 || k > pairlast())
        return false;
    if (pairstart <= pairend)
        return k >= pairstart && k <= pairend;
    return k <= pairend || k >= pairstart;
}

std::array<std::optional<int>, 11> PairScan::rows(int n) const
{
    std::array<std::optional<int>, 11> r{};
    if (n >= 0 && n <= pairlast())
        r[5] = n;
    for (int j = -5; j <= 5; ++j) {
        if (j == 0)
            continue;
        if (inRun(n + j))
            r[5 + j] = n + j;
    }
    return r;
}

void PairScan::advance()
{
    ++paircur;
    if (pairstart <= pairend) {
        if (paircur > pairend)
            paircur = pairstart;
    } else {
        if (paircur > pairlast())
            paircur = 0;
        if (paircur == pairend + 1)
            paircur = pairstart;
    }
}

bool PairScan::tunable(int k) const
{
    if (k < 0 || k > pairlast())
        return false;
    const FreqPair &p = pairs[k];
    return p.active == 1 && pairFieldHasNumber(p.freqa) && pairFieldHasNumber(p.freqb);
}

std::optional<int> PairScan::findTunable()
{
    // paircur itself may lie outside the run (a Continue after the run was
    // changed), so one look more than the table has pairs.
    for (int looks = 0; looks <= pairlast() + 1; ++looks) {
        if (tunable(paircur))
            return paircur;
        advance();
    }
    return std::nullopt;
}

double PairScan::frequency(int k, int side) const
{
    if (k < 0 || k > pairlast())
        return 0;
    return numericValue(side == 1 ? pairs[k].freqb : pairs[k].freqa);
}

namespace {

// A frequency field the reader would not give back as it stands (one that
// holds a comma, begins with a double quote or has blanks at its ends, as a
// quoted field read from a file may) is written quoted, so a save and a
// load never change it. Such a value never holds a quote of its own.
QString frequencyField(const QString &f)
{
    const QString t = f.trimmed();
    if (f.contains(QLatin1Char(',')) || t.startsWith(QLatin1Char('"')) || t.size() != f.size())
        return QLatin1Char('"') + f + QLatin1Char('"');
    return f;
}

} // namespace

QStringList PairScan::toLines() const
{
    QStringList lines;
    for (const FreqPair &p : pairs)
        lines << frequencyField(p.freqa) + QLatin1Char(',') + frequencyField(p.freqb) + QLatin1Char(',') +
                     numSingle(p.active) + QLatin1Char(',') + p.remark;
    return lines;
}

namespace {

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// One field of a line from `pos`, which is left after the field's comma. A
// field whose first non-blank is a double quote is quoted: it holds all up
// to the next double quote, commas and blanks included (up to the line's end
// when none follows), and what stands between that quote and the next comma
// is dropped. Any other field ends at the next comma and loses the blanks
// at its ends.
QString nextField(const QString &line, qsizetype &pos)
{
    qsizetype i = pos;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    if (i < line.size() && line[i] == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
        if (close < 0) {
            pos = line.size();
            return line.mid(i + 1);
        }
        const qsizetype comma = line.indexOf(QLatin1Char(','), close + 1);
        pos = comma < 0 ? line.size() : comma + 1;
        return line.mid(i + 1, close - i - 1);
    }
    const qsizetype comma = line.indexOf(QLatin1Char(','), i);
    const qsizetype end = comma < 0 ? line.size() : comma;
    pos = comma < 0 ? line.size() : comma + 1;
    return line.mid(i, end - i).trimmed();
}

} // namespace

bool PairScan::fromLines(const QStringList &lines)
{
    if (lines.isEmpty())
        return false;
    QVector<FreqPair> table;
    table.reserve(lines.size());
    for (const QString &line : lines) {
        FreqPair p;
        // Three fields, then the remark: the writer leaves it as typed,
        // commas and quotes included, so it is the rest of the line.
        qsizetype pos = 0;
        p.freqa = nextField(line, pos);
        p.freqb = nextField(line, pos);
        const double a = numericValue(nextField(line, pos));
        p.active = int16_t(a >= -32768 && a <= 32767 ? roundHalfEven(a) : 0);
        p.remark = line.mid(pos).trimmed();
        table << p;
    }
    pairs = table;
    return true;
}

} // namespace tav
