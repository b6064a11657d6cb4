#include "drivers/clsAR7030.h"

#include "core/tables.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/memrecord.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

// Page 0 addresses of the settings.
constexpr int kIfgain = 0x18, kSquelchCopy = 0x17, kFreq = 0x1A, kMode = 0x1D, kVolume = 0x1E, kBass = 0x21,
              kTreble = 0x22, kAuxL = 0x23, kAuxR = 0x24, kAtt = 0x30, kAgc = 0x32, kSquelch = 0x33,
              kFilter = 0x34, kPbs = 0x35, kBfo = 0x36, kSmeterA = 0x3F, kSmeterB = 0x40;
// Page 1.
constexpr int kClock = 0x02, kPower = 0x16, kFilterWidths = 0x85, kChannelSqlBfo = 0x9C;
// Page 2.
constexpr int kChannelPbs = 0x190;

// The value stored for an empty channel: just above the top of the range.
const QString kEmptyTail = QStringLiteral("32016666 0 00 @ @ 000 000 1");

char op(int operation, int operand) { return char(((operation & 15) << 4) | (operand & 15)); }

// Page 2 address of a channel cell: the high address bits always follow,
// so a cell at 256 or above is reached and a later page 1 address (sent
// without them) falls back below 256.
QByteArray channelAddress(int page, int addr)
{
    QByteArray b = clsAR7030::address(page, addr);
    b += op(0x1, addr >> 8);
    return b;
}

} // namespace

clsAR7030::clsAR7030(CommControl &port, QObject *parent) : QObject(parent), m_port(port) {}

QByteArray clsAR7030::address(int page, int addr)
{
    QByteArray b;
    b += op(0x5, page);
    b += addressNoPage(addr);
    return b;
}

QByteArray clsAR7030::addressNoPage(int addr)
{
    QByteArray b;
    b += op(0x3, addr >> 4);
    b += op(0x4, addr);
    return b;
}

QByteArray clsAR7030::bytePair(int v)
{
    v = std::clamp(v, 0, 255);
    QByteArray b;
    b += op(0x3, v >> 4);
    b += op(0x6, v);
    return b;
}

QByteArray clsAR7030::wordNibbles(uint32_t word)
{
    word = std::min<uint32_t>(word, 0xFFFFFF);
    QByteArray b;
    for (int shift = 20; shift >= 0; shift -= 4)
        b += op(shift % 8 == 4 ? 0x3 : 0x6, int(word >> shift));
    return b;
}

uint32_t clsAR7030::frequencyWord(double kHz)
{
    const double w = std::floor(kHz * kWriteFactor + 0.5);
    return uint32_t(std::clamp(w, 0.0, double(0xFFFFFF)));
}

double clsAR7030::wordKHz(uint32_t word)
{
    // The top end's word reads a little below the top, inside already.
    if (word == frequencyWord(kFreqMin))
        return kFreqMin;
    return word / kReadDivisor;
}

bool clsAR7030::send(const QByteArray &bytes) { return m_port.Output(bytes); }

int clsAR7030::routineAudio() const { return G.ar7030fw >= 14 ? 0x25 : 0x24; }
int clsAR7030::routineRfIf() const { return G.ar7030fw >= 14 ? 0x26 : 0x24; }

int clsAR7030::readbyte(bool *answered)
{
    Exchange ex;
    // A late answer to an earlier read must not pass for this one.
    m_port.clearInput();
    send(QByteArray(1, char(0x71)));
    const bool got = m_port.waitReply([this] { return m_port.InBufferCount() > 0; }, kReadTimeoutMs);
    if (answered)
        *answered = got;
    m_lastReadOk = got;
    if (!got)
        return 0;
    const QByteArray in = m_port.Input();
    return in.isEmpty() ? 0 : uint8_t(in[0]);
}

int clsAR7030::readAt(int page, int addr, bool *answered)
{
    send(address(page, addr));
    return readbyte(answered);
}

bool clsAR7030::Reset()
{
    Exchange ex;
    return send(QByteArray(1, char(0x20)));
}

QString clsAR7030::Firmware(bool *answered)
{
    Exchange ex;
    // The ident starts at address 0, so no high nibble is needed.
    send(QByteArray() + op(0x5, 15) + op(0x4, 0));
    QString text;
    bool all = true;
    for (int i = 0; i < 8; ++i) {
        bool got = false;
        text += QChar(char16_t(readbyte(&got)));
        all = all && got;
    }
    if (answered)
        *answered = all;
    return text;
}

