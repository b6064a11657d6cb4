#include "logbook/logbook.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/setupdata.h"
#include "core/recordfile.h"
#include "core/textfile.h"

#include <QFileInfo>

#include <cmath>
#include <cstring>
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

namespace {

// Where each field starts in a record's bytes.
constexpr std::array<int, kLogFields> kFieldOffset = [] {
    std::array<int, kLogFields> o{};
    int at = 0;
    for (int i = 0; i < kLogFields; ++i) {
        o[size_t(i)] = at;
        at += kLogFieldWidth[size_t(i)];
    }
    return o;
}();
static_assert(kFieldOffset[kLogFields - 1] + kLogFieldWidth[kLogFields - 1] == LogRecords::kFieldBytes);

// A field's text as stored: Latin-1, at most its width.
QByteArray fieldText(const QString &value, int field)
{
    return value.left(kLogFieldWidth[size_t(field)]).toLatin1();
}

} // namespace

LogRecordRef::operator LogRecord() const { return std::as_const(m_store).at(m_index); }
QString LogRecordRef::operator[](size_t field) const { return m_store.field(m_index, int(field)); }
LogRecordRef &LogRecordRef::operator=(const LogRecord &r)
{
    m_store.set(m_index, r);
    return *this;
}

LogRecords::LogRecords(const QVector<LogRecord> &records)
{
    reserve(int(records.size()));
    for (const LogRecord &r : records)
        push_back(r);
}

int LogRecords::length(int i, int field) const { return uchar(recordData(i)[kFieldBytes + field]); }

const char *LogRecords::fieldBytes(int i, int field) const { return recordData(i) + kFieldOffset[size_t(field)]; }

LogRecord LogRecords::at(int i) const
{
    LogRecord r;
    for (int f = 0; f < kLogFields; ++f)
        r[size_t(f)] = field(i, f);
    return r;
}

QVector<LogRecord> LogRecords::toVector() const
{
    QVector<LogRecord> v;
    v.reserve(m_count);
    for (int i = 0; i < m_count; ++i)
        v.push_back(at(i));
    return v;
}

void LogRecords::set(int i, const LogRecord &r)
{
    char *d = recordData(i);
    for (int f = 0; f < kLogFields; ++f) {
        const QByteArray t = fieldText(r[size_t(f)], f);
        const int w = kLogFieldWidth[size_t(f)];
        std::memcpy(d + kFieldOffset[size_t(f)], t.constData(), size_t(t.size()));
        std::memset(d + kFieldOffset[size_t(f)] + t.size(), ' ', size_t(w - t.size()));
        d[kFieldBytes + f] = char(t.size());
    }
}

void LogRecords::push_back(const LogRecord &r)
{
    m_bytes.resize(m_bytes.size() + kBytes);
    ++m_count;
    set(m_count - 1, r);
}

void LogRecords::appendLine(const char *line, qsizetype n)
{
    const qsizetype at = m_bytes.size();
    m_bytes.resize(at + kBytes);
    char *d = m_bytes.data() + at;
    std::memset(d, ' ', kFieldBytes);
    qsizetype col = 4; // field 0 starts in column 5
    for (int f = 0; f < kLogFields; ++f) {
        const int w = kLogFieldWidth[size_t(f)];
        const qsizetype len = std::clamp<qsizetype>(n - col, 0, w);
        if (len > 0)
            std::memcpy(d + kFieldOffset[size_t(f)], line + col, size_t(len));
        d[kFieldBytes + f] = char(len);
        col += w + 1;
    }
    ++m_count;
}

void LogRecords::writeLine(int i, int number, char *out) const
{
    const QByteArray nr = logRecordNumber(number).toLatin1();
    std::memset(out, ' ', kLogLineLength);
    std::memcpy(out, nr.constData(), size_t(std::min<qsizetype>(nr.size(), 3)));
    int col = 4;
    for (int f = 0; f < kLogFields; ++f) {
        std::memcpy(out + col, fieldBytes(i, f), size_t(length(i, f)));
        col += kLogFieldWidth[size_t(f)] + 1;
    }
}

