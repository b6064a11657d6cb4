#include "core/textfile.h"

#include "core/numtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QHash>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <cerrno>
#include <dirent.h>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <algorithm>

namespace tav {

QStringList splitTextLines(const QByteArray &content, int maxLine)
{
    TextLimits l;
    l.maxLine = maxLine;
    return splitTextLines(content, l).lines;
}

namespace {

// The lines of d[0, n) that hold anything but blanks: the lines left out that
// were more than padding.
qint64 linesWithText(const char *d, qsizetype n)
{
    qint64 count = 0;
    bool text = false;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = d[i];
        if (c == '\r' || c == '\n') {
            count += text;
            text = false;
        } else if (c != ' ' && c != '\t') {
            text = true;
        }
    }
    return count + text;
}

} // namespace

TextLines splitTextLines(const QByteArray &content, const TextLimits &limits)
{
    TextLines out;
    const qsizetype n = content.size();
    const char *d = content.constData();
    qsizetype start = 0;
    // false once the kind's lines are all taken: the rest is not looked at.
    auto take = [&](qsizetype end) {
        if (limits.maxLines >= 0 && out.lines.size() >= limits.maxLines) {
            out.cut = true;
            return false;
        }
        qsizetype len = end - start;
        if (limits.maxLine >= 0 && len > limits.maxLine)
            len = limits.maxLine;
        out.lines << QString::fromLatin1(d + start, len);
        return true;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char c = d[i];
        if (c == '\r' || c == '\n') {
            if (!take(i)) {
                out.pastWithText = linesWithText(d + start, n - start);
                return out;
            }
            if (c == '\r' && i + 1 < n && d[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n && !take(n))
        out.pastWithText = linesWithText(d + start, n - start);
    return out;
}

QString leftOutText(const LeftOut &left)
{
    return (left.atLeast ? QStringLiteral("at least ") : QString()) + QString::number(left.lines);
}

QString leftOutText(const LeftOut &left, const char *noun)
{
    return (left.atLeast ? QStringLiteral("at least ") : QString()) + counted(left.lines, noun);
}

namespace {

// The last file refused for its size, so that readFailureReason can say so.
QString s_refusedPath, s_refusedWhy;

} // namespace

std::optional<QByteArray> readFileBytes(const QString &path, qint64 maxBytes)
{
    s_refusedPath.clear();
    QFile f(path);
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content;
    if (maxBytes >= 0) {
        // Read one byte past the limit: a file that grows, or a device that
        // never ends, is refused as surely as one whose size says so.
        const qint64 size = f.size();
        if (size <= maxBytes) {
            // In blocks: a buffer of the whole limit for a small file would
            // cost more than the reading.
            const qint64 want = maxBytes + 1;
            content.reserve(qsizetype(std::min(size, maxBytes) + 1));
            char block[64 * 1024];
            while (content.size() < want) {
                const qint64 n = f.read(block, std::min<qint64>(qint64(sizeof block), want - content.size()));
                if (n <= 0)
                    break;
                content.append(block, qsizetype(n));
            }
        }
        if (size > maxBytes || content.size() > maxBytes) {
            s_refusedPath = path;
            s_refusedWhy = QStringLiteral("it is larger (%1 bytes) than any file of its kind (at most %2 bytes)")
                               .arg(qMax(size, qint64(content.size())))
                               .arg(maxBytes);
            return std::nullopt;
        }
    } else {
        content = f.readAll();
    }
    // A read error part way (an unreadable medium) is a failed read, not a short file.
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return content;
}

std::optional<TextLines> readTextFile(const QString &path, const TextLimits &limits)
{
    const std::optional<QByteArray> content = readFileBytes(path, limits.maxBytes);
    if (!content)
        return std::nullopt;
    return splitTextLines(*content, limits);
}

std::optional<QStringList> readTextLines(const QString &path)
{
    return readTextLines(path, -1);
}

std::optional<QStringList> readTextLines(const QString &path, int maxLine)
{
    TextLimits l;
    l.maxLine = maxLine;
    auto r = readTextFile(path, l);
    if (!r)
        return std::nullopt;
    return std::move(r->lines);
}

QString readFailureReason(const QString &path)
{
    if (!s_refusedPath.isEmpty() && s_refusedPath == path)
        return s_refusedWhy;
    const QFileInfo fi(path);
    if (fi.isDir())
        return QStringLiteral("it is a directory");
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) {
        f.readAll();
        if (f.error() == QFileDevice::NoError)
            return QStringLiteral("it could not be read");
    }
    return f.errorString();
}

namespace filelimits {

TextLimits list(int capacity)
{
    TextLimits l;
    l.maxLines = qMax(0, capacity);
    l.maxBytes = qMax<qint64>(64 * 1024, qint64(l.maxLines) * kListLineBytes);
    return l;
}

} // namespace filelimits

bool isLatin1(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 0xff)
            return false;
    return true;
}

QString latin1Upper(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const ushort u = c.unicode();
        // a-z, and the accented small letters but for the division sign;
        // "ß" and "ÿ" have no capital in Latin-1 and stay.
        if ((u >= 'a' && u <= 'z') || (u >= 0xe0 && u <= 0xfe && u != 0xf7))
            c = QChar(ushort(u - 0x20));
    }
    return out;
}

