#include "sim/pty.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>

namespace sim {

PtyHarness::PtyHarness(Emulator &emu, QObject *parent) : QObject(parent), m_emu(emu)
{
    m_clock.start();
    char name[256] = {0};
    struct termios raw;
    ::memset(&raw, 0, sizeof raw);
    cfmakeraw(&raw);
    // The slave is raw before the program opens it: no echo, no CR or
    // flow-control translation, so every byte value passes unchanged.
    if (::openpty(&m_master, &m_slave, name, &raw, nullptr) != 0) {
        m_master = m_slave = -1;
        return;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] { poll(); });
    m_writer.setSingleShot(true);
    m_writer.setTimerType(Qt::PreciseTimer);
    connect(&m_writer, &QTimer::timeout, this, &PtyHarness::writeSome);
    m_emu.send = [this](const QByteArray &b) {
        if (!m_off)
            sendToProgram(b);
    };
}

PtyHarness::~PtyHarness()
{
    m_emu.send = nullptr;
    delete m_notifier;
    if (m_master >= 0)
        ::close(m_master);
    // The slave stays open until here so the line never hangs up under the program.
    if (m_slave >= 0)
        ::close(m_slave);
}

void PtyHarness::poll()
{
    if (m_master < 0)
        return;
    char buf[4096];
    while (true) {
        ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        QByteArray in(buf, int(n));
        const qint64 now = m_clock.elapsed();
        m_received += in;
        for (int i = 0; i < n; ++i)
            m_times.append(now);
        m_emu.feed(in);
    }
}

void PtyHarness::sendToProgram(const QByteArray &bytes)
{
    m_out += bytes;
    if (!m_writer.isActive())
        writeSome();
}

void PtyHarness::writeSome()
{
    if (m_out.isEmpty() || m_master < 0)
        return;
    int n = int(m_out.size());
    if (m_pacingUs > 0)
        n = 1;
    if (m_chunk > 0)
        n = qMin(n, m_chunk);
    ssize_t w = ::write(m_master, m_out.constData(), size_t(n));
    if (w > 0)
        m_out.remove(0, int(w));
    if (m_out.isEmpty())
        return;
    int delayMs = 0;
    if (m_pacingUs > 0)
        delayMs = qMax(1, m_pacingUs / 1000);
    if (m_chunk > 0)
        delayMs = qMax(delayMs, m_chunkGapMs);
    m_writer.start(delayMs);
}

} // namespace sim
