#include "drivers/clsRX320.h"
#include "drivers/receiver.h"
#include "core/tables.h"
#include "core/setupdata.h"

#include "core/exchange.h"
#include "core/globals.h"
#include "drivers/rx320calc.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tav {

namespace {

int16_t to16(int v) { return int16_t(std::clamp(v, -32768, 32767)); }

// The receiver takes mode and AGC as one ASCII digit: the last digit of the value.
char lastDigit(int v) { return char('0' + std::abs(v % 10)); }

} // namespace

clsRX320::clsRX320(CommControl &port, QObject *parent) : QObject(parent), m_port(port) {}

bool clsRX320::sendTuning()
{
    const double kHz = G.rx320freq;
    // The comparison is written so that a NaN fails it too.
    if (!(kHz >= model().freqMinKHz && kHz <= model().freqMaxKHz))
        return false;
    rx320::TuningInput in;
    in.kHz = kHz;
    in.mode = G.rx320mode;
    in.filter = G.rx320filter;
    in.pbs = G.rx320pbs;
    in.bfo = G.rx320bfo;
    in.c5 = setting(Setting::Rx320Corr5MHz);
    in.c15 = setting(Setting::Rx320Corr15MHz);
    const std::optional<QByteArray> cmd = rx320::tuningCommand(in);
    if (!cmd)
        return false;
    return m_port.Output(*cmd);
}

namespace {
// The receiver cannot be read back, so the rx320* variables are all that is
// known of it: a setting that did not reach the line (the line was lost)
// must leave them as they were, or the settings file would keep it.
template <class T> class Pending {
public:
    Pending(T &var, T value) : m_var(var), m_old(var) { m_var = value; }
    ~Pending()
    {
        if (!m_taken)
            m_var = m_old;
    }
    void taken() { m_taken = true; }

private:
    T &m_var;
    T m_old;
    bool m_taken = false;
};
} // namespace

bool clsRX320::setFrequencyA(double kHz)
{
    if (!(kHz >= model().freqMinKHz && kHz <= model().freqMaxKHz))
        return false; // the receiver keeps its frequency, and so does rx320freq
    bool sent;
    {
        Exchange ex;
        Pending<double> freq(G.rx320freq, kHz);
        sent = sendTuning();
        if (sent)
            freq.taken();
    }
    if (sent)
        emit FrequencyAChanged(kHz);
    return sent;
}

bool clsRX320::setBandwidth(int i)
{
    if (i < 0 || i > 33)
        i = 33;
    bool sent, tuned = false;
    {
        Exchange ex;
        Pending<int16_t> filter(G.rx320filter, int16_t(i));
        sent = m_port.Output(QByteArray("W") + char(uint8_t(i)) + '\r');
        if (sent) {
            filter.taken();
            tuned = sendTuning();
        }
    }
    if (tuned)
        emit FrequencyAChanged(G.rx320freq);
    if (sent)
        emit BandwidthChanged(i);
    return sent;
}

bool clsRX320::setMode(int m)
{
    bool sent, tuned = false;
    {
        Exchange ex;
        Pending<int16_t> mode(G.rx320mode, to16(m));
        sent = m_port.Output(QByteArray("M") + lastDigit(m) + '\r');
        if (sent) {
            mode.taken();
            tuned = sendTuning();
        }
    }
    if (tuned)
        emit FrequencyAChanged(G.rx320freq);
    if (sent)
        emit ModeChanged(G.rx320mode);
    return sent;
}

bool clsRX320::setAgcspeed(int a)
{
    bool sent;
    {
        Exchange ex;
        sent = m_port.Output(QByteArray("G") + lastDigit(a) + '\r');
        if (sent)
            G.rx320agc = to16(a);
    }
    if (sent)
        emit AgcspeedChanged(G.rx320agc);
    return sent;
}

bool clsRX320::setPassBandShift(int hz)
{
    bool tuned, took;
    {
        Exchange ex;
        Pending<int16_t> pbs(G.rx320pbs, to16(hz));
        tuned = sendTuning();
        // Taken unless the tuning it enters was lost with the line (a
        // frequency not yet set sends no tuning but keeps the value).
        took = tuned || !m_port.lost();
        if (took)
            pbs.taken();
    }
    if (tuned)
        emit FrequencyAChanged(G.rx320freq);
    if (took)
        emit PassbandshiftChanged(G.rx320pbs);
    return took;
}

bool clsRX320::setBeatfreqosc(int hz)
{
    bool tuned, took;
    {
        Exchange ex;
        Pending<int16_t> bfo(G.rx320bfo, to16(hz));
        tuned = sendTuning();
        took = tuned || !m_port.lost();
        if (took)
            bfo.taken();
    }
    if (tuned)
        emit FrequencyAChanged(G.rx320freq);
    if (took)
        emit BeatfreqoscChanged(G.rx320bfo);
    return took;
}

bool clsRX320::sendAudioLevel(char command, int v, int16_t &store)
{
    Exchange ex;
    if (!m_port.Output(QByteArray(1, command) + char(0x7F) + char(uint8_t(rx320::audioLevel(v))) + '\r'))
        return false;
    store = int16_t(v);
    return true;
}

bool clsRX320::setVolume(int v)
{
    v = std::clamp(v, 0, 99);
    const bool sent = sendAudioLevel('V', v, G.rx320volume);
    if (sent)
        emit VolumeChanged(v);
    return sent;
}

bool clsRX320::setLinelevel(int v)
{
    v = std::clamp(v, 0, 99);
    const bool sent = sendAudioLevel('A', v, G.rx320linelevel);
    if (sent)
        emit LinelevelChanged(v);
    return sent;
}

float clsRX320::Smeter(bool *answered)
{
    Exchange ex;
    m_port.clearInput();
    m_port.Output(QByteArray("X\r"));
    const bool got = m_port.waitReply([this] { return m_port.InBufferCount() >= 4; }, kSmeterWaitMs);
    const QByteArray reply = m_port.Input();
    // "X", two bytes, CR: anything else is no reading.
    const bool fits = got && reply.size() >= 4 && reply[0] == 'X' && reply[3] == '\r';
    if (answered)
        *answered = fits;
    return fits ? rx320::smeterUnits(reply) : 0.0f;
}

QString clsRX320::Firmware(bool *answered)
{
    Exchange ex;
    m_port.clearInput();
    m_port.Output(QByteArray("?\r"));
    QByteArray reply;
    m_port.waitReply(
        [&] {
            if (m_port.InBufferCount() > 0)
                reply += m_port.Input();
            return reply.contains('\r');
        },
        kFirmwareWaitMs);
    if (answered)
        *answered = !reply.isEmpty();
    const int cr = int(reply.indexOf('\r'));
    if (cr >= 0)
        reply.truncate(cr);
    return QString::fromLatin1(reply);
}

// The panel's name tables of this model (modes, filters, AGC, attenuator).
void InitRX320()
{
    clearNameTables();
    fillNames(G.modenames, {"AM", "USB", "LSB", "CW"});
    fillNames(G.agcnames, {"Slw", "Med", "Fst"}, 1);
    fillBandwidthNames({"6000", "5700", "5400", "5100", "4800", "4500", "4200", "3900", "3600", "3300", "3000", "2850",
            "2700", "2550", "2400", "2250", "2100", "1950", "1800", "1650", "1500", "1350", "1200", "1050",
            "900",  "750",  "675",  "600",  "525",  "450",  "375",  "330",  "300",  "8000"});
}

} // namespace tav
