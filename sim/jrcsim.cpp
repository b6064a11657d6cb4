#include "sim/jrcsim.h"

#include <QTime>
#include <algorithm>
#include <cmath>

namespace sim {

namespace {

QString pad(qint64 v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); }
QString signedPad(qint64 v, int width) { return (v < 0 ? QStringLiteral("-") : QStringLiteral("+")) + pad(qAbs(v), width); }

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Typed RTTY text: a backslash before r or n stands for the CR or LF of the decoded text.
QByteArray rttyBytes(const QString &typed)
{
    QByteArray out;
    for (int i = 0; i < typed.size(); ++i) {
        if (typed[i] == QLatin1Char('\\') && i + 1 < typed.size()) {
            const QChar e = typed[i + 1];
            if (e == QLatin1Char('r') || e == QLatin1Char('n') || e == QLatin1Char('\\')) {
                out += e == QLatin1Char('r') ? '\r' : e == QLatin1Char('n') ? '\n' : '\\';
                ++i;
                continue;
            }
        }
        out += typed[i].toLatin1();
    }
    return out;
}

} // namespace

JrcEmulator::JrcEmulator(int channels, int smeter) : memory(channels), smeterRaw(smeter)
{
    setClock(QTime::currentTime().msecsSinceStartOfDay() / 1000);
}

bool JrcEmulator::allDigits(const QString &s, int from, int count)
{
    if (from < 0 || from + count > s.size())
        return false;
    for (int i = from; i < from + count; ++i)
        if (!isDigit(s[i]))
            return false;
    return true;
}

int JrcEmulator::num(const QString &s, int from, int count) { return s.mid(from, count).toInt(); }

bool JrcEmulator::memoryCommand(const QString &cmd, int length,
                                const std::function<bool(int, JrcChannel &)> &parse, bool &known)
{
    const int n = int(cmd.size());
    if (n < 4 || !allDigits(cmd, 1, 3) || num(cmd, 1, 3) >= memory.size())
        return false;
    const QChar c0 = cmd[0];
    const int channel = num(cmd, 1, 3);
    if ((c0 == QLatin1Char('S') || c0 == QLatin1Char('K')) && n == length) {
        JrcChannel ch;
        known = parse(4, ch);
        if (!known)
            return true;
        memory[channel] = ch;
        if (c0 == QLatin1Char('S')) {
            const double old = tunedFrequencyHz();
            cur = ch;
            tuned(old);
        }
        return true;
    }
    if (c0 == QLatin1Char('C') && n == 4) {
        selectedChannel = channel;
        if (memory[selectedChannel].used) {
            const double old = tunedFrequencyHz();
            cur = memory[selectedChannel];
            tuned(old);
        }
        // A recall answers with the settings it brought, as a report does.
        reply(frequencyReport());
        return true;
    }
    return false;
}

void JrcEmulator::setClock(int secondsOfDay)
{
    clockBase = ((secondsOfDay % 86400) + 86400) % 86400;
    clockRun.start();
}

int JrcEmulator::clockSeconds() const { return int((clockBase + clockRun.elapsed() / 1000) % 86400); }

void JrcEmulator::setFreq(qint64 hz)
{
    const double old = tunedFrequencyHz();
    cur.hz = hz;
    tuned(old);
}

void JrcEmulator::dial(qint64 hz)
{
    if (knobLocked()) {
        note(QStringLiteral("dial %1  ignored (remote)").arg(hz));
        return;
    }
    // The receiver reports a turn of its knob, not a knob left where it was.
    const bool moved = hz != cur.hz;
    setFreq(hz);
    if (reporting && moved)
        reply(frequencyReport());
}

QByteArray JrcEmulator::squelchReply() const
{
    // "Q0" while the squelch is open (a signal above the squelch level).
    return QByteArray("Q") + (meterRaw() >= squelchLevel() ? '0' : '1') + '\r';
}

