#pragma once
// The two ways a write runs out of room, made on purpose: a file-size limit
// on this process (writes past it fail with "File too large"), and a tiny
// tmpfs that fills up (writes fail with "No space left on device"). The
// tmpfs needs root and a system that lets it mount; where it cannot,
// available() is false and a test skips that half.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace tavtest {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = m_old;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    struct rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

class SmallDisk {
public:
    SmallDisk(const QString &dir, int kib) : m_dir(dir)
    {
        QDir().mkpath(dir);
        const QByteArray opts = "size=" + QByteArray::number(kib) + "k";
        m_mounted = geteuid() == 0 &&
                    ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, opts.constData()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir).constData(), MNT_DETACH);
    }
    bool available() const { return m_mounted; }
    // Fills what is left with a file of its own, so the next write fails.
    void fill() const
    {
        QFile f(m_dir + QStringLiteral("/filler"));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'x');
        while (f.write(block) == block.size()) {
        }
        const QByteArray one(1, 'x');
        while (f.write(one) == 1) {
        }
    }

private:
    QString m_dir;
    bool m_mounted = false;
};

} // namespace tavtest
