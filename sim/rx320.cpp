#include "sim/rx320.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Total length of each command, letter and CR included.
int commandLength(char letter)
{
    switch (letter) {
    case 'N': return 8;  // coarse, fine, BFO words
    case 'W': return 3;  // filter
    case 'M': return 3;  // mode digit
    case 'G': return 3;  // AGC digit
    case 'V': return 4;  // speaker: 0x7F, level
    case 'A': return 4;  // line out: 0x7F, level
    case 'C': return 4;  // speaker and line out together: 0x7F, level
    case 'X': return 2;  // S-meter query
    case '?': return 2;  // firmware query
    default: return 0;
    }
}

const char *modeName(int m)
{
    static const char *names[] = {"AM", "USB", "LSB", "CW"};
    return (m >= 0 && m <= 3) ? names[m] : "?";
}

const int kWidths[34] = {6000, 5700, 5400, 5100, 4800, 4500, 4200, 3900, 3600, 3300, 3000, 2850,
                         2700, 2550, 2400, 2250, 2100, 1950, 1800, 1650, 1500, 1350, 1200, 1050,
                         900,  750,  675,  600,  525,  450,  375,  330,  300,  8000};

} // namespace

double Rx320Emulator::bfoOffsetHz() const { return m_bfo / 2.73 - 8000.0; }

double Rx320Emulator::tunedFrequencyHz() const
{
    if (!m_tunedYet)
        return 0;
    // The maker's tuning rule: coarse and fine put the frequency 1250 Hz above
    // them at the middle of the IF. In AM the carrier sits there and the BFO
    // word is not used; in SSB the BFO offset is the carrier's distance from
    // it (below for USB, above for LSB); in CW the carrier heard at zero beat
    // sits above it by the BFO offset, so the one heard at the pitch by the
    // offset less the pitch.
    const double centre = (m_coarse - 18000) * 2500.0 + m_fine / 5.46 + 1250.0;
    double hz = centre;
    switch (m_mode) {
    case 1: hz = centre - bfoOffsetHz(); break;
    case 2: hz = centre + bfoOffsetHz(); break;
    case 3: hz = m_cwPitch < 0 ? centre : centre + bfoOffsetHz() - m_cwPitch; break;
    default: break;
    }
    // The words resolve a fraction of a hertz; the receiver tunes whole hertz.
    return std::round(hz);
}

void Rx320Emulator::feed(const QByteArray &bytes)
{
    m_in += bytes;
    struct AtEnd {
        Rx320Emulator *e;
        ~AtEnd()
        {
            if (!e->idleCalledByServer && e->m_in.isEmpty())
                e->idle();
        }
    } atEnd{this};
    while (!m_in.isEmpty()) {
        const char letter = m_in[0];
        const int len = commandLength(letter);
        if (len == 0) {
            // Unknown command: skip to the end of its line.
            const int cr = int(m_in.indexOf('\r'));
            if (cr < 0)
                return; // wait for the rest of it
            ++m_ignored;
            note(QStringLiteral("unknown command %1: ignored").arg(readable(m_in.left(cr + 1))));
            m_in.remove(0, cr + 1);
            continue;
        }
        if (m_in.size() < len)
            return;
        if (m_in[len - 1] != '\r') {
            // Out of step: drop this letter and look for the next command.
            ++m_ignored;
            note(QStringLiteral("malformed %1: no CR at byte %2, skipped").arg(readable(m_in.left(len))).arg(len));
            m_in.remove(0, 1);
            continue;
        }
        const QByteArray cmd = m_in.left(len);
        m_in.remove(0, len);
        handle(cmd);
    }
}

void Rx320Emulator::idle()
{
    if (!m_reportPending)
        return;
    m_reportPending = false;
    if (!m_tunedYet)
        return;
    const double old = m_reportedHz;
    m_reportedHz = tunedFrequencyHz();
    if (m_reportedHz != old) {
        note(QStringLiteral("tuned to %1 Hz %2").arg(qint64(m_reportedHz)).arg(QLatin1String(modeName(m_mode))));
        if (frequencyChanged)
            frequencyChanged(m_reportedHz);
    }
}