void LogRecords::removeAt(int i)
{
    if (i < 0 || i >= m_count)
        return;
    m_bytes.remove(qsizetype(i) * kBytes, kBytes);
    --m_count;
}

void LogRecords::clear()
{
    m_bytes = QByteArray();
    m_count = 0;
}

void LogRecords::permute(const std::vector<int> &order)
{
    QByteArray out(m_bytes.size(), Qt::Uninitialized);
    for (size_t k = 0; k < order.size(); ++k)
        std::memcpy(out.data() + qsizetype(k) * kBytes, recordData(order[k]), kBytes);
    m_bytes = std::move(out);
}

qint64 logFileMaxBytes(int capacity)
{
    // Four times a file of full lines with CR LF.
    return std::max<qint64>(capacity, 1000) * (kLogLineLength + 2) * 4;
}

std::optional<LogFileContent> readLogFile(const QString &path, int capacity, QString *tooLarge)
{
    LogFileContent c;
    capacity = std::max(0, capacity);
    const qint64 size = QFileInfo(path).size();
    c.records.reserve(int(std::min<qint64>(capacity, size / (kLogLineLength + 2) + 1)));
    // Whatever the set-up's size, a file is read as far as the largest logbook's bound.
    const int largest = kListSizeLargest * 1000 + 1;
    const RecordFileRead r = readRecordLines(path, capacity, kLogLineLength, logFileMaxBytes(std::max(capacity, largest)),
                                             [&](const char *d, qsizetype n) { c.records.appendLine(d, n); });
    if (!r.ok) {
        if (tooLarge && r.tooLarge)
            *tooLarge = r.error;
        return std::nullopt;
    }
    c.records.squeeze();
    c.linesInFile = qsizetype(r.linesInFile);
    c.countStopped = r.countStopped;
    return c;
}

LogFileContent logFileFromContent(const QByteArray &content, int capacity)
{
    LogFileContent c;
    const RecordFileRead r = splitRecordLines(content, std::max(0, capacity), kLogLineLength,
                                              [&](const char *d, qsizetype n) { c.records.appendLine(d, n); });
    c.linesInFile = qsizetype(r.linesInFile);
    return c;
}

bool writeLogFile(const QString &path, const LogRecords &records, QString *error)
{
    QStringList lines;
    lines.reserve(records.size());
    char line[kLogLineLength];
    for (int i = 0; i < records.size(); ++i) {
        records.writeLine(i, i, line);
        lines << QString::fromLatin1(line, kLogLineLength);
    }
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

// The sort key of record i: the order's five fields, upper-cased, compared
// by character code.
std::string logSortKeyBytes(const LogRecords &records, int i, int sortkey)
{
    const auto &t = kSortTemplates[size_t(std::clamp(sortkey, 0, 4))];
    QByteArray k;
    k.reserve(LogRecords::kFieldBytes);
    for (int f : t)
        k.append(records.fieldBytes(i, f), records.length(i, f));
    // Character-code order on the upper-cased Latin-1 text.
    const QByteArray b = latin1Upper(QString::fromLatin1(k)).toLatin1();
    return std::string(b.constData(), size_t(b.size()));
}

// The program's gap-halving exchange sort of the positions by their keys.
std::vector<int> sortOrder(const std::vector<std::string> &keys)
{
    const int last = int(keys.size()) - 1;
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    if (last < 1)
        return order;
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
    return order;
}

} // namespace

QString logSortKey(const LogRecord &r, int sortkey)
{
    const LogRecords one{r};
    return QString::fromLatin1(logSortKeyBytes(one, 0, sortkey));
}

void logSort(LogRecords &records, int sortkey)
{
    if (records.size() < 2)
        return;
    std::vector<std::string> keys;
    keys.reserve(size_t(records.size()));
    for (int i = 0; i < records.size(); ++i)
        keys.push_back(logSortKeyBytes(records, i, sortkey));
    records.permute(sortOrder(keys));
}

void logSort(QVector<LogRecord> &records, int sortkey)
{
    LogRecords r(records);
    logSort(r, sortkey);
    records = r.toVector();
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