QByteArray JrcEmulator::memoryReply(int channel) const
{
    // Told to, the receiver answers with its neighbour's record, as a late
    // reply to an earlier read would look.
    if (fault == Fault::WrongChannel && !memory.isEmpty())
        channel = (channel + 1) % int(memory.size());
    QByteArray r = "L" + pad(channel, 3).toLatin1();
    if (channel >= 0 && channel < memory.size() && memory[channel].used)
        r += channelText(memory[channel]);
    else
        r += "V";
    return r + "\r";
}

void JrcEmulator::feed(const QByteArray &bytes)
{
    m_pending += bytes;
    int cr;
    while ((cr = m_pending.indexOf('\r')) >= 0) {
        QByteArray raw = m_pending.left(cr);
        m_pending.remove(0, cr + 1);
        raw.replace("\n", "");
        const QString cmd = QString::fromLatin1(raw);
        if (cmd.isEmpty()) {
            note(QStringLiteral("(empty command)"));
            continue;
        }
        if (cmd == QLatin1String("H1") || cmd == QLatin1String("H0")) {
            remote = cmd.endsWith(QLatin1Char('1'));
            note(cmd + (remote ? QStringLiteral("  remote") : QStringLiteral("  local")));
            continue;
        }
        if (cmd == QLatin1String("I1") || cmd == QLatin1String("I0")) {
            reporting = cmd.endsWith(QLatin1Char('1'));
            note(cmd + (reporting ? QStringLiteral("  reports on") : QStringLiteral("  reports off")));
            // Switching reports on sends the present one at once.
            if (reporting)
                reply(frequencyReport());
            continue;
        }
        if (!isQuery(cmd)) {
            settingCommands << cmd;
            if (settingCommands.size() > 4096) // rxsim runs for hours
                settingCommands.removeFirst();
        }
        if (!isQuery(cmd) && !remote) {
            ignored << cmd;
            note(readable(raw) + QStringLiteral("  ignored (local)"));
            continue;
        }
        if (!handle(cmd)) {
            unknown << cmd;
            note(readable(raw) + QStringLiteral("  unknown, ignored"));
            continue;
        }
        note(readable(raw));
    }
    // A line that never ends must not grow without bound.
    if (m_pending.size() > 4096)
        m_pending.clear();
}

bool JrcEmulator::control(const QString &line)
{
    const QStringList w = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (w.size() == 2 && w[0] == QLatin1String("dial")) {
        bool ok = false;
        const qint64 hz = w[1].toLongLong(&ok);
        if (!ok || hz < 0 || hz > 99999999)
            return false;
        dial(hz);
        return true;
    }
    if (w.size() == 2 && w[0] == QLatin1String("smeter")) {
        bool ok = false;
        const int v = w[1].toInt(&ok);
        if (!ok || v < 0 || v > 999)
            return false;
        smeterRaw = v;
        levelSet();
        return true;
    }
    // Text after the word, as typed (its blanks are text too).
    auto typed = [&line, &w] { return rttyBytes(line.mid(line.indexOf(w[0]) + w[0].size() + 1)); };
    if (w.size() >= 2 && w[0] == QLatin1String("rttyburst")) {
        if (rtty)
            reply(typed());
        return true;
    }
    if (w.size() >= 2 && w[0] == QLatin1String("rtty")) {
        // Text sent while the demodulator is off is never decoded.
        if (!rtty)
            return true;
        if (m_air.isEmpty()) {
            m_airStartUs = nowMs() * 1000;
            m_airDecoded = 0;
        }
        m_air += typed();
        advance();
        return true;
    }
    return Emulator::control(line);
}

qint64 JrcEmulator::advance()
{
    // Character n of a run is decoded 7.5 bits times n after its first, in
    // whole microseconds from the run's start, so no error adds up.
    const auto dueUs = [this](qint64 n) { return m_airStartUs + n * 7500000 / rttyBaud(); };
    const qint64 nowUs = nowMs() * 1000;
    QByteArray decoded;
    while (!m_air.isEmpty() && dueUs(m_airDecoded) <= nowUs) {
        // A character that comes while the demodulator is off is lost.
        if (rtty)
            decoded += m_air.front();
        m_air.remove(0, 1);
        ++m_airDecoded;
    }
    reply(decoded);
    const qint64 next = m_air.isEmpty() ? -1 : (dueUs(m_airDecoded) + 999) / 1000;
    if (next >= 0 && wakeAt)
        wakeAt(next);
    return next;
}

