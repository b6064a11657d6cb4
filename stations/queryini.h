#pragma once
// The query windows' choice files ("ilgquery.ini", "aeroquery.ini"): a line
// beginning "***" starts the next combo's items, "===" lines are skipped,
// every other line is an item of the current combo.

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace tav {

struct QueryFile {
    QVector<QStringList> combos;
    int beforeFirst = 0; // item lines before the first "***": no combo to go to
    int beyondLast = 0;  // item lines after the "***" of a combo the window lacks
    bool cut = false;    // more lines than such a file holds; the rest unread
};

QueryFile parseQueryLines(const QStringList &lines, int combos);

// The file read under its kind's limits; std::nullopt when it is missing,
// unreadable or far too large (readFailureReason says which).
std::optional<QueryFile> readQueryFile(const QString &path, int combos);

// What the window says once about a file read with lines left out; nothing
// when none were.
QStringList queryFileRemarks(const QString &fileName, const QueryFile &q);

} // namespace tav
