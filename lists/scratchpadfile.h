#pragma once
// The scratch pad's contents and its file (FSP_): ten rows a to j, each a
// notes text and eight cells, one line a row: notes, ",", then each cell
// followed by ",".

#include <QString>
#include <QStringList>
#include <array>

namespace tav::lists {

class ScratchPad {
public:
    static constexpr int kRows = 10, kCells = 8;

    std::array<std::array<QString, kCells>, kRows> cells;
    std::array<QString, kRows> notes;

    void clearCells();

    // The file's lines.
    QStringList toLines() const;
    // Reads a file's lines: every cell is emptied first; each row a line
    // reaches takes its cells from it, and its notes when the line has a ",";
    // rows the file does not reach keep their notes. Cells beyond the eighth
    // are not kept; a line without a "," after the notes fills the first cell.
    // Gives the number of lines that had text in such a cell.
    int readLines(const QStringList &lines);
};

} // namespace tav::lists
