#include "logbook/logbook.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/setupdata.h"
#include "core/textfile.h"

#include <cmath>
#include <numeric>
#include <string>

namespace tav {

QString logRecordNumber(int index) { return QString::number(index + 1000).right(3); }

QString logLine(int index, const LogRecord &r)
{
    QString s;
    s.reserve(kLogLineLength);
    s += logRecordNumber(index);
    s += QLatin1Char(' ');
    for (int i = 0; i < kLogFields; ++i) {
        // A value longer than its field is cut, so no later column shifts.
        s += r[size_t(i)].left(kLogFieldWidth[size_t(i)]).leftJustified(kLogFieldWidth[size_t(i)], QLatin1Char(' '));
        s += QLatin1Char(' ');
    }
    return s;
}

LogRecord parseLogLine(const QString &line)
{
    LogRecord r;
    int col = 4; // 0-based start of field 0 (column 5)
    for (int i = 0; i < kLogFields; ++i) {
        r[size_t(i)] = line.mid(col, kLogFieldWidth[size_t(i)]);
        col += kLogFieldWidth[size_t(i)] + 1;
    }
    return r;
}

std::optional<LogFileContent> readLogFile(const QString &path, int capacity)
{
    const auto lines = readTextLines(path);
    if (!lines)
        return std::nullopt;
    LogFileContent c;
    c.linesInFile = lines->size();
    const qsizetype n = std::min<qsizetype>(lines->size(), std::max(0, capacity));
    c.records.reserve(n);
    for (qsizetype i = 0; i < n; ++i)
        c.records.push_back(parseLogLine(lines->at(i)));
    return c;
}

bool writeLogFile(const QString &path, const QVector<LogRecord> &records, QString *error)
{
    QStringList lines;
    lines.reserve(records.size());
    for (int i = 0; i < records.size(); ++i)
        lines << logLine(i, records[i]);
    return writeTextLines(path, lines, error);
}

namespace {

// Whether the whole text (blanks around it allowed) is a number, as the
// entry dialog's picture formats accept it.
std::optional<double> wholeNumber(const QString &typed)
{
    const QString t = typed.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok); // QString::toDouble is locale-independent ("." only)
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

QString logTimeText(const QString &typed)
{
    const auto v = wholeNumber(typed);
    if (!v)
        return typed;
    return padded(int64_t(std::llround(*v)), 4);
}

std::optional<QString> logFrequencyText(const QString &typed)
{
    const double v = numericValue(typed);
    // The stored form has five digits before the point.
    if (v >= 100000)
        return std::nullopt;
    const QString s = (v == std::floor(v)) ? fixedFormat(v, 5, 0) : fixedFormat(v, 5, 3);
    if (s.size() > kLogFieldWidth[LogFreq])
        return std::nullopt;
    return s;
}

QString allColumnsMask() { return QString(kLogFields, QLatin1Char('1')); }

QVector<int> shownFields(const QString &mask)
{
    QVector<int> f;
    for (int i = 0; i < kLogFields; ++i)
        if (i < mask.size() && mask[i] == QLatin1Char('1'))
            f << i;
    return f;
}

int logLength(const QString &mask)
{
    int total = 0;
    for (int i : shownFields(mask))
        total += kLogFieldWidth[size_t(i)] + 1;
    return total;
}

QString logLengthLabel(const QString &mask) { return logRecordNumber(logLength(mask)); }

const std::array<QString, 16> &logColumnTitles()
{
    static const std::array<QString, 16> t = {
        QStringLiteral("Nr"),     QStringLiteral("Date"),         QStringLiteral("UTC"),
        QStringLiteral("UTC"),    QStringLiteral("Frequency"),    QStringLiteral("SINPO"),
        QStringLiteral("Lan"),    QStringLiteral("Organisation"), QStringLiteral("Tx location"),
        QStringLiteral("//Freq"), QStringLiteral("//Freq"),       QStringLiteral("//Freq"),
        QStringLiteral("//Freq"), QStringLiteral("Remarks"),      QStringLiteral("Rx"),
        QStringLiteral("Aux")};
    return t;
}

const std::array<int, 16> &logColumnWidths()
{
    static const std::array<int, 16> w = {360, 960, 480, 480, 1080, 600, 360, 2400,
                                          2400, 600, 600, 600, 600, 4800, 480, 480};
    return w;
}

bool logFieldTunes(int field) { return field == LogFreq || field == LogSinpo || (field >= 8 && field <= 11); }

namespace {

const std::array<std::array<int, 5>, 5> kSortTemplates = {{{0, 1, 3, 6, 5},
                                                          {1, 0, 3, 6, 5},
                                                          {3, 0, 1, 6, 5},
                                                          {6, 0, 1, 3, 5},
                                                          {5, 0, 1, 3, 6}}};

std::string keyBytes(const LogRecord &r, int sortkey)
{
    const auto &t = kSortTemplates[size_t(std::clamp(sortkey, 0, 4))];
    QString k;
    for (int f : t)
        k += r[size_t(f)];
    // Character-code order on the upper-cased Latin-1 text.
    const QByteArray b = latin1Upper(k).toLatin1();
    return std::string(b.constData(), size_t(b.size()));
}

} // namespace

QString logSortKey(const LogRecord &r, int sortkey) { return QString::fromLatin1(keyBytes(r, sortkey)); }

void logSort(QVector<LogRecord> &records, int sortkey)
{
    const int last = int(records.size()) - 1;
    if (last < 1)
        return;
    std::vector<std::string> keys;
    keys.reserve(size_t(records.size()));
    for (const LogRecord &r : records)
        keys.push_back(keyBytes(r, sortkey));
    std::vector<int> order(size_t(records.size()));
    std::iota(order.begin(), order.end(), 0);

    int gap = last;
    bool once = (last == 1);
    while (gap > 1 || once) {
        once = false;
        gap = std::max<int>(1, int(roundHalfEven(gap / 2.0)));
        int swapmark;
        do {
            swapmark = 0;
            for (int i = 0; i <= last - gap; ++i) {
                if (keys[size_t(order[size_t(i)])] > keys[size_t(order[size_t(i + gap)])]) {
                    std::swap(order[size_t(i)], order[size_t(i + gap)]);
                    swapmark = i;
                }
            }
        } while (swapmark != 0);
    }
    QVector<LogRecord> sorted;
    sorted.reserve(records.size());
    for (int i : order)
        sorted.push_back(std::move(records[i]));
    records = std::move(sorted);
}

int LogStore::capacity()
{
    const int thousands = std::max(1, int(std::lround(setting(Setting::DimLog))));
    return thousands * 1000 + 1;
}

LogStore &logStore()
{
    static LogStore s;
    return s;
}

void resetLogStore() { logStore() = LogStore(); }

} // namespace tav
