#include "core/recordfile.h"

#include "core/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <vector>

namespace tav {

RecordFileRead readFileBlocks(const QString &path, qint64 maxBytes,
                              void (*block)(void *ctx, const char *data, qsizetype size), void *ctx)
{
    RecordFileRead r;
    QFile f(path);
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly)) {
        r.ok = false;
        r.error = QFileInfo(path).isDir() ? QStringLiteral("It is a directory.") : f.errorString();
        return r;
    }
    constexpr qint64 kBlock = 1 << 20;
    std::vector<char> buf(size_t(std::clamp<qint64>(f.size(), 1, kBlock)));
    qint64 total = 0;
    for (;;) {
        const qint64 got = f.read(buf.data(), qint64(buf.size()));
        if (got < 0) {
            r.ok = false;
            r.error = f.errorString();
            return r;
        }
        if (got == 0)
            break;
        // The bound holds for a file that grows while it is read too.
        qint64 use = got;
        if (total + got > maxBytes) {
            use = std::max<qint64>(0, maxBytes - total);
            r.countStopped = true;
        }
        total += use;
        if (use > 0)
            block(ctx, buf.data(), qsizetype(use));
        if (r.countStopped)
            break;
    }
    return r;
}

QString linesTooLongText(qint64 lines, qint64 maxBytes)
{
    return QStringLiteral("The file is too large for its kind: its first %1 lines take more than %2 bytes.")
        .arg(lines)
        .arg(maxBytes);
}

} // namespace tav