QString utf8IfValid(const QString &latin1Line)
{
    const QByteArray bytes = latin1Line.toLatin1();
    QStringDecoder dec(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = dec.decode(bytes);
    return dec.hasError() ? latin1Line : s;
}

QString shownText(const QString &text, int max)
{
    if (text.size() <= max)
        return text;
    return text.left(qMax(0, max - 3)) + QStringLiteral("...");
}

namespace {

QString unwritableText(const QString &line)
{
    return QStringLiteral("the text \"%1\" holds characters that a Latin-1 file cannot keep").arg(shownText(line, 60));
}

} // namespace

static bool joinLines(const QStringList &lines, QByteArray &out, QString *error)
{
    for (const QString &l : lines) {
        if (!isLatin1(l)) {
            if (error)
                *error = unwritableText(l);
            return false;
        }
        out += l.toLatin1();
        out += "\r\n";
    }
    return true;
}

QString writeErrorText(int err, const QString &path)
{
    switch (err) {
    case ENOSPC:
        return QStringLiteral("the disk is full (no space left on the device)");
    case EDQUOT:
        return QStringLiteral("the disk quota is used up");
    case EFBIG:
        return QStringLiteral("the file is too large (it reached the size limit for files)");
    default:
        break;
    }
    if (err != 0)
        return QString::fromLocal8Bit(std::strerror(err));
    // No number to go by: look for the usual causes.
    if (!path.isEmpty()) {
        const QFileInfo fi(path);
        struct statvfs vfs {};
        if (::statvfs(QFile::encodeName(fi.absolutePath()).constData(), &vfs) == 0 && vfs.f_bavail == 0)
            return writeErrorText(ENOSPC);
        struct rlimit lim {};
        if (::getrlimit(RLIMIT_FSIZE, &lim) == 0 && lim.rlim_cur != RLIM_INFINITY && fi.exists() &&
            quint64(fi.size()) >= quint64(lim.rlim_cur))
            return writeErrorText(EFBIG);
    }
    return QStringLiteral("the write failed");
}

QString writeErrorText(const QFileDevice &file, int err)
{
    if (err == ENOSPC || err == EDQUOT || err == EFBIG)
        return writeErrorText(err);
    const QString qt = file.errorString();
    if (!qt.isEmpty() && qt != QLatin1String("Unknown error"))
        return qt;
    return writeErrorText(err, file.fileName());
}

QString failedWriteText(const QString &path, const QString &reason)
{
    if (reason.contains(path))
        return reason;
    return QStringLiteral("%1 could not be written: %2").arg(path, reason);
}

QString saveTargetPath(const QString &path)
{
    // Through every link, as far as the links go (a loop ends at the last
    // link seen, which the save then replaces).
    QFileInfo fi(path);
    for (int depth = 0; depth < 64 && fi.isSymLink(); ++depth)
        fi.setFile(fi.symLinkTarget());
    return fi.isSymLink() ? path : fi.filePath();
}

QString saveRefusal(const QString &path)
{
    const QFileInfo fi(saveTargetPath(path));
    if (!fi.exists() || fi.isDir())
        return QString();
    const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    if (!fi.isWritable() || !(fi.permissions() & anyWrite))
        return QStringLiteral("the file %1 is write-protected (read-only); it was left as it was").arg(fi.filePath());
    return QString();
}

namespace {

// The six letters Qt puts into a temporary name are random upper- and
// lower-case letters; a word a person gives as an ending ("backup",
// "BACKUP", "Backup") is not taken for one.
bool randomLetters(const QString &s)
{
    bool upper = false, lower = false, laterUpper = false;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        upper = upper || (c >= u'A' && c <= u'Z');
        lower = lower || (c >= u'a' && c <= u'z');
        laterUpper = laterUpper || (i > 0 && c >= u'A' && c <= u'Z');
    }
    return upper && lower && laterUpper;
}

// The names the program's saves give their temporary files: the Save
// dialog's and the installer's (".tavorin-save-XXXXXX", with an ending the
// file needs or a save into it added), the hidden ones of earlier versions
// (".NAME.EXT.XXXXXX") and QSaveFile's where the file system cannot make
// nameless files (NAME.EXT.XXXXXX).
bool ownTemporaryName(const QString &name)
{
    static const QRegularExpression save(QStringLiteral("^\\.tavorin-save-[A-Za-z0-9]{6}(\\.[A-Za-z0-9]{1,6})?$"));
    static const QRegularExpression beside(QStringLiteral("^\\.?[^.][^/]*\\.[^./]+\\.([A-Za-z0-9]{6})$"));
    if (save.match(name).hasMatch())
        return true;
    const QRegularExpressionMatch m = beside.match(name);
    return m.hasMatch() && randomLetters(m.captured(1));
}

// Which of the files (device and inode) any process holds open.
QSet<QPair<quint64, quint64>> heldOpen(const QSet<QPair<quint64, quint64>> &files)
{
    QSet<QPair<quint64, quint64>> held;
    auto names = [](const QByteArray &dir, auto &&each) {
        if (DIR *d = ::opendir(dir.constData())) {
            while (const dirent *e = ::readdir(d))
                if (e->d_name[0] >= '0' && e->d_name[0] <= '9')
                    each(dir + e->d_name);
            ::closedir(d);
        }
    };
    names(QByteArrayLiteral("/proc/"), [&](const QByteArray &process) {
        names(process + "/fd/", [&](const QByteArray &fd) {
            struct stat st {};
            if (::stat(fd.constData(), &st) == 0 && files.contains({quint64(st.st_dev), quint64(st.st_ino)}))
                held.insert({quint64(st.st_dev), quint64(st.st_ino)});
        });
    });
    return held;
}

} // namespace