int clsAR7030::PowerOnOff()
{
    Exchange ex;
    return readAt(1, kPower) & 1;
}

bool clsAR7030::setPowerOnOff(int v)
{
    bool sent;
    {
        Exchange ex;
        QByteArray b;
        if (v == 1) {
            b += address(1, kPower);
            b += op(0x6, 1);
            b += char(0x20);
        } else if (v == 0) {
            b += char(0x83);
            b += address(0, 0x28);
            b += QByteArray(3, op(0x6, 0));
            b += char(0x29);
            b += address(0, 0x2E);
            b += op(0x6, 0);
            b += address(1, kPower);
            b += op(0x6, 0);
            b += char(0x20);
        }
        sent = send(b);
    }
    if (sent)
        emit PoweronoffChanged(v);
    return sent;
}

int clsAR7030::Attenuator(bool *answered)
{
    Exchange ex;
    return readAt(0, kAtt, answered);
}

bool clsAR7030::setAttenuator(int v)
{
    v = std::clamp(v, 0, 5);
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kAtt) + op(0x6, v) + char(routineRfIf()));
    }
    if (sent)
        emit AttenuatorChanged(v);
    return sent;
}

int clsAR7030::Bandwidth()
{
    Exchange ex;
    return readAt(0, kFilter);
}

bool clsAR7030::setBandwidth(int v)
{
    v = std::clamp(v, 1, 6);
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kFilter) + op(0x6, v) + char(0x23) + char(0x2B));
    }
    if (sent)
        emit BandwidthChanged(v);
    return sent;
}

int clsAR7030::Mode(bool *answered)
{
    Exchange ex;
    return readAt(0, kMode, answered);
}

bool clsAR7030::setMode(int v)
{
    v = std::clamp(v, 1, 7);
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kMode) + op(0x6, v) + char(0x22) + char(0x2B));
    }
    if (sent)
        emit ModeChanged(v);
    return sent;
}

int clsAR7030::Agcspeed()
{
    Exchange ex;
    return readAt(0, kAgc);
}

bool clsAR7030::setAgcspeed(int v)
{
    v = std::clamp(v, 0, 3);
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kAgc) + op(0x6, v) + char(routineRfIf()));
    }
    if (sent)
        emit AgcspeedChanged(v);
    return sent;
}

double clsAR7030::FrequencyA(bool *answered)
{
    Exchange ex;
    send(address(0, kFreq));
    bool g1 = false, g2 = false, g3 = false;
    const int b1 = readbyte(&g1);
    const int b2 = readbyte(&g2);
    const int b3 = readbyte(&g3);
    if (answered)
        *answered = g1 && g2 && g3;
    return wordKHz((uint32_t(b1) << 16) | (uint32_t(b2) << 8) | uint32_t(b3));
}

bool clsAR7030::setFrequencyA(double kHz)
{
    // The receiver cannot tune outside its range, and a word beyond 24 bits
    // would spill into the operation nibble: such a frequency is not sent.
    if (!(kHz >= kFreqMin && kHz <= kFreqMax))
        return false;
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kFreq) + wordNibbles(frequencyWord(kHz)) + char(0x21) + char(0x2C));
    }
    if (sent)
        emit FrequencyAChanged(kHz);
    return sent;
}

QString clsAR7030::Installedfilter(int n)
{
    if (n < 1 || n > 6)
        return QStringLiteral("0.0");
    Exchange ex;
    int b = readAt(1, kFilterWidths + 4 * (n - 1));
    if (b == 255)
        b = 0;
    return QString::number(b / 16).right(1) + QLatin1Char('.') + QString::number(b % 16).right(1);
}

int clsAR7030::readLevel(int page, int addr)
{
    Exchange ex;
    return readAt(page, addr);
}

bool clsAR7030::writeLevel(int addr, int level, int mask)
{
    // The read is told as a panel update's reads are: once, until the
    // receiver answers again (inside an update, with the update's reads).
    const CommControl::ReadRun run(m_port);
    Exchange ex;
    // The byte keeps other settings in its upper bits: without an answer
    // they are unknown, and writing a guess would change them.
    bool answered = false;
    const int stored = readAt(0, addr, &answered);
    if (!answered)
        return false;
    level |= stored & mask;
    return send(addressNoPage(addr) + bytePair(level) + char(routineAudio()));
}

int clsAR7030::Volume() { return int(floorInt(((readLevel(0, kVolume) % 64) - 15) / 0.481)); }