int Nrd535Emulator::rttyBaud() const
{
    const QString code = rttyParameters.left(2);
    return code == QLatin1String("65") ? 45 : code == QLatin1String("00") ? 75 : 50;
}

int Nrd545Emulator::rttyBaud() const
{
    const int rate = rttyParameters.left(2).toInt();
    return rate == 45 || rate == 75 ? rate : 50;
}

int JrcEmulator::meterRaw() const
{
    const auto s = bandLevel();
    return s ? std::clamp(rawForLevel(*s), 0, 255) : smeterRaw;
}

QStringList JrcEmulator::controlHelp() const
{
    return {QStringLiteral("dial HZ         turn the tuning knob to HZ"),
            QStringLiteral("smeter N        hold the raw S-meter number at N (000..255; lower is stronger on the NRD-535)"),
            QStringLiteral("rtty TEXT       send TEXT as decoded RTTY while RTTY is on, a character at a time"),
            QStringLiteral("                at the demodulator's pace for the speed set (45, 50, 75 baud)"),
            QStringLiteral("rttyburst TEXT  send TEXT as decoded RTTY at once, at the line's speed"),
            QStringLiteral("                (\\r and \\n in TEXT send CR and LF)"),
            QStringLiteral("(dial also sends a frequency report while reports are on, \"I1\";"),
            QStringLiteral(" in remote, \"H1\", the knob is locked and dial does nothing,"),
            QStringLiteral(" on the NRD-545 while its dial lock \"DD1\" is on)")};
}

// ---------------------------------------------------------------- NRD-535

Nrd535Emulator::Nrd535Emulator() : JrcEmulator(200, 113)
{
    cur.hz = 10000000;
    cur.mode = 4;
    cur.bw = 0;
    cur.agc = 1;
}

QByteArray Nrd535Emulator::channelText(const JrcChannel &c) const
{
    return (QString::number(c.att) + QString::number(c.bw) + QString::number(c.mode) + pad(c.hz, 8)
            + QString::number(c.agc))
        .toLatin1();
}

int Nrd535Emulator::rawForLevel(double s) const
{
    // The meter reads a quarter S-unit a step down from 137, compressed
    // below S6 and stretched above S13.
    const double x = s > 13 ? 13 + (s - 13) / 1.34 : s < 6 ? (s - 2.64) / 0.56 : s;
    return int(std::lround(137 - 4 * x));
}

QByteArray Nrd535Emulator::frequencyReport() const { return "I" + channelText(cur) + "\r"; }

bool Nrd535Emulator::isQuery(const QString &cmd) const
{
    return cmd == QLatin1String("M") || cmd == QLatin1String("R0") || cmd == QLatin1String("T")
        || cmd == QLatin1String("P") || cmd == QLatin1String("N") || cmd == QLatin1String("Q")
        || cmd == QLatin1String("L") || cmd == QLatin1String("U2")
        || (cmd.size() == 7 && cmd.startsWith(QLatin1Char('L')) && allDigits(cmd, 1, 6));
}

