#pragma once
// The record the memory cell editor builds from its boxes, with the checks
// that keep a malformed record out of the image and the receiver: the cell
// number within the loaded model's cells, a frequency that fits the record's Hz field
// and the receiver's range, and names that are in the receiver's tables.

#include <QString>
#include <QStringList>
#include <optional>

namespace tav {

struct MemCellFields {
    QString cell, frequency, mode, bandwidth, attenuator, agc, pbs, sqlbfo, scan, tag;
};

struct MemCellBuild {
    std::optional<int> cell; // the cell, once its number was accepted
    QString record;          // 35 columns
    QString info;
    // Why the boxes were refused (empty when the record was built).
    QStringList error;
    QString errorTitle;
    bool ok() const { return error.isEmpty(); }
};

// What the editor showed as it opened: the boxes' texts and the values they
// came from (a cell's record, or the receiver's present setting). The texts
// and the values do not convert into each other exactly (a shift byte shown
// as kHz and read back is one step off), so a value whose text the user left
// as shown keeps the value it came with.
struct MemCellShown {
    MemCellFields texts;
    std::optional<int> mode, bandwidth, attenuator, agc, pbs, sqlbfo, scan;
    // The values behind the texts: a parsed record's or a receiver's setting's.
    template <class Values> void keepValues(const Values &v)
    {
        mode = v.mode;
        bandwidth = v.bandwidth;
        attenuator = v.attenuator;
        agc = v.agc;
        pbs = v.pbs;
        sqlbfo = v.sqlbfo;
        scan = v.scan;
    }
};

// `action` 4 (delete) builds the empty record of the cell and an empty tag.
// With `shown`, a field whose text is still the shown one keeps its value.
MemCellBuild buildMemCell(const MemCellFields &f, int rxtype, int action, const MemCellShown *shown = nullptr);

// The index of a name in a table over lo..hi: the last entry equal to the
// text wins; an empty text never matches; std::nullopt when none matches.
template <class Table> std::optional<int> nameIndex(const Table &t, const QString &text, int lo, int hi)
{
    std::optional<int> found;
    if (text.isEmpty())
        return found;
    for (int i = lo; i <= hi && i < int(t.size()); ++i)
        if (i >= 0 && t[i] == text)
            found = i;
    return found;
}

} // namespace tav
