#include "panels/rx320state.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace tav::rx320state {

namespace {

// The number a line holds, or nothing when it holds none.
std::optional<double> lineNumber(const QStringList &lines, int i)
{
    if (i >= lines.size())
        return std::nullopt;
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    if (!number.match(lines[i]).hasMatch())
        return std::nullopt;
    const double v = leadingNumber(lines[i]);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

int16_t whole(const std::optional<double> &v, int16_t fallback, int lo, int hi, bool &ok)
{
    if (!v) {
        ok = false;
        return fallback;
    }
    const double c = std::clamp(*v, double(lo), double(hi));
    if (c != *v)
        ok = false;
    return int16_t(roundHalfEven(c));
}

} // namespace

bool read(const QString &path)
{
    const QStringList lines = readTextLines(path, kShortLineMax).value_or(QStringList());
    bool ok = lines.size() >= 8;
    const auto f = lineNumber(lines, 0);
    if (f && *f >= 100 && *f <= 30000) {
        G.rx320freq = *f;
    } else {
        ok = false;
        G.rx320freq = f ? std::clamp(*f, 100.0, 30000.0) : kDefaultFreq;
    }
    G.rx320filter = whole(lineNumber(lines, 1), kDefaultFilter, 0, 33, ok);
    G.rx320pbs = whole(lineNumber(lines, 2), kDefaultPbs, -2000, 2000, ok);
    G.rx320agc = whole(lineNumber(lines, 3), kDefaultAgc, 1, 3, ok);
    G.rx320bfo = whole(lineNumber(lines, 4), kDefaultBfo, -3000, 3000, ok);
    G.rx320mode = whole(lineNumber(lines, 5), kDefaultMode, 0, 3, ok);
    G.rx320volume = whole(lineNumber(lines, 6), kDefaultVolume, 0, 99, ok);
    G.rx320linelevel = whole(lineNumber(lines, 7), kDefaultLinelevel, 0, 99, ok);
    return ok;
}

bool write(const QString &path, QString *error)
{
    const QStringList lines = {numDouble(G.rx320freq),   numDouble(G.rx320filter), numDouble(G.rx320pbs),
                               numDouble(G.rx320agc),    numDouble(G.rx320bfo),    numDouble(G.rx320mode),
                               numDouble(G.rx320volume), numDouble(G.rx320linelevel)};
    return writeTextLines(path, lines, error);
}

} // namespace tav::rx320state
