#pragma once
// The program's text files: Latin-1, one byte a column; written with CR LF,
// read with CR LF, LF or CR. Saves go to a temporary file that is renamed over
// the old one, so a failed write leaves the old file whole.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QFileDevice;
class QSaveFile;
class QTemporaryFile;

namespace tav {

// Line length past which the short configuration lines are cut at reading.
constexpr int kShortLineMax = 512;


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

// What a kind of file can hold. A file larger than `maxBytes` is refused
// before any of it is read (no valid file of the kind comes near it); lines
// past `maxLines` are not read at all, so a file of nothing but line ends
// costs no more than the lines its format can hold.
struct TextLimits {
    qint64 maxBytes = -1; // < 0: no limit
    int maxLines = -1;    // < 0: no limit
    int maxLine = -1;     // each line cut after this many bytes; < 0: no cut
};

// The lines of a file a reader left out: past what its store or format
// holds, or refused. `atLeast` when the count stopped at the reading bound,
// so the file holds still more.
struct LeftOut {
    qint64 lines = 0;
    bool atLeast = false;
    bool any() const { return lines > 0 || atLeast; }
    // Exactly one line: the sentence takes the singular.
    bool one() const { return lines == 1 && !atLeast; }
};
// "199", or "at least 120004" for a count that stopped at the bound.
QString leftOutText(const LeftOut &left);
// The count with its noun, as `counted` gives it: "1 line", "199 lines",
// "at least 120004 lines".
QString leftOutText(const LeftOut &left, const char *noun);

struct TextLines {
    QStringList lines;
    bool cut = false; // the file held more lines than `maxLines`
    qint64 pastWithText = 0; // lines past `maxLines` that hold more than blanks
};

// Splits content under the limits' line rules.
TextLines splitTextLines(const QByteArray &content, const TextLimits &limits);
// A file's bytes, refused unread when larger than `maxBytes` (< 0: any
// size). std::nullopt when it cannot be read or is refused; readFailureReason
// then says why.
std::optional<QByteArray> readFileBytes(const QString &path, qint64 maxBytes);
// Reads a file under the limits. std::nullopt when it cannot be read or is
// larger than the kind allows; readFailureReason(path) then says why.
std::optional<TextLines> readTextFile(const QString &path, const TextLimits &limits);

// The limits of each kind of file, from the most lines its format holds and
// a generous width for each of them.
namespace filelimits {
inline constexpr int kListLineBytes = 1024;
// A list of `capacity` rows (broadcast, own, .320 lists).
TextLimits list(int capacity);
inline constexpr TextLimits kScratchPad{64 * 1024, 10, -1};
// The aero list that the aero conversion reads: its station files hold at
// most 32,767 records, with headings and continuation lines around them.
inline constexpr TextLimits kAeroSource{32 * 1024 * 1024, 200000, -1};
// The query choices ("ilgquery.ini", "aeroquery.ini").
inline constexpr TextLimits kQueryIni{2 * 1024 * 1024, 32767, -1};
inline constexpr TextLimits kListScan{64 * 1024, 20, -1};
// 16-bit pair numbers: at most 32,768 pairs.
inline constexpr TextLimits kPairScan{16 * 1024 * 1024, 32768, -1};
// Caption, band, last step and 501 levels.
inline constexpr TextLimits kBandScan{256 * 1024, 506, -1};
// Three heading lines and a month of minute lines.
inline constexpr TextLimits kPropagation{8 * 1024 * 1024, 3 + 31 * 24 * 60, -1};
inline constexpr TextLimits kProp2prtIni{64 * 1024, 9, kShortLineMax};
inline constexpr TextLimits kLogColumns{64 * 1024, 1, kShortLineMax};
} // namespace filelimits

// Whether a Latin-1 file can hold the text exactly.
bool isLatin1(const QString &text);
// Upper case by Latin-1's own rules: a letter whose capital is in Latin-1
// gets it; others ("ß", "ÿ", "µ") stay as they are, so the text keeps its
// length and every character stays writable.
QString latin1Upper(const QString &text);

// A line read as Latin-1 taken as UTF-8 when its bytes are valid UTF-8.
QString utf8IfValid(const QString &latin1Line);

// Text from a file, cut to `max` characters with "..." so that a message or a
// label stays readable (and fast) whatever the file held.
QString shownText(const QString &text, int max = 120);

// Writes the lines, each ended by CR LF, atomically. On failure returns false
// and puts the reason into *error (when given); the old file is untouched.
// Text a Latin-1 file cannot hold is a failure, never written as "?".
bool writeTextLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// Appends the lines (CR LF each) to the end of a file, creating it if needed.
bool appendTextLines(const QString &path, const QStringList &lines, QString *error = nullptr);

// A file written in pieces that takes its target's place only when every
// byte is on the disk: written unbuffered to a temporary file beside the
// target (QSaveFile), each write checked, synced and its size compared before
// the rename. Anything short of that leaves the old file as it was. A target
// that is a symbolic link is written through to the file it points to; a
// write-protected target is refused (see saveRefusal).
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const QString &path);
    ~AtomicFileWriter(); // an uncommitted file is removed
    AtomicFileWriter(const AtomicFileWriter &) = delete;
    AtomicFileWriter &operator=(const AtomicFileWriter &) = delete;

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    // Adds bytes (kept in memory up to a block, then written).
    void write(const QByteArray &bytes);
    // Adds a line and CR LF; a line a Latin-1 file cannot hold fails the file.
    void writeLine(const QString &line);
    // Puts the file in the target's place; false (and error()) when anything failed.
    bool commit();
    // Gives up: the temporary file is removed, the target untouched.
    void cancel();
    qint64 written() const { return m_total; }

