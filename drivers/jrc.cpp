#include "drivers/jrc.h"

#include "core/delay.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "core/numtext.h"

#include <cstdlib>
#include <memory>

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
// The object whose following is on: the one that leaves the knob to the
// listener again when another hold ends.
JrcDriver *g_follower = nullptr;
const QString kLocal = QStringLiteral("H0");
} // namespace

JrcDriver::~JrcDriver()
{
    if (g_follower == this)
        g_follower = nullptr;
}

bool JrcDriver::remoteHeld() { return G.jrclock == 1 && !g_dialHandedBack; }

const QObject *JrcDriver::dialFollower() { return g_follower; }

bool JrcDriver::freeFollowedDial()
{
    JrcDriver *f = g_follower;
    if (!f)
        return true;
    const char *knob = f->model().dialFree;
    if (!knob)
        return true;
    Exchange ex;
    if (f->m_port.lost())
        return false;
    // The command of the hold that ended has had its time, as before "H0".
    Delay(kBracketDelayMs);
    if (!f->send(QLatin1String(knob)))
        return false;
    g_dialHandedBack = QLatin1String(knob) == kLocal;
    if (g_dialHandedBack && G.jrclock == 1)
        if (RemoteHolder *holder = Receiver::remoteHolder())
            holder->dialFreed();
    return true;
}

