// How each model answers the common receiver interface, next to its facts.
// The rules that turn a mode letter into the model's own settings (and back)
// live here, once, instead of in every caller.

#include "drivers/receiver.h"
#include "core/tables.h"
#include "core/setupdata.h"

#include "core/comm.h"
#include "core/delay.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"
#include "drivers/jrchub.h"
#include "drivers/memrecord.h"
#include "drivers/rx320calc.h"
#include "drivers/ar7030conv.h"

#include <QSet>
#include <functional>
#include <vector>

namespace tav {

namespace {

// clang-format off
template <class Driver> std::unique_ptr<Receiver> make(CommControl &port) { return std::make_unique<Driver>(port); }

using TE = TimerEditing;
using LoadStopsDial = RxModel::LoadStopsDial;

// The AR7030's memory and timer coding of shift and squelch-or-BFO, which
// files made without a receiver use as well.
constexpr unsigned kAr7030BfoModes = 1u << 4 | 1u << 5; // Data, CW
const SettingTexts kAr7030Texts{ar7030conv::b2fs, ar7030conv::fs2b, ar7030conv::b2sql, ar7030conv::sql2b,
                                ar7030conv::vsb2b};

// The model table: a model's facts in its one entry, in type-number order.
const std::vector<RxModel> &models()
{
    static const std::vector<RxModel> table = [] {
        std::vector<RxModel> t{
            {.rxtype = 0, .name = "No RX", .freqMinKHz = 10, .freqMaxKHz = 30000,
             .timer = {{0, 5}, {0, 33}, {-2000, 2000}, {0, 5500}, {0, 8}, {0, 9}},
             .bfoModes = kAr7030BfoModes, .settingTexts = kAr7030Texts,
             .setupChoice = "No RX", .setupFrame = "No RX", .goColour = 0xAAAAAA, .panel = WindowId::frmNoRx},
            {.rxtype = 1, .name = "AR7030", .freqMinKHz = 10, .freqMaxKHz = 32016, .lastChannel = 99,
             .readsBack = true, .hasClock = true, .clockSeconds = true, .lineOutput = true, .baud = 1200,
             .attStepDb = 10, .attNone = 1, .pollsFrequency = true,
             .timer = {{0, 5}, {1, 6}, {-42, 42}, {0, 0}, {1, 7}, {0, 3}},
             .memory = {IntRange{1, 7}, IntRange{1, 6}, {}, {}, IntRange{0, 255}, IntRange{0, 255}, IntRange{0, 1}},
             .timerEditing = {TE::Shift::BarTable, TE::Width::Hz, TE::Rules::Plain, 1, 1, false, false},
             .bfoModes = kAr7030BfoModes, .settingTexts = kAr7030Texts,
             .tuningStepHz = 44545000.0 / (1 << 24), // 44.545 MHz over 2^24
             .memPrintTitles = "Nr  Frequency Mode  Bw    PBS  Sql  BFO  Scn Alpha tag", .memScanLeadS = 0.85,
             .setupChoice = "AR 7030", .setupFrame = "AR7030", .goColour = 0xFF9090, .panel = WindowId::frmAR7030,
             .emulator = "ar7030", .makeDriver = make<clsAR7030>},
            {.rxtype = 2, .name = "NRD535", .freqMinKHz = 10, .freqMaxKHz = 29999.999, .lastChannel = 199,
             .readsBack = true, .hasClock = true, .clockSeconds = true, .timerRelay = true, .rtty = true, .baud = 4800,
             .attStepDb = 20, .dialReports = true, .workingChannel = 199,
             .timer = {{0, 1}, {0, 3}, {-2000, 2000}, {0, 5500}, {0, 8}, {0, 2}},
             .memory = {IntRange{0, 8}, IntRange{0, 3}, IntRange{0, 1}, IntRange{0, 2}, {}, {}, {}},
             .timerEditing = {TE::Shift::Hz, TE::Width::Hz, TE::Rules::FittedOptions, 100, 100, false, false},
             .remoteHold = true, .dialFree = "H0", .loadStopsDial = LoadStopsDial::PanelTracking,
             .memPrintTitles = "Nr  Frequency Mode Bw   Att  Agc  Alpha tag", .transferPauseMs = {100, 15, 10},
             .setupChoice = "NRD-535", .setupFrame = "NRD-535", .goColour = 0x8080FF, .panel = WindowId::frmNRD535,
             .emulator = "nrd535", .makeDriver = make<clsNRD535>},
            {.rxtype = 3, .name = "RX320", .freqMinKHz = 100, .freqMaxKHz = 30000, .lineOutput = true, .baud = 1200,
             .timer = {{0, 0}, {0, 33}, {-2000, 2000}, {0, 0}, {0, 3}, {1, 3}},
             .memory = {IntRange{0, 3}, IntRange{0, 33}, {}, IntRange{1, 3}, {}, {}, {}},
             .timerEditing = {TE::Shift::Hz, TE::Width::Hz, TE::Rules::ReversedFilterList, 100, 1, false, true},
             .loadStopsDial = LoadStopsDial::TrackingWindow,
             .memPrintTitles = "Nr  Frequency Mode Bw   Agc  Alpha tag",
             .setupChoice = "RX-320", .setupFrame = "RX-320", .goColour = 0x80CC80, .panel = WindowId::frmRX320,
             .emulator = "rx320", .makeDriver = make<clsRX320>},
            {.rxtype = 4, .name = "NRD545", .freqMinKHz = 10, .freqMaxKHz = 29999.999, .lastChannel = 999,
             .readsBack = true, .hasClock = true, .timerRelay = true, .rtty = true, .baud = 4800, .attStepDb = 20,
             .dialReports = true, .workingChannel = 999,
             .timer = {{0, 1}, {0, 2}, {-230, 230}, {0, 990}, {0, 8}, {0, 9}},
             .memory = {IntRange{0, 6}, IntRange{0, 2}, IntRange{0, 1}, IntRange{0, 9}, {}, {}, {}},
             .timerEditing = {TE::Shift::TenthsKHz, TE::Width::TenthsKHz, TE::Rules::ModeHeldSettings, 10, 10, true,
                              false},
             .rttyCodes = {true, true, true}, .remoteHold = true, .dialFree = "DD0",
             .memPrintTitles = "Nr  Frequency Mode Bw   Att  Agc  Alpha tag", .emptiesChannels = false,
             .transferPauseMs = {100, 15, 10},
             .setupChoice = "NRD-545", .setupFrame = "NRD-545", .goColour = 0xFF, .panel = WindowId::frmNRD545,
             .dialReportTail = 4, .emulator = "nrd545", .makeDriver = make<clsNRD545>},
        };
        // The memory image ends at the last channel, or at 99 where the
        // receiver keeps none.
        for (RxModel &m : t)
            m.lastCell = m.lastChannel.value_or(99);
        return t;
    }();
    return table;
}

bool inRange(const RxModel &m, double kHz) { return kHz >= m.freqMinKHz && kHz <= m.freqMaxKHz; }
bool channelOk(const RxModel &m, int n) { return m.lastChannel && n >= 0 && n <= *m.lastChannel; }

void show(const RxShown &shown, RxChange::What what, int value)
{
    if (shown)
        shown(RxChange{what, value, 0, QString()});
}

// The JRC status reply's fields for the memory-cell editor: "X", attenuator,
// bandwidth, mode, eight frequency digits (Hz), AGC.
RxPresent jrcPresent(const QString &s, bool answered)
{
    RxPresent p;
    p.carriesFrequency = true;
    if (!answered || s.size() < 13)
        return p;
    auto digit = [&s](int pos) { return int(leadingNumber(s.mid(pos - 1, 1))); };
    p.answered = true;
    p.frequency = s.mid(4, 5) + QLatin1Char('.') + s.mid(9, 3);
    p.mode = digit(4);
    p.bandwidth = digit(3);
    p.attenuator = digit(2);
    p.agc = digit(13);
    return p;
}

// A setting the receiver did not get (the line was lost) is not shown.
bool shownIfSent(const RxShown &shown, RxChange::What what, int value, bool sent)
{
    if (sent)
        show(shown, what, value);
    return sent;
}

// A mode letter's settings as far as the receiver took them: none when the
// mode did not reach it, and no filter or AGC that did not.
std::optional<ModeSetting> sentOnly(ModeSetting s, const std::function<bool()> &mode,
                                    const std::function<bool(int)> &bandwidth, const std::function<bool(int)> &agc)
{
    if (!mode())
        return std::nullopt;
    if (s.bandwidth && !bandwidth(*s.bandwidth))
        s.bandwidth.reset();
    if (s.agcspeed && !agc(*s.agcspeed))
        s.agcspeed.reset();
    return s;
}

template <class T> std::optional<T> answeredOr(bool answered, T value)
{
    return answered ? std::optional<T>(std::move(value)) : std::nullopt;
}

} // namespace

const RxModel *findRxModel(int rxtype) { return (rxtype >= 0 && rxtype < rxModelCount()) ? &models()[rxtype] : nullptr; }

const RxModel &rxModel(int rxtype)
{
    const RxModel *m = findRxModel(rxtype);
    return m ? *m : models()[0];
}

int rxModelCount() { return int(models().size()); }

std::optional<WindowId> panelWindow(int rxtype)
{
    const RxModel *m = findRxModel(rxtype);
    return m ? std::optional<WindowId>(m->panel) : std::nullopt;
}

const RxModel *rxModelOfPanel(const QString &panel)
{
    for (const RxModel &m : models())
        if (windowName(m.panel) == panel)
            return &m;
    return nullptr;
}

const RxModel &goModel() { return rxModel(G.goRxtype >= 0 ? G.goRxtype : G.rxtype); }

std::unique_ptr<Receiver> makeReceiver(int rxtype, CommControl &port)
{
    const RxModel *m = findRxModel(rxtype);
    return m && m->makeDriver ? m->makeDriver(port) : nullptr;
}

std::unique_ptr<Receiver> makeReceiver() { return makeReceiver(G.goRxtype, rxPort()); }

DialBytes Receiver::takeDialBytes(int rxtype, QString &pending, const QString &received)
{
    // The JRC receivers report their frequency as 8 digits (Hz) standing
    // just before a fixed tail of the report (`dialReportTail`). Other
    // models' reports are collected the same way but carry no frequency the
    // hub could use.
    const RxModel &m = rxModel(rxtype);
    DialBytes got;
    const std::optional<double> khz = JrcDialReports(m.dialReportTail).take(pending, received, got.complete);
    if (got.complete && m.dialReports)
        got.khz = khz;
    return got;
}

namespace {
RemoteHolder *g_holder = nullptr;
RttyReception *g_reception = nullptr;
// The tools whose work has the demodulator switched off under the reception.
QSet<const QObject *> g_rttyTakers;
} // namespace

void Receiver::setRttyReception(RttyReception *reception)
{
    g_reception = reception;
    g_rttyTakers.clear();
}

void Receiver::dropRttyReception(const RttyReception *reception)
{
    if (g_reception != reception)
        return;
    g_reception = nullptr;
    g_rttyTakers.clear();
}

bool Receiver::rttyOff(const QObject *tool)
{
    if (!model().rtty)
        return false;
    // Taken even when the command did not go out: the reception then learns
    // at the work's end that the demodulator cannot be switched on again.
    if (g_reception && tool)
        g_rttyTakers.insert(tool);
    return switchRttyOff();
}

void Receiver::setRemoteHolder(RemoteHolder *holder) { g_holder = holder; }

void Receiver::dropRemoteHolder(const RemoteHolder *holder)
{
    if (g_holder == holder)
        g_holder = nullptr;
}

RemoteHolder *Receiver::remoteHolder() { return rxModel(G.goRxtype).remoteHold ? g_holder : nullptr; }

void Receiver::hold(const QObject *tool, bool on)
{
    if (RemoteHolder *h = remoteHolder()) {
        if (on)
            h->toolStart(tool);
        else
            h->toolEnd(tool);
    }
    // The receiver is released first: the reception's commands go in their
    // own bracket, as its Start's did.
    if (!on && g_rttyTakers.remove(tool) && g_rttyTakers.isEmpty() && g_reception)
        g_reception->receptionGivenBack(tool);
}

void Receiver::transferPause(TransferStep step)
{
    const auto &p = model().transferPauseMs;
    const int ms = step == TransferStep::Held ? p.held : step == TransferStep::BeforeRead ? p.beforeRead : p.afterWrite;
    if (ms > 0)
        Delay(ms);
}

// ---- AR7030 ----

const RxModel &clsAR7030::model() const { return rxModel(1); }

bool clsAR7030::tune(double kHz)
{
    return inRange(model(), kHz) && setFrequencyA(kHz);
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
    return sentOnly(s, [&] { return setMode(s.mode); }, [&](int v) { return setBandwidth(v); },
                    [&](int v) { return setAgcspeed(v); });
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
    return setMemory(n, record);
}

std::optional<QString> clsAR7030::readClock()
{
    bool ok = false;
    QString t = RxClock(&ok);
    return answeredOr(ok, t);
}

bool clsAR7030::setClock(const QString &hhmmss)
{
    return setRxClock(hhmmss);
}

std::optional<QString> clsAR7030::firmware()
{
    bool ok = false;
    QString t = Firmware(&ok);
    return answeredOr(ok, t);
}

bool clsAR7030::setLineOutput(int level)
{
    return setLeftauxlevel(level);
}

// The left line output is the one a timed recording takes.
int clsAR7030::presetLineLevel() const { return int(setting(Setting::Ar7030LineLevelL)); }

bool clsAR7030::applyMemoryRecord(const QString &record, const RxShown &shown)
{
    const auto s = memSetting(record, model());
    if (!s)
        return false;
    const bool sent = setFrequencyA(s->khz) && setMode(s->mode) && setBandwidth(s->bandwidth) &&
                      setPassBandShift(s->pbs) &&
                      (model().keepsBfo(s->mode) ? setBeatfreqosc(s->sqlbfo) : setSquelch(s->sqlbfo));
    // Five settings changed at once: the panel reads them all back.
    if (sent)
        show(shown, RxChange::Refresh, 0);
    return sent;
}

std::optional<RxSetting> clsAR7030::readSetting()
{
    RxSetting r;
    bool ok1 = false, ok2 = false;
    r.att = Attenuator(&ok1);
    r.bw = Bandwidth();
    r.pbs = ar7030conv::b2vsb(PassBandShift());
    r.mode = Mode(&ok2);
    r.agc = Agcspeed();
    return answeredOr(ok1 && ok2, r);
}

bool clsAR7030::applySetting(const RxSetting &s, const RxShown &shown)
{
    const int pbsByte = ar7030conv::vsb2b(s.pbs);
    // The mode's routine brings back the shift last used in that mode, so the
    // programmed shift goes after it.
    return shownIfSent(shown, RxChange::Attenuator, s.att, setAttenuator(s.att)) &&
           shownIfSent(shown, RxChange::Mode, s.mode, setMode(s.mode)) &&
           shownIfSent(shown, RxChange::PassBandShift, pbsByte, setPassBandShift(pbsByte)) &&
           shownIfSent(shown, RxChange::Agc, s.agc, setAgcspeed(s.agc)) &&
           shownIfSent(shown, RxChange::Bandwidth, s.bw, setBandwidth(s.bw));
}

RxPresent clsAR7030::readPresent(const RxShown &shown)
{
    // The frequency is the panel's, read back together with the rest.
    show(shown, RxChange::Refresh, 0);
    RxPresent p;
    bool answered = false;
    const int mode = Mode(&answered);
    if (!answered)
        return p;
    p.answered = true;
    p.mode = mode;
    p.bandwidth = Bandwidth();
    p.pbs = PassBandShift();
    p.sqlbfo = model().keepsBfo(mode) ? Beatfreqosc() : Squelch();
    p.scan = 0;
    return p;
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
    return sentOnly(ModeSetting{set->mode, set->bandwidth, set->agc}, [&] { return setMode(set->mode); },
                    [&](int v) { return setBandwidth(v); }, [&](int v) { return setAgcspeed(v); });
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
    return setLinelevel(level);
}

int clsRX320::presetLineLevel() const { return int(setting(Setting::Rx320LineLevel)); }

bool clsRX320::applyMemoryRecord(const QString &record, const RxShown &shown)
{
    const auto s = memSetting(record, model());
    if (!s)
        return false;
    if (!(setFrequencyA(s->khz) && setMode(s->mode) && setBandwidth(s->bandwidth) && setAgcspeed(s->agc)))
        return false;
    if (shown)
        shown(RxChange{RxChange::Frequency, 0, s->khz, QString()});
    show(shown, RxChange::Mode, s->mode);
    show(shown, RxChange::Bandwidth, s->bandwidth);
    show(shown, RxChange::Agc, s->agc);
    return true;
}

// The receiver cannot be read back: its settings are the ones last sent.
std::optional<RxSetting> clsRX320::readSetting()
{
    RxSetting r;
    r.bw = G.rx320filter;
    r.pbs = G.rx320pbs;
    r.mode = G.rx320mode;
    r.agc = G.rx320agc;
    return r;
}

bool clsRX320::applySetting(const RxSetting &s, const RxShown &shown)
{
    return shownIfSent(shown, RxChange::Bandwidth, s.bw, setBandwidth(s.bw)) &&
           shownIfSent(shown, RxChange::PassBandShift, s.pbs, setPassBandShift(s.pbs)) &&
           shownIfSent(shown, RxChange::Mode, s.mode, setMode(s.mode)) &&
           shownIfSent(shown, RxChange::Agc, s.agc, setAgcspeed(s.agc));
}

RxPresent clsRX320::readPresent(const RxShown &)
{
    RxPresent p;
    p.answered = true;
    p.mode = G.rx320mode;
    p.bandwidth = G.rx320filter;
    p.agc = G.rx320agc;
    return p;
}

// ---- JRC, both models ----

template <class Rx> bool JrcReceiver<Rx>::tune(double kHz)
{
    return inRange(model(), kHz) && rx().setFrequencyA(kHz);
}

template <class Rx> std::optional<double> JrcReceiver<Rx>::readFrequency()
{
    const double f = rx().FrequencyA();
    return answeredOr(lastReadOk(), f);
}

template <class Rx> std::optional<float> JrcReceiver<Rx>::readSmeter()
{
    const float s = rx().Smeter();
    return answeredOr(lastReadOk(), s);
}

template <class Rx> std::optional<int> JrcReceiver<Rx>::readAttenuator()
{
    const int a = rx().Attenuator();
    return answeredOr(lastReadOk(), a);
}

template <class Rx> std::optional<QString> JrcReceiver<Rx>::readMemory(int n)
{
    if (!channelOk(model(), n))
        return std::nullopt;
    QString r = rx().Memory(int16_t(n));
    return answeredOr(lastReadOk(), r);
}

template <class Rx> bool JrcReceiver<Rx>::writeMemory(int n, const QString &record)
{
    if (!channelOk(model(), n))
        return false;
    return rx().setMemory(int16_t(n), record);
}

template <class Rx> std::optional<QString> JrcReceiver<Rx>::readClock()
{
    QString t = rx().RxClock();
    return answeredOr(lastReadOk(), t);
}

template <class Rx> bool JrcReceiver<Rx>::setClock(const QString &hhmmss)
{
    return rx().setRxClock(hhmmss);
}

template <class Rx> bool JrcReceiver<Rx>::setTimerRelay(bool on)
{
    return rx().setTimerrelaysonoff(on ? 1 : 0);
}

template <class Rx> bool JrcReceiver<Rx>::switchRttyOff()
{
    return rx().setRttyOnOff(0);
}

template <class Rx> bool JrcReceiver<Rx>::applyMemoryRecord(const QString &record, const RxShown &shown)
{
    const auto s = memSetting(record, model());
    if (!s)
        return false;
    if (!rx().setRxStatus(s->status))
        return false;
    if (shown)
        shown(RxChange{RxChange::Record, 0, s->khz, s->status});
    return true;
}

template <class Rx> RxPresent JrcReceiver<Rx>::readPresent(const RxShown &)
{
    const QString s = rx().RxStatus();
    return jrcPresent(s, lastReadOk());
}

template class JrcReceiver<clsNRD535>;
template class JrcReceiver<clsNRD545>;

// ---- NRD-535 ----

const RxModel &clsNRD535::model() const { return rxModel(2); }

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
    ModeSetting s{set->mode, std::nullopt, std::nullopt};
    if (set->bandwidth)
        s.bandwidth = *set->bandwidth;
    if (set->agcspeed)
        s.agcspeed = *set->agcspeed;
    return sentOnly(s, [&] { return setMode(int16_t(s.mode)); }, [&](int v) { return setBandwidth(int16_t(v)); },
                    [&](int v) { return setAgcspeed(int16_t(v)); });
}

