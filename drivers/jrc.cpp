#include "drivers/jrc.h"

#include "core/delay.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "core/numtext.h"

#include <cstdlib>

namespace tav {

JrcDriver::JrcDriver(CommControl &port, QObject *parent) : QObject(parent), m_port(port) {}

QString JrcDriver::plain(int64_t v) { return QString::number(v); }

QString JrcDriver::digit(int64_t v) { return plain(v).right(1); }

QString JrcDriver::zeros(int64_t v, int width) { return padded(v, width); }

QString JrcDriver::signedZeros(int64_t v, int width)
{
    return (v < 0 ? QStringLiteral("-") : QStringLiteral("+")) + padded(std::llabs(v), width);
}

QString JrcDriver::ccc(int16_t channel) { return plain(int64_t(channel) + 1000).right(3); }

double JrcDriver::field(const QString &reply, int from, int count)
{
    return numericValue(reply.mid(from - 1, count));
}

namespace {
bool digitsAt(const QString &s, int from, int count)
{
    if (from < 0 || count < 0 || from + count > s.size())
        return false;
    for (int i = from; i < from + count; ++i)
        if (s[i] < QLatin1Char('0') || s[i] > QLatin1Char('9'))
            return false;
    return true;
}
} // namespace

bool JrcDriver::memoryReplyFits(const QString &reply, int16_t channel, int digits)
{
    if (!reply.startsWith(QLatin1Char('L')) || reply.mid(1, 3) != ccc(channel))
        return false;
    if (reply.size() == 5 && reply[4] == QLatin1Char('V'))
        return true;
    return reply.size() == 4 + digits && digitsAt(reply, 4, digits);
}

bool JrcDriver::statusReplyFits(const QString &reply, const QString &channel, int digits)
{
    return reply.startsWith(QLatin1Char('L') + channel) && digitsAt(reply, 4, digits);
}

bool JrcDriver::settingReplyFits(const QString &reply, const QString &cmd, int n)
{
    if (!reply.startsWith(cmd) || reply.size() < n - 1)
        return false;
    for (int i = int(cmd.size()); i < n - 1; ++i) {
        const QChar c = reply[i];
        const bool sign = i == cmd.size() && (c == QLatin1Char('+') || c == QLatin1Char('-'));
        if (!sign && (c < QLatin1Char('0') || c > QLatin1Char('9')))
            return false;
    }
    return true;
}

bool JrcDriver::smeterReplyFits(const QString &reply)
{
    return reply.startsWith(QLatin1Char('M')) && digitsAt(reply, 1, 3);
}

bool JrcDriver::send(const QString &cmd) { return m_port.Output(cmd.toLatin1() + '\r'); }

namespace {
// One receiver is on the line, whichever driver object talks to it. Dial
// following hands the dial back to the receiver's front panel with "H0"
// while a tool holds it (`jrclock`): a command then needs its own "H1",
// and the dial goes back to the panel after it.
bool g_dialHandedBack = false;
const QString kLocal = QStringLiteral("H0");
} // namespace

void JrcDriver::followDial(bool on)
{
    if (!on) {
        send(QStringLiteral("I0"));
        g_dialHandedBack = false;
        return;
    }
    send(QStringLiteral("I1"));
    if (const char *knob = model().dialFree) {
        send(QLatin1String(knob));
        g_dialHandedBack = QLatin1String(knob) == kLocal;
    }
}

void JrcDriver::i_on()
{
    Exchange ex;
    // A lost line takes no bracket: every operation fails at once.
    if (m_port.lost())
        return;
    const bool handedBack = G.jrcbusy == 1 && g_dialHandedBack;
    if ((G.jrclock == 1 && G.jrcbusy == 0) || (G.jrclock == 0 && G.jrcbusy == 1) || handedBack) {
        send(QStringLiteral("H1"));
        Delay(kBracketDelayMs);
        send(QStringLiteral("H1"));
        Delay(kBracketDelayMs);
    }
}

void JrcDriver::i_off()
{
    Exchange ex;
    if (m_port.lost())
        return;
    if ((G.jrclock == 0 && G.jrcbusy == 0) || (G.jrcbusy == 0 && g_dialHandedBack)) {
        Delay(kBracketDelayMs);
        send(kLocal);
        Delay(kBracketDelayMs);
        send(kLocal);
    }
}

bool JrcDriver::setLockonoff(int16_t v)
{
    // Nothing holds a receiver on a lost line: the lock stays as it was.
    if (m_port.lost())
        return m_port.Output(QByteArray());
    {
        Exchange ex;
        if (v == 1) {
            G.jrclock = 1;
            // Held, the receiver takes the dial from its front panel again.
            g_dialHandedBack = false;
            i_on();
        } else if (v == 0) {
            G.jrclock = 0;
            i_off();
        }
    }
    emit LockChanged(v);
    return true;
}

void JrcDriver::bracketed(const std::function<void()> &body)
{
    Exchange ex;
    G.jrcbusy = 1;
    i_on();
    body();
    G.jrcbusy = 0;
    i_off();
}

bool JrcDriver::bracketedCommand(const QString &cmd)
{
    bool sent = false;
    bracketed([&] { sent = send(cmd); });
    return sent;
}

bool JrcDriver::waitChars(int n)
{
    return m_port.waitReply([&] { return m_port.InBufferCount() >= n; }, kReplyTimeoutMs);
}

QString JrcDriver::takeAll() { return QString::fromLatin1(m_port.Input()); }

bool JrcDriver::awaitReply(QString &reply, int n, const std::function<bool(const QString &)> &fits)
{
    if (!m_port.keepDiscarded()) {
        const bool ok = waitChars(n);
        reply = takeAll();
        return ok;
    }
    QString text;
    qsizetype at = -1;
    const bool ok = m_port.waitReply(
        [&] {
            text += takeAll();
            for (qsizetype i = 0; i + n <= text.size(); ++i)
                if (fits(text.mid(i, n))) {
                    at = i;
                    return true;
                }
            return false;
        },
        kReplyTimeoutMs);
    if (!ok) {
        m_port.setAside(text.toLatin1());
        reply.clear();
        return false;
    }
    reply = text.mid(at, n);
    m_port.setAside((text.left(at) + text.mid(at + n)).toLatin1());
    return true;
}

QString JrcDriver::query(const QString &cmd, int n)
{
    m_port.clearInput();
    send(cmd);
    // The CR that ends an earlier reply may still be on its way when the
    // input was discarded: it belongs to no reply and is passed over.
    QString reply;
    m_readOk = m_port.waitReply(
        [&] {
            if (m_port.InBufferCount() > 0)
                reply += takeAll();
            while (!reply.isEmpty() && (reply[0] == QLatin1Char('\r') || reply[0] == QLatin1Char('\n')))
                reply.remove(0, 1);
            return reply.size() >= n;
        },
        kReplyTimeoutMs);
    return m_readOk ? reply : QString();
}

QString JrcDriver::collectRecord(int minChars)
{
    QString text;
    bool done = false;
    m_readOk = m_port.waitReply(
        [&] {
            if (!done && m_port.InBufferCount() > 0) {
                const QString piece = takeAll();
                text += piece;
                done = piece.endsWith(QLatin1Char('\r')) || text.size() >= minChars;
            }
            return done;
        },
        kReplyTimeoutMs);
    if (!m_readOk)
        return QString();
    if (text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

QString JrcDriver::clockRead()
{
    Exchange ex;
    bool ok = false;
    bracketed([&] {
        m_port.clearInput();
        send(QStringLiteral("R0"));
        ok = waitChars(8);
    });
    // Characters that came in while the bracket closed belong to the reply.
    const QString reply = takeAll();
    // "R", then the hours and minutes at least.
    m_readOk = replyTaken(ok, settingReplyFits(reply, QStringLiteral("R"), 6));
    if (!m_readOk)
        return QString();
    QString t = reply.mid(1, 2) + QLatin1Char(':') + reply.mid(3, 2) + QLatin1Char(':') + reply.mid(5, 2);
    if (t.endsWith(QLatin1String("::")))
        t = t.left(5);
    return t;
}

bool JrcDriver::replyTaken(bool answered, bool fits)
{
    if (answered && !fits)
        m_port.rejectReply();
    return answered && fits;
}

QString JrcDriver::setStatusResult(const QString &text, bool ok)
{
    m_readOk = ok;
    G.rxstatustext = ok ? text : QString();
    return G.rxstatustext;
}

} // namespace tav
