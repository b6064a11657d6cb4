#pragma once
// The station record store that the ILG and aero list windows share, its
// loader, the two searches, the sort and the timed scan's stepping. Counters
// and indexes are plain ints: a store holds the station-file size setting's
// thousands of lines and one more.

#include "core/textfile.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <initializer_list>
#include <optional>

namespace tav {

// Station records as the file holds them: Latin-1 bytes, each record
// cut or padded to its held width of 126, all in one block. Copies share the
// block (a window keeps the file it shows while the store loads another).
class StationRecords {
public:
    static constexpr int kWidth = 126;
    StationRecords() = default;
    // From lines of text (cut or padded to the held width).
    StationRecords(const QVector<QString> &lines);
    StationRecords(std::initializer_list<QString> lines) : StationRecords(QVector<QString>(lines)) {}
    int size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    // The record's kWidth bytes.
    const char *data(int i) const { return m_bytes.constData() + qsizetype(i) * kWidth; }
    // The record as text, built on demand.
    QString operator[](int i) const { return QString::fromLatin1(data(i), kWidth); }
    QString at(int i) const { return (*this)[i]; }
    // Columns `col` (1-based) to col + width - 1 of a record as text.
    QString columns(int i, int col, int width) const { return QString::fromLatin1(data(i) + col - 1, width); }
    void append(const char *line, qsizetype length);
    void reserve(int records) { m_bytes.reserve(qsizetype(records) * kWidth); }
    void squeeze() { m_bytes.squeeze(); }
    void clear();
    bool operator==(const StationRecords &o) const { return m_count == o.m_count && m_bytes == o.m_bytes; }

private:
    QByteArray m_bytes;
    int m_count = 0;
};

struct StationStore {
    StationRecords ftlrecs;   // the loaded records, each 126 bytes
    QVector<int> ftlindex;    // the record of each list line, in list order
    int ftlcount = -1;        // index of the last loaded record
    int ftlhits = -1;         // index of the last used ftlindex entry
    void clear();
};

// The one store of the program.
StationStore &ftlStore();
// Lines a station file may have: the station-file size setting x 1000 + 1.
int stationStoreCapacity();
// Bytes of a station file read at most for a store of `capacity` records:
// four times a file of full lines.
qint64 stationFileMaxBytes(int capacity);

struct StationLoad {
    bool ok = true;
    QString error;
    int lines = 0;      // lines stored
    int leftOut = 0;    // lines beyond the store's size
    bool countStopped = false; // the file went on past the reading bound: more were left out
    LeftOut leftOutLines() const { return {leftOut, countStopped}; }
};
// Reads a station file into held 126-byte records, at most `capacity`; the
// lines beyond are counted, not kept, as far as the bound of the largest
// store the set-up allows. A file whose first `capacity` lines pass that
// bound is refused.
StationLoad readStationLines(const QString &path, int capacity, StationRecords &out);
// The message after a load that left lines out (empty when none were): how
// many, and the set-up size that holds the whole file.
QStringList stationLoadNotice(const StationLoad &r);
// The same on a file's content already in memory.
StationLoad stationLinesFromContent(const QByteArray &content, int capacity, StationRecords &out);
// Loads a file into the store: records in file order, the list index 0..n-1.
StationLoad loadStationStore(const QString &path, StationStore &store, int capacity);

// Progress figures of a search (whole numbers 0..100).
using SearchProgress = std::function<void(int figure)>;

// Empty or zero bounds become "0" and "32"; reversed bounds are exchanged.
void normalizeBounds(QString &lower, QString &upper);

struct IlgCriteria {
    bool freq = false;
    QString lower, upper; // MHz, normalised by the search
    bool language = false, station = false, country = false, onAir = false, target = false;
    QString languageText, stationText, countryText, targetText;
};
// The records of the ILG search, in record order. `nowHhmm` is the UTC time.
QVector<int> ilgSearch(const StationStore &store, IlgCriteria &c, int nowHhmm, const SearchProgress &progress = {});
// The list line of a found ILG record: columns 1-77, then 101-126.
QString ilgSearchLine(const QString &rec);
QString ilgSearchLine(const char *rec);

struct AeroCriteria {
    bool freq = false;
    QString lower, upper;
    bool network = false;
    QString networkText;
};
QVector<int> aeroSearch(const StationStore &store, AeroCriteria &c, const SearchProgress &progress = {});

// The list order after a sort of `index` by key 0 frequency, 1 start time,
// 2 organisation, 3 language: the program's gap-halving exchange sort, each
// record's key built once.
QVector<int> ftlSort(const StationRecords &recs, const QVector<int> &index, int sortkey);
// A record's sort key (49 characters).
QByteArray ftlSortKey(const QString &rec, int sortkey);
// The same written into `key` (49 bytes) from a held record's bytes.
void ftlSortKey(const char *rec, int sortkey, char *key);

// The timed scan through a list: passes over entries that repeat the last
// scanned frequency (at most 200 a tick) and wraps at the end.
class StationScan {
public:
    int position = 0;
    double lastFrequency = 0;
    struct Step {
        double frequency; // to tune
        int select;       // the entry to select
    };
    // One tick over `count` entries whose frequencies `freqAt` gives. Nothing
    // for an empty list; a position beyond the list starts at the first entry.
    std::optional<Step> tick(int count, const std::function<double(int)> &freqAt);
    // After the selection: the position moves on by one.
    void advance(int count);
};

} // namespace tav
