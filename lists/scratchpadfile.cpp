#include "lists/scratchpadfile.h"

namespace tav::lists {

void ScratchPad::clearCells()
{
    for (auto &row : cells)
        for (QString &c : row)
            c.clear();
}

QStringList ScratchPad::toLines() const
{
    QStringList lines;
    for (int r = 0; r < kRows; ++r) {
        QString line = notes[size_t(r)] + QLatin1Char(',');
        for (const QString &c : cells[size_t(r)])
            line += c + QLatin1Char(',');
        lines << line;
    }
    return lines;
}

int ScratchPad::readLines(const QStringList &lines)
{
    clearCells();
    int cut = 0;
    for (int r = 0; r < kRows && r < lines.size(); ++r) {
        QString rest = lines[r];
        const int first = int(rest.indexOf(QLatin1Char(',')));
        if (first >= 0) {
            notes[size_t(r)] = rest.left(first);
            rest = rest.mid(first + 1);
        }
        auto &row = cells[size_t(r)];
        if (!rest.contains(QLatin1Char(','))) {
            row[0] = rest;
            continue;
        }
        int col = 0;
        qsizetype start = 0;
        bool lost = false;
        for (qsizetype comma = rest.indexOf(QLatin1Char(',')); comma >= 0;
             comma = rest.indexOf(QLatin1Char(','), start)) {
            if (col < kCells)
                row[size_t(col++)] = rest.mid(start, comma - start);
            else
                lost = lost || comma > start;
            start = comma + 1;
        }
        cut += lost ? 1 : 0;
    }
    return cut;
}

} // namespace tav::lists
