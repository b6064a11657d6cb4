#include "lists/f320list.h"

#include "core/numtext.h"

namespace tav::lists {

F320List::Row F320List::parseLine(const QByteArray &line)
{
    Row row;
    int field = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size() && field < kFields; ++i) {
        if (line[i] != ',')
            continue;
        QString text = QString::fromLatin1(line.constData() + start, i - start);
        if (text.startsWith(QLatin1Char('"')))
            text.remove(0, 1);
        if (text.endsWith(QLatin1Char('"')))
            text.chop(1);
        row[size_t(field++)] = text;
        start = i + 1;
    }
    return row;
}

F320List F320List::fromLines(const QList<QByteArray> &raw)
{
    F320List l;
    l.m_rows.reserve(raw.size());
    for (const QByteArray &r : raw)
        l.m_rows.append(parseLine(r));
    return l;
}

QString F320List::frequencyText(const QString &mhz) { return fixedFormat(numericValue(mhz) * 1000, 5, 3); }

QString F320List::cell(int k, int column) const
{
    const Row &r = row(k);
    switch (column) {
    case 0: return r[0];
    case 1: return frequencyText(r[1]);
    case 2: return r[2];
    case 3: return r[7];
    case 4: return r[8];
    case 5: return r[9];
    case 6: return r[10];
    case 7: return r[11].left(20);
    default: return QString();
    }
}

QStringList F320List::titles()
{
    return {QStringLiteral("Name"),     QStringLiteral("Frequency"), QStringLiteral("Md"),
            QStringLiteral("Location"), QStringLiteral("Language"),  QStringLiteral("Strt"),
            QStringLiteral("End"),      QStringLiteral("Notes")};
}

} // namespace tav::lists