int removeStaleTemporaries(const QString &dir)
{
    QHash<QString, QPair<quint64, quint64>> found;
    const QDir d(dir);
    for (const QString &name : d.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (!ownTemporaryName(name))
            continue;
        struct stat st {};
        const QString path = d.filePath(name);
        if (::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode))
            found.insert(path, {quint64(st.st_dev), quint64(st.st_ino)});
    }
    if (found.isEmpty())
        return 0;
    QSet<QPair<quint64, quint64>> ids;
    for (const auto &id : found)
        ids.insert(id);
    // A save that is running holds its file open: only the others are left over.
    const QSet<QPair<quint64, quint64>> held = heldOpen(ids);
    int removed = 0;
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        if (!held.contains(it.value()) && QFile::remove(it.key()))
            ++removed;
    return removed;
}

SaveTemporary::SaveTemporary(const QString &dir, const QString &ending)
{
    removeStaleTemporaries(dir);
    m_file = std::make_unique<QTemporaryFile>(QDir(dir).filePath(QStringLiteral(".tavorin-save-XXXXXX") + ending));
    m_file->setAutoRemove(false);
    if (!m_file->open()) {
        m_error = m_file->errorString();
        return;
    }
    m_path = m_file->fileName();
}

SaveTemporary::~SaveTemporary() { drop(); }

void SaveTemporary::drop()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path.clear();
}

bool SaveTemporary::place(const QString &target)
{
    // Only what is on the disk takes the name: a sync that fails (a full
    // disk some file systems report only now) keeps the old file.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        m_error = writeErrorText(errno, m_path);
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    ::close(fd);
    if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(target).constData()) != 0) {
        m_error = writeErrorText(errno, target);
        return false;
    }
    m_path.clear();
    return true;
}

