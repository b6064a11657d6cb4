#pragma once
// The program's text files: Latin-1, one byte a column; written with CR LF,
// read with CR LF, LF or CR. Saves go to a temporary file that is renamed over
// the old one, so a failed write leaves the old file whole.

#include <QString>
#include <QStringList>
#include <optional>

namespace tav {

// Reads every line of a file. std::nullopt when the file cannot be read.
// A final line end does not make an extra empty line.
std::optional<QStringList> readTextLines(const QString &path);
// The same, each line cut after `maxLine` bytes: for the small files whose
// lines have a known short form (settings, positions, ports, panel state).
std::optional<QStringList> readTextLines(const QString &path, int maxLine);
// Why the last readTextLines of `path` failed, in words.
QString readFailureReason(const QString &path);

// Splits file content into lines by the rules above (maxLine < 0: no cut).
QStringList splitTextLines(const QByteArray &content, int maxLine = -1);

// A line read as Latin-1 taken as UTF-8 when its bytes are valid UTF-8.
QString utf8IfValid(const QString &latin1Line);

// Line length past which the short configuration lines are cut at reading.
constexpr int kShortLineMax = 512;

// Text from a file, cut to `max` characters with "..." so that a message or a
// label stays readable (and fast) whatever the file held.
QString shownText(const QString &text, int max = 120);

// Writes the lines, each ended by CR LF, atomically. On failure returns false
// and puts the reason into *error (when given); the old file is untouched.
bool writeTextLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// Appends the lines (CR LF each) to the end of a file, creating it if needed.
bool appendTextLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// Looks for `name` in `dir` without regard to case. Returns the file's real
// name in that directory when one matches, else std::nullopt.
std::optional<QString> findFileNoCase(const QString &dir, const QString &name);

// The path to use for `name` in `dir`: the existing file whose name matches
// without regard to case, else dir + name.
QString resolveNoCase(const QString &dir, const QString &name);

// Files in `dir` matching any of the ";"-separated wildcard patterns, without
// regard to case, sorted by name without regard to case.
QStringList listFilesNoCase(const QString &dir, const QString &patterns);

// Makes sure a directory exists (creating missing parents).
bool ensureDir(const QString &dir);

} // namespace tav
