#pragma once
// The station database line (FTL record): one transmission per line in fixed
// columns, written 125 characters wide and held in memory as 126, the width
// every reader cuts or pads a line to. Columns are numbered from 1.

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace tav::ftl {

constexpr int kWrittenWidth = 125;
constexpr int kHeldWidth = 126;

// Column layout: first column and width of each field.
struct Field {
    int col, width;
};
constexpr Field kFreq{1, 8}, kUtc{10, 9}, kStation{20, 22}, kTarget{43, 8}, kLanguage{52, 17}, kPower{70, 7},
    kLat{78, 5}, kLon{84, 6}, kFlags{91, 9}, kCountry{101, 12}, kLocation{114, 12};

// The text cut to `width` or padded on the right with blanks.
QString fit(const QString &text, int width);
// A line as the readers hold it: cut after column 126 or padded to it.
QString held(const QString &line);
// Characters from column `col` (1-based), at most `width` of them.
QStringView columns(const QString &rec, int col, int width);

// "00000.00" with "." whatever the locale, a half rounded away from zero as
// the decimal value shows it (9560.125 is "09560.13"); nullopt when the value
// does not fit the 8 columns (negative, or 100000 kHz and above once rounded).
std::optional<QString> frequencyText(double khz);
// The same from the decimal text a table holds (digits, at most one point),
// its own digits rounded.
std::optional<QString> frequencyText(QStringView plain);

// The frequency of a held line: the numeric value of columns 1-8.
double frequency(const QString &rec);
// The whole-kHz value of columns 1-5.
double wholeKhz(const QString &rec);
// Start and end of the on-air time, the numeric value of columns 10-13 / 15-18.
int startTime(const QString &rec);
int endTime(const QString &rec);

// The same read from a held record's bytes (kHeldWidth of them), as the
// stores keep it: no text is built.
double numericField(const char *bytes, int width);
double frequency(const char *rec);
double wholeKhz(const char *rec);
int startTime(const char *rec);
int endTime(const char *rec);

// On the air at `now` (hhmm): within start..end, across midnight when the
// start lies after the end, never when the two are equal.
bool onAir(int start, int end, int now);

// hhmm from a clock text whose last five characters are "hh:mm".
int hhmmFromClockText(const QString &utctext);

// The fields of one record as the conversion builds it.
struct Fields {
    QString freq; // already "00000.00"
    QString utc, station, target, language, power, lat, lon;
    std::array<bool, 9> areas{};
    QString country, location;
};
// The 125-character line.
QString build(const Fields &f);

} // namespace tav::ftl
