#include "drivers/clsNRD545.h"

#include "core/tables.h"
#include "core/delay.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/memrecord.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {
QChar at(const QString &s, int pos) { return pos >= 1 && pos <= s.size() ? s[pos - 1] : QLatin1Char(' '); }
} // namespace

clsNRD545::clsNRD545(CommControl &port, QObject *parent) : JrcReceiver(port, parent) {}

bool clsNRD545::setRttyOnOff(int16_t v)
{
    return sendSetting(QStringLiteral("U23") + plain(v), [&] { emit RttyonoffChanged(v); });
}

bool clsNRD545::setPowerOnOff(int16_t v)
{
    return sendSetting(QStringLiteral("T") + plain(v), [&] { emit PoweronoffChanged(v); });
}

QString clsNRD545::RxStatus()
{
    if (m_port.lost())
        return setStatusResult(QString(), false);
    QString reply;
    bool ok = false;
    bracketed([&] {
        send(QStringLiteral("MM21"));
        Delay(25);
        send(QStringLiteral("J1999"));
        Delay(25);
        send(QStringLiteral("MM21"));
        m_port.clearInput();
        Delay(kBracketDelayMs);
        send(QStringLiteral("L999999"));
        ok = awaitReply(reply, 21, statusForm(QStringLiteral("999"), 16));
    });
    const QString agc = digit(floorInt(field(reply, 18, 3) / 10.0));
    // A reply of another form (a "?", garbage) fails the read as silence does.
    return setStatusResult(QStringLiteral("X") + reply.mid(4, 3) + reply.mid(9, 8) + agc,
                           replyTaken(ok, statusReplyFits(reply, QStringLiteral("999"), 16)));
}

bool clsNRD545::setRxStatus(const QString &text)
{
    const bool sent = bracketedCommand(QStringLiteral("S999") + text.mid(1, 3) + QStringLiteral("00") + text.mid(4, 8)
                     + zeros(int64_t(field(text, 13, 1)) * 10, 3));
    if (sent)
        emit RxStatusChanged(text);
    return sent;
}

QString clsNRD545::settingRead(const QString &cmd, int n, bool inBracket)
{
    Exchange ex;
    QString reply;
    m_port.clearInput();
    auto body = [&] {
        send(cmd);
        m_readOk = awaitReply(reply, n, settingForm(cmd, n));
    };
    if (inBracket)
        bracketed(body);
    else
        body();
    // Garbage is no reading: nothing may be shown or written back from it.
    m_readOk = replyTaken(m_readOk, settingReplyFits(reply, cmd, n));
    return m_readOk ? reply : QString();
}

QString clsNRD545::dspRead(const QString &cmd, int n)
{
    QString reply;
    bool ok = true;
    bracketed([&] {
        m_port.clearInput();
        if (!cmd.isEmpty()) {
            send(cmd);
            ok = awaitReply(reply, n, settingForm(cmd, n));
        }
    });
    m_readOk = replyTaken(ok, cmd.isEmpty() || settingReplyFits(reply, cmd, n));
    return m_readOk ? reply : QString();
}

int16_t clsNRD545::Attenuator() { return int16_t(field(RxStatus(), 2, 1)); }
bool clsNRD545::setAttenuator(int16_t v)
{
    return sendSetting(QStringLiteral("A") + digit(v), [&] { emit AttenuatorChanged(v); });
}

bool clsNRD545::setBandwidth(int16_t v)
{
    return sendSetting(QStringLiteral("B") + digit(v), [&] { emit BandwidthChanged(v); });
}

int16_t clsNRD545::Bandwidthcontrol()
{
    return int16_t(roundHalfEven(field(settingRead(QStringLiteral("W"), 5, false), 2)));
}
int16_t clsNRD545::Bandwidthcontrolxxx()
{
    return int16_t(roundHalfEven(field(settingRead(QStringLiteral("W"), 5, true), 2)));
}
bool clsNRD545::setBandwidthcontrol(int16_t v)
{
    bool sent;
    {
        Exchange ex;
        sent = send(QStringLiteral("W") + zeros(v, 3));
    }
    if (sent)
        emit BandwidthcontrolChanged(v);
    return sent;
}

int16_t clsNRD545::Mode() { return int16_t(field(RxStatus(), 4, 1)); }
bool clsNRD545::setMode(int16_t v)
{
    return sendSetting(QStringLiteral("D") + digit(v), [&] { emit ModeChanged(v); });
}

bool clsNRD545::setEcss(int16_t v)
{
    return sendSetting(QStringLiteral("CC") + digit(v), [&] { emit EcssChanged(v); });
}