bool clsAR7030::setVolume(int v)
{
    if (!writeLevel(kVolume, int(std::clamp<int64_t>(floorInt(v * 0.485 + 15.5), 15, 63)), 0xC0))
        return false;
    emit VolumeChanged(v);
    return true;
}

int clsAR7030::Leftauxlevel() { return int(floorInt(((readLevel(0, kAuxL) % 64) - 27) / 0.361)); }

bool clsAR7030::setLeftauxlevel(int v)
{
    if (!writeLevel(kAuxL, int(std::clamp<int64_t>(floorInt(v * 0.364 + 27.5), 27, 63)), 0xC0))
        return false;
    emit LeftauxlevelChanged(v);
    return true;
}

int clsAR7030::Rightauxlevel() { return int(floorInt(((readLevel(0, kAuxR) % 64) - 27) / 0.361)); }

bool clsAR7030::setRightauxlevel(int v)
{
    if (!writeLevel(kAuxR, int(std::clamp<int64_t>(floorInt(v * 0.364 + 27.5), 27, 63)), 0xC0))
        return false;
    emit RightauxlevelChanged(v);
    return true;
}

int clsAR7030::Bass() { return (readLevel(0, kBass) % 32) - 15; }

bool clsAR7030::setBass(int v)
{
    if (!writeLevel(kBass, std::clamp(v + 15, 7, 23), 0xE0))
        return false;
    emit BassChanged(v);
    return true;
}

int clsAR7030::Treble() { return ((readLevel(0, kTreble) % 16) - 6) * 2; }

bool clsAR7030::setTreble(int v)
{
    if (!writeLevel(kTreble, int(std::clamp<int64_t>(floorInt(v * 0.5 + 6), 2, 10)), 0xF0))
        return false;
    emit TrebleChanged(v);
    return true;
}

int clsAR7030::PassBandShift() { return readLevel(0, kPbs); }

bool clsAR7030::setPassBandShift(int v)
{
    v = std::clamp(v, 0, 255);
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kPbs) + bytePair(v) + char(0x23) + char(0x2B));
    }
    if (sent)
        emit PassbandshiftChanged(v);
    return sent;
}

int clsAR7030::Ifgain() { return int(roundHalfEven(99 - readLevel(0, kIfgain) * 0.74)); }

bool clsAR7030::setIfgain(int v)
{
    const int raw = int(std::clamp<int64_t>(roundHalfEven((99 - v) / 0.74), 0, 130));
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kIfgain) + bytePair(raw) + char(routineRfIf()));
    }
    if (sent)
        emit IfgainChanged(v);
    return sent;
}

int clsAR7030::Squelch() { return readLevel(0, kSquelch); }

bool clsAR7030::setSquelch(int v)
{
    v = std::clamp(v, 0, 255);
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kSquelch) + bytePair(v) + addressNoPage(kSquelchCopy) + bytePair(v) + char(0x24));
    }
    if (sent)
        emit SquelchChanged(v);
    return sent;
}

int clsAR7030::Beatfreqosc() { return readLevel(0, kBfo); }

bool clsAR7030::setBeatfreqosc(int v)
{
    v = std::clamp(v, 0, 255);
    bool sent;
    {
        Exchange ex;
        sent = send(address(0, kBfo) + bytePair(v) + char(0x23) + char(0x2B));
    }
    if (sent)
        emit BeatfreqoscChanged(v);
    return sent;
}

float clsAR7030::Smeter(bool *answered)
{
    Exchange ex;
    bool ga = false, gb = false;
    const int a = readAt(0, kSmeterA, &ga);
    const int b = readAt(0, kSmeterB, &gb);
    if (answered)
        *answered = ga && gb;
    float s = float(a) + float(b) / 5.0f;
    if (s > 11.5f)
        s = s + 0.66f * (s - 11.5f);
    return std::clamp(s, 0.0f, 18.0f);
}

QString clsAR7030::Memory(int n, bool *answered)
{
    m_memoryProblem.clear();
    if (n < 0 || n > kLastChannel) {
        if (answered)
            *answered = false;
        return memEmptyRecord(n);
    }
    Exchange ex;
    bool all = true;
    auto rd = [&] {
        bool got = false;
        const int b = readbyte(&got);
        all = all && got;
        return b;
    };
    send(channelAddress(2, 4 * n));
    const int b1 = rd();
    const int b2 = rd();
    const int b3 = rd();
    const double kHz = wordKHz((uint32_t(b1) << 16) | (uint32_t(b2) << 8) | uint32_t(b3));
    QString rec;
    if (kHz < kFreqMin || kHz >= kFreqMax) {
        rec = memEmptyRecord(n);
    } else {
        const int flags = rd();
        send(channelAddress(2, kChannelPbs + n));
        const int pbs = rd();
        send(address(1, kChannelSqlBfo + n));
        const int sqlbfo = rd();
        // The record's one digit would show a mode nibble of 10 to 15 as 9.
        const IntRange modes = model().memory.mode.value_or(IntRange{});
        if (!modes.contains(flags % 16))
            m_memoryProblem = memValueProblem(QStringLiteral("mode"), flags % 16, modes.lo, modes.hi);
        rec = memAr7030Record(n, kHz, flags % 16, (flags / 16) % 8, pbs, sqlbfo, flags / 128);
    }
    if (answered)
        *answered = all;
    return rec;
}