private:
    void flushBlock();
    void fail(const QString &why);
    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_block;
    qint64 m_total = 0;
    QString m_error;
};

// The file a save of `path` writes: the file a symbolic link points to
// (through any number of links), else `path` itself.
QString saveTargetPath(const QString &path);
// Why a save may not replace `path` ("" when it may): the file is
// write-protected. A file whose permissions let nobody write it counts as
// protected for root too, who could write it anyway: the user marked it so.
// (A folder of that name makes the save fail where the file is put in place.)
QString saveRefusal(const QString &path);
// Removes the temporary files that saves of this program left in `dir` when
// they were cut short (killed, or the machine stopped): only names of the
// program's own temporary files, and only those no process holds open.
// Returns how many were removed.
int removeStaleTemporaries(const QString &dir);

// A temporary file of the program's own naming in a folder, for files that
// are written by path (a writer handed a path, a library): it stays open
// while it lives, so no other save takes it for a left-over one, and is
// removed unless it takes its target's name.
class SaveTemporary {
public:
    // `ending` is added to the name (a library that wants ".dbf").
    explicit SaveTemporary(const QString &dir, const QString &ending = QString());
    ~SaveTemporary();
    SaveTemporary(const SaveTemporary &) = delete;
    SaveTemporary &operator=(const SaveTemporary &) = delete;

    bool ok() const { return !m_path.isEmpty(); }
    QString error() const { return m_error; }
    QString path() const { return m_path; }
    // Syncs the file and renames it to `target` (in the same folder). On
    // failure error() says why and the file is still the temporary one.
    bool place(const QString &target);
    // Removes the file now.
    void drop();

private:
    std::unique_ptr<QTemporaryFile> m_file;
    QString m_path, m_error;
};

// The reason for a failed write in words, for the error number the system
// gave; where a library gave no reason ("Unknown error"), the full disk or
// the file-size limit is named when that is the cause. `path` is the file.
QString writeErrorText(int err, const QString &path = QString());
// The same for a Qt file whose write failed (its own text when it has one).
QString writeErrorText(const QFileDevice &file, int err);
// "path could not be written: reason", naming the file once: a reason that
// names it already (a write-protected file's refusal) stands alone.
QString failedWriteText(const QString &path, const QString &reason);

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
