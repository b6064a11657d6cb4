#pragma once
// Timer programs without a window: the editor of one program with its
// spinners and the model's setting rules, the table of six programs with the
// checks against past and overlapping programs, and the TPR_ file.

#include "drivers/receiver.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tav {

// What the model's rules let a program hold in one receiver setting, for
// the program's bandwidth and mode and the set-up's receiver options. A free
// setting takes any value of `range` but `skip`; a held one shows "xxx" and
// holds `held` (nullopt: it keeps its value, which is never sent). `because`
// says which mode or option makes the rule ("in mode NFM").
struct SettingRule {
    bool free = true;
    std::optional<int> held;
    IntRange range;
    std::optional<int> skip;
    QString because;
};
// Indexed 0 attenuator, 1 bandwidth, 2 shift, 3 width, 4 mode, 5 AGC. The one
// statement of the rules: the editor's spinners and the file's reader both
// follow it.
using SettingRules = std::array<SettingRule, 6>;
SettingRules timerSettingRules(int rxtype, int bw, int mode);

// One program as the table keeps it: columns 1..20 (0 unused). 1 day, 2 month,
// 3 year, 4 hour, 5 minute, 6 duration, 7 attenuator, 8 bandwidth, 9 pass-band
// shift, 10 bandwidth-control width, 11 mode, 12 AGC, 13..20 the frequency
// digits from 1 Hz (13) to 10 MHz (20).
using ProgRow = std::array<int, 21>;
constexpr int kPrograms = 6;
constexpr int kFirstYear = 2000, kLastYear = 2099;

// Gregorian calendar over the years the editor offers.
bool isLeapYear(int year);
int lastDayOfMonth(int month, int year);
const QString &monthName(int month); // 1..12 "Jan".."Dec"

// "yyyy mm dd hh:mm" of a row's start and of its end (start + duration).
QString startText(const ProgRow &row);
QString endText(const ProgRow &row);
bool rowEmpty(const ProgRow &row);
// Frequency of a row in kHz.
double rowFrequencyKHz(const ProgRow &row);

// The editor of one program. Every change goes through a spinner or a
// receiver-setting rule; the label texts follow the fields.
class TimerEditor {
public:
    // The receiver the editor works for (0..4) and its options.
    explicit TimerEditor(int rxtype = 0);
    int rxtype() const { return m_rx; }

    // Fields
    int day = 15, month = 8, year = 2002, hour = 12, minute = 30, duration = 10;
    int att = 0, bw = 0, pbs = 0, bwc = 0, mode = 0, agc = 0;
    std::array<int, 8> digits{};
    int savedbw = 0, savedpbs = 0, savedbwc = 0, savedagc = 0, prevmode = 0;
    int bwcmax = 0, bwcmin = 0;
    // Whether each receiver-setting spinner works (0 att .. 5 AGC).
    std::array<bool, 6> rxEnabled{true, true, true, true, true, true};

    // Label texts
    QString dateLabel(int i) const;   // 0 day, 1 month name, 2 two-digit year
    QString timeLabel(int i) const;   // 0 hour, 1 minute, 2 duration
    QString rxLabel(int i) const;     // "xxx" while disabled
    QString freqLabel(int i) const { return QString::number(digits[size_t(i)]); }
    // Every text a receiver-setting label can show for the editor's model
    // (each value of the field's range, the receiver's own reading, "xxx").
    QStringList rxLabelTexts(int i) const;

    // Spinners (up true, down false); a disabled one does nothing.
    void spinDate(int index, bool up);
    void spinTime(int index, bool up);
    void spinFreq(int index, bool up);
    void spinRxSetting(int index, bool up);

    // The present UTC as the editor's date and time.
    void setUtc(const QDateTime &utc);
    // The frequency in kHz as digits (whole hertz).
    void setFrequencyKHz(double kHz);
    long long frequencyHz() const;
    // Receiver settings read from the receiver, then the model's rules.
    using Reading = RxSetting;
    void setFromReceiver(const Reading &r);

    // The width and mode steps of the FittedOptions rules, and the mode step
    // of the ModeHeldSettings rules.
    void nrd535option11();
    void nrd535smdis5();
    void nrd545smdisx();

    QString startText() const;
    ProgRow toRow() const;
    // Takes a stored program as it is, so a later Fix stores exactly it.
    void fromRow(const ProgRow &row);

private:
    const TimerEditing &editing() const;
    SettingRules rules() const { return timerSettingRules(m_rx, bw, mode); }
    // Frees the settings the rules leave free and holds the others at the
    // rule's value, showing "xxx".
    void takeRules();

    int m_rx;
    // The shift as the receiver reading showed it, until the shift changes.
    QString m_pbsRead;
};

// The six programs.
class TimerTable {
public:
    std::array<ProgRow, kPrograms + 1> progdata{};   // rows 1..6
    std::array<bool, kPrograms + 2> progfixed{};     // 1..6; 7 always false

    // The highest fixed program, 0 when none.
    int highestFixed() const;
    void clearRow(int n);

    // True when `start` lies in the present minute or before it; a present
    // minute not yet known passes nothing.
    static bool tooLate(const QString &start, const QString &nowMinute);
    // True when `start` does not lie after the end of program n - 1.
    bool tooEarly(int n, const QString &start) const;

    // Replaces the programs by those of `rows` (row n from line n, empty rows
    // skipped), each fixed as Fix would fix it after the ones taken before:
    // one whose start is not after `nowMinute`, or not after the end of the
    // program before it, is left out. Returns "Line n: why" for each left out.
    QStringList takePrograms(const std::array<ProgRow, kPrograms + 1> &rows, const QString &nowMinute);
};

// ---- TPR_ files ----
QString tprLine(const ProgRow &row);
// A line's row; std::nullopt for a line that is not a program line.
std::optional<ProgRow> parseTprLine(const QString &line);
QStringList tprLines(const std::array<ProgRow, kPrograms + 1> &table);

// Why a row cannot be a program for receiver `rxtype` ("the month 13 is not
// in 1 to 12", "in mode NFM the AGC is 2, not 3"); "" when every field lies in
// the range the editor gives it and keeps to the model's rules.
QString timerRowProblem(const ProgRow &row, int rxtype);

// A timer-program file larger than this is no timer-program file.
constexpr qint64 kTprFileMaxBytes = 64 * 1024;

struct TprReadResult {
    int count = 0;        // programs read: one less than the first row whose day is 0, or 6
    QStringList refused;  // "Line 2: the month 13 is not in 1 to 12", one per refused line
    int linesPast = 0;    // lines with text after the sixth, not read
};
// Reads the lines into a cleared table, line n into row n. A line that is not
// a program line, or whose values are not a program for `rxtype`, is refused:
// its row stays empty, so nothing of it reaches the editor or the receiver.
TprReadResult tprRead(const QStringList &lines, int rxtype, std::array<ProgRow, kPrograms + 1> &table);

// The program-wide table the TPR_ files are exchanged with.
std::array<ProgRow, kPrograms + 1> &tprdata();

} // namespace tav
