#include "drivers/clsNRD535.h"

#include "core/setupdata.h"
#include "core/tables.h"
#include "core/delay.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "drivers/memrecord.h"

#include <cmath>

namespace tav {

namespace {
QChar at(const QString &s, int pos) { return pos >= 1 && pos <= s.size() ? s[pos - 1] : QLatin1Char(' '); }
} // namespace

clsNRD535::clsNRD535(CommControl &port, QObject *parent) : JrcReceiver(port, parent) {}

bool clsNRD535::setRttyOnOff(int16_t v)
{
    return sendSetting(QStringLiteral("X") + plain(v), [&] { emit RttyonoffChanged(v); });
}

bool clsNRD535::setPowerOnOff(int16_t v)
{
    return sendSetting(QStringLiteral("T") + plain(v), [&] { emit PoweronoffChanged(v); });
}

QString clsNRD535::RxStatus()
{
    if (m_port.lost())
        return setStatusResult(QString(), false);
    QString reply;
    bool ok = false;
    bracketed([&] {
        send(QStringLiteral("J1199"));
        Delay(kBracketDelayMs);
        m_port.clearInput();
        send(QStringLiteral("L199199"));
        ok = awaitReply(reply, 17, statusForm(QStringLiteral("199"), 12));
    });
    // A reply of another form (a "?", garbage) fails the read as silence does.
    return setStatusResult(QStringLiteral("X") + reply.mid(4, 12), replyTaken(ok, statusReplyFits(reply, QStringLiteral("199"), 12)));
}

bool clsNRD535::setRxStatus(const QString &text)
{
    return sendSetting(QStringLiteral("S199") + text.right(12), [&] { emit RxStatusChanged(text); });
}

int16_t clsNRD535::statusDigit(int pos) { return int16_t(field(RxStatus(), pos, 1)); }

int16_t clsNRD535::Attenuator() { return statusDigit(2); }
bool clsNRD535::setAttenuator(int16_t v)
{
    return sendSetting(QStringLiteral("A") + digit(v), [&] { emit AttenuatorChanged(v); });
}

int16_t clsNRD535::Bandwidth() { return statusDigit(3); }
bool clsNRD535::setBandwidth(int16_t v)
{
    return sendSetting(QStringLiteral("B") + digit(v), [&] { emit BandwidthChanged(v); });
}

int16_t clsNRD535::Mode() { return statusDigit(4); }
bool clsNRD535::setMode(int16_t v)
{
    return sendSetting(QStringLiteral("D") + digit(v), [&] { emit ModeChanged(v); });
}

int16_t clsNRD535::Agcspeed() { return statusDigit(13); }
bool clsNRD535::setAgcspeed(int16_t v)
{
    return sendSetting(QStringLiteral("G") + digit(v), [&] { emit AgcspeedChanged(v); });
}

bool clsNRD535::setNoiseblanker(int16_t v)
{
    return sendSetting(QStringLiteral("N") + digit(v), [&] { emit NoiseblankerChanged(v); });
}

double clsNRD535::FrequencyA() { return field(RxStatus(), 5, 8) / 1000.0; }
bool clsNRD535::setFrequencyA(double khz)
{
    return sendSetting(QStringLiteral("F") + zeros(std::llround(khz * 1000.0), 8), [&] { emit FrequencyAChanged(khz); });
}

bool clsNRD535::setBandwidthcontrol(int16_t v)
{
    const bool sent = unbracketedSetting(QStringLiteral("W") + zeros(v, 4));
    if (sent)
        emit BandwidthcontrolChanged(v);
    return sent;
}

bool clsNRD535::setPassBandShift(int16_t v)
{
    const bool sent = unbracketedSetting(QStringLiteral("P") + signedZeros(v, 4));
    if (sent)
        emit PassbandshiftChanged(v);
    return sent;
}

float clsNRD535::smeterFromRaw(int raw)
{
    float x = float((137 - raw) * 0.25);
    if (x > 13)
        x = float(x + 0.34 * (x - 13));
    if (x < 6)
        x = float(x + 0.44 * (6 - x));
    if (x < 0)
        x = 0;
    if (x > 18)
        x = 18;
    return x;
}

float clsNRD535::Smeter()
{
    Exchange ex;
    const QString reply = query(QStringLiteral("M"), 4, smeterForm());
    m_readOk = replyTaken(m_readOk, smeterReplyFits(reply));
    if (!m_readOk)
        return 0;
    return smeterFromRaw(int(field(reply, 2, 3)));
}

QString clsNRD535::Memory(int16_t channel)
{
    Exchange ex;
    m_port.clearInput();
    send(QStringLiteral("L") + ccc(channel) + ccc(channel));
    const QString r = collectRecord(16, memoryForm(channel, 12));
    m_readOk = replyTaken(m_readOk, memoryReplyFits(r, channel, 12));
    if (!m_readOk)
        return QString();
    if (at(r, 5) == QLatin1Char('V'))
        return memEmptyRecord(r.mid(1, 3));
    return memJrcRecord(r.mid(1, 3), r.mid(7, 8), at(r, 7), at(r, 6), at(r, 5), at(r, 16));
}

bool clsNRD535::setMemory(int16_t channel, const QString &record)
{
    const double f = memFieldValue(record, memcol::Frequency);
    QString cmd;
    // Up to and including the top of the range: 29999.999 kHz is a frequency
    // the receiver tunes and the program offers, so a channel there is kept.
    if (model().storesHz(f))
        cmd = QStringLiteral("K") + zeros(channel, 3) + at(record, 22) + at(record, 20) + at(record, 17)
            + record.mid(7, 8) + at(record, 24);
    else
        cmd = QStringLiteral("U5") + zeros(channel, 3);
    const bool sent = bracketedCommand(cmd);
    return sent;
}

bool clsNRD535::setRx2Mem(int16_t channel) { return bracketedCommand(QStringLiteral("C") + zeros(channel, 3)); }

QString clsNRD535::RxClock() { return clockRead(); }

bool clsNRD535::setRxClock(const QString &t)
{
    const bool sent = bracketedCommand(QStringLiteral("R1") + t.mid(0, 2) + t.mid(3, 2) + t.mid(6, 2));
    return sent;
}

bool clsNRD535::setRttyParameters(const QString &text) { return bracketedCommand(QStringLiteral("U3") + text); }

bool clsNRD535::setTimerrelaysonoff(int16_t v) { return bracketedCommand(QStringLiteral("O") + plain(v)); }

QString clsNRD535::userdefsCommand(int16_t item, int16_t value)
{
    switch (item) {
    case 0:
        return value >= 0 && value <= 2 ? QStringLiteral("U0") + plain(value) : QString();
    case 1: // the receiver's item is "VBT bypass off", the dialog's is "bypass on"
        return value == 0 ? QStringLiteral("U11") : value == 1 ? QStringLiteral("U10") : QString();
    case 2:
        return QStringLiteral("U2") + signedZeros(value, 4);
    case 4:
    case 6:
    case 7:
    case 8:
    case 9:
        return value == 0 || value == 1 ? QStringLiteral("U") + plain(item) + plain(value) : QString();
    default:
        return QString();
    }
}

bool clsNRD535::setUserdefs(int16_t item, int16_t value)
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

int16_t clsNRD535::Userdefs(int16_t) { return 0; }

// The panel's name tables of this model (modes, filters, AGC, attenuator).
void InitNRD535()
{
    clearNameTables();
    fillNames(G.attnames, {"0 dB", "-20 dB"});
    fillNames(G.modenames, {"RY", "CW", "USB", "LSB", "AM", "NFM", "Fax"});
    if (settingOn(Setting::Nrd535EcssFitted)) {
        G.modenames[7] = QStringLiteral("AM-U");
        G.modenames[8] = QStringLiteral("AM-L");
    } else {
        G.modenames[7].clear();
        G.modenames[8].clear();
    }
    fillNames(G.agcnames, {"Slw", "Fst", "Off"});
    fillBandwidthNames({"Wid", "Int", "Nar", "Aux"});
    fillNames(G.nbnames, {"Off", "NB1", "NB2"});
}

} // namespace tav
