#pragma once
// The logbook: one record of fifteen fixed-width text fields per heard
// transmission, the LOG_ file of 160-character lines, the column mask of the
// grid and the five sort orders. Nothing here needs a window.

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
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

// The number the user sees for a record index: its last three digits ("000").
QString logRecordNumber(int index);
// One file line: the number, then each field cut or padded to its width and
// followed by a blank. Always 160 characters.
QString logLine(int index, const LogRecord &r);
// The fields of one file line (the number is ignored); a short line gives
// the part of each field that exists.
LogRecord parseLogLine(const QString &line);

struct LogFileContent {
    QVector<LogRecord> records;
    qsizetype linesInFile = 0; // more than records.size() when the file did not fit
};
// Reads at most `capacity` records. std::nullopt when the file cannot be read.
std::optional<LogFileContent> readLogFile(const QString &path, int capacity);
bool writeLogFile(const QString &path, const QVector<LogRecord> &records, QString *error = nullptr);

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
void logSort(QVector<LogRecord> &records, int sortkey);

// ---- the program's logbook ----
struct LogStore {
    QVector<LogRecord> records;
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
