#include "sim/ar7030.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Page 0 addresses of the settings.
constexpr int kIfgain = 0x18, kFreq = 0x1A, kMode = 0x1D, kVolume = 0x1E, kBass = 0x21,
              kTreble = 0x22, kAuxL = 0x23, kAuxR = 0x24, kAtt = 0x30, kAgc = 0x32, kSquelch = 0x33,
              kFilter = 0x34, kPbs = 0x35, kBfo = 0x36, kFilterBw = 0x38, kSmeterA = 0x3F, kSmeterB = 0x40,
              kPowerFlags = 0x2E;
// Page 1.
constexpr int kClock = 0x02, kPower = 0x16, kFilterWidths = 0x85, kChannelSqlBfo = 0x9C;
// Page 2.
constexpr int kChannelPbs = 0x190;

// The receiver's tuning step: 44.545 MHz over 2^24 is ~2.655 Hz, i.e.
// 376.635 steps a kHz.
constexpr double kWordPerKHz = 376.6352228;

uint8_t bcd(int v) { return uint8_t(((v / 10) % 10) * 16 + v % 10); }
int unbcd(uint8_t b) { return (b >> 4) * 10 + (b & 15); }

QString hex2(int v) { return QStringLiteral("0x%1").arg(v, 2, 16, QLatin1Char('0')); }
QString hex3(int v) { return QStringLiteral("0x%1").arg(v, 3, 16, QLatin1Char('0')); }

QString routineName(int n)
{
    switch (n) {
    case 0: return QStringLiteral("reset");
    case 1: return QStringLiteral("set frequency");
    case 2: return QStringLiteral("set mode");
    case 3: return QStringLiteral("set passband");
    case 4: return QStringLiteral("set all");
    case 5: return QStringLiteral("set audio");
    case 6: return QStringLiteral("set RF and IF");
    case 7: return QStringLiteral("not used");
    case 8: return QStringLiteral("not used");
    case 9: return QStringLiteral("direct receiver control");
    case 10: return QStringLiteral("direct synthesiser");
    case 11: return QStringLiteral("display menus");
    case 12: return QStringLiteral("display frequency");
    case 13: return QStringLiteral("display buffer");
    case 14: return QStringLiteral("read signal strength");
    case 15: return QStringLiteral("read buttons");
    default: return QString();
    }
}

} // namespace

AR7030Emulator::AR7030Emulator()
    : m_page0(256, 0), m_page1(256, 0), m_page2(512, 0), m_page15(16, 0)
{
    setFirmware(14);
    // A receiver switched on, tuned to 6 MHz AM, its controls at middle settings.
    const uint32_t w = wordForHz(6000000.0);
    m_page0[kFreq] = uint8_t(w >> 16);
    m_page0[kFreq + 1] = uint8_t(w >> 8);
    m_page0[kFreq + 2] = uint8_t(w);
    m_page0[kMode] = 1;
    m_page0[kVolume] = 40;
    m_page0[kBass] = 15;
    m_page0[kTreble] = 6;
    m_page0[kAuxL] = 45;
    m_page0[kAuxR] = 45;
    m_page0[kAtt] = 1;
    m_page0[kAgc] = 1;
    m_page0[kFilter] = 3;
    m_page0[kIfgain] = 0;
    m_page1[kPower] = 1;
    m_page0[kPowerFlags] = 1;
    // Installed filters, widths in kHz as BCD; the sixth slot is empty.
    const uint8_t widths[6] = {0x24, 0x36, 0x55, 0x70, 0x95, 0xFF};
    for (int i = 0; i < 6; ++i)
        m_page1[kFilterWidths + 4 * i] = widths[i];
    m_page1[kClock] = 0x00;
    m_page1[kClock + 1] = 0x00;
    m_page1[kClock + 2] = 0x12;
    // Every memory channel empty: the frequency just above the top of the range.
    for (int n = 0; n < 100; ++n)
        storeChannel(n, wordForHz(32016666.0), 0, 0, true, 0, 0);
    applyAll();
}

