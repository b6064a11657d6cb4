#include "stations/queryini.h"

#include "core/numtext.h"
#include "core/textfile.h"

namespace tav {

QueryFile parseQueryLines(const QStringList &lines, int combos)
{
    QueryFile q;
    q.combos.resize(qMax(0, combos));
    int current = -1;
    for (const QString &l : lines) {
        if (l.startsWith(QLatin1String("***"))) {
            ++current;
            continue;
        }
        if (l.startsWith(QLatin1String("===")))
            continue;
        if (current < 0)
            ++q.beforeFirst;
        else if (current >= combos)
            ++q.beyondLast;
        else
            q.combos[current] << l;
    }
    return q;
}

std::optional<QueryFile> readQueryFile(const QString &path, int combos)
{
    const std::optional<TextLines> read = readTextFile(path, filelimits::kQueryIni);
    if (!read)
        return std::nullopt;
    QueryFile q = parseQueryLines(read->lines, combos);
    q.cut = read->cut;
    return q;
}

QStringList queryFileRemarks(const QString &fileName, const QueryFile &q)
{
    QStringList out;
    if (q.beforeFirst > 0)
        out << counted(q.beforeFirst, "line") +
                   (q.beforeFirst == 1 ? QStringLiteral(" before the first \"***\" line belongs to no choice list and was left out.")
                                       : QStringLiteral(" before the first \"***\" line belong to no choice list and were left out."));
    if (q.beyondLast > 0)
        out << counted(q.beyondLast, "line") + QStringLiteral(" after the last choice list's part ") +
                   (q.beyondLast == 1 ? QStringLiteral("was") : QStringLiteral("were")) + QStringLiteral(" left out.");
    if (q.cut)
        out << QStringLiteral("The file has more lines than such a file holds; only its first %1 were read.")
                   .arg(filelimits::kQueryIni.maxLines);
    if (!out.isEmpty())
        out.prepend(QStringLiteral("The file ") + fileName);
    return out;
}

} // namespace tav