bool Nrd535Emulator::handle(const QString &cmd)
{
    const QChar c0 = cmd[0];
    const int n = int(cmd.size());
    auto digitIn = [&](int max) { return n == 2 && isDigit(cmd[1]) && cmd[1].digitValue() <= max; };
    auto channelAt = [&](int from) { return allDigits(cmd, from, 3) && num(cmd, from, 3) < memory.size(); };

    if (cmd == QLatin1String("M")) {
        reply("M" + pad(meterRaw(), 3).toLatin1() + "\r");
        return true;
    }
    if (cmd == QLatin1String("T")) { reply("T" + QByteArray::number(power) + "\r"); return true; }
    if (cmd == QLatin1String("N")) { reply("N" + QByteArray::number(noiseblanker) + "\r"); return true; }
    if (cmd == QLatin1String("Q")) { reply(squelchReply()); return true; }
    if (cmd == QLatin1String("L")) { reply(memoryReply(qMax(0, selectedChannel))); return true; }
    if (cmd == QLatin1String("U2")) { reply("U2" + userSettings.value(2, QStringLiteral("+0000")).toLatin1() + "\r"); return true; }
    if (cmd == QLatin1String("P")) { reply(("P" + signedPad(passbandShift, 4)).toLatin1() + "\r"); return true; }
    if (cmd == QLatin1String("R0")) {
        const int s = clockSeconds();
        reply("R" + (pad(s / 3600, 2) + pad(s / 60 % 60, 2) + pad(s % 60, 2)).toLatin1() + "\r");
        return true;
    }
    if (c0 == QLatin1Char('L') && n == 7 && allDigits(cmd, 1, 6)) {
        const int from = num(cmd, 1, 3), to = num(cmd, 4, 3);
        for (int ch = from; ch <= to && ch < memory.size(); ++ch)
            reply(memoryReply(ch));
        return true;
    }
    if (c0 == QLatin1Char('A') && digitIn(1)) { cur.att = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('B') && digitIn(3)) { cur.bw = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('D') && digitIn(8)) { cur.mode = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('G') && digitIn(2)) { cur.agc = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('N') && digitIn(2)) { noiseblanker = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('X') && digitIn(1)) { rtty = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('T') && digitIn(1)) { power = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('O') && digitIn(1)) { timerRelay = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('F') && n == 9 && allDigits(cmd, 1, 8)) {
        setFreq(cmd.mid(1).toLongLong());
        return true;
    }
    if (c0 == QLatin1Char('W') && n == 5 && allDigits(cmd, 1, 4)) { bandwidthControl = num(cmd, 1, 4); return true; }
    if (c0 == QLatin1Char('P') && n == 6 && (cmd[1] == QLatin1Char('+') || cmd[1] == QLatin1Char('-'))
        && allDigits(cmd, 2, 4)) {
        passbandShift = num(cmd, 2, 4) * (cmd[1] == QLatin1Char('-') ? -1 : 1);
        return true;
    }
    if (cmd.startsWith(QLatin1String("J1")) && n == 5 && channelAt(2)) {
        memory[num(cmd, 2, 3)] = cur;
        memory[num(cmd, 2, 3)].used = true;
        return true;
    }
    // Status or channel settings: ccc, attenuator, bandwidth, mode, 8 frequency digits, AGC.
    auto parseSettings = [&](int from, JrcChannel &out) {
        if (!allDigits(cmd, from, 12))
            return false;
        out.att = cmd[from].digitValue();
        out.bw = cmd[from + 1].digitValue();
        out.mode = cmd[from + 2].digitValue();
        out.hz = cmd.mid(from + 3, 8).toLongLong();
        out.agc = cmd[from + 11].digitValue();
        out.used = true;
        return true;
    };
    if (bool known = true; memoryCommand(cmd, 16, parseSettings, known))
        return known;
    if (c0 == QLatin1Char('R') && n == 8 && cmd[1] == QLatin1Char('1') && allDigits(cmd, 2, 6)) {
        setClock(num(cmd, 2, 2) * 3600 + num(cmd, 4, 2) * 60 + num(cmd, 6, 2));
        return true;
    }
    if (c0 == QLatin1Char('U') && n >= 2) {
        if (cmd[1] == QLatin1Char('5') && n == 5 && channelAt(2)) {
            memory[num(cmd, 2, 3)] = JrcChannel{};
            return true;
        }
        if (cmd[1] == QLatin1Char('3')) {
            rttyParameters = cmd.mid(2);
            return true;
        }
        if (cmd[1] == QLatin1Char('2') && n == 7 && (cmd[2] == QLatin1Char('+') || cmd[2] == QLatin1Char('-'))
            && allDigits(cmd, 3, 4)) {
            userSettings[2] = cmd.mid(2);
            return true;
        }
        if (n == 3 && isDigit(cmd[1]) && isDigit(cmd[2])) {
            const int item = cmd[1].digitValue(), v = cmd[2].digitValue();
            const bool ok = (item == 0 && v <= 2) || (item == 1 && v <= 1) || (item >= 4 && item != 5 && v <= 1);
            if (ok) {
                userSettings[item] = cmd.mid(2);
                return true;
            }
        }
    }
    return false;
}

