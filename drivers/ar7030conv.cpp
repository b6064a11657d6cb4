#include "drivers/ar7030conv.h"

#include "core/numtext.h"

#include <cmath>

namespace tav::ar7030conv {

namespace {
// One step of the AR7030's shift in kHz.
constexpr double kStepKhz = 0.033189;

// Text number -> whole steps, bounded before converting so that absurd texts
// ("1e30", long digit runs) cannot overflow.
int64_t stepsOf(double khz)
{
    double steps = std::floor(khz / kStepKhz + 0.5);
    if (!(steps >= 0))
        return 0;
    return steps > 1000 ? 1000 : int64_t(steps);
}
} // namespace

QString b2fs(int b)
{
    if (b == 0)
        return QStringLiteral(" 0.0k");
    if (b >= 1 && b <= 127)
        return QLatin1Char('+') + fixedFormat(b * kStepKhz, 1, 1) + QLatin1Char('k');
    if (b >= 128 && b <= 255)
        return QLatin1Char('-') + fixedFormat((256 - b) * kStepKhz, 1, 1) + QLatin1Char('k');
    return QString();
}

int fs2b(const QString &text)
{
    if (text == QLatin1String(" 0.0K") || text.isEmpty())
        return 0;
    const QChar sign = text.at(0);
    if (sign != QLatin1Char('+') && sign != QLatin1Char('-'))
        return 0;
    const int64_t steps = stepsOf(numericValue(text.mid(1)));
    if (sign == QLatin1Char('+'))
        return int(steps > 127 ? 127 : steps);
    int64_t b = 256 - steps;
    if (b > 255)
        b = 255;
    return int(b < 128 ? 128 : b);
}

int b2vsb(int b)
{
    if (b >= 0 && b <= 127)
        return b / 3;
    if (b >= 128 && b <= 255) {
        const int v = int(std::floor((b - 256) / 3.0));
        // 128 and 129 would give -43, one below the bars' end.
        return v < -42 ? -42 : v;
    }
    return 0;
}

int vsb2b(int v)
{
    if (v >= 0 && v <= 42)
        return 3 * v;
    if (v >= -42 && v <= -1)
        return 3 * v + 256;
    return 0;
}

QString b2sql(int b)
{
    if (b < 0 || b > 150)
        return QStringLiteral("?");
    return padded(int64_t(std::floor(b * 0.66 + 0.5)), 2);
}

int sql2b(const QString &text)
{
    const double v = std::floor(numericValue(text) / 0.66 + 0.5);
    if (!(v > 0))
        return 0;
    return v > 150 ? 150 : int(v);
}

} // namespace tav::ar7030conv
