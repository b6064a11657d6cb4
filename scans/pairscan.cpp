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

QStringList PairScan::toLines() const
{
    QStringList lines;
    for (const FreqPair &p : pairs)
        lines << p.freqa + QLatin1Char(',') + p.freqb + QLatin1Char(',') + numSingle(p.active) + QLatin1Char(',') +
                     p.remark;
    return lines;
}

bool PairScan::fromLines(const QStringList &lines)
{
    if (lines.isEmpty())
        return false;
    QVector<FreqPair> table;
    table.reserve(lines.size());
    for (const QString &line : lines) {
        FreqPair p;
        // Three fields, then the remark: a remark may hold commas.
        const QStringList parts = line.split(QLatin1Char(','));
        auto field = [&](int i) { return i < parts.size() ? parts[i].trimmed() : QString(); };
        p.freqa = field(0);
        p.freqb = field(1);
        const double a = numericValue(field(2));
        p.active = int16_t(a >= -32768 && a <= 32767 ? roundHalfEven(a) : 0);
        if (parts.size() > 3)
            p.remark = parts.mid(3).join(QLatin1Char(',')).trimmed();
        table << p;
    }
    pairs = table;
    return true;
}

} // namespace tav
