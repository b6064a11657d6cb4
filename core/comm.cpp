#include "core/comm.h"

#include "core/clock.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "core/portlock.h"
#include "core/textfile.h"

#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace tav {

namespace {
bool pacedDefault = true;
}

void CommControl::setPacedByDefault(bool paced) { pacedDefault = paced; }

CommControl::CommControl(QObject *parent) : QObject(parent), m_paced(pacedDefault)
{
    m_wire.start();
    connect(&m_port, &QSerialPort::readyRead, this, [this] { pull(); });
    connect(&m_port, &QSerialPort::bytesWritten, this, [] { wakeWaiters(); });
    connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::ResourceError && e != QSerialPort::WriteError && e != QSerialPort::ReadError)
            return;
        const int err = errno;
        // Qt calls a read or write that would block (EAGAIN: the bytes a
        // readable device held were taken by a read of our own first, or the
        // output queue is full) a resource error, the same as a pulled
        // adapter, and a read that finds nothing a read error with whatever
        // error number was left over. Only a device that is gone or hung up
        // is lost; anything else is tried again.
        if (lineBroken(err)) {
            loseLine();
            return;
        }
        m_port.clearError();
        // Qt stops watching for input after a resource error; the next read
        // starts it again.
        QMetaObject::invokeMethod(this, [this] { pull(); }, Qt::QueuedConnection);
    });
}

CommControl::~CommControl() { close(); }

QString CommControl::deviceForPort(int n)
{
    if (auto lines = readTextLines(resolveNoCase(G.datapath, QStringLiteral("comports.ini")), kShortLineMax)) {
        if (n >= 1 && n <= lines->size()) {
            // Device names are Linux paths: UTF-8 when they are valid UTF-8.
            QString dev = utf8IfValid(lines->at(n - 1)).trimmed();
            if (!dev.isEmpty())
                return dev;
        }
    }
    QString usb = QStringLiteral("/dev/ttyUSB%1").arg(n - 1);
    if (QFileInfo::exists(usb))
        return usb;
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

int CommControl::baudRate() const
{
    const int baud = Settings.section(QLatin1Char(','), 0, 0).trimmed().toInt();
    return baud > 0 ? baud : 1200;
}

int CommControl::bitsPerByte() const
{
    const QStringList parts = Settings.split(QLatin1Char(','));
    const QString parity = parts.value(1).trimmed().toUpper();
    const int dataBits = parts.value(2, QStringLiteral("8")).trimmed().toInt() == 7 ? 7 : 8;
    const int stopBits = parts.value(3, QStringLiteral("1")).trimmed() == QLatin1String("2") ? 2 : 1;
    const int parityBits = (parity.isEmpty() || parity == QLatin1String("N")) ? 0 : 1;
    return 1 + dataBits + parityBits + stopBits;
}

qint64 CommControl::wireTimeNs(qint64 bytes) const
{
    return bytes * bitsPerByte() * qint64(1000000000) / baudRate();
}

bool CommControl::open()
{
    close();
    m_device = deviceForPort(CommPort);
    m_port.setPortName(m_device);
    clearStalePortLock(m_device); // left by an earlier run that was cut short

    const QStringList parts = Settings.split(QLatin1Char(','));
    const QString parity = parts.value(1).trimmed().toUpper();
    const int dataBits = parts.value(2, QStringLiteral("8")).trimmed().toInt();
    const QString stop = parts.value(3, QStringLiteral("1")).trimmed();

    m_lost = false;
    m_lostTold = false;
    m_lossInOwnWords = false;
    m_lossHeld = false;
    m_lossToldByTool = false;
    m_closedTold = false;
    m_closedPending = false;
    m_told = false;
    m_runSilent = false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_error = QStringLiteral("%1: %2").arg(m_device, m_port.errorString());
        return false;
    }
    m_port.setBaudRate(baudRate());
    m_port.setParity(parity == QLatin1String("E")   ? QSerialPort::EvenParity
                     : parity == QLatin1String("O") ? QSerialPort::OddParity
                     : parity == QLatin1String("M") ? QSerialPort::MarkParity
                     : parity == QLatin1String("S") ? QSerialPort::SpaceParity
                                                    : QSerialPort::NoParity);
    m_port.setDataBits(dataBits == 7 ? QSerialPort::Data7 : QSerialPort::Data8);
    m_port.setStopBits(stop == QLatin1String("2") ? QSerialPort::TwoStop : QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal takes any amount at once and cannot be drained; only
    // the model of the line paces it.
    const char *name = ::ttyname(int(m_port.handle()));
    m_isPty = name && QByteArray(name).startsWith("/dev/pts/");
    m_lineFreeNs = m_wire.nsecsElapsed();
    m_buffer.clear();
    m_error.clear();
    return true;
}

void CommControl::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_buffer.clear();
    m_setAside.clear();
    m_owed.clear();
    m_textHeld.clear();
    m_handedCr = false;
}

