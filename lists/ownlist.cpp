#include "lists/ownlist.h"

namespace tav::lists {

OwnList OwnList::fromLines(const QList<QByteArray> &raw)
{
    OwnList l;
    l.m_lines.reserve(raw.size());
    for (const QByteArray &r : raw)
        l.m_lines.append(fixedWidth(r, kWidth));
    return l;
}

QString OwnList::cell(int k, int column) const
{
    const QByteArray &l = m_lines[k - 1];
    switch (column) {
    case 0: return columns(l, 0, 19);
    case 1: return columns(l, 20, 3);
    case 2: return columns(l, 24, 3);
    case 3: return columns(l, 28, 9);
    case 12: return QString();
    case kModeColumn: {
        const QString letter = columns(l, 43, 1).toUpper();
        return letter.trimmed();
    }
    default:
        if (column < 4 || column > 11)
            return QString();
        {
            const FrequencyFields f = frequencyFields(l, 50);
            const int field = column - 4;
            return field < f.count ? ownFieldText(f.value[size_t(field)]) : QString();
        }
    }
}

QStringList OwnList::titles()
{
    return {QStringLiteral(" Organisation"), QStringLiteral(" ITU"), QStringLiteral(" Lang"),
            QStringLiteral(" Time(UTC)"), QStringLiteral(" Frequencies")};
}

} // namespace tav::lists