void AR7030Emulator::setFirmware(int number)
{
    m_firmware = number;
    // Eight characters; the 6th and 7th are the firmware number.
    const QByteArray ident = "AR703" + QByteArray::number(number % 100).rightJustified(2, '0') + "A";
    for (int i = 0; i < 8; ++i)
        m_page15[i] = uint8_t(ident[i]);
}

int AR7030Emulator::pageSize(int page) const
{
    const auto *p = pageData(page);
    return p ? int(p->size()) : 0;
}

std::vector<uint8_t> *AR7030Emulator::pageData(int page)
{
    switch (page) {
    case 0: return &m_page0;
    case 1: return &m_page1;
    case 2: return &m_page2;
    case 15: return &m_page15;
    default: return nullptr;
    }
}

const std::vector<uint8_t> *AR7030Emulator::pageData(int page) const
{
    return const_cast<AR7030Emulator *>(this)->pageData(page);
}

uint8_t AR7030Emulator::byteAt(int page, int address) const
{
    const auto *p = pageData(page);
    return p && address >= 0 && address < int(p->size()) ? (*p)[size_t(address)] : 0;
}

void AR7030Emulator::setByte(int page, int address, uint8_t value)
{
    auto *p = pageData(page);
    if (p && address >= 0 && address < int(p->size()))
        (*p)[size_t(address)] = value;
}

uint32_t AR7030Emulator::storedWord() const
{
    return (uint32_t(m_page0[kFreq]) << 16) | (uint32_t(m_page0[kFreq + 1]) << 8) | m_page0[kFreq + 2];
}

uint32_t AR7030Emulator::wordForHz(double hz)
{
    const double w = std::floor(hz / 1000.0 * kWordPerKHz + 0.5);
    return uint32_t(std::clamp(w, 0.0, double(0xFFFFFF)));
}

double AR7030Emulator::hzForWord(uint32_t word) { return double(word) * 1000.0 / kWordPerKHz; }

double AR7030Emulator::tunedFrequencyHz() const { return hzForWord(m_applied.word); }

void AR7030Emulator::dial(double hz)
{
    const double old = tunedFrequencyHz();
    const uint32_t w = wordForHz(hz);
    m_page0[kFreq] = uint8_t(w >> 16);
    m_page0[kFreq + 1] = uint8_t(w >> 8);
    m_page0[kFreq + 2] = uint8_t(w);
    m_applied.word = w;
    note(QStringLiteral("dial: tuned to word %1").arg(w));
    tuned(old);
}

void AR7030Emulator::setSmeter(double s)
{
    s = std::clamp(s, 0.0, 18.0);
    // The driver reads a + b/5 and stretches everything above 11.5 by 1.66.
    double raw = s > 11.5 ? 11.5 + (s - 11.5) / 1.66 : s;
    int a = int(std::floor(raw));
    int b = int(std::lround((raw - a) * 5));
    if (b >= 5) {
        ++a;
        b = 0;
    }
    m_page0[kSmeterA] = uint8_t(std::clamp(a, 0, 255));
    m_page0[kSmeterB] = uint8_t(b);
}

void AR7030Emulator::advanceClock(int seconds)
{
    int t = unbcd(m_page1[kClock + 2]) * 3600 + unbcd(m_page1[kClock + 1]) * 60 + unbcd(m_page1[kClock]);
    t = ((t + seconds) % 86400 + 86400) % 86400;
    m_page1[kClock] = bcd(t % 60);
    m_page1[kClock + 1] = bcd(t / 60 % 60);
    m_page1[kClock + 2] = bcd(t / 3600);
}

void AR7030Emulator::storeChannel(int n, uint32_t word, int mode, int filter, bool scan, int pbs, int sqlbfo)
{
    if (n < 0 || n > 99)
        return;
    m_page2[size_t(4 * n)] = uint8_t(word >> 16);
    m_page2[size_t(4 * n + 1)] = uint8_t(word >> 8);
    m_page2[size_t(4 * n + 2)] = uint8_t(word);
    m_page2[size_t(4 * n + 3)] = uint8_t((scan ? 0x80 : 0) | ((filter & 7) << 4) | (mode & 15));
    m_page2[size_t(kChannelPbs + n)] = uint8_t(pbs);
    m_page1[size_t(kChannelSqlBfo + n)] = uint8_t(sqlbfo);
}

