#pragma once
// What the list files share: how many lines a list may hold, reading a file's
// lines as Latin-1 bytes (one byte a column, any line ending), fixed-width
// lines, and the comma-separated frequency fields of the broadcast and own
// lists.

#include "core/setupdata.h"
#include "core/textfile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace tav::lists {

// The rows a list may hold: the setting's thousands of lines. A size of
// 0 or less (an old settings file) counts as the set-up dialog's default.
int listCapacity(Setting size);

struct ListLines {
    QList<QByteArray> lines;
    bool overflow = false; // the file had more lines than fit
    qint64 linesInFile = 0; // counted up to the reading bound
    bool countStopped = false; // the file went on past that bound
    LeftOut leftOut() const { return {linesInFile - lines.size(), countStopped}; }
};

// The lines of a file, at most `capacity` of them, each cut after
// filelimits::kListLineBytes; the lines beyond are counted as far as the
// bound of the largest list the set-up allows. std::nullopt when the file
// cannot be read, or its first `capacity` lines pass that bound. A final
// line end does not make an extra empty line.
std::optional<ListLines> readListLines(const QString &path, int capacity);
// Why readListLines gave nothing, for the user.
QString listReadFailure(const QString &path);
// The same on content already read.
ListLines splitListLines(const QByteArray &content, int capacity);

// The line cut or padded with blanks to `width` bytes.
QByteArray fixedWidth(const QByteArray &line, int width);

// The text of `width` bytes from 0-based `start`, as a string.
QString columns(const QByteArray &line, int start, int width);

// The frequency fields of a line: the text from 0-based `start` to the end,
// with one "," appended, split at every ",". Field k lies between the
// (k-1)-th and the k-th comma; an empty field keeps its place. At most
// kMaxFields are taken; more on a line are ignored.
constexpr int kMaxFields = 10;
struct FrequencyFields {
    std::array<double, kMaxFields> value{};
    int count = 0;
};
FrequencyFields frequencyFields(const QByteArray &line, int start);

// A field as the broadcast list shows it: the number text with its leading
// blank (" 9560"), or "" for a value below 10.
QString bdxcFieldText(double value);
// A field as the own list shows it: the same without the leading blank.
QString ownFieldText(double value);

// The message a list shows once when a file did not fit, naming the set-up
// size (`size`) that holds it.
void reportOverflow(const QString &fileName, int capacity, const ListLines &read, Setting size);

} // namespace tav::lists
