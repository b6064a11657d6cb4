#pragma once
// The conversions that make the station database files: the ILG dBase
// tables into FTL records, and the aero list into its two station files.
// Both run in the window's thread; they hand control to the window's event
// processing now and then (not on every record, which would cost more than
// the conversion itself) and stop when the window asks them to.

#include <QString>
#include <array>
#include <functional>

namespace tav {

class DbfTable;

// The directory of the station files: the existing subdirectory of the data
// directory named "rx2db" in any case, else "RX2DB" (created on demand).
QString stationDirectory(bool create);

struct ConversionHooks {
    // Called every 100 counted records with the count and the record.
    std::function<void(qint64 count, const QString &line)> progress;
    // Called at least every kEventIntervalMs while the conversion runs.
    std::function<void()> processEvents;
    std::function<bool()> stopRequested;
    static constexpr int kEventIntervalMs = 40;
};

struct ConversionResult {
    bool ok = true;
    QString error;         // why the file could not be written
    qint64 count = 0;      // written records (ILG) or lines read (aero)
    qint64 noFrequency = 0; // ILG records left out for a missing or too wide FREQ
    bool unordered = false; // the written frequencies do not ascend
    bool stopped = false;
    qint64 sourceLinesLeftOut = -1; // aero: the list held more lines than are read (-1: it did not)
};

// The ILG conversion. `include` are the four status boxes (E, I, N, P).
// The file appears under its name only once it is complete (or stopped).
ConversionResult convertIlg(const DbfTable &table, const std::array<bool, 4> &include, const QString &outPath,
                            const ConversionHooks &hooks);

// The aero conversion: full details ("aero.ftl") or network data only ("aero2.ftl").
ConversionResult convertAero(const QString &sourcePath, bool networkOnly, const QString &outPath,
                             const ConversionHooks &hooks);

} // namespace tav