bool clsAR7030::setMemory(int n, const QString &record)
{
    if (n < 0 || n > kLastChannel)
        return false;
    QString r = record;
    const double kHz = memFieldValue(r, memcol::Frequency) / 1000.0;
    // A channel outside the receiver's range would read back as empty anyway;
    // storing the empty value keeps the stored word within 24 bits.
    if (r.startsWith(QLatin1String("XXX")) || kHz < kFreqMin || kHz >= kFreqMax)
        r = r.left(7).leftJustified(7, QLatin1Char(' ')) + kEmptyTail;
    const uint32_t word = frequencyWord(memFieldValue(r, memcol::Frequency) / 1000.0);
    const int filter = std::clamp(int(memFieldValue(r, memcol::Bandwidth)), 0, 7);
    const int mode = std::clamp(int(memFieldValue(r, memcol::Mode)), 0, 15);
    const bool scan = int(memFieldValue(r, memcol::Scan)) == 1;
    const int pbs = int(memFieldValue(r, memcol::PassBandShift));
    const int sqlbfo = int(memFieldValue(r, memcol::SqlBfo));

    Exchange ex;
    QByteArray b = channelAddress(2, 4 * n);
    b += wordNibbles(word);
    b += op(0x3, filter + (scan ? 8 : 0));
    b += op(0x6, mode);
    b += channelAddress(2, kChannelPbs + n);
    b += bytePair(pbs);
    b += address(1, kChannelSqlBfo + n);
    b += bytePair(sqlbfo);
    return send(b);
}

QString clsAR7030::RxClock(bool *answered)
{
    Exchange ex;
    send(address(1, kClock));
    bool all = true;
    QString parts[3];
    for (auto &p : parts) {
        bool got = false;
        const int b = readbyte(&got);
        all = all && got;
        p = padded((b / 16) * 10 + b % 16, 2);
    }
    if (answered)
        *answered = all;
    return parts[2] + QLatin1Char(':') + parts[1] + QLatin1Char(':') + parts[0];
}

bool clsAR7030::setRxClock(const QString &t)
{
    const int s = int(std::clamp<int64_t>(roundHalfEven(leadingNumber(t.right(2))), 0, 59));
    const int m = int(std::clamp<int64_t>(roundHalfEven(leadingNumber(t.mid(3, 2))), 0, 59));
    const int h = int(std::clamp<int64_t>(roundHalfEven(leadingNumber(t.left(2))), 0, 23));
    Exchange ex;
    QByteArray b = address(1, kClock);
    for (int v : {s, m, h}) {
        b += op(0x3, v / 10);
        b += op(0x6, v % 10);
    }
    b += char(0x24);
    return send(b);
}

// The panel's name tables of this model (modes, filters, AGC, attenuator).
void InitAR7030()
{
    clearNameTables();
    fillNames(G.attnames, {"+10 dB", "0 dB", "-10 dB", "-20 dB", "-30 dB", "-40 dB"});
    fillNames(G.modenames, {"AM", "Sync", "NFM", "Data", "CW", "LSB", "USB"}, 1);
    fillNames(G.agcnames, {"Fst", "Med", "Slw", "Off"});
    fillNames(G.yesno, {"Y", "N"});
    // -4.2k .. +4.2k in steps of 0.1, the running value kept in single precision
    // as the receiver's labels always have been.
    float x = -4.2f;
    int i = 0;
    while (x <= 4.25f && i < 85) {
        QString sign = x <= -0.05f ? QStringLiteral("-") : (x >= 0.05f ? QStringLiteral("+") : QStringLiteral(" "));
        float mag = std::fabs(x);
        int tenths = int(std::lround(double(mag) * 10));
        G.pbstext[i] = sign + QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10) +
                       QLatin1Char('k');
        x = float(x + 0.1f);
        ++i;
    }
}

} // namespace tav