int16_t clsNRD545::Agcspeed()
{
    const QString reply = settingRead(QStringLiteral("NN"), 6, false);
    if (!m_readOk)
        return 0;
    // "NN" and the AGC time in three digits, as the two-letter reads answer.
    return int16_t(std::clamp<int64_t>(roundHalfEven(field(reply, 3) / 10.0), 1, 9));
}
bool clsNRD545::setAgcspeed(int16_t v)
{
    QString cmd;
    if (v >= 1 && v <= 9)
        cmd = QStringLiteral("NN") + zeros(int64_t(v) * 10, 3);
    else if (v == 0)
        cmd = QStringLiteral("G2");
    bool sent = false;
    bracketed([&] {
        if (!cmd.isEmpty())
            sent = send(cmd);
        else
            sent = !m_port.lost();
    });
    if (sent)
        emit AgcspeedChanged(v);
    return sent;
}

double clsNRD545::FrequencyA() { return field(settingRead(QStringLiteral("F"), 12, true), 4) / 1000.0; }
bool clsNRD545::setFrequencyA(double khz)
{
    return sendSetting(QStringLiteral("F") + zeros(std::llround(khz * 1000.0), 10), [&] { emit FrequencyAChanged(khz); });
}

void clsNRD545::FreqOrChan(int16_t) { bracketedCommand(QStringLiteral("MM21")); }

int16_t clsNRD545::PassBandShift() { return int16_t(field(settingRead(QStringLiteral("P"), 6, false), 2)); }
int16_t clsNRD545::PassBandShiftxxx() { return int16_t(field(settingRead(QStringLiteral("P"), 6, true), 2)); }
bool clsNRD545::setPassBandShift(int16_t v)
{
    bool sent;
    {
        Exchange ex;
        sent = send(QStringLiteral("P") + signedZeros(v, 3));
    }
    if (sent)
        emit PassbandshiftChanged(v);
    return sent;
}

int16_t clsNRD545::Ifgain() { return int16_t(field(settingRead(QStringLiteral("HH"), 6, false), 3)); }
bool clsNRD545::setIfgain(int16_t v)
{
    return sendSetting(QStringLiteral("HH") + zeros(v, 3), [&] { emit IfgainChanged(v); });
}

int16_t clsNRD545::Squelch() { return int16_t(field(settingRead(QStringLiteral("LL"), 6, false), 3)); }
bool clsNRD545::setSquelch(int16_t v)
{
    return sendSetting(QStringLiteral("LL") + zeros(v, 3), [&] { emit SquelchChanged(v); });
}

int16_t clsNRD545::Tone() { return int16_t(field(settingRead(QStringLiteral("KK"), 6, false), 3)); }
bool clsNRD545::setTone(int16_t v)
{
    return sendSetting(QStringLiteral("KK") + zeros(v, 3), [&] { emit ToneChanged(v); });
}

int16_t clsNRD545::Volume() { return int16_t(field(settingRead(QStringLiteral("JJ"), 6, false), 3)); }
bool clsNRD545::setVolume(int16_t v)
{
    return sendSetting(QStringLiteral("JJ") + zeros(v, 3), [&] { emit VolumeChanged(v); });
}

QString clsNRD545::Memory(int16_t channel)
{
    Exchange ex;
    m_port.clearInput();
    send(QStringLiteral("L") + ccc(channel) + ccc(channel));
    const QString r = collectRecord(21, memoryForm(channel, 16));
    m_readOk = replyTaken(m_readOk, memoryReplyFits(r, channel, 16));
    if (!m_readOk)
        return QString();
    if (at(r, 5) == QLatin1Char('V'))
        return memEmptyRecord(r.mid(1, 3));
    return memJrcRecord(r.mid(1, 3), r.mid(9, 8), at(r, 7), at(r, 6), at(r, 5), memNrd545AgcDigit(r.mid(17, 3)));
}

bool clsNRD545::setMemory(int16_t channel, const QString &record)
{
    const double f = memFieldValue(record, memcol::Frequency);
    // Up to and including the top of the range (29999.999 kHz is tunable).
    // The receiver has no command that clears a channel: for anything else
    // nothing at all is sent.
    if (!model().storesHz(f))
        return !m_port.lost();
    const bool sent = bracketedCommand(QStringLiteral("K") + zeros(channel, 3) + at(record, 22) + at(record, 20) + at(record, 17)
                     + QStringLiteral("00") + record.mid(7, 8) + zeros(int64_t(field(record, 24, 1)) * 10, 3));
    return sent;
}

bool clsNRD545::setRx2Mem(int16_t channel) { return bracketedCommand(QStringLiteral("C") + zeros(channel, 3)); }

float clsNRD545::smeterFromRaw(int raw)
{
    float s = raw <= 83 ? float((raw - 28) / 6.0) : float((raw + 35) / 12.8);
    return std::clamp(s, 0.0f, 19.0f);
}