bool CommControl::isOpen() const { return m_port.isOpen(); }

QString CommControl::silenceText() const
{
    return QStringLiteral("The receiver on COM %1 (%2) does not answer.").arg(CommPort).arg(m_device);
}

QString CommControl::wrongAnswerText() const
{
    return QStringLiteral("The receiver on COM %1 (%2) answered wrongly.").arg(CommPort).arg(m_device);
}

QStringList CommControl::lostText() const
{
    return {QStringLiteral("The line to the receiver on COM %1 (%2) was lost.").arg(CommPort).arg(m_device),
            QStringLiteral("To connect again, close the panel and press Go.")};
}

QStringList CommControl::closedText() const
{
    return {QStringLiteral("The line to the receiver on COM %1 (%2) is closed since it was lost.")
                .arg(CommPort)
                .arg(m_device),
            QStringLiteral("To connect again, close the panel and press Go.")};
}

bool CommControl::lineBroken(int err) const
{
    if (!m_port.isOpen())
        return true;
    if (err == EIO || err == ENXIO || err == ENODEV || err == EBADF)
        return true;
    // A pulled adapter takes its device node with it.
    if (QFileInfo(m_device).isAbsolute() && !QFileInfo::exists(m_device))
        return true;
    pollfd p{};
    p.fd = int(m_port.handle());
    p.events = POLLIN | POLLOUT;
    if (::poll(&p, 1, 0) < 0)
        return false;
    return (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void CommControl::loseLine()
{
    if (m_lost)
        return;
    m_lost = true;
    m_lossInOwnWords = m_ownWords > 0;
    // Closing from inside the port's own signal is safe only once it returns.
    QMetaObject::invokeMethod(this, [this] { if (m_port.isOpen()) m_port.close(); }, Qt::QueuedConnection);
    // The system's words for the failed call ("Resource temporarily
    // unavailable", "Inappropriate ioctl for device") say nothing a listener
    // can use; what helps is how to connect again.
    const QString message = lostText().join(QLatin1Char('\n'));
    wakeWaiters();
    // Told from the event loop once the exchange under way has ended, never
    // in the middle of one.
    // Writes tried while the loss is being told belong to the loss itself;
    // only those that come after it are told that the line is closed.
    Exchange::whenDone(this, [this, message] {
        emit lineLost(message);
        if (m_lossToldByTool)
            return;
        // A tool at work that tells its failures says where the loss
        // stopped it; the general notice waits in case it does not.
        if (m_lossInOwnWords && m_ownWords > 0) {
            m_lossHeld = true;
            return;
        }
        tellLoss();
    });
}

void CommControl::tellLoss()
{
    m_lossHeld = false;
    m_lostTold = true;
    emit lineLostNotice(lostText().join(QLatin1Char('\n')));
}

void CommControl::lossTold()
{
    m_lossToldByTool = true;
    m_lossHeld = false;
    m_lostTold = true;
}

void CommControl::refusedAfterLoss()
{
    if (!m_lost || !m_lostTold || m_closedTold || m_closedPending)
        return;
    m_closedPending = true;
    // Told from the event loop: a tool that says it in its own words
    // (NoAnswer) as it handles the same click has its say instead.
    QMetaObject::invokeMethod(
        this,
        [this] {
            Exchange::whenDone(this, [this] {
                m_closedPending = false;
                if (m_closedTold || !m_lost)
                    return;
                m_closedTold = true;
                emit lineClosed(closedText().join(QLatin1Char('\n')));
            });
        },
        Qt::QueuedConnection);
}

bool CommControl::Output(const QByteArray &bytes)
{
    if (!m_port.isOpen() || m_lost) {
        refusedAfterLoss();
        return false;
    }
    if (bytes.isEmpty())
        return true;
    // The write and its time on the wire are one exchange: nothing else may
    // start meanwhile.
    Exchange ex;
    if (m_port.write(bytes) != bytes.size()) {
        loseLine();
        return false;
    }
    m_port.flush();
    if (m_paced) {
        const qint64 now = m_wire.nsecsElapsed();
        m_lineFreeNs = std::max(now, m_lineFreeNs) + wireTimeNs(bytes.size());
    }
    return waitLineFree();
}

bool CommControl::waitLineFree()
{
    // Handed to the operating system first (bounded: a stuck line must not
    // hang the program) ...
    const int bound = 2000 + int(wireTimeNs(qMax<qint64>(m_port.bytesToWrite(), 1)) / 1000000) * 2;
    if (!waitUntil([this] { return m_lost || !m_port.isOpen() || m_port.bytesToWrite() == 0; }, bound)) {
        loseLine();
        return false;
    }
    if (m_lost)
        return false;
    if (!m_paced)
        return true;
    // ... then gone from the line.
    sleepUntilNs(m_wire, m_lineFreeNs);
    if (!m_isPty && m_port.isOpen() && !m_lost)
        ::tcdrain(int(m_port.handle()));
    return !m_lost;
}

void CommControl::pull()
{
    if (!m_port.isOpen())
        return;
    QByteArray got = m_port.readAll();
    if (!got.isEmpty()) {
        m_arrivals += got.size();
        m_buffer += got;
        boundInput();
        scheduleEvent();
    }
}

void CommControl::boundInput()
{
    // Nobody waits for bytes that arrive outside an exchange but the receive
    // event, whose readers (dial following, RTTY) take them at once; a line
    // that floats or floods must not fill the memory.
    const int limit = Exchange::active() ? kHeldInputLimit : kIdleInputLimit;
    if (m_buffer.size() > limit)
        m_buffer.remove(0, m_buffer.size() - limit);
    if (m_setAside.size() > kHeldInputLimit)
        m_setAside.remove(0, m_setAside.size() - kHeldInputLimit);
}

QByteArray CommControl::Input()
{
    InBufferCount();
    QByteArray out;
    out.swap(m_buffer);
    return out;
}

int CommControl::InBufferCount()
{
    if (m_port.isOpen() && !m_lost) {
        // Lets the port take what the operating system holds without an event loop.
        m_port.waitForReadyRead(0);
        pull();
    }
    restoreSetAside();
    return int(m_buffer.size());
}

void CommControl::clearInput()
{
    InBufferCount();
    if (m_keepDiscarded && Exchange::active() && !m_buffer.isEmpty()) {
        // A reply still owed may have come just before this: it is no text,
        // and the read about to start must not wait for it.
        const bool crBefore = textEndsInCr();
        QByteArray text = m_buffer;
        dropOwedReplies(text, QByteArray(), false, crBefore);
        m_setAside += text;
    }
    m_buffer.clear();
    boundInput();
}

void CommControl::rejectReply()
{
    // The reply that counted as an answer was none: the receiver is as
    // silent as before it, and the run has met silence.
    m_told = m_toldBeforeReply;
    if (m_runDepth > 0 && !m_runSilent)
        m_runRejected = true;
    noteUnanswered();
    m_lastRejected = true;
}

bool CommControl::waitReply(const std::function<bool()> &ready, int ms)
{
    if (m_lost)
        return false;
    if (silentInRun())
        return ready();
    const bool got = waitUntil([&] { return m_lost || ready(); }, ms) && !m_lost;
    m_lastRejected = false;
    if (got)
        noteAnswered();
    else if (!m_lost)
        noteUnanswered();
    return got;
}

void CommControl::noteUnanswered()
{
    if (m_runDepth > 0)
        m_runSilent = true;
}

CommControl::ReadRun::ReadRun(CommControl &port) : m_port(port)
{
    if (m_port.m_runDepth++ == 0) {
        m_port.m_runSilent = false;
        m_port.m_runRejected = false;
    }
}

CommControl::ReadRun::~ReadRun()
{
    if (--m_port.m_runDepth > 0)
        return;
    if (m_port.m_runSilent && !m_port.m_lost && !m_port.m_told) {
        if (m_port.m_ownWords > 0)
            m_port.m_pendingTell = true;
        else
            m_port.tellRunFailure();
    }
    m_port.m_runSilent = false;
}

void CommControl::tellRunFailure()
{
    m_told = true;
    m_pendingTell = false;
    const QString message = m_runRejected ? wrongAnswerText() : silenceText();
    Exchange::whenDone(this, [this, message] { emit receiverSilent(message); });
}

CommControl::OwnWords::OwnWords(CommControl &port) : m_port(port)
{
    if (m_port.m_ownWords++ == 0)
        m_port.m_pendingTell = false;
}

CommControl::OwnWords::~OwnWords()
{
    if (--m_port.m_ownWords > 0)
        return;
    if (m_port.m_lossHeld) {
        Exchange::whenDone(&m_port, [p = &m_port] {
            if (p->m_lossHeld && p->m_ownWords == 0 && !p->m_lossToldByTool)
                p->tellLoss();
        });
    }
    if (!m_port.m_pendingTell)
        return;
    // The work may still tell the failure as it winds up (a measurement
    // stops first, then says why): the panel's message waits until then.
    Exchange::whenDone(&m_port, [p = &m_port] {
        if (p->m_pendingTell && p->m_ownWords == 0 && !p->m_lost && !p->m_told)
            p->tellRunFailure();
        p->m_pendingTell = false;
    });
}

void CommControl::setKeepDiscarded(bool keep)
{
    m_keepDiscarded = keep;
    if (!keep) {
        m_owed.clear();
        m_buffer.prepend(m_textHeld);
        m_textHeld.clear();
    }
    restoreSetAside();
}

CommControl::WaitEnd CommControl::waitReplyBehind(const std::function<Sighting()> &look, int ms, int settleMs,
                                                  int maxMs)
{
    if (m_lost)
        return WaitEnd::Failed;
    if (silentInRun())
        return look() == Sighting::Yes ? WaitEnd::Seen : WaitEnd::Failed;
    QElapsedTimer all;
    all.start();
    WaitEnd end = WaitEnd::Failed;
    while (!m_lost) {
        const Sighting seen = look();
        if (seen == Sighting::Yes) {
            end = WaitEnd::Seen;
            break;
        }
        const qint64 left = maxMs - all.elapsed();
        const int want = seen == Sighting::Maybe ? settleMs : ms;
        if (left <= 0) {
            end = seen == Sighting::Maybe ? WaitEnd::Cut : WaitEnd::Failed;
            break;
        }
        const qint64 before = m_arrivals;
        const int bound = int(std::min<qint64>(want, left));
        if (!waitUntil([&] { InBufferCount(); return m_lost || m_arrivals != before; }, bound)) {
            if (seen == Sighting::Maybe)
                end = bound == want ? WaitEnd::Quiet : WaitEnd::Cut;
            break;
        }
    }
    if (m_lost)
        end = WaitEnd::Failed;
    m_lastRejected = false;
    if (end != WaitEnd::Failed)
        noteAnswered();
    else if (!m_lost)
        noteUnanswered();
    return end;
}

void CommControl::oweReplies(const ReplyForm &form, int count, int keepMs)
{
    // Bounded: a receiver gone silent for good owes nothing that can come.
    constexpr int kMostOwed = 8;
    std::erase_if(m_owed, [&](const Owed &o) { return o.form.lead == form.lead; });
    if (!m_keepDiscarded || count <= 0)
        return;
    if (int(m_owed.size()) >= kMostOwed)
        m_owed.erase(m_owed.begin());
    m_owed.push_back({form, std::min(count, kMostOwed), Clock::monotonicMsecs() + keepMs});
}

void CommControl::dropExpiredOwed()
{
    const qint64 now = Clock::monotonicMsecs();
    std::erase_if(m_owed, [now](const Owed &o) { return o.count <= 0 || now >= o.untilMs; });
}

int CommControl::owedReplies(const QByteArray &lead)
{
    dropExpiredOwed();
    for (const Owed &o : m_owed)
        if (o.form.lead == lead)
            return o.count;
    return 0;
}

void CommControl::owedCame(const QByteArray &lead)
{
    std::erase_if(m_owed, [&](const Owed &o) { return o.form.lead == lead; });
}

bool CommControl::textEndsInCr() const
{
    if (!m_setAside.isEmpty())
        return m_setAside.back() == '\r';
    if (!m_textHeld.isEmpty())
        return m_textHeld.back() == '\r';
    return m_handedCr;
}

void CommControl::dropOwedReplies(QByteArray &text, const QByteArray &except, bool final, bool crBefore)
{
    dropExpiredOwed();
    for (Owed &o : m_owed) {
        if (o.form.lead == except)
            continue;
        qsizetype from = 0;
        while (o.count > 0) {
            const ReplySpot spot = findReply(text, o.form, from, crBefore);
            if (!spot.found() || (spot.open && !final))
                break;
            text.remove(spot.at, spot.size);
            from = spot.at;
            --o.count;
        }
    }
    std::erase_if(m_owed, [](const Owed &o) { return o.count <= 0; });
}

QByteArray CommControl::takeText()
{
    const bool more = InBufferCount() > 0;
    const bool crBefore = m_handedCr;
    QByteArray text = m_textHeld + Input();
    m_textHeld.clear();
    dropExpiredOwed();
    if (!m_owed.empty()) {
        dropOwedReplies(text, QByteArray(), !more, crBefore);
        if (more) {
            qsizetype hold = text.size();
            for (const Owed &o : m_owed) {
                // A reply whose CR ends the text waits to see whether an LF follows.
                for (ReplySpot s = findReply(text, o.form, 0, crBefore); s.found();
                     s = findReply(text, o.form, s.end(), crBefore))
                    if (s.open)
                        hold = std::min(hold, s.at);
                const qsizetype begins = replyMayBegin(text, o.form);
                if (begins >= 0)
                    hold = std::min(hold, begins);
            }
            m_textHeld = text.mid(hold);
            text.truncate(hold);
        }
    }
    if (!text.isEmpty())
        m_handedCr = text.back() == '\r';
    return text;
}

void CommControl::setAside(const QByteArray &bytes)
{
    if (!m_keepDiscarded || bytes.isEmpty())
        return;
    m_setAside += bytes;
    boundInput();
    restoreSetAside();
}

void CommControl::restoreSetAside()
{
    if (m_setAside.isEmpty() || Exchange::active())
        return;
    m_buffer.prepend(m_setAside);
    m_setAside.clear();
}

void CommControl::scheduleEvent()
{
    wakeWaiters();
    if (m_eventPending)
        return;
    m_eventPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_eventPending = false;
            if (m_buffer.isEmpty() && m_setAside.isEmpty())
                return;
            restoreSetAside();
            // During a receiver exchange the bytes belong to the exchange; the
            // event is raised again when the exchange ends.
            if (Exchange::active()) {
                Exchange::whenDone(this, [this] {
                    if (!m_buffer.isEmpty() || !m_setAside.isEmpty())
                        scheduleEvent();
                });
                return;
            }
            emit OnComm(2);
        },
        Qt::QueuedConnection);
}

