#include "lists/bdxclist.h"

#include "core/numtext.h"

namespace tav::lists {

BdxcList BdxcList::fromLines(const QList<QByteArray> &raw)
{
    BdxcList l;
    l.m_lines.reserve(raw.size());
    // Before the first line stands the blank element 0.
    const QByteArray blank(kWidth, ' ');
    for (const QByteArray &r : raw) {
        QByteArray line = fixedWidth(r, kWidth);
        // A "." stands for the field of the line before, as that line was completed.
        const QByteArray &prev = l.m_lines.isEmpty() ? blank : l.m_lines.last();
        if (line[0] == '.')
            line.replace(0, 17, QByteArrayView(prev.constData(), 17));
        if (line[17] == '.')
            line.replace(17, 18, QByteArrayView(prev.constData() + 17, 18));
        l.m_lines.append(line);
    }
    return l;
}

bool BdxcList::isTimeAnswer(const QString &answer)
{
    if (answer.size() != 4)
        return false;
    const double v = numericValue(answer);
    return v > 0 && v <= 2400;
}

bool BdxcList::onAir(const QByteArray &s, const QByteArray &e, const QByteArray &t)
{
    if (s < e)
        return s <= t && t <= e;
    if (s > e)
        return t >= s || t <= e;
    return true;
}

std::optional<QVector<int>> BdxcList::select(const QString &answer) const
{
    QVector<int> rows;
    if (answer.toLower() == QLatin1String("all")) {
        rows.resize(count());
        for (int k = 0; k < count(); ++k)
            rows[k] = k + 1;
        return rows;
    }
    if (!isTimeAnswer(answer))
        return std::nullopt;
    const QByteArray t = answer.toLatin1();
    for (int k = 0; k < count(); ++k) {
        const QByteArray &l = m_lines[k];
        if (onAir(QByteArray::fromRawData(l.constData() + 35, 4), QByteArray::fromRawData(l.constData() + 40, 4), t))
            rows.append(k + 1);
    }
    return rows;
}

QString BdxcList::cell(int k, int column) const
{
    const QByteArray &l = line(k);
    switch (column) {
    case 0: return columns(l, 0, 16);
    case 1: return columns(l, 17, 17);
    case 2: return columns(l, 35, 9);
    default:
        if (column < 3 || column >= kColumns)
            return QString();
        {
            const FrequencyFields f = frequencyFields(l, 48);
            const int field = column - 3;
            return field < f.count ? bdxcFieldText(f.value[size_t(field)]) : QString();
        }
    }
}

QStringList BdxcList::titles(const QString &fileName)
{
    if (fileName.left(3).toUpper() == QLatin1String("ILG"))
        return {QStringLiteral(" Broadcast Org."), QStringLiteral(" Language"), QStringLiteral(" Time(UTC)"),
                QStringLiteral(" Frequencies")};
    return {QStringLiteral(" Country"), QStringLiteral(" Broadcast Org."), QStringLiteral(" Time(UTC)"),
            QStringLiteral(" Frequencies")};
}

QString BdxcList::defaultAnswer(const QString &utctext)
{
    QString hm = utctext.right(5);
    hm.remove(QLatin1Char(':'));
    return hm;
}

} // namespace tav::lists
