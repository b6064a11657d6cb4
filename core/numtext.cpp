#include "core/numtext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tav {

namespace {

// Qt switches the C library to the user's locale at start, so printf and
// strtod would write and expect "," under a German locale; the charconv
// functions never look at the locale.
QString formatSignificant(double value, int digits)
{
    if (value == 0 || !std::isfinite(value))
        return QStringLiteral("0");
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
    QString s = QString::fromLatin1(buf, int(res.ptr - buf));
    int e = s.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        // Exponent form as "1E+07": mantissa without trailing zeros, two-digit exponent.
        QString mant = s.left(e);
        int exp = s.mid(e + 1).toInt();
        if (mant.contains(QLatin1Char('.'))) {
            while (mant.endsWith(QLatin1Char('0')))
                mant.chop(1);
            if (mant.endsWith(QLatin1Char('.')))
                mant.chop(1);
        }
        QString es = QString::number(std::abs(exp)).rightJustified(2, QLatin1Char('0'));
        s = mant + QLatin1Char('E') + (exp < 0 ? QLatin1Char('-') : QLatin1Char('+')) + es;
    }
    if (s.startsWith(QLatin1String("0.")))
        s.remove(0, 1);
    else if (s.startsWith(QLatin1String("-0.")))
        s.remove(1, 1);
    return s;
}

QString withBlank(const QString &s) { return s.startsWith(QLatin1Char('-')) ? s : QLatin1Char(' ') + s; }

double readNumber(const QString &text, bool blanksAnywhere)
{
    std::string digits;
    int i = 0;
    const int n = text.size();
    auto skippable = [&](QChar c) {
        if (c == QLatin1Char(' '))
            return true;
        return blanksAnywhere && (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'));
    };
    while (i < n && skippable(text[i]))
        ++i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        digits += char(text[i].toLatin1());
        ++i;
    }
    bool point = false, any = false;
    for (; i < n; ++i) {
        QChar c = text[i];
        if (blanksAnywhere && skippable(c))
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            digits += char(c.toLatin1());
            any = true;
        } else if (c == QLatin1Char('.') && !point) {
            digits += '.';
            point = true;
        } else {
            break;
        }
    }
    if (!any)
        return 0;
    const char *first = digits.c_str();
    if (*first == '+')
        ++first;
    double v = 0;
    std::from_chars(first, digits.c_str() + digits.size(), v);
    return v;
}

} // namespace

QString numSingle(double value) { return withBlank(formatSignificant(double(float(value)), 7)); }
QString numDouble(double value) { return withBlank(formatSignificant(value, 15)); }
QString numPlain(double value) { return formatSignificant(value, 15); }

double leadingNumber(const QString &text) { return readNumber(text, false); }
double numericValue(const QString &text) { return readNumber(text, true); }

int64_t roundHalfEven(double value)
{
    double r = std::nearbyint(value); // default rounding mode: to nearest, ties to even
    if (!std::isfinite(r))
        return 0;
    if (r > 9.2e18)
        return INT64_MAX;
    if (r < -9.2e18)
        return INT64_MIN;
    return int64_t(r);
}

int64_t floorInt(double value) { return roundHalfEven(std::floor(value)); }

QString fixedFormat(double value, int zeros, int decimals)
{
    if (!std::isfinite(value))
        value = 0;
    // The largest double has 309 digits before the point; with at most 100
    // after it every value fits the buffer.
    zeros = std::clamp(zeros, 0, 100);
    decimals = std::clamp(decimals, 0, 100);
    char buf[512];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, decimals);
    QString s = QString::fromLatin1(buf, int(res.ptr - buf));
    int point = s.indexOf(QLatin1Char('.'));
    int intLen = point < 0 ? s.size() : point;
    if (intLen < zeros)
        s.prepend(QString(zeros - intLen, QLatin1Char('0')));
    if (zeros == 0 && s.startsWith(QLatin1String("0.")))
        s.remove(0, 1);
    bool allZero = true;
    for (QChar c : s)
        if (c != QLatin1Char('0') && c != QLatin1Char('.'))
            allZero = false;
    return (value < 0 && !allZero) ? QLatin1Char('-') + s : s;
}

std::optional<QString> fixedFormatText(QStringView plain, int zeros, int decimals)
{
    zeros = std::clamp(zeros, 0, 100);
    decimals = std::clamp(decimals, 0, 100);
    QString whole, fraction;
    bool point = false, digit = false;
    for (QChar c : plain) {
        if (c == QLatin1Char('.') && !point) {
            point = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digit = true;
            (point ? fraction : whole) += c;
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    // The first digit dropped decides: five or more is half or more.
    const bool up = fraction.size() > decimals && fraction.at(decimals) >= QLatin1Char('5');
    fraction = fraction.left(decimals).leftJustified(decimals, QLatin1Char('0'));
    QString digits = whole + fraction;
    if (up) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0 && digits.at(i) == QLatin1Char('9'); --i)
            digits[i] = QLatin1Char('0');
        if (i < 0)
            digits.prepend(QLatin1Char('1'));
        else
            digits[i] = QChar(digits.at(i).unicode() + 1);
    }
    QString intPart = digits.left(digits.size() - decimals);
    while (intPart.size() > 1 && intPart.at(0) == QLatin1Char('0'))
        intPart.remove(0, 1);
    if (zeros == 0 && intPart == QLatin1String("0") && decimals > 0)
        intPart.clear();
    if (intPart.size() < zeros)
        intPart.prepend(QString(zeros - intPart.size(), QLatin1Char('0')));
    if (intPart.isEmpty() && decimals == 0)
        intPart = QStringLiteral("0");
    return decimals > 0 ? intPart + QLatin1Char('.') + digits.right(decimals) : intPart;
}

std::optional<QString> shortestFixedText(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    if (res.ec != std::errc())
        return std::nullopt;
    return QString::fromLatin1(buf, int(res.ptr - buf));
}

QString padded(int64_t value, int width)
{
    // The magnitude as unsigned: the smallest 64-bit value has no positive twin.
    const uint64_t magnitude = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    QString s = QString::number(magnitude).rightJustified(width, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + s : s;
}

QString counted(int64_t n, const char *noun)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(noun) + (n == 1 ? QString() : QStringLiteral("s"));
}

} // namespace tav
