#include "core/portlock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <csignal>
#include <cerrno>
#include <sys/types.h>
#include <unistd.h>

namespace tav {

QString portLockFile(const QString &device)
{
    // The serial port library looks in these directories, in this order.
    static const QStringList dirs = {QStringLiteral("/var/lock"),      QStringLiteral("/etc/locks"),
                                     QStringLiteral("/var/spool/locks"), QStringLiteral("/var/spool/uucp"),
                                     QStringLiteral("/tmp"),           QStringLiteral("/var/tmp"),
                                     QStringLiteral("/var/lock/lockdev"), QStringLiteral("/run/lock"),
                                     QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
    QString name = device;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.prepend(QLatin1String("/LCK.."));
    for (const QString &d : dirs) {
        const QFileInfo dir(d);
        if (!dir.isReadable())
            continue;
        const QString path = d + name;
        if (QFile::exists(path) || dir.isWritable())
            return path;
    }
    return QString();
}

bool clearStalePortLock(const QString &device)
{
    const QString path = portLockFile(device);
    const QFileInfo fi(path);
    if (path.isEmpty() || !fi.exists() || !fi.isFile() || fi.ownerId() != uint(::getuid()))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray firstLine = f.readLine(64).trimmed();
    f.close();
    bool isNumber = false;
    const qint64 pid = firstLine.toLongLong(&isNumber);
    if (isNumber && pid > 0) {
        if (pid != ::getpid() && (::kill(pid_t(pid), 0) == 0 || errno == EPERM))
            return false; // a running process holds the port
        if (pid == ::getpid())
            return false; // our own port, open now
    }
    return QFile::remove(path);
}

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

} // namespace tav
