#pragma once
// The memory image: the program's copy of the receiver's memory channels
// ("cells"), one memory record and one alpha tag per cell, shared by the
// memory manager, the cell editor, the transfers and the memory scan.
//
// A cell the image never held (not fetched, loaded or edited) has no record
// at all. That is kept apart from the receiver's empty-channel record
// ("XXX..."): Fill writes only held cells, so a partial fetch followed by a
// fill cannot wipe the receiver's other channels, and the sort leaves such
// cells empty instead of turning them into records.

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

namespace tav {

constexpr int kMemInfoLength = 45;
constexpr int kMemFileLineLength = 80;

class MemImage {
public:
    // Every cell 0..lastcell unheld, no tags.
    void reset(int lastcell);
    int lastCell() const { return int(m_records.size()) - 1; }
    bool valid(int cell) const { return cell >= 0 && cell < m_records.size(); }

    bool held(int cell) const { return valid(cell) && !m_records[cell].isEmpty(); }
    // The 35-column record, "" when the cell is not held (or out of range).
    QString record(int cell) const { return valid(cell) ? m_records[cell] : QString(); }
    // The 45-column tag, "" when none was ever written.
    QString info(int cell) const { return valid(cell) ? m_info[cell] : QString(); }
    // Stores a record padded or cut to 35 columns; the cell becomes held.
    void setRecord(int cell, const QString &record);
    // Stores a tag padded or cut to 45 columns; a tab becomes a blank, so the
    // tag never splits the grid's cells.
    void setInfo(int cell, const QString &info);
    // Any held cell (`memarrayloaded`).
    bool anyHeld() const;
    // Held cells in ascending order.
    QVector<int> heldCells() const;

    // The memory file: one 80-column line per cell, record then tag; a cell
    // never held is 80 blanks.
    QStringList fileLines() const;
    // Reads file lines into a fresh image of 0..lastcell: the first 34
    // columns are the record (an all-blank record is a cell never held), the
    // columns from 36 on the tag. A record that is no channel of receiver
    // `rxtype` is refused: its cell stays unheld, so no Fill sends it. Lines
    // past the last cell are not read; both are counted for the user.
    struct FileRead {
        QStringList refused; // "Cell 007: the mode 9 is not in 0 to 8"
        int linesPast = 0;   // lines with text past the last cell
    };
    FileRead readFileLines(const QStringList &lines, int lastcell, int rxtype);

    // Orders the held cells by frequency and renumbers them (see the .cpp);
    // returns the gaps the sort went through. Cell `keep` (the receiver's
    // working channel) takes no part: it stays where it is, as it is.
    QVector<int> sortByFrequency(std::optional<int> keep = std::nullopt);
    // The gap sequence of the sort for a highest cell number.
    static QVector<int> sortGaps(int lastcell);

private:
    QVector<QString> m_records;
    QVector<QString> m_info;
};

// A memory file larger than this is far larger than any memory file (1000
// cells of 82 bytes) and is refused before it is read.
constexpr qint64 kMemFileMaxBytes = 512 * 1024;

// Why a record read from a memory file is no channel of receiver `rxtype`
// (a frequency outside its range, a field outside its name table); "" when
// it is one, or the empty-channel record.
QString memRecordProblem(const QString &record, int rxtype);

// The channel the receiver's status read overwrites (the model's working
// channel), if it has one; and the text the manager shows for it.
std::optional<int> workingChannel(int rxtype);
QString workingChannelTag();
// The lines that tell why the working channel `cell` was not written.
QStringList workingChannelNotice(int cell);

// The shared state of the memory windows.
struct MemoryState {
    MemImage image;       // memrecords / meminfo
    int memcellnr = 0;    // the selected cell
    int memcellaction = 0; // 1 change, 2 store the receiver's setting, 3 copy, 4 delete
    int memmantoprow = 0; // first grid row shown by the memory scan
    bool transferring = false; // a fetch or fill is running
    // The image's file lines as last loaded from or saved to a memory file
    // (the empty image's when the manager opened).
    QStringList saved;
};
MemoryState &memState();

// The text of a cell number as the windows show it ("007").
QString cellText(int cell);

// A number typed into a range or cell box: the text's numeric value rounded
// half to even, read wide so no typed number wraps round; std::nullopt when it
// does not fit a 16-bit cell number at all.
std::optional<int> cellNumber(const QString &text);

// The range rule of Fill, Print and the scan: `from` 0..lastcell-1, `to`
// 0..lastcell. Gives the range in ascending order, or std::nullopt when refused.
struct CellRange {
    int from = 0, to = 0;
};
std::optional<CellRange> cellRange(const QString &fromText, const QString &toText, int lastcell);

} // namespace tav
