#include "sim/pty.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <unistd.h>
#include <algorithm>
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
    // Byte times at 4800 baud are about 2 ms: a timer file keeps them to the
    // microsecond.
    m_timer = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timer >= 0) {
        m_ring = new QSocketNotifier(m_timer, QSocketNotifier::Read, this);
        connect(m_ring, &QSocketNotifier::activated, this, [this] {
            uint64_t n;
            while (::read(m_timer, &n, sizeof n) > 0) {
            }
            service();
        });
    }
    m_emu.send = [this](const QByteArray &b) { sendToProgram(b); };
    m_emu.idleCalledByServer = true;
    // The emulator's pace is kept on the harness's clock and event loop.
    m_emu.clockMs = [this] { return m_clock.elapsed(); };
    m_emu.wakeAt = [this](qint64 ms) {
        m_emuDueNs = ms * 1000000;
        rearm();
    };
}

PtyHarness::~PtyHarness()
{
    m_emu.send = nullptr;
    m_emu.idleCalledByServer = false;
    m_emu.clockMs = nullptr;
    m_emu.wakeAt = nullptr;
    delete m_notifier;
    delete m_ring;
    if (m_timer >= 0)
        ::close(m_timer);
    if (m_master >= 0)
        ::close(m_master);
    // The slave stays open until here so the line never hangs up under the program.
    if (m_slave >= 0)
        ::close(m_slave);
}

void PtyHarness::dropLine()
{
    if (m_dropped || m_master < 0)
        return;
    m_dropped = true;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_master);
    m_master = -1;
    if (m_slave >= 0)
        ::close(m_slave);
    m_slave = -1;
    m_in.clear();
    m_out.clear();
}

void PtyHarness::setStalled(bool stalled)
{
    m_stalled = stalled;
    if (m_notifier)
        m_notifier->setEnabled(!stalled);
    if (!stalled)
        poll();
}

void PtyHarness::setLineSpeed(int baud, int bitsPerByte)
{
    m_byteNs = baud > 0 ? qint64(bitsPerByte) * 1000000000 / baud : 0;
}

void PtyHarness::setPacingUsPerByte(int us) { m_byteNs = qint64(us) * 1000; }

bool PtyHarness::control(const QString &line)
{
    const QString w = line.trimmed().toLower();
    if (w == QLatin1String("silent"))
        setFault(Fault::Silent);
    else if (w == QLatin1String("garbage"))
        setFault(Fault::Garbage);
    else if (w == QLatin1String("wrongchannel"))
        setFault(Fault::WrongChannel);
    else if (w == QLatin1String("normal"))
        setFault(Fault::None);
    else if (w == QLatin1String("hangup"))
        dropLine();
    else
        return false;
    return true;
}

QStringList PtyHarness::controlHelp()
{
    return {QStringLiteral("silent          take commands but answer nothing"),
            QStringLiteral("garbage         answer every query with text of the wrong form"),
            QStringLiteral("wrongchannel    answer a memory read with another channel's reply (JRC)"),
            QStringLiteral("normal          answer as the receiver does again"),
            QStringLiteral("hangup          drop the line (the program's port fails) and end")};
}

void PtyHarness::poll()
{
    if (m_master < 0 || m_stalled)
        return;
    char buf[4096];
    bool got = false;
    while (true) {
        ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        got = true;
        const qint64 nowNs = m_clock.nsecsElapsed();
        const qint64 nowMs = nowNs / 1000000;
        m_received += QByteArray(buf, int(n));
        for (int i = 0; i < n; ++i) {
            m_times.append(nowMs);
            // Paced, a byte is the receiver's once its last bit has arrived.
            m_inFreeNs = std::max(m_inFreeNs, nowNs) + m_byteNs;
            m_in.push_back({buf[i], m_byteNs ? m_inFreeNs : nowNs});
        }
    }
    if (got)
        service();
}

void PtyHarness::sendToProgram(const QByteArray &bytes)
{
    if (m_master < 0 || bytes.isEmpty())
        return;
    // From an idle line the first byte is the program's once it has crossed;
    // an answer starts from the moment the command was complete, however
    // late this loop came round to it.
    if (m_out.isEmpty())
        m_outNextNs = std::max(m_outNextNs, (m_feedingDueNs >= 0 ? m_feedingDueNs : m_clock.nsecsElapsed()) + m_byteNs);
    m_out += bytes;
    service();
}

void PtyHarness::service()
{
    if (m_master < 0)
        return;
    const qint64 now = m_clock.nsecsElapsed();
    // Bytes the receiver has taken, in one run so a command split across
    // reads is fed as the emulator expects any split.
    QByteArray due;
    qint64 lastDue = now;
    while (!m_in.empty() && m_in.front().dueNs <= now) {
        due += m_in.front().byte;
        lastDue = m_in.front().dueNs;
        m_in.pop_front();
    }
    if (m_emuDueNs >= 0 && m_emuDueNs <= now) {
        m_emuDueNs = -1;
        m_emu.advance();
        if (m_master < 0)
            return;
    }
    if (!due.isEmpty()) {
        m_feedingDueNs = m_byteNs ? lastDue : -1;
        m_emu.feed(due);
        m_feedingDueNs = -1;
        if (m_master < 0)
            return;
        if (m_in.empty())
            m_emu.idle();
    }
    // Bytes the receiver may send by now.
    while (!m_out.isEmpty()) {
        if (m_byteNs == 0 && m_chunk == 0) {
            const ssize_t w = ::write(m_master, m_out.constData(), size_t(m_out.size()));
            if (w > 0)
                m_out.remove(0, int(w));
            if (!m_out.isEmpty())
                m_outNextNs = now + 1000000; // the program's side is full: look again shortly
            break;
        }
        if (m_outNextNs > now)
            break;
        int n = m_byteNs ? 1 : int(m_out.size());
        if (m_chunk > 0)
            n = std::min(m_chunk, int(m_out.size()));
        const ssize_t w = ::write(m_master, m_out.constData(), size_t(n));
        if (w <= 0) {
            m_outNextNs = now + 1000000;
            break;
        }
        m_out.remove(0, int(w));
        m_outNextNs += m_byteNs * w;
        if (m_chunk > 0)
            m_outNextNs = std::max(m_outNextNs, now + m_chunkGapNs);
        if (m_byteNs == 0 && m_chunk == 0)
            break;
        if (m_chunk > 0)
            break;
    }
    rearm();
}

void PtyHarness::rearm()
{
    qint64 next = -1;
    auto sooner = [&next](qint64 t) { next = next < 0 ? t : std::min(next, t); };
    if (!m_in.empty())
        sooner(m_in.front().dueNs);
    if (!m_out.isEmpty())
        sooner(m_outNextNs);
    if (m_emuDueNs >= 0)
        sooner(m_emuDueNs);
    if (next >= 0)
        arm(next);
}

void PtyHarness::arm(qint64 atNs)
{
    if (m_timer < 0)
        return;
    itimerspec spec{};
    const qint64 wait = std::max<qint64>(1, atNs - m_clock.nsecsElapsed());
    spec.it_value.tv_sec = time_t(wait / 1000000000);
    spec.it_value.tv_nsec = long(wait % 1000000000);
    ::timerfd_settime(m_timer, 0, &spec, nullptr);
}

} // namespace sim