AtomicFileWriter::AtomicFileWriter(const QString &path)
{
    if (const QString why = saveRefusal(path); !why.isEmpty()) {
        fail(why);
        return;
    }
    removeStaleTemporaries(QFileInfo(saveTargetPath(path)).absolutePath());
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(m_file->errorString());
}

AtomicFileWriter::~AtomicFileWriter() { cancel(); }

void AtomicFileWriter::fail(const QString &why)
{
    if (m_error.isEmpty())
        m_error = why.isEmpty() ? QStringLiteral("the write failed") : why;
}

void AtomicFileWriter::write(const QByteArray &bytes)
{
    if (!ok())
        return;
    m_block += bytes;
    if (m_block.size() >= 64 * 1024)
        flushBlock();
}

void AtomicFileWriter::writeLine(const QString &line)
{
    if (!ok())
        return;
    if (!isLatin1(line)) {
        fail(unwritableText(line));
        return;
    }
    m_block += line.toLatin1();
    m_block += "\r\n";
    if (m_block.size() >= 64 * 1024)
        flushBlock();
}

void AtomicFileWriter::flushBlock()
{
    if (ok() && !m_block.isEmpty()) {
        errno = 0;
        const qint64 n = m_file->write(m_block);
        const int err = errno;
        if (n > 0)
            m_total += n;
        if (n != m_block.size())
            fail(writeErrorText(*m_file, err));
    }
    m_block.clear();
}

bool AtomicFileWriter::commit()
{
    if (!m_file || !m_file->isOpen()) {
        fail(QStringLiteral("the save was given up"));
        return false;
    }
    flushBlock();
    // QSaveFile syncs too, but does not say when that fails.
    if (ok() && ::fsync(m_file->handle()) != 0)
        fail(writeErrorText(errno, m_file->fileName()));
    if (ok() && m_file->size() != m_total)
        fail(QStringLiteral("the file was not completely written"));
    if (!ok()) {
        cancel();
        return false;
    }
    if (!m_file->commit()) {
        fail(m_file->errorString());
        m_file.reset();
        return false;
    }
    m_file.reset();
    return true;
}

void AtomicFileWriter::cancel()
{
    if (m_file && m_file->isOpen()) {
        m_file->cancelWriting();
        m_file->commit(); // only removes the temporary file now
    }
    m_file.reset();
    fail(QStringLiteral("the save was given up"));
}

bool writeTextLines(const QString &path, const QStringList &lines, QString *error)
{
    QByteArray data;
    if (!joinLines(lines, data, error))
        return false;
    AtomicFileWriter w(path);
    w.write(data);
    if (w.commit())
        return true;
    if (error)
        *error = w.error();
    return false;
}

bool appendTextLines(const QString &path, const QStringList &lines, QString *error)
{
    QByteArray data;
    if (!joinLines(lines, data, error))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    errno = 0;
    if (f.write(data) != data.size() || !f.flush()) {
        if (error)
            *error = writeErrorText(f, errno);
        return false;
    }
    return true;
}

std::optional<QString> findFileNoCase(const QString &dir, const QString &name)
{
    if (QFileInfo::exists(dir + name))
        return name;
    const QStringList entries = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return std::nullopt;
}

QString resolveNoCase(const QString &dir, const QString &name)
{
    auto found = findFileNoCase(dir, name);
    return dir + (found ? *found : name);
}

QStringList listFilesNoCase(const QString &dir, const QString &patterns)
{
    QList<QRegularExpression> res;
    for (const QString &p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString rx = QRegularExpression::wildcardToRegularExpression(p.trimmed(),
                                                                    QRegularExpression::UnanchoredWildcardConversion);
        res << QRegularExpression(QRegularExpression::anchoredPattern(rx), QRegularExpression::CaseInsensitiveOption);
    }
    QStringList out;
    for (const QString &e : QDir(dir).entryList(QDir::Files)) {
        for (const auto &re : res) {
            if (re.match(e).hasMatch()) {
                out << e;
                break;
            }
        }
    }
    std::sort(out.begin(), out.end(), [](const QString &a, const QString &b) {
        int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return out;
}

bool ensureDir(const QString &dir) { return QDir().mkpath(dir); }

} // namespace tav
