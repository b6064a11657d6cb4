#include "core/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
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

AtomicFileWriter::AtomicFileWriter(const QString &path) : m_path(path)
{
    const QFileInfo target(path);
    QTemporaryFile tmp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(false);
    if (!tmp.open()) {
        fail(tmp.errorString());
        return;
    }
    m_tmp = tmp.fileName();
    tmp.close();
    m_fd = ::open(QFile::encodeName(m_tmp).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (m_fd < 0)
        fail(writeErrorText(errno, m_tmp));
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
    qsizetype done = 0;
    while (ok() && done < m_block.size()) {
        const ssize_t n = ::write(m_fd, m_block.constData() + done, size_t(m_block.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            fail(writeErrorText(n < 0 ? errno : 0, m_tmp));
            break;
        }
        done += n;
        m_total += n;
    }
    m_block.clear();
}

bool AtomicFileWriter::commit()
{
    if (ok() && m_fd >= 0)
        flushBlock();
    if (ok() && ::fsync(m_fd) != 0)
        fail(writeErrorText(errno, m_tmp));
    if (m_fd >= 0 && ::close(m_fd) != 0)
        fail(writeErrorText(errno, m_tmp));
    m_fd = -1;
    if (ok()) {
        // The temporary file is private; the saved file keeps the old one's rights.
        QFile::setPermissions(m_tmp, QFileInfo::exists(m_path) ? QFile::permissions(m_path)
                                                               : QFile::ReadOwner | QFile::WriteOwner |
                                                                     QFile::ReadGroup | QFile::ReadOther);
        if (QFileInfo(m_tmp).size() != m_total)
            fail(QStringLiteral("the file was not completely written"));
    }
    if (ok() && ::rename(QFile::encodeName(m_tmp).constData(), QFile::encodeName(m_path).constData()) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!ok()) {
        cancel();
        return false;
    }
    m_tmp.clear();
    return true;
}

void AtomicFileWriter::cancel()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_tmp.isEmpty())
        QFile::remove(m_tmp);
    m_tmp.clear();
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