// ---------------------------------------------------------------- NRD-545

Nrd545Emulator::Nrd545Emulator() : JrcEmulator(1000, 64)
{
    cur.hz = 10000000;
    cur.mode = 4;
    cur.bw = 0;
    cur.agc = 30;
    // A receiver fresh from its power-on: the bandwidth control at its AM
    // width, IF gain full and tone in the middle; 0 is no value it holds for
    // the first two, so a panel read them as unknown.
    bandwidthControl = 600;
    ifgain = 255;
    tone = 127;
}

QByteArray Nrd545Emulator::channelText(const JrcChannel &c) const
{
    return (QString::number(c.att) + QString::number(c.bw) + QString::number(c.mode) + QStringLiteral("00")
            + pad(c.hz, 8) + pad(c.agc, 3))
        .toLatin1();
}

int Nrd545Emulator::rawForLevel(double s) const
{
    // Six steps an S-unit from 28 up to S9, then 12.8.
    return int(std::lround(s <= 9.2 ? 28 + 6 * s : 12.8 * s - 35));
}

QByteArray Nrd545Emulator::frequencyReport() const { return "I" + channelText(cur) + "\r"; }

bool Nrd545Emulator::isQuery(const QString &cmd) const
{
    static const QStringList q = {QStringLiteral("M"),  QStringLiteral("W"),  QStringLiteral("NN"),
                                  QStringLiteral("F"),  QStringLiteral("P"),  QStringLiteral("HH"),
                                  QStringLiteral("LL"), QStringLiteral("KK"), QStringLiteral("JJ"),
                                  QStringLiteral("N"),  QStringLiteral("FF"), QStringLiteral("GG"),
                                  QStringLiteral("R0"), QStringLiteral("I"),  QStringLiteral("T"),
                                  QStringLiteral("Q"),  QStringLiteral("L"),  QStringLiteral("U14"),
                                  QStringLiteral("BB"), QStringLiteral("EE"), QStringLiteral("DD")};
    return q.contains(cmd) || (cmd.size() == 7 && cmd.startsWith(QLatin1Char('L')) && allDigits(cmd, 1, 6));
}

