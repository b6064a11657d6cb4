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
    const qint64 size = f.size();
    if (size > maxBytes) {
        r.ok = false;
        r.tooLarge = true;
        r.error = QStringLiteral("The file is too large for its kind: %1 bytes, at most %2 are read.")
                      .arg(size)
                      .arg(maxBytes);
        return r;
    }
    constexpr qint64 kBlock = 1 << 20;
    std::vector<char> buf(size_t(std::min<qint64>(kBlock, std::max<qint64>(size, 1))));
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
        total += got;
        // A file that grows while it is read is held to the same bound.
        if (total > maxBytes) {
            r.ok = false;
            r.tooLarge = true;
            r.error = QStringLiteral("The file is too large for its kind: more than %1 bytes.").arg(maxBytes);
            return r;
        }
        block(ctx, buf.data(), qsizetype(got));
    }
    return r;
}

} // namespace tav