bool AR7030Emulator::control(const QString &line)
{
    const QStringList parts = line.simplified().split(QLatin1Char(' '));
    bool ok = false;
    const double v = parts.value(1).toDouble(&ok);
    if (parts.size() != 2 || !ok)
        return Emulator::control(line);
    if (parts[0] == QLatin1String("dial")) {
        dial(v);
        return true;
    }
    if (parts[0] == QLatin1String("smeter")) {
        setSmeter(v);
        levelSet();
        note(QStringLiteral("smeter: bytes %1 %2").arg(m_page0[kSmeterA]).arg(m_page0[kSmeterB]));
        return true;
    }
    if (parts[0] == QLatin1String("clock")) {
        advanceClock(int(v));
        return true;
    }
    return Emulator::control(line);
}

double AR7030Emulator::attenuationDb() const
{
    // 0 is the preamplifier, 1 neither, then 10 dB a step.
    return (m_applied.attenuator - 1) * 10.0;
}

void AR7030Emulator::followBand()
{
    if (const auto s = bandLevel())
        setSmeter(*s);
}

QStringList AR7030Emulator::controlHelp() const
{
    return {QStringLiteral("dial HZ         turn the tuning knob to HZ"),
            QStringLiteral("smeter VALUE    hold the meter bytes at a level in S-units (0..18)"),
            QStringLiteral("clock SECONDS   advance the receiver's clock")};
}

void AR7030Emulator::feed(const QByteArray &bytes)
{
    for (char c : bytes)
        command(uint8_t(c));
}

void AR7030Emulator::command(uint8_t b)
{
    const int op = b >> 4;
    const int v = b & 15;
    const QString head = hex2(b) + QLatin1Char(' ');
    switch (op) {
    case 0x1:
        m_address = (m_address & 0xFF) | (v << 8);
        note(head + QStringLiteral("address high bits %1, address %2").arg(v).arg(hex3(m_address)));
        return;
    case 0x2: {
        const QString name = routineName(v);
        if (name.isEmpty())
            break;
        note(head + QStringLiteral("routine %1 (%2)").arg(v).arg(name));
        const double old = tunedFrequencyHz();
        routine(v);
        tuned(old);
        return;
    }
    case 0x3:
        m_high = v;
        note(head + QStringLiteral("high nibble %1").arg(v));
        return;
    case 0x4:
        m_address = m_high * 16 + v;
        m_high = 0;
        note(head + QStringLiteral("address %1").arg(hex3(m_address)));
        return;
    case 0x5:
        m_page = v;
        note(head + QStringLiteral("page %1%2").arg(v).arg(pageData(v) ? QString() : QStringLiteral(" (no such page)")));
        return;
    case 0x6: {
        const int value = m_high * 16 + v;
        m_high = 0;
        auto *p = pageData(m_page);
        if (p && m_address < int(p->size())) {
            (*p)[size_t(m_address)] = uint8_t(value);
            note(head + QStringLiteral("write page %1 %2 := %3").arg(m_page).arg(hex3(m_address)).arg(hex2(value)));
        } else {
            ++m_outside;
            note(head + QStringLiteral("write page %1 %2 := %3 outside memory, lost").arg(m_page).arg(hex3(m_address)).arg(hex2(value)));
        }
        m_address = (m_address + 1) & 0xFFF;
        return;
    }
    case 0x7: {
        // Read, then advance the address by the operand (0x70 reads in place).
        if (m_page == 0 && (m_address == kSmeterA || m_address == kSmeterB))
            followBand();
        const auto *p = pageData(m_page);
        uint8_t value = 0;
        if (p && m_address < int(p->size())) {
            value = (*p)[size_t(m_address)];
            note(head + QStringLiteral("read page %1 %2 = %3").arg(m_page).arg(hex3(m_address)).arg(hex2(value)));
        } else {
            ++m_outside;
            note(head + QStringLiteral("read page %1 %2 outside memory = 0x00").arg(m_page).arg(hex3(m_address)));
        }
        m_address = (m_address + v) & 0xFFF;
        reply(QByteArray(1, char(value)));
        return;
    }
    case 0x0:
        note(head + QStringLiteral("no operation"));
        return;
    case 0x8:
        if (v > 3)
            break;
        m_lock = v;
        note(head + QStringLiteral("lock level %1").arg(v));
        return;
    case 0xA:
        note(head + QStringLiteral("button %1").arg(v));
        if (v == 9) {
            // The power button switches the set off and on again.
            const double old = tunedFrequencyHz();
            m_applied.power = !m_applied.power;
            m_page1[kPower] = m_applied.power ? 1 : 0;
            m_page0[kPowerFlags] = m_applied.power ? 1 : 0;
            tuned(old);
        }
        return;
    default:
        break;
    }
    ++m_unknown;
    note(head + QStringLiteral("unknown command, ignored"));
}

