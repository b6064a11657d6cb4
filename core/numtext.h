#pragma once
// Number text as the program writes and reads it, independent of the locale:
// "." is always the decimal point, whatever the user's language.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace tav {

// A single-precision number with a leading blank when not negative: at most
// 7 significant digits, no zero before the point (" .5", "-2", " 50").
QString numSingle(double value);

// The same with up to 15 significant digits (double precision).
QString numDouble(double value);

// The shortest decimal text without the leading blank ("3", "-2.5", ".5").
QString numPlain(double value);

// The number at the start of the text: blanks skipped at the start only, then
// an optional sign, digits, an optional "." and digits. 0 when there is none.
double leadingNumber(const QString &text);

// The number the text begins with, blanks, tabs and line feeds skipped
// wherever they stand ("1 2" reads 12). 0 when there is none.
double numericValue(const QString &text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2).
int64_t roundHalfEven(double value);

// Rounds towards minus infinity.
int64_t floorInt(double value);

// Fixed picture formats: `zeros` digits before the point padded with 0 and
// `decimals` digits after it ("00000.000" is fixedFormat(v, 5, 3)).
QString fixedFormat(double value, int zeros, int decimals);
// The same picture of a number given as decimal text (digits with at most
// one point, as a file or a table holds it): its own digits rounded half away
// from zero, so 9560.125 gives "09560.13" where the nearest double of a
// binary value might tip it either way. nullopt for any other text.
std::optional<QString> fixedFormatText(QStringView plain, int zeros, int decimals);
// The shortest decimal text that reads back as `value` ("9560.115"), for
// fixedFormatText; nullopt for a value that is not finite.
std::optional<QString> shortestFixedText(double value);

// A whole number with at least `width` digits ("05").
QString padded(int64_t value, int width);

// A count and its noun: "1 record", "2 records" (`noun` is the singular;
// the plural adds "s").
QString counted(int64_t n, const char *noun);

} // namespace tav
