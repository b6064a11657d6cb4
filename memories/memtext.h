#pragma once
// What the memory windows show and print of a cell, and what the receiver is
// set to from one: plain functions over the memory image and the name tables
// of the receiver chosen at Go.

#include "memories/memimage.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace tav {

// The receiver the memory windows work for: the one chosen at the last Go.
int memRxtype();

// A name from a table by a stored digit; "" when the digit lies outside it.
template <class Table> QString tableName(const Table &t, double index)
{
    if (!(index >= 0) || index >= double(t.size()))
        return QString();
    return t[int(index)];
}

// The five texts of grid row `cell`: NR, FREQUENCY, MD, BW and the tag. A
// cell the image does not hold shows five empty texts.
std::array<QString, 5> memGridRow(const MemImage &image, int cell);

// The detail labels of a held cell, in the order lblAtt, lblAgc, lblPBS,
// lblBfo, lblSql, lblScan.
struct MemDetails {
    QString att, agc, pbs, bfo, sql, scan;
};
MemDetails memDetails(const QString &record);

// The printed memory list: the title lines (naming `fileName`), the
// receiver's header line, then one line per cell from..to.
QStringList memPrintLines(const MemImage &image, int from, int to, int rxtype, const QString &fileName);


// The memory scan's interval after each tick, in ms: the delay less 0.1 s,
// and for the AR7030, whose driver waits for its replies itself, less 0.95 s.
int memScanIntervalMs(int rxtype, double delaySeconds);
// The delay box's value held within 1..60 s.
double memScanDelay(double typed);

} // namespace tav