void Rx320Emulator::handle(const QByteArray &cmd)
{
    // A tuning command and the mode that goes with it may come in either
    // order: the frequency is reported once the burst of commands has ended,
    // never as the passing mix of new words and old mode.
    m_reportPending = true;
    auto byte = [&](int i) { return int(uint8_t(cmd[i])); };
    ++m_commands;
    switch (cmd[0]) {
    case 'N':
        m_coarse = byte(1) * 256 + byte(2);
        m_fine = byte(3) * 256 + byte(4);
        m_bfo = byte(5) * 256 + byte(6);
        m_tunedYet = true;
        note(QStringLiteral("N coarse=%1 fine=%2 bfo=%3").arg(m_coarse).arg(m_fine).arg(m_bfo));
        break;
    case 'W':
        m_filter = byte(1);
        note(QStringLiteral("W filter %1 (%2 Hz)").arg(m_filter).arg(m_filter < 34 ? kWidths[m_filter] : 0));
        break;
    case 'M':
        m_mode = byte(1) - '0';
        note(QStringLiteral("M mode %1 (%2)").arg(m_mode).arg(QLatin1String(modeName(m_mode))));
        break;
    case 'G':
        m_agc = byte(1) - '0';
        note(QStringLiteral("G agc %1").arg(m_agc));
        break;
    case 'V':
        m_volume = byte(2);
        note(QStringLiteral("V speaker level %1").arg(m_volume));
        break;
    case 'A':
        m_line = byte(2);
        note(QStringLiteral("A line level %1").arg(m_line));
        break;
    case 'C':
        m_volume = m_line = byte(2);
        note(QStringLiteral("C speaker and line level %1").arg(m_line));
        break;
    case 'X': {
        const int n = std::clamp(meterReading(), 0, 65535);
        note(QStringLiteral("X smeter -> %1").arg(n));
        reply(QByteArray("X") + char(n / 256) + char(n % 256) + '\r');
        break;
    }
    case '?':
        note(QStringLiteral("? firmware -> %1").arg(QString::fromLatin1(m_firmware)));
        reply(m_firmware + '\r');
        break;
    default:
        break;
    }
}

bool Rx320Emulator::control(const QString &line)
{
    const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() == 2 && parts[0] == QLatin1String("smeter")) {
        bool ok = false;
        const int n = parts[1].toInt(&ok);
        if (!ok || n < 0 || n > 65535)
            return false;
        m_smeter = n;
        levelSet();
        note(QStringLiteral("smeter reading %1").arg(n));
        return true;
    }
    if (parts.size() >= 2 && parts[0] == QLatin1String("firmware")) {
        m_firmware = line.section(QLatin1Char(' '), 1).trimmed().toLatin1();
        note(QStringLiteral("firmware text %1").arg(QString::fromLatin1(m_firmware)));
        return true;
    }
    if (parts.size() == 2 && parts[0] == QLatin1String("cwpitch")) {
        bool ok = false;
        const int n = parts[1].toInt(&ok);
        if (!ok || n < 0 || n > 3000)
            return false;
        m_cwPitch = n;
        note(QStringLiteral("CW pitch %1 Hz").arg(n));
        return true;
    }
    // The RX-320 has no tuning knob: "dial" has nothing to act on.
    return Emulator::control(line);
}

int Rx320Emulator::meterReading() const
{
    // The reading grows with the signal's voltage: S-units are 1.4 times its logarithm.
    const auto s = bandLevel();
    return s ? int(std::min(65535.0, std::round(std::exp(*s / 1.4)))) : m_smeter;
}

QStringList Rx320Emulator::controlHelp() const
{
    return {QStringLiteral("smeter N        hold the raw S-meter reading at N, 0..65535 (1000 is about S9.7)"),
            QStringLiteral("firmware TEXT   what the receiver answers to \"?\""),
            QStringLiteral("cwpitch HZ      the CW beat note the frequency is reckoned at"),
            QStringLiteral("(the RX-320 has no tuning knob, so \"dial\" is not available)")};
}

} // namespace sim