void AR7030Emulator::routine(int n)
{
    Applied &a = m_applied;
    const auto &p0 = m_page0;
    switch (n) {
    case 0:
        // Restart: the power bit decides whether the receiver comes up.
        a.power = (m_page1[kPower] & 1) != 0;
        m_page0[kPowerFlags] = a.power ? 1 : 0;
        m_lock = 0;
        if (a.power)
            applyAll();
        break;
    case 1:
        a.word = storedWord();
        break;
    case 2: {
        // A new mode brings the filter, shift and BFO last used in it.
        a.mode = p0[kMode];
        const Preferred &pref = m_preferred[size_t(std::clamp(a.mode, 0, 7))];
        m_page0[kFilter] = uint8_t(pref.filter);
        m_page0[kPbs] = uint8_t(pref.pbs);
        m_page0[kBfo] = uint8_t(pref.bfo);
        applyPassband();
        break;
    }
    case 3:
        applyPassband();
        break;
    case 4:
        applyAll();
        break;
    case 5:
        a.volume = p0[kVolume];
        a.bass = p0[kBass];
        a.treble = p0[kTreble];
        a.auxLeft = p0[kAuxL];
        a.auxRight = p0[kAuxR];
        break;
    case 6:
        a.attenuator = p0[kAtt];
        a.agc = p0[kAgc];
        a.ifgain = p0[kIfgain];
        break;
    case 14:
        // The AGC voltage as one byte.
        followBand();
        reply(QByteArray(1, char(signalByte())));
        break;
    case 15:
        reply(QByteArray(1, char(0))); // no button pressed
        break;
    default:
        // Display and signal routines change no setting.
        break;
    }
}

int AR7030Emulator::signalByte() const
{
    const double s = m_page0[kSmeterA] + m_page0[kSmeterB] / 5.0;
    return std::clamp(int(std::lround(s * 255.0 / 14.0)), 0, 255);
}

void AR7030Emulator::applyPassband()
{
    Applied &a = m_applied;
    a.filter = m_page0[kFilter];
    a.pbs = m_page0[kPbs];
    a.bfo = m_page0[kBfo];
    // The receiver keeps the width of the filter in use where it shows it.
    if (a.filter >= 1 && a.filter <= 6) {
        const uint8_t w = m_page1[size_t(kFilterWidths + 4 * (a.filter - 1))];
        m_page0[kFilterBw] = w == 0xFF ? 0 : w;
    }
    Preferred &pref = m_preferred[size_t(std::clamp(int(m_page0[kMode]), 0, 7))];
    pref = {a.filter, a.pbs, a.bfo};
}

void AR7030Emulator::applyAll()
{
    Applied &a = m_applied;
    const auto &p0 = m_page0;
    a.word = storedWord();
    a.mode = p0[kMode];
    applyPassband();
    a.volume = p0[kVolume];
    a.bass = p0[kBass];
    a.treble = p0[kTreble];
    a.auxLeft = p0[kAuxL];
    a.auxRight = p0[kAuxR];
    a.attenuator = p0[kAtt];
    a.agc = p0[kAgc];
    a.ifgain = p0[kIfgain];
    a.squelch = p0[kSquelch];
}

} // namespace sim
