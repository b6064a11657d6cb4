#pragma once
// The memory record (`memrecord`): one receiver memory channel as a fixed
// 35-column text, shared by every driver with memory channels, the memory
// manager, its files and the memory-cell editor.
//
// Columns (counted from 1; blanks at 7, 16, 18, 21, 23, 25, 29, 33, 35):
//   1-3   "MEM" a used channel, "XXX" an empty one
//   4-6   channel number, 3 digits
//   8-15  frequency in Hz, 8 digits
//   17    mode digit
//   19-20 bandwidth (filter) number, 2 digits
//   22    attenuator digit            ("@" when the model has none: AR7030)
//   24    AGC digit                   ("@" on the AR7030)
//   26-28 pass-band shift byte        ("@@@" on the JRC receivers)
//   30-32 squelch or BFO byte         ("@@@" on the JRC receivers)
//   34    scan flag digit             ("@" on the JRC receivers)
// "@" marks a field the model does not have; readers show it as blank.
//
// Every record these helpers produce is exactly 35 characters, so the
// columns stay fixed whatever the values: numbers are clamped into their
// field's width rather than allowed to shift the columns after them.

#include <QString>

#include <optional>

namespace tav {

struct RxModel;

constexpr int kMemRecordLength = 35;

// First and last column (from 1) of each field.
struct MemField {
    int first;
    int last;
};
namespace memcol {
constexpr MemField Kind{1, 3};
constexpr MemField Cell{4, 6};
constexpr MemField Frequency{8, 15};
constexpr MemField Mode{17, 17};
constexpr MemField Bandwidth{19, 20};
constexpr MemField Attenuator{22, 22};
constexpr MemField Agc{24, 24};
constexpr MemField PassBandShift{26, 28};
constexpr MemField SqlBfo{30, 32};
constexpr MemField Scan{34, 34};
} // namespace memcol

// The text of a field (shorter when the record is short; never fails).
QString memFieldText(const QString &record, MemField f);
// The field read by leading-number parsing, as the receivers' writes read it:
// a field of "@" characters, "No data" or blanks reads as 0.
double memFieldValue(const QString &record, MemField f);
// Whether the field holds a value (not "@", not blank, not beyond the record).
bool memFieldPresent(const QString &record, MemField f);

// Pads or cuts a record to its 35 columns.
QString memPadded(const QString &record);

// The empty-channel record: "XXX" + cell + " No data  @ @@ @ @ @@@ @@@ @ ".
// The same text serves every model (the AR7030's 34 characters plus the
// blank that fills the 35th column).
QString memEmptyRecord(int cell);
// The same with the channel digits exactly as a receiver reply gave them.
QString memEmptyRecord(const QString &cellDigits);

// The 8-digit frequency field for a frequency in Hz, rounded to the nearest
// Hz (never truncated) and held within 0..99999999.
QString memFrequencyField(double hz);
// The AR7030's frequency field: the frequency rounded to two decimals of a
// kHz (so a multiple of 10 Hz), which hides the 2.66 Hz step of its
// frequency word ("10000000" for a word read back as 9999.9994 kHz).
QString memAr7030FrequencyField(double khz);

// A used AR7030 channel. `mode` 0..7 (0 still gets its digit, so the record
// keeps its columns), `filter` 0..6, `pbs` and `sqlbfo` the stored bytes
// 0..255, `scan` 0 or 1.
QString memAr7030Record(int cell, double khz, int mode, int filter, int pbs, int sqlbfo, int scan);

// Why a field's value is no value of the model: "the mode 15 is not in 1 to 7".
QString memValueProblem(const QString &what, long long value, int lo, int hi);

// A used JRC channel (NRD-535, NRD-545) from the pieces of the receiver's
// reply, copied as they stand: channel digits (3), frequency digits (8), the
// mode, bandwidth, attenuator and AGC characters. Missing characters become
// blanks so the columns stay fixed.
QString memJrcRecord(const QString &cellDigits, const QString &freqDigits, QChar mode, QChar bandwidth,
                     QChar attenuator, QChar agc);

// The NRD-545's AGC digit of a record: the reply's AGC time (in tens) /10,
// rounded halves to even, held in 1..9.
QChar memNrd545AgcDigit(const QString &agcTime);

// A record taken apart into typed fields; absent ("@") fields are empty.
struct MemRecord {
    bool used = false;               // "MEM"
    bool empty = false;              // "XXX"
    int cell = 0;
    double hz = 0;                   // 0 for "No data"
    std::optional<int> mode, bandwidth, attenuator, agc, pbs, sqlbfo, scan;

    double khz() const { return hz / 1000.0; }
    // Builds the 35-column text: "MEM" when `used`, else the empty record of
    // the cell. Absent fields are written as "@".
    QString text() const;
    static MemRecord parse(const QString &record);
};

// What recalling a record sets on a receiver; nothing for a record whose
// frequency lies outside the loaded model's range ("XXX" records have none).
struct MemSetting {
    double khz = 0;
    int mode = 0, bandwidth = 0, pbs = 0, sqlbfo = 0, agc = 0;
    // The JRC status text: "X", attenuator, bandwidth digit, mode, the
    // eight frequency digits, AGC.
    QString status;
};
std::optional<MemSetting> memSetting(const QString &record, const RxModel &model);

} // namespace tav
