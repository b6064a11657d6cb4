#pragma once
// The demonstration data: a small example of every file a tool reads, put
// into a data directory where the user has no file of that name. The text
// files come from the source tree's samples/data, the timer programs are
// written for the coming weekend; the ILG dBase tables are
// written here with shapelib, and the station files are made from them (and
// from "aerolist.txt") by the program's own conversions.

#include <QString>
#include <QStringList>

namespace tav {

struct SampleInstall {
    QStringList written; // paths made, relative to the data directory
    QStringList kept;    // the user's own files left as they were
    QString error;       // empty when everything could be written
    bool ok() const { return error.isEmpty(); }
};

// `sourceDir` is samples/data of the source tree, `dataDir` the data
// directory (both with or without a final "/"). Names are matched without
// regard to case, in folders too: an existing "bdxc" folder takes the lists.
// The sample timer programs are dated for the coming weekend (by the clock
// service) and written in the numbers of receiver type `rxtype`; a sample
// an earlier run wrote is dated anew.
SampleInstall installSamples(const QString &sourceDir, const QString &dataDir, int rxtype = 0);

// The two ILG dBase tables, "ilgsdata.dbf" (short wave) and "ilgadata.dbf"
// (long and medium wave), written into `dir`.
bool writeIlgTables(const QString &dir, QString *error);

} // namespace tav