bool Nrd545Emulator::handle(const QString &cmd)
{
    const int n = int(cmd.size());
    const QChar c0 = cmd[0];
    auto digitIn = [&](int max) { return n == 2 && isDigit(cmd[1]) && cmd[1].digitValue() <= max; };
    auto channelAt = [&](int from) { return allDigits(cmd, from, 3) && num(cmd, from, 3) < memory.size(); };
    auto answer = [&](const QString &text) { reply(text.toLatin1() + "\r"); };
    auto two = [&](const char *letters) { return cmd.startsWith(QLatin1String(letters)); };
    auto threeAfterTwo = [&](int &field) {
        if (n == 5 && allDigits(cmd, 2, 3)) {
            field = num(cmd, 2, 3);
            return true;
        }
        return false;
    };

    // Queries
    if (cmd == QLatin1String("M")) { answer(QStringLiteral("M") + pad(meterRaw(), 3)); return true; }
    if (cmd == QLatin1String("I")) { reply(frequencyReport()); return true; }
    if (cmd == QLatin1String("T")) { answer(QStringLiteral("T") + QString::number(power)); return true; }
    if (cmd == QLatin1String("Q")) { reply(squelchReply()); return true; }
    if (cmd == QLatin1String("L")) { reply(memoryReply(qMax(0, selectedChannel))); return true; }
    if (cmd == QLatin1String("U14")) { answer(QStringLiteral("U14") + userSettings.value(14, QStringLiteral("+0000"))); return true; }
    if (cmd == QLatin1String("BB")) { answer(QStringLiteral("BB") + QString::number(nrbc)); return true; }
    if (cmd == QLatin1String("EE")) { answer(QStringLiteral("EE") + QString::number(notch)); return true; }
    if (cmd == QLatin1String("DD")) { answer(QStringLiteral("DD") + QString::number(dialLock)); return true; }
    if (two("DD") && n == 3 && isDigit(cmd[2]) && cmd[2].digitValue() <= 1) { dialLock = cmd[2].digitValue(); return true; }
    if (cmd == QLatin1String("W")) { answer(QStringLiteral("W") + pad(bandwidthControl, 3)); return true; }
    if (cmd == QLatin1String("NN")) { answer(QStringLiteral("NN") + pad(cur.agc, 3)); return true; }
    if (cmd == QLatin1String("F")) { answer(QStringLiteral("F") + pad(cur.hz, 10)); return true; }
    if (cmd == QLatin1String("P")) { answer(QStringLiteral("P") + signedPad(passbandShift, 3)); return true; }
    if (cmd == QLatin1String("HH")) { answer(QStringLiteral("HH") + pad(ifgain, 3)); return true; }
    if (cmd == QLatin1String("LL")) { answer(QStringLiteral("LL") + pad(squelch, 3)); return true; }
    if (cmd == QLatin1String("KK")) { answer(QStringLiteral("KK") + pad(tone, 3)); return true; }
    if (cmd == QLatin1String("JJ")) { answer(QStringLiteral("JJ") + pad(volume, 3)); return true; }
    if (cmd == QLatin1String("N")) { answer(QStringLiteral("N") + QString::number(noiseblanker)); return true; }
    if (cmd == QLatin1String("FF")) { answer(QStringLiteral("FF") + pad(nbLevel, 3)); return true; }
    if (cmd == QLatin1String("GG")) { answer(QStringLiteral("GG") + signedPad(notchValue, 4)); return true; }
    if (cmd == QLatin1String("R0")) {
        const int s = clockSeconds();
        answer(QStringLiteral("R") + pad(s / 3600, 2) + pad(s / 60 % 60, 2) + pad(s % 60, 2));
        return true;
    }
    if (c0 == QLatin1Char('L') && n == 7 && allDigits(cmd, 1, 6)) {
        const int from = num(cmd, 1, 3), to = num(cmd, 4, 3);
        for (int ch = from; ch <= to && ch < memory.size(); ++ch)
            reply(memoryReply(ch));
        return true;
    }

    // Two-letter settings first: their first letter is also a one-letter command.
    if (two("NN")) return threeAfterTwo(cur.agc);
    if (two("HH")) return threeAfterTwo(ifgain);
    if (two("LL")) return threeAfterTwo(squelch);
    if (two("KK")) return threeAfterTwo(tone);
    if (two("JJ")) return threeAfterTwo(volume);
    if (two("FF")) return threeAfterTwo(nbLevel);
    if (two("BB") && n == 3 && isDigit(cmd[2])) { nrbc = cmd[2].digitValue(); return true; }
    if (two("EE") && n == 3 && isDigit(cmd[2])) { notch = cmd[2].digitValue(); return true; }
    if (two("CC") && n == 3 && isDigit(cmd[2])) { ecss = cmd[2].digitValue(); return true; }
    if (two("GG") && n == 7 && (cmd[2] == QLatin1Char('+') || cmd[2] == QLatin1Char('-')) && allDigits(cmd, 3, 4)) {
        notchValue = num(cmd, 3, 4) * (cmd[2] == QLatin1Char('-') ? -1 : 1);
        return true;
    }
    if (cmd == QLatin1String("MM21")) { channelMode = !channelMode; return true; }

    if (c0 == QLatin1Char('A') && digitIn(1)) { cur.att = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('B') && digitIn(2)) { cur.bw = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('D') && digitIn(9)) { cur.mode = cmd[1].digitValue(); return true; }
    // Slow and fast take the receiver's preset times; off has none.
    if (cmd == QLatin1String("G0")) { cur.agc = 80; return true; }
    if (cmd == QLatin1String("G1")) { cur.agc = 10; return true; }
    if (cmd == QLatin1String("G2")) { cur.agc = 0; return true; }
    if (c0 == QLatin1Char('N') && digitIn(2)) { noiseblanker = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('T') && digitIn(1)) { power = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('O') && digitIn(1)) { timerRelay = cmd[1].digitValue(); return true; }
    if (c0 == QLatin1Char('F') && n == 11 && allDigits(cmd, 1, 10)) {
        setFreq(cmd.mid(1).toLongLong());
        return true;
    }
    if (c0 == QLatin1Char('W') && n == 4 && allDigits(cmd, 1, 3)) { bandwidthControl = num(cmd, 1, 3); return true; }
    if (c0 == QLatin1Char('P') && n == 5 && (cmd[1] == QLatin1Char('+') || cmd[1] == QLatin1Char('-'))
        && allDigits(cmd, 2, 3)) {
        passbandShift = num(cmd, 2, 3) * (cmd[1] == QLatin1Char('-') ? -1 : 1);
        return true;
    }
    if (cmd.startsWith(QLatin1String("J1")) && n == 5 && channelAt(2)) {
        memory[num(cmd, 2, 3)] = cur;
        memory[num(cmd, 2, 3)].used = true;
        return true;
    }
    // ccc, attenuator, bandwidth, mode, "00", 8 frequency digits, AGC time.
    auto parseSettings = [&](int from, JrcChannel &out) {
        if (!allDigits(cmd, from, 16))
            return false;
        out.att = cmd[from].digitValue();
        out.bw = cmd[from + 1].digitValue();
        out.mode = cmd[from + 2].digitValue();
        out.hz = cmd.mid(from + 5, 8).toLongLong();
        out.agc = num(cmd, from + 13, 3);
        out.used = true;
        return true;
    };
    if (bool known = true; memoryCommand(cmd, 20, parseSettings, known))
        return known;
    if (c0 == QLatin1Char('R') && n == 6 && cmd[1] == QLatin1Char('1') && allDigits(cmd, 2, 4)) {
        setClock(num(cmd, 2, 2) * 3600 + num(cmd, 4, 2) * 60);
        return true;
    }
    if (c0 == QLatin1Char('U')) {
        if (two("U23") && n == 4 && isDigit(cmd[3])) { rtty = cmd[3].digitValue(); return true; }
        if (cmd.startsWith(QLatin1String("U15"))) { rttyParameters = cmd.mid(3); return true; }
        if (cmd.startsWith(QLatin1String("U29")) && n == 6 && allDigits(cmd, 3, 3)) { nrLevel = num(cmd, 3, 3); return true; }
        if (cmd.startsWith(QLatin1String("U30")) && n == 6 && allDigits(cmd, 3, 3)) { bcLevel = num(cmd, 3, 3); return true; }
        if (n >= 4 && allDigits(cmd, 1, 2)) {
            const int item = num(cmd, 1, 2);
            const QString v = cmd.mid(3);
            bool ok = false;
            if (item == 14)
                ok = v.size() == 5 && (v[0] == QLatin1Char('+') || v[0] == QLatin1Char('-')) && allDigits(v, 1, 4);
            else if (item == 20)
                ok = v.size() == 2 && allDigits(v, 0, 2);
            else if (item == 21 || item == 22)
                ok = v.size() == 3 && allDigits(v, 0, 3);
            else if (item >= 1 && item <= 32)
                ok = v.size() == 1 && isDigit(v[0]);
            if (ok) {
                userSettings[item] = v;
                return true;
            }
        }
    }
    return false;
}

} // namespace sim