std::optional<RxSetting> clsNRD535::readSetting()
{
    const QString s = RxStatus();
    if (!lastReadOk() || s.size() < 13)
        return std::nullopt;
    RxSetting r;
    r.att = s.mid(1, 1).toInt();
    r.bw = s.mid(2, 1).toInt();
    r.mode = s.mid(3, 1).toInt();
    r.agc = s.mid(12, 1).toInt();
    return r;
}

bool clsNRD535::applySetting(const RxSetting &s, const RxShown &shown)
{
    return shownIfSent(shown, RxChange::Attenuator, int16_t(s.att), setAttenuator(int16_t(s.att))) &&
           shownIfSent(shown, RxChange::Bandwidth, int16_t(s.bw), setBandwidth(int16_t(s.bw))) &&
           shownIfSent(shown, RxChange::PassBandShift, int16_t(s.pbs), setPassBandShift(int16_t(s.pbs))) &&
           shownIfSent(shown, RxChange::BandwidthControl, int16_t(s.bwc), setBandwidthcontrol(int16_t(s.bwc))) &&
           shownIfSent(shown, RxChange::Mode, int16_t(s.mode), setMode(int16_t(s.mode))) &&
           shownIfSent(shown, RxChange::Agc, int16_t(s.agc), setAgcspeed(int16_t(s.agc)));
}

