#pragma once
// The file kinds' readers and writers, filled in by the windows that own the
// data, and the rules every save keeps: names found without regard to case,
// an existing file replaced only once the new one is completely written.

#include "core/filekind.h"
#include "core/setupdata.h"
#include "core/textfile.h"

#include <QFile>
#include <QString>
#include <functional>
#include <optional>

namespace tav {

struct FileResult {
    bool ok = true;
    QString error; // why it failed, for the user
    // A reader's lines of the file that it did not load (cut at what the
    // store holds, or refused): a save over the file would lose them.
    LeftOut leftOut;
    static FileResult success() { return {}; }
    static FileResult failure(const QString &why) { return {false, why, {}}; }
    static FileResult loaded(const LeftOut &leftOut) { return {true, QString(), leftOut}; }
};

// A reader reads the file at `path` (an existing file of the kind) into its window.
using FileReader = std::function<FileResult(const QString &path)>;
// A writer writes the complete file to `path`. The path is a fresh file beside
// the target that is renamed over it once the writer succeeds; a writer that
// keeps its file open (the propagation measurement) goes on writing the
// renamed file.
using FileWriter = std::function<FileResult(const QString &path)>;

// The fixed facts of a kind: its folder below the data path, the prefix of
// the names the program gives, the Load dialog's patterns (";" between) and
// the name the Save dialog offers ("" where it offers none).
struct FileKindInfo {
    const char *subdir, *prefix, *pattern, *defaultName;
};
const FileKindInfo &fileKindInfo(FileKind kind);

// The station lists have one reader per station database (`ftlkind`); other
// kinds ignore `ftl`.
void registerReader(FileKind kind, FileReader reader, StationDb ftl = StationDb::None);
// `abandoned` is called when the writer succeeded but its file could not
// take the target's place: a writer that keeps its file open must let go of it.
void registerWriter(FileKind kind, FileWriter writer, std::function<void()> abandoned = {});
bool hasReader(FileKind kind, StationDb ftl = StationDb::None);
bool hasWriter(FileKind kind);
// Tests: forget every reader and writer.
void clearFileHandlers();

// The current file of a kind as it is on disk: filedirs(kind) + the existing
// file whose name matches filenames(kind) without regard to case, else the name
// as given.
QString currentFilePath(FileKind kind);

// Reads the current file of `kind` (a station list of database `db`) with its reader. Reports a missing or
// unreadable file, a kind without reader and a failing reader to the user;
// returns whether the file was read. What the reader left out of the file is
// kept for the kind until its next load, for the question before a save
// replaces that file.
bool runReader(FileKind kind, StationDb db = StationDb::None);
// What the last load of `kind` left out of the file at `path` (names
// compared without regard to case), while that file is as it was loaded;
// std::nullopt when it was loaded whole, another file was loaded since, or
// it has been written since.
std::optional<LeftOut> partlyLoaded(FileKind kind, const QString &path, StationDb db = StationDb::None);
// Forgets what loads left out (tests, and a fresh start of the program).
void clearPartialLoads();
// Writes the current file of `kind` with its writer, through a temporary file
// that replaces the old one only when the writer succeeded; the kind's
// directory is created when missing. Failures are returned, not shown.
FileResult runWriter(FileKind kind);

// The overwrite check before a save of the current file of `kind`. With
// `ask`, an existing file (found without regard to case) is replaced only
// after the user's Yes; without, the caller has asked already. On yes the
// kind's current name becomes the existing file's own spelling, so no second
// file differing only in case appears. The old file is never removed here:
// the save replaces it.
bool checkoverwrite(FileKind kind, bool ask);
// The question before the file at `path` is replaced: `firstLine`, then,
// when that file was loaded only in part, how many of its records the
// replacing loses (and No is the default answer), then "Do you want to
// replace it ?". Yes, No and Cancel; returns the answer.
int askReplace(FileKind kind, const QString &path, const QString &firstLine, const QString &title);

// For a file larger than the store a set-up size ("Dim LOG", ...) gives:
// the sentence that names the size that would hold its `linesInFile` lines,
// where a size of n holds n * 1000 + `extraRows` lines (`atLeast`: the file holds more still).
QString setupSizeAdvice(Setting size, qint64 linesInFile, bool atLeast, int extraRows);

// The one RTTY capture file, opened for appending by the Save dialog and
// written and closed by the RTTY window.
QFile &rttyCaptureFile();
// Tells the RTTY window the capture file's name (set where that window is
// registered, so the Save dialog needs to know no panel window).
void setRttyCaptureShown(std::function<void(const QString &)> show);
void showRttyCaptureFile(const QString &name);

// Windows that keep a file open register how to close it; a panel's Exit
// closes them all before the program ends.
void registerOpenFileCloser(const QString &key, std::function<void()> closer);
void closeOpenFiles();

} // namespace tav