NoAnswer::NoAnswer() : m_lostBefore(rxPort().lost())
{
    // Work started on a lost line ends in the tool's own word that the line
    // is closed; the port's would say it a second time.
    if (m_lostBefore)
        rxPort().noteClosedTold();
}

QStringList NoAnswer::text(const QStringList &silent, const QStringList &lost) const
{
    CommControl &port = rxPort();
    if (!port.lost()) {
        QStringList said = silent;
        if (port.lastReplyRejected() && !said.isEmpty()) {
            // A first line without its full stop goes on in the next one
            // ("did not answer" / "at memory cell 005."): the wrong answer
            // takes its place in that one sentence.
            QString wrong = port.wrongAnswerText();
            if (!said.front().endsWith(QLatin1Char('.')) && said.size() > 1)
                wrong.chop(1);
            said.front() = wrong;
        }
        if (!said.isEmpty())
            port.failureTold();
        return said;
    }
    if (!m_lostBefore) {
        if (lost.isEmpty())
            return QStringList();
        port.lossTold();
        return lost + QStringList{port.lostText().last()};
    }
    port.noteClosedTold();
    return port.closedText();
}

namespace {
CommControl *g_rxPort = nullptr;
}

CommControl &rxPort()
{
    if (!g_rxPort) {
        g_rxPort = new CommControl;
        g_rxPort->setObjectName(QStringLiteral("Comm1"));
    }
    return *g_rxPort;
}

void dropRxPort()
{
    delete g_rxPort;
    g_rxPort = nullptr;
}

} // namespace tav
