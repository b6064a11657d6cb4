// How each model answers the common receiver interface, next to its facts.
// The rules that turn a mode letter into the model's own settings (and back)
// live here, once, instead of in every caller.

#include "drivers/receiver.h"
#include "core/setupdata.h"

#include "core/frmWelcome.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"
#include "drivers/jrchub.h"
#include "drivers/rx320calc.h"

namespace tav {

namespace {

// clang-format off
const RxModel kModels[] = {
    //  type  name       min    max         channels      reads  clock  secs   relay  line   rtty   baud
    {0, "No RX",  10,  30000,      std::nullopt, false, false, false, false, false, false, 1200},
    {1, "AR7030", 10,  32016,      99,           true,  true,  true,  false, false, false, 1200},
    {2, "NRD535", 10,  29999.999,  199,          true,  true,  true,  true,  false, true,  4800},
    {3, "RX320",  100, 30000,      std::nullopt, false, false, false, false, true,  false, 1200},
    {4, "NRD545", 10,  29999.999,  999,          true,  true,  false, true,  false, true,  4800},
};
// clang-format on

bool inRange(const RxModel &m, double kHz) { return kHz >= m.freqMinKHz && kHz <= m.freqMaxKHz; }
bool channelOk(const RxModel &m, int n) { return m.lastChannel && n >= 0 && n <= *m.lastChannel; }

template <class T> std::optional<T> answeredOr(bool answered, T value)
{
    return answered ? std::optional<T>(std::move(value)) : std::nullopt;
}

} // namespace

const RxModel &rxModel(int rxtype)
{
    return (rxtype >= 1 && rxtype <= 4) ? kModels[rxtype] : kModels[0];
}

std::unique_ptr<Receiver> makeReceiver(int rxtype, CommControl &port)
{
    switch (rxtype) {
    case 1: return std::make_unique<clsAR7030>(port);
    case 2: return std::make_unique<clsNRD535>(port);
    case 3: return std::make_unique<clsRX320>(port);
    case 4: return std::make_unique<clsNRD545>(port);
    default: return nullptr;
    }
}

std::unique_ptr<Receiver> makeReceiver() { return makeReceiver(G.goRxtype, frmWelcome::instance()->Comm1); }

// ---- AR7030 ----

const RxModel &clsAR7030::model() const { return rxModel(1); }

bool clsAR7030::tune(double kHz)
{
    if (!inRange(model(), kHz))
        return false;
    setFrequencyA(kHz);
    return true;
}

std::optional<double> clsAR7030::readFrequency()
{
    bool ok = false;
    const double f = FrequencyA(&ok);
    return answeredOr(ok, f);
}

std::optional<QString> clsAR7030::readModeLetter()
{
    bool ok = false;
    const int m = Mode(&ok);
    if (!ok)
        return std::nullopt;
    switch (m) {
    case 1:
    case 2: return QStringLiteral("a");
    case 3: return QStringLiteral("f");
    case 4: return QStringLiteral("d");
    case 5: return QStringLiteral("c");
    case 6: return QStringLiteral("l");
    case 7: return QStringLiteral("u");
    default: return QString();
    }
}

std::optional<ModeSetting> clsAR7030::setModeLetter(const QString &letter)
{
    // The filters for each kind of mode are the listener's choice in the set-up.
    auto filter = [](Setting k) { return settingInt(k); };
    const QString c = letter.toUpper();
    ModeSetting s;
    if (c == QLatin1String("A"))
        s = {1, filter(Setting::Ar7030FilterAm), 0};
    else if (c == QLatin1String("U"))
        s = {7, filter(Setting::Ar7030FilterSsb), 2};
    else if (c == QLatin1String("L"))
        s = {6, filter(Setting::Ar7030FilterSsb), 2};
    else if (c == QLatin1String("C"))
        s = {5, filter(Setting::Ar7030FilterCw), 0};
    else if (c == QLatin1String("F"))
        s = {3, filter(Setting::Ar7030FilterFm), std::nullopt};
    else if (c == QLatin1String("D"))
        s = {4, filter(Setting::Ar7030FilterSsb), 0};
    else
        return std::nullopt;
    setMode(s.mode);
    setBandwidth(*s.bandwidth);
    if (s.agcspeed)
        setAgcspeed(*s.agcspeed);
    return s;
}

std::optional<float> clsAR7030::readSmeter()
{
    bool ok = false;
    const float s = Smeter(&ok);
    return answeredOr(ok, s);
}

std::optional<int> clsAR7030::readAttenuator()
{
    bool ok = false;
    const int a = Attenuator(&ok);
    return answeredOr(ok, a);
}

std::optional<QString> clsAR7030::readMemory(int n)
{
    if (!channelOk(model(), n))
        return std::nullopt;
    bool ok = false;
    QString r = Memory(n, &ok);
    return answeredOr(ok, r);
}

bool clsAR7030::writeMemory(int n, const QString &record)
{
    if (!channelOk(model(), n))
        return false;
    setMemory(n, record);
    return true;
}

std::optional<QString> clsAR7030::readClock()
{
    bool ok = false;
    QString t = RxClock(&ok);
    return answeredOr(ok, t);
}

bool clsAR7030::setClock(const QString &hhmmss)
{
    setRxClock(hhmmss);
    return true;
}

std::optional<QString> clsAR7030::firmware()
{
    bool ok = false;
    QString t = Firmware(&ok);
    return answeredOr(ok, t);
}

// ---- RX-320 ----

const RxModel &clsRX320::model() const { return rxModel(3); }

bool clsRX320::tune(double kHz) { return inRange(model(), kHz) && setFrequencyA(kHz); }

std::optional<double> clsRX320::readFrequency() { return G.rx320freq; }

std::optional<QString> clsRX320::readModeLetter() { return rx320::modeLetter(G.rx320mode); }

std::optional<ModeSetting> clsRX320::setModeLetter(const QString &letter)
{
    const auto set = rx320::settingForLetter(letter);
    if (!set)
        return std::nullopt;
    setMode(set->mode);
    setBandwidth(set->bandwidth);
    setAgcspeed(set->agc);
    return ModeSetting{set->mode, set->bandwidth, set->agc};
}

std::optional<float> clsRX320::readSmeter()
{
    bool ok = false;
    const float s = Smeter(&ok);
    return answeredOr(ok, s);
}

std::optional<QString> clsRX320::firmware()
{
    bool ok = false;
    QString t = Firmware(&ok);
    return answeredOr(ok, t);
}

bool clsRX320::setLineOutput(int level)
{
    setLinelevel(level);
    return true;
}

// ---- NRD-535 ----

const RxModel &clsNRD535::model() const { return rxModel(2); }

bool clsNRD535::tune(double kHz)
{
    if (!inRange(model(), kHz))
        return false;
    setFrequencyA(kHz);
    return true;
}

std::optional<double> clsNRD535::readFrequency()
{
    const double f = FrequencyA();
    return answeredOr(lastReadOk(), f);
}

std::optional<QString> clsNRD535::readModeLetter()
{
    const int m = Mode();
    return answeredOr(lastReadOk(), nrd535Mfacode(m));
}

std::optional<ModeSetting> clsNRD535::setModeLetter(const QString &letter)
{
    const auto set = nrd535ModeSetting(letter, setting(Setting::Nrd535NarFitted));
    if (!set)
        return std::nullopt;
    setMode(set->mode);
    if (set->bandwidth)
        setBandwidth(*set->bandwidth);
    if (set->agcspeed)
        setAgcspeed(*set->agcspeed);
    ModeSetting s{set->mode, std::nullopt, std::nullopt};
    if (set->bandwidth)
        s.bandwidth = *set->bandwidth;
    if (set->agcspeed)
        s.agcspeed = *set->agcspeed;
    return s;
}

std::optional<float> clsNRD535::readSmeter()
{
    const float s = Smeter();
    return answeredOr(lastReadOk(), s);
}

std::optional<int> clsNRD535::readAttenuator()
{
    const int a = Attenuator();
    return answeredOr(lastReadOk(), a);
}

std::optional<QString> clsNRD535::readMemory(int n)
{
    if (!channelOk(model(), n))
        return std::nullopt;
    QString r = Memory(int16_t(n));
    return answeredOr(lastReadOk(), r);
}

bool clsNRD535::writeMemory(int n, const QString &record)
{
    if (!channelOk(model(), n))
        return false;
    setMemory(int16_t(n), record);
    return true;
}

std::optional<QString> clsNRD535::readClock()
{
    QString t = RxClock();
    return answeredOr(lastReadOk(), t);
}

bool clsNRD535::setClock(const QString &hhmmss)
{
    setRxClock(hhmmss);
    return true;
}

bool clsNRD535::setTimerRelay(bool on)
{
    setTimerrelaysonoff(on ? 1 : 0);
    return true;
}

// ---- NRD-545 ----

const RxModel &clsNRD545::model() const { return rxModel(4); }

bool clsNRD545::tune(double kHz)
{
    if (!inRange(model(), kHz))
        return false;
    setFrequencyA(kHz);
    return true;
}

std::optional<double> clsNRD545::readFrequency()
{
    const double f = FrequencyA();
    return answeredOr(lastReadOk(), f);
}

std::optional<QString> clsNRD545::readModeLetter()
{
    const int m = Mode();
    return answeredOr(lastReadOk(), nrd545Mfacode(m));
}

std::optional<ModeSetting> clsNRD545::setModeLetter(const QString &letter)
{
    // The NRD-545 keeps its filter and AGC when the mode changes.
    const auto set = nrd545ModeSetting(letter);
    if (!set)
        return std::nullopt;
    setMode(set->mode);
    return ModeSetting{set->mode, std::nullopt, std::nullopt};
}

std::optional<float> clsNRD545::readSmeter()
{
    const float s = Smeter();
    return answeredOr(lastReadOk(), s);
}

std::optional<int> clsNRD545::readAttenuator()
{
    const int a = Attenuator();
    return answeredOr(lastReadOk(), a);
}

std::optional<QString> clsNRD545::readMemory(int n)
{
    if (!channelOk(model(), n))
        return std::nullopt;
    QString r = Memory(int16_t(n));
    return answeredOr(lastReadOk(), r);
}

bool clsNRD545::writeMemory(int n, const QString &record)
{
    if (!channelOk(model(), n))
        return false;
    setMemory(int16_t(n), record);
    return true;
}

std::optional<QString> clsNRD545::readClock()
{
    QString t = RxClock();
    return answeredOr(lastReadOk(), t);
}

bool clsNRD545::setClock(const QString &hhmmss)
{
    setRxClock(hhmmss);
    return true;
}

bool clsNRD545::setTimerRelay(bool on)
{
    setTimerrelaysonoff(on ? 1 : 0);
    return true;
}

} // namespace tav
