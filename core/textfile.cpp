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
#include <unistd.h>
#include <algorithm>

namespace tav {

QStringList splitTextLines(const QByteArray &content, int maxLine)
{
    QStringList lines;
    const qsizetype n = content.size();
    const char *d = content.constData();
    qsizetype start = 0;
    auto take = [&](qsizetype end) {
        qsizetype len = end - start;
        if (maxLine >= 0 && len > maxLine)
            len = maxLine;
        lines << QString::fromLatin1(d + start, len);
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char c = d[i];
        if (c == '\r' || c == '\n') {
            take(i);
            if (c == '\r' && i + 1 < n && d[i + 1] == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        take(n);
    return lines;
}

std::optional<QStringList> readTextLines(const QString &path)
{
    return readTextLines(path, -1);
}

std::optional<QStringList> readTextLines(const QString &path, int maxLine)
{
    QFile f(path);
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    // A read error part way (an unreadable medium) is a failed read, not a short file.
    QByteArray content = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    return splitTextLines(content, maxLine);
}

QString readFailureReason(const QString &path)
{
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

static QByteArray joinLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &l : lines) {
        out += l.toLatin1();
        out += "\r\n";
    }
    return out;
}

bool writeTextLines(const QString &path, const QStringList &lines, QString *error)
{
    // Written unbuffered to a temporary file beside the target, checked, then
    // renamed over it: a full disk or any short write leaves the old file as
    // it was. (A buffered save can report success after a short write.)
    const QByteArray data = joinLines(lines);
    const QFileInfo target(path);
    QTemporaryFile tmp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    tmp.setAutoRemove(true);
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (!tmp.open())
        return fail(tmp.errorString());
    tmp.close();
    QFile f(tmp.fileName());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return fail(f.errorString());
    qint64 done = 0;
    while (done < data.size()) {
        const qint64 n = f.write(data.constData() + done, data.size() - done);
        if (n <= 0)
            return fail(f.errorString().isEmpty() ? QStringLiteral("write failed") : f.errorString());
        done += n;
    }
    if (::fsync(f.handle()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    f.close();
    // The temporary file is private; the saved file keeps the old one's rights.
    QFile::setPermissions(tmp.fileName(), target.exists() ? QFile::permissions(path)
                                                          : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                                QFile::ReadOther);
    if (QFileInfo(tmp.fileName()).size() != data.size())
        return fail(QStringLiteral("the file was not completely written"));
    if (::rename(QFile::encodeName(tmp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    tmp.setAutoRemove(false);
    return true;
}

bool appendTextLines(const QString &path, const QStringList &lines, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray data = joinLines(lines);
    if (f.write(data) != data.size() || !f.flush()) {
        if (error)
            *error = f.errorString();
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
