#include "drivers/jrchub.h"

namespace tav {

std::optional<JrcModeSetting> nrd535ModeSetting(const QString &code, double narFitted)
{
    const QString c = code.toUpper();
    if (c == QLatin1String("A"))
        return JrcModeSetting{4, 0, 1};
    if (c == QLatin1String("U"))
        return JrcModeSetting{2, 1, 0};
    if (c == QLatin1String("L"))
        return JrcModeSetting{3, 1, 0};
    if (c == QLatin1String("C"))
        return JrcModeSetting{1, int16_t(narFitted == 1 ? 2 : 1), 1};
    if (c == QLatin1String("F"))
        return JrcModeSetting{5, 3, std::nullopt};
    if (c == QLatin1String("D"))
        return JrcModeSetting{6, 1, 1};
    return std::nullopt;
}

std::optional<JrcModeSetting> nrd545ModeSetting(const QString &code)
{
    const QString c = code.toUpper();
    static const struct {
        const char *letter;
        int16_t mode;
    } table[] = {{"A", 4}, {"U", 2}, {"L", 3}, {"C", 1}, {"F", 5}, {"D", 0}};
    for (const auto &row : table)
        if (c == QLatin1String(row.letter))
            return JrcModeSetting{row.mode, std::nullopt, std::nullopt};
    return std::nullopt;
}

QString nrd535Mfacode(int mode)
{
    switch (mode) {
    case 0: case 6: return QStringLiteral("d");
    case 1: return QStringLiteral("c");
    case 2: return QStringLiteral("u");
    case 3: return QStringLiteral("l");
    case 4: case 7: case 8: return QStringLiteral("a");
    case 5: return QStringLiteral("f");
    default: return QString();
    }
}

QString nrd545Mfacode(int mode)
{
    switch (mode) {
    case 0: return QStringLiteral("d");
    case 1: return QStringLiteral("c");
    case 2: return QStringLiteral("u");
    case 3: return QStringLiteral("l");
    case 4: case 6: case 7: case 8: return QStringLiteral("a");
    case 5: return QStringLiteral("f");
    default: return QString(); // 9 WFM has no letter
    }
}

std::optional<double> JrcDialReports::take(QString &term, const QString &received, bool &complete) const
{
    term += received;
    complete = term.endsWith(QChar(13));
    if (!complete) {
        if (term.size() > kTermLimit)
            term = term.right(kTermLimit);
        return std::nullopt;
    }
    const QString text = term;
    term.clear();
    const int start = int(text.size()) - m_tail - 8;
    if (start < 0)
        return std::nullopt;
    const QString digits = text.mid(start, 8);
    for (QChar ch : digits)
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return std::nullopt;
    return digits.toLongLong() / 1000.0;
}

} // namespace tav
