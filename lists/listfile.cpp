#include "lists/listfile.h"
#include "core/setupdata.h"

#include "core/filekinds.h"
#include "core/globals.h"
#include "core/recordfile.h"
#include "core/numtext.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "core/ui.h"

#include <QFile>
#include <cmath>

namespace tav::lists {

int listCapacity(Setting size)
{
    double thousands = setting(size);
    if (!(thousands > 0))
        thousands = setupDefault(int(size));
    // Settings hold at most a few tens of thousands of lines; anything beyond
    // an int is a damaged file, not a wish for billions of rows.
    const double rows = std::floor(thousands * 1000.0);
    if (rows > 1e9)
        return 1000000000;
    return rows < 0 ? 0 : int(rows);
}

ListLines splitListLines(const QByteArray &content, int capacity)
{
    ListLines out;
    const char *p = content.constData();
    const qsizetype n = content.size();
    qsizetype start = 0;
    auto take = [&](qsizetype end) {
        if (out.lines.size() >= capacity) {
            out.overflow = true;
            return false;
        }
        out.lines.append(QByteArray(p + start, end - start));
        return true;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        if (c != '\r' && c != '\n')
            continue;
        if (!take(i))
            return out;
        if (c == '\r' && i + 1 < n && p[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        take(n);
    return out;
}

namespace {
// Why the last readListLines of a path gave nothing, when it was the lines' length.
QString s_refusedPath, s_refusedWhy;
} // namespace

std::optional<ListLines> readListLines(const QString &path, int capacity)
{
    s_refusedPath.clear();
    ListLines out;
    capacity = std::max(capacity, 0);
    // Whatever the set-up's size, a file is read as far as the largest list's bound.
    const qint64 bound = filelimits::list(std::max(capacity, kListSizeLargest * 1000)).maxBytes;
    const RecordFileRead r = readRecordLines(path, capacity, filelimits::kListLineBytes, bound,
                                             [&](const char *d, qsizetype n) { out.lines.append(QByteArray(d, n)); });
    if (!r.ok) {
        if (r.tooLarge) {
            s_refusedPath = path;
            s_refusedWhy = r.error;
        }
        return std::nullopt;
    }
    out.linesInFile = r.linesInFile;
    out.countStopped = r.countStopped;
    out.overflow = r.leftOut().any();
    return out;
}

QString listReadFailure(const QString &path)
{
    if (!s_refusedPath.isEmpty() && s_refusedPath == path)
        return QStringLiteral("The file could not be loaded: ") + s_refusedWhy;
    return QStringLiteral("The file could not be opened.");
}

QByteArray fixedWidth(const QByteArray &line, int width)
{
    if (line.size() >= width)
        return line.left(width);
    QByteArray out = line;
    out.append(width - line.size(), ' ');
    return out;
}

QString columns(const QByteArray &line, int start, int width)
{
    if (start >= line.size())
        return QString();
    return QString::fromLatin1(line.constData() + start, std::min<qsizetype>(width, line.size() - start));
}

FrequencyFields frequencyFields(const QByteArray &line, int start)
{
    FrequencyFields f;
    const qsizetype n = line.size();
    qsizetype from = std::min<qsizetype>(start, n);
    // The appended "," ends the last field at the end of the line.
    while (f.count < kMaxFields) {
        qsizetype comma = line.indexOf(',', from);
        const qsizetype end = comma < 0 ? n : comma;
        f.value[size_t(f.count)] = numericValue(QString::fromLatin1(line.constData() + from, end - from));
        ++f.count;
        if (comma < 0)
            break;
        from = comma + 1;
    }
    return f;
}

QString bdxcFieldText(double value) { return value < 10 ? QString() : numDouble(value); }

QString ownFieldText(double value) { return value < 10 ? QString() : numDouble(value).mid(1); }

void reportOverflow(const QString &fileName, int capacity, const ListLines &read, Setting size)
{
    msgBox(QStringList{QStringLiteral("The file ") + fileName,
                       QStringLiteral("has more lines than the list holds."),
                       QStringLiteral("Only its first ") + QString::number(capacity) +
                           QStringLiteral(" lines are loaded, ") + leftOutText(read.leftOut(), "line") +
                           (read.leftOut().one() ? QStringLiteral(" is left out.") : QStringLiteral(" are left out.")),
                       setupSizeAdvice(size, read.linesInFile, read.countStopped, 0)},
           MsgIcon::Exclamation, QStringLiteral("Error"));
}

} // namespace tav::lists