float clsNRD545::Smeter()
{
    const QString reply = settingRead(QStringLiteral("M"), 5, false);
    m_readOk = replyTaken(m_readOk, smeterReplyFits(reply));
    if (!m_readOk)
        return 0;
    return smeterFromRaw(int(field(reply, 2, 3)));
}

QString clsNRD545::RxClock() { return clockRead(); }

bool clsNRD545::setRxClock(const QString &t) { return bracketedCommand(QStringLiteral("R1") + t.mid(0, 2) + t.mid(3, 2)); }

bool clsNRD545::setRttyParameters(const QString &text) { return bracketedCommand(QStringLiteral("U15") + text); }

bool clsNRD545::setTimerrelaysonoff(int16_t v) { return bracketedCommand(QStringLiteral("O") + plain(v)); }

QString clsNRD545::userdefsCommand(int16_t item, int16_t value)
{
    int maxValue = -1; // -1: no such item
    switch (item) {
    case 1: case 2: case 4: case 10: case 11: case 12: case 18: case 19:
    case 24: case 25: case 26: case 27: case 28: case 31: case 32:
        maxValue = 1;
        break;
    case 3:
        maxValue = 3;
        break;
    case 8: case 9: case 13:
        maxValue = 2;
        break;
    case 14:
        return QStringLiteral("U14") + signedZeros(value, 4);
    case 20:
        return QStringLiteral("U20") + zeros(value, 2);
    case 21:
    case 22:
        return QStringLiteral("U") + plain(item) + zeros(value, 3);
    default:
        return QString();
    }
    if (value < 0 || value > maxValue)
        return QString();
    return QStringLiteral("U") + zeros(item, 2) + plain(value);
}

bool clsNRD545::setUserdefs(int16_t item, int16_t value)
{
    const QString cmd = userdefsCommand(item, value);
    bool sent = false;
    bracketed([&] {
        if (!cmd.isEmpty())
            sent = send(cmd);
        else
            sent = !m_port.lost();
    });
    return sent;
}

bool clsNRD545::setNrbc(int16_t function, int16_t value)
{
    QString cmd;
    if (function == 0)
        cmd = QStringLiteral("BB") + digit(value);
    else if (function == 1)
        cmd = QStringLiteral("U29") + zeros(value, 3);
    else if (function == 2)
        cmd = QStringLiteral("U30") + zeros(value, 3);
    bool sent = false;
    bracketed([&] {
        if (!cmd.isEmpty())
            sent = send(cmd);
        else
            sent = !m_port.lost();
    });
    return sent;
}

bool clsNRD545::setNb(int16_t function, int16_t value)
{
    QString cmd;
    if (function == 0)
        cmd = QStringLiteral("N") + digit(value);
    else if (function == 1)
        cmd = QStringLiteral("FF") + zeros(value, 3);
    bool sent = false;
    bracketed([&] {
        if (!cmd.isEmpty())
            sent = send(cmd);
        else
            sent = !m_port.lost();
    });
    return sent;
}

int16_t clsNRD545::nb(int16_t function)
{
    if (function == 0)
        return int16_t(field(dspRead(QStringLiteral("N"), 3), 2, 1));
    if (function == 1)
        return int16_t(field(dspRead(QStringLiteral("FF"), 6), 3, 3));
    dspRead(QString(), 0);
    return 0;
}

bool clsNRD545::setNt(int16_t function, int16_t value)
{
    QString cmd;
    if (function == 0)
        cmd = QStringLiteral("EE") + digit(value);
    else if (function == 1)
        cmd = QStringLiteral("GG") + signedZeros(value, 4);
    bool sent = false;
    bracketed([&] {
        if (!cmd.isEmpty())
            sent = send(cmd);
        else
            sent = !m_port.lost();
    });
    return sent;
}

int16_t clsNRD545::nt(int16_t function)
{
    if (function == 1)
        return int16_t(field(dspRead(QStringLiteral("GG"), 8), 3, 5));
    dspRead(QString(), 0);
    return 0;
}

// The panel's name tables of this model (modes, filters, AGC, attenuator).
void InitNRD545()
{
    clearNameTables();
    fillNames(G.attnames, {"0 dB", "-20 dB"});
    fillNames(G.modenames, {"RY", "CW", "USB", "LSB", "AM", "NFM", "AMS", "AM-U", "AM-L", "WFM"});
    fillNames(G.agcnames, {"Off", "0200", "0400", "0600", "0800", "1000", "1200", "1400", "1600", "1800"});
    fillBandwidthNames({"Wid", "Int", "Nar"});
    fillNames(G.nbnames, {"Off", "NB1", "NB2"});
}

} // namespace tav