// ---- NRD-545 ----

const RxModel &clsNRD545::model() const { return rxModel(4); }

std::optional<QString> clsNRD545::readModeLetter()
{
    const int m = Mode();
    return answeredOr(lastReadOk(), nrd545Mfacode(m));
}

std::optional<ModeSetting> clsNRD545::setModeLetter(const QString &letter)
{
    // The NRD-545 keeps its filter and AGC when the mode changes.
    const auto set = nrd545ModeSetting(letter);
    if (!set || !setMode(set->mode))
        return std::nullopt;
    return ModeSetting{set->mode, std::nullopt, std::nullopt};
}

std::optional<RxSetting> clsNRD545::readSetting()
{
    const QString s = RxStatus();
    if (!lastReadOk() || s.size() < 13)
        return std::nullopt;
    RxSetting r;
    r.att = s.mid(1, 1).toInt();
    r.mode = s.mid(3, 1).toInt();
    r.agc = s.mid(12, 1).toInt();
    r.pbs = PassBandShiftxxx();
    r.bwc = Bandwidthcontrolxxx();
    return answeredOr(lastReadOk(), r);
}

bool clsNRD545::applySetting(const RxSetting &s, const RxShown &shown)
{
    if (!shownIfSent(shown, RxChange::Attenuator, int16_t(s.att), setAttenuator(int16_t(s.att))))
        return false;
    // Modes 7 and 8 are ECSS on the upper or lower side: AM first, then the
    // ECSS side once the receiver has taken the mode.
    bool mode;
    if (s.mode == 7 || s.mode == 8) {
        mode = setMode(4);
        Delay(100);
        mode = mode && setEcss(int16_t(s.mode == 7 ? 1 : 2));
    } else {
        mode = setMode(int16_t(s.mode));
    }
    if (!(shownIfSent(shown, RxChange::Mode, int16_t(s.mode), mode) &&
          shownIfSent(shown, RxChange::PassBandShift, int16_t(s.pbs), setPassBandShift(int16_t(s.pbs))) &&
          shownIfSent(shown, RxChange::BandwidthControl, int16_t(s.bwc), setBandwidthcontrol(int16_t(s.bwc)))))
        return false;
    // The AGC is fixed in the modes from 4 on.
    return s.mode >= 4 || shownIfSent(shown, RxChange::Agc, int16_t(s.agc), setAgcspeed(int16_t(s.agc)));
}


} // namespace tav
