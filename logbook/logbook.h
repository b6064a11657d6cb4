#pragma once
// The logbook: one record of fifteen fixed-width text fields per heard
// transmission, the LOG_ file of 160-character lines, the column mask of the
// grid and the five sort orders. Nothing here needs a window.

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <initializer_list>
#include <vector>
#include <optional>

namespace tav {

constexpr int kLogFields = 15;
// Width of each field: the entry box's length, the file's columns and the
// column dialog's count.
constexpr std::array<int, kLogFields> kLogFieldWidth = {8, 4, 4, 9, 5, 3, 20, 20, 5, 5, 5, 5, 40, 4, 4};
constexpr int kLogLineLength = 160;
enum LogField { LogDate = 0, LogStart = 1, LogEnd = 2, LogFreq = 3, LogSinpo = 4, LogLanguage = 5,
                LogStation = 6, LogLocation = 7, LogParallel1 = 8, LogRemarks = 12, LogRxSetting = 13,
                LogAux = 14 };

using LogRecord = std::array<QString, kLogFields>;

class LogRecords;
// A record of the store as the code changes it: reads as a LogRecord, takes
// one by assignment.
class LogRecordRef {
public:
    LogRecordRef(LogRecords &store, int index) : m_store(store), m_index(index) {}
    operator LogRecord() const;
    QString operator[](size_t field) const;
    LogRecordRef &operator=(const LogRecord &r);

private:
    LogRecords &m_store;
    int m_index;
};

// The logbook's records as Latin-1 bytes in one block: each record holds its
// fifteen fields at their full widths (blank-padded) and the length of each,
// so a field reads back exactly as it was stored (a short line's fields stay
// short). Fields are views into the block; text is built only when asked.
class LogRecords {
public:
    static constexpr int kFieldBytes = 141; // the sum of the field widths
    static constexpr int kBytes = kFieldBytes + kLogFields;
    LogRecords() = default;
    LogRecords(const QVector<LogRecord> &records);
    LogRecords(std::initializer_list<LogRecord> records) : LogRecords(QVector<LogRecord>(records)) {}
    int size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    int length(int i, int field) const;
    const char *fieldBytes(int i, int field) const;
    QLatin1StringView fieldView(int i, int field) const
    {
        return QLatin1StringView(fieldBytes(i, field), length(i, field));
    }
    QString field(int i, int field) const { return fieldView(i, field).toString(); }
    LogRecord operator[](int i) const { return at(i); }
    LogRecordRef operator[](int i) { return LogRecordRef(*this, i); }
    LogRecord at(int i) const;
    QVector<LogRecord> toVector() const;
    void set(int i, const LogRecord &r);
    void push_back(const LogRecord &r);
    // A file line's fields (bytes after the four-column number).
    void appendLine(const char *line, qsizetype length);
    // The file line of record i, written at `out` (kLogLineLength bytes).
    void writeLine(int i, int number, char *out) const;
    void removeAt(int i);
    void reserve(int records) { m_bytes.reserve(qsizetype(records) * kBytes); }
    void squeeze() { m_bytes.squeeze(); }
    void clear();
    // The records in the order given (each index once).
    void permute(const std::vector<int> &order);
    bool operator==(const LogRecords &o) const { return m_count == o.m_count && m_bytes == o.m_bytes; }

private:
    char *recordData(int i) { return m_bytes.data() + qsizetype(i) * kBytes; }
    const char *recordData(int i) const { return m_bytes.constData() + qsizetype(i) * kBytes; }
    QByteArray m_bytes;
    int m_count = 0;
};

// The number the user sees for a record index: its last three digits ("000").
QString logRecordNumber(int index);
// One file line: the number, then each field cut or padded to its width and
// followed by a blank. Always 160 characters.
QString logLine(int index, const LogRecord &r);
// The fields of one file line (the number is ignored); a short line gives
// the part of each field that exists.
LogRecord parseLogLine(const QString &line);

struct LogFileContent {
    LogRecords records;
    qsizetype linesInFile = 0; // more than records.size() when the file did not fit
    bool countStopped = false; // the file is larger than the reading bound: it holds more lines still
};
// Reads at most `capacity` records; lines beyond are counted, not kept, up
// to the bound of a logbook of the set-up's largest size. std::nullopt when
// the file cannot be read, or its first `capacity` lines pass that bound
// (the reason in *tooLarge).
std::optional<LogFileContent> readLogFile(const QString &path, int capacity, QString *tooLarge = nullptr);
// The same on a file's content already in memory.
LogFileContent logFileFromContent(const QByteArray &content, int capacity);
// Bytes of a logbook file read at most, for a logbook of `capacity` records.
qint64 logFileMaxBytes(int capacity);
bool writeLogFile(const QString &path, const LogRecords &records, QString *error = nullptr);

// The entry dialog's stored forms. A time that is a number becomes four
// digits ("930" -> "0930"); other text stays as typed.
QString logTimeText(const QString &typed);
// The frequency as "00000" (whole) or "00000.000"; std::nullopt when it does
// not fit the field (100000 kHz and above, or negative with decimals).
std::optional<QString> logFrequencyText(const QString &typed);

// ---- columns ----
// The mask: one character per field, "1" shown. Missing characters are hidden.
QString allColumnsMask();
QVector<int> shownFields(const QString &mask);
// Sum of (width + 1) over the shown fields, as the length label shows it:
// the last three digits of total + 1000 ("156" for all fields).
int logLength(const QString &mask);
QString logLengthLabel(const QString &mask);
// Titles and widths in twips of the record-number column (entry 0) and of
// field i (entry i + 1).
const std::array<QString, 16> &logColumnTitles();
const std::array<int, 16> &logColumnWidths();
// Whether a click in this field's column tunes the receiver (the frequency,
// SINPO and parallel-frequency columns).
bool logFieldTunes(int field);

// ---- sort ----
// Sort orders 0 Date, 1 Time, 2 Frequency, 3 Organisation, 4 Language.
QString logSortKey(const LogRecord &r, int sortkey);
// Gap-halving exchange sort of the records by `sortkey`; each record's key
// is computed once.
void logSort(LogRecords &records, int sortkey);
void logSort(QVector<LogRecord> &records, int sortkey);

// ---- the program's logbook ----
struct LogStore {
    LogRecords records;
    // The records as the file last loaded or saved holds them.
    LogRecords saved;
    bool unsaved() const { return !(records == saved); }
    QString colmask = allColumnsMask();
    int sortkey = 0;
    // Index of the last record (-1 when empty).
    int logcount() const { return int(records.size()) - 1; }
    // Records the store holds at most: the log size setting in thousands, plus one.
    static int capacity();
};
LogStore &logStore();
void resetLogStore();

} // namespace tav