void JrcDriver::followDial(bool on)
{
    RemoteHolder *holder = Receiver::remoteHolder();
    if (!on) {
        send(QStringLiteral("I0"));
        const bool wasFree = g_dialHandedBack;
        g_dialHandedBack = false;
        if (g_follower == this)
            g_follower = nullptr;
        if (holder)
            holder->followEnded(this, wasFree);
        else if (wasFree && G.jrclock == 1)
            i_on(); // held, with nobody else to take it back
        return;
    }
    g_follower = this;
    Receiver::hold(this, true);
    send(QStringLiteral("I1"));
    if (const char *knob = model().dialFree) {
        send(QLatin1String(knob));
        g_dialHandedBack = QLatin1String(knob) == kLocal;
        if (g_dialHandedBack && G.jrclock == 1 && holder)
            holder->dialFreed();
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

bool JrcDriver::unbracketedSetting(const QString &cmd)
{
    Exchange ex;
    const bool sent = g_dialHandedBack ? bracketedCommand(cmd) : send(cmd);
    Delay(kBracketDelayMs);
    return sent;
}

bool JrcDriver::waitChars(int n)
{
    return m_port.waitReply([&] { return m_port.InBufferCount() >= n; }, kReplyTimeoutMs);
}

QString JrcDriver::takeAll() { return QString::fromLatin1(m_port.Input()); }

namespace {
// Any channel's memory reply: what the receiver gives a memory read of the
// wrong channel (or a late reply for another one).
std::shared_ptr<const ReplyForm> anyChannelForm(int digits)
{
    return std::make_shared<const ReplyForm>(ReplyForm{"L", 4 + digits, [digits](const QByteArray &b) {
        const QString r = QString::fromLatin1(b);
        if (r.size() < 5 || !digitsAt(r, 1, 3))
            return false;
        return (r.size() == 5 && r[4] == QLatin1Char('V')) || (r.size() == 4 + digits && digitsAt(r, 4, digits));
    }, nullptr});
}
} // namespace

ReplyForm JrcDriver::memoryForm(int16_t channel, int digits)
{
    return {(QStringLiteral("L") + ccc(channel)).toLatin1(), 4 + digits,
            [channel, digits](const QByteArray &b) { return memoryReplyFits(QString::fromLatin1(b), channel, digits); },
            anyChannelForm(digits)};
}

ReplyForm JrcDriver::statusForm(const QString &channel, int digits)
{
    return {(QStringLiteral("L") + channel).toLatin1(), 4 + digits,
            [channel, digits](const QByteArray &b) {
                return b.size() == 4 + digits && statusReplyFits(QString::fromLatin1(b), channel, digits);
            },
            anyChannelForm(digits)};
}

ReplyForm JrcDriver::smeterForm()
{
    return {"M", 4, [](const QByteArray &b) { return b.size() == 4 && smeterReplyFits(QString::fromLatin1(b)); }, nullptr};
}

ReplyForm JrcDriver::settingForm(const QString &cmd, int n)
{
    return {cmd.toLatin1(), n - 1, [cmd, n](const QByteArray &b) {
                return b.size() == n - 1 && settingReplyFits(QString::fromLatin1(b), cmd, n);
            }, nullptr};
}

ReplyForm JrcDriver::clockForm()
{
    // "R", the hours and minutes, and the seconds where the model gives them.
    return {"R", 7, [](const QByteArray &b) {
                return (b.size() == 5 || b.size() == 7) && settingReplyFits(QString::fromLatin1(b), QStringLiteral("R"), int(b.size()) + 1);
            }, nullptr};
}

bool JrcDriver::awaitReply(QString &reply, int n, const ReplyForm &form)
{
    if (m_port.keepDiscarded())
        return pickReply(reply, form);
    return collectReply(reply, n);
}

bool JrcDriver::collectReply(QString &reply, int n)
{
    reply.clear();
    // The CR that ends an earlier reply may still be on its way when the
    // input was discarded: it belongs to no reply and is passed over. A
    // reply ends at its CR: one shorter than the reply asked for (an empty
    // channel's record for another channel) is an answer, a wrong one.
    const bool ok = m_port.waitReply(
        [&] {
            if (m_port.InBufferCount() > 0)
                reply += takeAll();
            while (!reply.isEmpty() && (reply[0] == QLatin1Char('\r') || reply[0] == QLatin1Char('\n')))
                reply.remove(0, 1);
            return reply.size() >= n || reply.contains(QLatin1Char('\r'));
        },
        kReplyTimeoutMs);
    if (ok)
        reply += takeAll();
    else
        reply.clear();
    return ok;
}

bool JrcDriver::pickReply(QString &reply, const ReplyForm &form)
{
    using Sighting = CommControl::Sighting;
    using WaitEnd = CommControl::WaitEnd;
    // The receiver answers in turn: a reply still owed to a read of the same
    // form that gave up comes before this one.
    const int owed = m_port.owedReplies(form.lead);
    const bool crBefore = m_port.textEndsInCr();
    QByteArray text;
    std::vector<ReplySpot> spots;
    ReplySpot wrong;
    auto look = [&] {
        if (m_port.InBufferCount() > 0)
            text += m_port.Input();
        m_port.dropOwedReplies(text, form.lead, false, crBefore);
        spots.clear();
        for (ReplySpot s = findReply(text, form, 0, crBefore); s.found(); s = findReply(text, form, s.end(), crBefore))
            spots.push_back(s);
        const int whole = int(spots.size()) - (!spots.empty() && spots.back().open ? 1 : 0);
        if (whole > owed)
            return Sighting::Yes;
        if (!spots.empty())
            return Sighting::Maybe;
        // Nothing owed is left to come first: a reply of the command's
        // other kind is this read's answer, a wrong one.
        wrong = owed == 0 && form.wrong ? findReply(text, *form.wrong, 0, crBefore) : ReplySpot{};
        if (wrong.found())
            return wrong.open ? Sighting::Maybe : Sighting::Yes;
        return Sighting::No;
    };
    const WaitEnd end = m_port.waitReplyBehind(look, kReplyTimeoutMs, kTextCharMs, kReplyBehindTextMs);
    if (end == WaitEnd::Failed) {
        m_port.setAside(text);
        m_port.oweReplies(form, owed + 1, kReplyBehindTextMs);
        reply.clear();
        return false;
    }
    if (spots.empty()) {
        // Taken out of the text; the caller finds that it does not fit.
        reply = QString::fromLatin1(text.mid(wrong.at, wrong.size));
        text.remove(wrong.at, wrong.size);
        m_port.setAside(text);
        return true;
    }
    // Seen: the owed ones, then this read's. Otherwise the text stood still
    // or the bound ran out on fewer: the newest is this read's, and while
    // text still came, the rest are owed yet.
    const size_t mine = end == WaitEnd::Seen ? size_t(owed) : spots.size() - 1;
    reply = QString::fromLatin1(text.mid(spots[mine].at, spots[mine].size));
    for (size_t i = mine + 1; i-- > 0;)
        text.remove(spots[i].at, spots[i].size);
    if (end == WaitEnd::Cut)
        m_port.oweReplies(form, owed + 1 - int(mine + 1), kReplyBehindTextMs);
    else
        // Those of this form that were owed would have come ahead of this
        // answer. Replies owed to other reads stay owed until they come.
        m_port.owedCame(form.lead);
    m_port.setAside(text);
    return true;
}

QString JrcDriver::query(const QString &cmd, int n, const ReplyForm &form)
{
    m_port.clearInput();
    send(cmd);
    QString reply;
    if (m_port.keepDiscarded()) {
        m_readOk = pickReply(reply, form);
        return reply;
    }
    m_readOk = collectReply(reply, n);
    return reply;
}

QString JrcDriver::collectRecord(int minChars, const ReplyForm &form)
{
    QString text;
    if (m_port.keepDiscarded()) {
        m_readOk = pickReply(text, form);
        text.chop(1);
        return text;
    }
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
    QString reply;
    const bool amid = m_port.keepDiscarded();
    bracketed([&] {
        m_port.clearInput();
        send(QStringLiteral("R0"));
        ok = amid ? pickReply(reply, clockForm()) : waitChars(8);
    });
    // Characters that came in while the bracket closed belong to the reply.
    if (!amid)
        reply = takeAll();
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
