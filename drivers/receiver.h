#pragma once
// The one way the hub and the tools talk to a receiver, whichever model was
// opened at Go. Each driver keeps its own full set of operations for its
// panel; this interface is the part every tool needs, with the differences
// between models kept in the model's class and in its RxModel facts, never
// in the caller.
//
// Reads give std::nullopt when the receiver did not answer in time, so a
// silent receiver is never mistaken for a reading of 0 or an empty text.

#include "core/windowdecl.h"

#include <QObject>
#include <QString>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>

namespace tav {

class CommControl;
class Receiver;

// A closed range of whole numbers.
struct IntRange {
    int lo = 0, hi = 0;
    constexpr bool contains(long long v) const { return v >= lo && v <= hi; }
};

// The values a timer program of the model may hold, setting by setting, in
// the editor's own numbers (see RxSetting); a setting the model lacks holds 0.
struct TimerRanges {
    IntRange att, bw, pbs, bwc, mode, agc;
};

// How the timer editor shows and steps a model's settings. A setting whose
// range is {0, 0} the model lacks: the editor shows "xxx" for it and a
// reading from the receiver leaves it 0.
struct TimerEditing {
    // The shift: bar steps shown as the model's shift texts
    // (RxModel::stepText), tenths of kHz, or plain Hz.
    enum class Shift { Hz, BarTable, TenthsKHz };
    // The width control: plain Hz or tenths of kHz.
    enum class Width { Hz, TenthsKHz };
    // The rules between settings that are the model's own.
    enum class Rules {
        None,               // No RX: nothing is stepped
        Plain,              // each setting on its own
        FittedOptions,      // the set-up's fitted filter, ECSS and width options limit the
                            // settings; mode 5 holds the rest
        ModeHeldSettings,   // modes 4-8 hold settings, whose values are kept for later
        ReversedFilterList, // the filter list runs from wide to narrow
    };
    Shift shift = Shift::Hz;
    Width width = Width::Hz;
    Rules rules = Rules::None;
    // Spinner steps of the shift and the width control.
    int pbsStep = 1, bwcStep = 1;
    // The bandwidth is kept in a program but never set in the editor.
    bool bandwidthFixed = false;
    // A shift read from the receiver is shown as it came until it is changed.
    bool shiftShownAsRead = false;
};

// The codes of a model's RTTY decoder parameters.
struct RttyCodes {
    // The baud code is the rate itself ("45", "50", "75"), else "65", "50", "00".
    bool baudAsRate = false;
    // The first polarity code means reversed and the decoder starts reversed.
    bool reversedFirst = false;
    // The decoder has the unshift-on-space and error-print options.
    bool unshiftAndErrors = false;
};

// The fields a memory record of the model carries, with the values its name
// tables cover; a field the model does not store is absent.
struct MemoryRanges {
    std::optional<IntRange> mode, bandwidth, attenuator, agc, pbs, sqlbfo, scan;
};

// How a model writes the shift, BFO and squelch bytes of its memory records
// as its panel shows them, and reads typed texts back; a model whose records
// keep none of these bytes has no functions.
struct SettingTexts {
    QString (*shift)(int byte) = nullptr; // the shift, and the BFO offset
    int (*shiftByte)(const QString &text) = nullptr;
    QString (*squelch)(int byte) = nullptr;
    int (*squelchByte)(const QString &text) = nullptr;
    // A bar step (as a timer program keeps the shift) to its shift byte.
    int (*stepByte)(int step) = nullptr;
};

// What a model is and can do, as data: tools decide from these facts, not
// from the receiver type number.
struct RxModel {
    int rxtype = 0;
    const char *name = "";
    double freqMinKHz = 0, freqMaxKHz = 0;
    // Highest memory channel (channels count from 0); none: no memories.
    std::optional<int> lastChannel{};
    // Frequency and mode can be read from the receiver (not only the last sent).
    bool readsBack = false;
    bool hasClock = false;
    // The clock is read and set with seconds ("hh:mm:ss"), else to the minute.
    bool clockSeconds = false;
    bool timerRelay = false;
    bool lineOutput = false;
    bool rtty = false;
    int baud = 1200;
    // One attenuator step in dB and the index that means no attenuation:
    // levels read with another index are corrected to it. No step: the
    // model's attenuator is not read, nothing is corrected.
    double attStepDb = 0;
    int attNone = 0;
    // The receiver reports each turn of its dial by itself (JRC "I1").
    bool dialReports = false;
    // The dial is followed only by asking for the frequency again and again.
    bool pollsFrequency = false;
    // The channel the receiver's status read stores its present state into,
    // so the program uses it as its working channel and never as a memory.
    std::optional<int> workingChannel{};
    TimerRanges timer{};
    MemoryRanges memory{};
    TimerEditing timerEditing{};
    // The modes (a bit per mode number) in which the memory record's
    // squelch-or-BFO byte is a BFO offset; the other modes keep a squelch.
    unsigned bfoModes = 0;
    SettingTexts settingTexts{};
    RttyCodes rttyCodes{};
    // The last cell of the memory image and its files: the last channel, or
    // 99 where the receiver keeps none of its own.
    int lastCell = 0;
    // The receiver has a front panel the program takes over ("remote") while
    // a tool works it over time; elsewhere a hold does nothing.
    bool remoteHold = false;
    // While its dial is followed by its own reports, the command that leaves
    // the knob to the listener (the NRD-535 back to local, the NRD-545's
    // dial lock off).
    const char *dialFree = nullptr;
    // What the Load dialog's OK does to the following of this receiver's
    // dial before it reads: the NRD-535's panel stops tracking its dial, the
    // RX-320's tracking window stops following its dial.
    enum class LoadStopsDial { None, PanelTracking, TrackingWindow };
    LoadStopsDial loadStopsDial = LoadStopsDial::None;
    // The receiver tunes in steps of this many Hz (0: to the Hz), so a
    // frequency reads back a step away from the one sent.
    double tuningStepHz = 0;

    // The memory printout's column titles after the cell number; none: no title line.
    const char *memPrintTitles = nullptr;
    // A memory scan recalls each channel this many seconds before its pause
    // ends, the time the receiver takes to settle on a recalled channel.
    double memScanLeadS = 0;
    // Writing an empty record empties the channel. Where not, the receiver
    // stores only records with a frequency it keeps and leaves the rest.
    bool emptiesChannels = true;

    // The pauses of a memory transfer in ms: once the receiver is held for a
    // fetch, before each channel read, after each channel write.
    struct { int held = 0, beforeRead = 0, afterWrite = 0; } transferPauseMs{};

    // What the program shows of the model besides `name` (the Go label's and
    // the panel's clock caption): the set-up dialog's choice and frame
    // captions and the Go label's colour (&HBBGGRR, as every colour of the windows).
    const char *setupChoice = "";
    const char *setupFrame = "";
    unsigned goColour = 0;
    // The model's panel window.
    WindowId panel = WindowId::frmNoRx;
    // A dial report ends in this many characters after its frequency.
    int dialReportTail = 2;
    // The model's name for rxsim and tools/emulate.sh (none: not emulated).
    const char *emulator = nullptr;
    // Its driver on the line (none: nothing to talk to).
    std::unique_ptr<Receiver> (*makeDriver)(CommControl &port) = nullptr;

    // No receiver: nothing to talk to, files only.
    bool isNone() const { return rxtype <= 0; }
    // Fetch and Fill are offered: a receiver with memories (without a
    // receiver there is nothing to fetch from or fill).
    bool offersTransfers() const { return lastChannel.has_value(); }
    bool readsAttenuator() const { return attStepDb != 0; }
    // Whether a memory record's frequency (whole Hz) is one the receiver
    // keeps in a channel: the whole range, its top included.
    bool storesHz(double hz) const
    {
        return hz > std::llround(freqMinKHz * 1000) - 1 && hz <= std::llround(freqMaxKHz * 1000);
    }
    // The correction in S-units (6 dB each) of a level read with attenuator index `att`.
    double attCorrection(int att) const { return (att - attNone) * attStepDb / 6; }
    // Whether the squelch-or-BFO byte holds a BFO offset in this mode.
    bool keepsBfo(int mode) const { return mode >= 0 && mode < 32 && (bfoModes >> mode & 1u) != 0; }
    // The bytes as text and back (an empty text and 0 where the model keeps none).
    QString shiftText(int byte) const { return settingTexts.shift ? settingTexts.shift(byte) : QString(); }
    int shiftByte(const QString &text) const { return settingTexts.shiftByte ? settingTexts.shiftByte(text) : 0; }
    QString sqlBfoText(int mode, int byte) const
    {
        if (keepsBfo(mode))
            return shiftText(byte);
        return settingTexts.squelch ? settingTexts.squelch(byte) : QString();
    }
    int sqlBfoByte(int mode, const QString &text) const
    {
        if (keepsBfo(mode))
            return shiftByte(text);
        return settingTexts.squelchByte ? settingTexts.squelchByte(text) : 0;
    }
    // A timer program's shift, kept in bar steps, as its text.
    QString stepText(int step) const { return settingTexts.stepByte ? shiftText(settingTexts.stepByte(step)) : QString(); }
};

// The facts of a receiver type (0 No RX, 1 AR7030, 2 NRD-535, 3 RX-320,
// 4 NRD-545); any other number gives the No RX facts.
const RxModel &rxModel(int rxtype);
// The same, but nullptr for a number no model has.
const RxModel *findRxModel(int rxtype);
// Every model in type-number order, No RX first: the model table.
int rxModelCount();
// The panel window of a receiver type; none for a number no model has.
std::optional<WindowId> panelWindow(int rxtype);
// The model whose panel window is named `panel` (nullptr: none).
const RxModel *rxModelOfPanel(const QString &panel);
// The model of the receiver opened at the last Go: the one the tools act on.
// Before any Go, the one a Go would open (the set-up's choice).
const RxModel &goModel();

// What a mode letter set on the receiver; absent fields were left alone.
struct ModeSetting {
    int mode = 0;
    std::optional<int> bandwidth;
    std::optional<int> agcspeed;
};

// A receiver's settings as a timer program keeps them, in the model's own
// numbers (the AR7030's shift in bar steps -42..42, the JRC and RX-320
// shifts and widths in Hz); fields the model lacks stay 0.
struct RxSetting {
    int att = 0, bw = 0, pbs = 0, bwc = 0, mode = 0, agc = 0;
};

// The present settings as a memory channel would keep them, for an editor
// that starts from them. `frequency` ("#####.###" kHz) only where the
// model's reply carries it; otherwise the panel shows the frequency.
struct RxPresent {
    bool answered = false;
    bool carriesFrequency = false;
    QString frequency;
    std::optional<int> mode, bandwidth, attenuator, agc, pbs, sqlbfo, scan;
};

// One thing a tool just sent through its own driver, for the open panel to
// show with the model's own display handlers. The model decides which
// changes it reports and when, so the panel follows in the order the
// commands went out.
struct RxChange {
    enum What {
        Frequency,         // khz
        Attenuator,        // value in the model's numbering, as for the rest
        Bandwidth,
        PassBandShift,     // AR7030: the shift byte
        BandwidthControl,
        Mode,
        Agc,
        LineLevel,
        Record,            // a memory record's settings at once; JRC: `status` as sent
        Refresh,           // the panel reads the receiver's whole state back
    };
    What what = Refresh;
    int value = 0;
    double khz = 0;
    QString status;
};
using RxShown = std::function<void(const RxChange &)>;

// What holds the receiver in remote for the tools: the open panel of a model
// with a remote hold registers it while it is open (one at a time).
class RemoteHolder {
public:
    virtual ~RemoteHolder() = default;
    virtual void toolStart(const QObject *tool) = 0;
    virtual void toolEnd(const QObject *tool) = 0;
    // Dial following has left the receiver in local for the listener's
    // knob: between commands it is held no more, whoever holds it.
    virtual void dialFreed() {}
    // The follower's following and its hold end; the dial was the listener's
    // until now (`dialWasFree`), so whoever else holds the receiver takes it
    // into remote again.
    virtual void followEnded(const QObject *follower, bool /*dialWasFree*/) { toolEnd(follower); }
};

// The RTTY window while its reception runs. A tool that switches the
// demodulator off for its work (Receiver::rttyOff) takes the reception from
// it and gives it back when its work ends (Receiver::hold(tool, false)).
class RttyReception {
public:
    virtual ~RttyReception() = default;
    // The work of every tool that took the demodulator is over: the
    // reception goes on with the demodulator switched on again, or ends and
    // says why. `tool` is the last of them.
    virtual void receptionGivenBack(const QObject *tool) = 0;
};

// What a piece of a dial report brought: whether a report is now complete,
// and the frequency it carries when the model reports one (a garbled report
// carries none).
struct DialBytes {
    bool complete = false;
    std::optional<double> khz;
};

class Receiver {
public:
    // What every tool calls at the start (true) and the end (false) of work
    // that sends the receiver a run of commands over time. The receiver
    // chosen at Go is held in remote for the work where its model has such a
    // hold and its panel is open; otherwise nothing happens. `tool` names the
    // holder, so one tool's end never releases another tool's hold.
    static void hold(const QObject *tool, bool on);
    // The open panel's holder (nullptr: none); a holder that goes away
    // unregisters itself, and only itself.
    static void setRemoteHolder(RemoteHolder *holder);
    static void dropRemoteHolder(const RemoteHolder *holder);
    static RemoteHolder *remoteHolder();
    // The reception that runs now (nullptr: none); registering or dropping
    // it forgets which tools had taken the demodulator.
    static void setRttyReception(RttyReception *reception);
    static void dropRttyReception(const RttyReception *reception);

    virtual ~Receiver() = default;

    // Bytes a receiver of the type sent while it reports its dial: collected
    // in `pending` (kept short) until a report is complete. The form of a
    // report is the model's own, so the hub never parses one itself; only the
    // JRC receivers report a frequency.
    static DialBytes takeDialBytes(int rxtype, QString &pending, const QString &received);

    virtual const RxModel &model() const = 0;

    // Every write below tells whether it reached the receiver's line: after
    // the line was lost it is false (or nullopt), and nothing may be shown
    // or kept as if the receiver had the setting.

    // Tunes to kHz. Nothing is sent for a frequency outside the model's
    // range; returns whether the tuning was sent.
    virtual bool tune(double kHz) = 0;
    // kHz. A model that cannot be read back gives the frequency last sent.
    virtual std::optional<double> readFrequency() = 0;
    // The hub's mode letter ("a", "u", "l", "c", "f", "d"); "" for a mode
    // without a letter.
    virtual std::optional<QString> readModeLetter() = 0;
    // Sets the mode (and where the model's rules say so the filter and AGC)
    // for a letter of any case. Nothing for a letter the model gives no
    // meaning; nothing is sent then. Nothing either when the mode did not
    // reach the receiver; a filter or AGC that did not is left out.
    virtual std::optional<ModeSetting> setModeLetter(const QString &letter) = 0;
    // S-units.
    virtual std::optional<float> readSmeter() = 0;
    // The receiver's attenuator setting as the model numbers it.
    virtual std::optional<int> readAttenuator() { return std::nullopt; }

    // Memory channel n (0..lastChannel) as a memory record.
    virtual std::optional<QString> readMemory(int) { return std::nullopt; }
    // Why the reply of the last readMemory is no channel the model stores,
    // where the record cannot hold the value as the receiver gave it (the
    // AR7030's mode nibble up to 15 in a one-digit field); empty otherwise.
    virtual QString memoryReplyProblem() const { return QString(); }
    // Returns whether the record was sent (false without memories or for a
    // channel outside the model's).
    virtual bool writeMemory(int, const QString &) { return false; }

    // "hh:mm:ss", or "hh:mm" where the clock keeps no seconds.
    virtual std::optional<QString> readClock() { return std::nullopt; }
    // Takes "hh:mm:ss"; a clock without seconds is set to the minute.
    virtual bool setClock(const QString &) { return false; }

    virtual std::optional<QString> firmware() { return std::nullopt; }

    // The relay switched by timed recordings; false where the model has none.
    virtual bool setTimerRelay(bool) { return false; }
    // The line output level 0..99; false where the model has none.
    virtual bool setLineOutput(int) { return false; }
    // The line output level the listener chose in the set-up (0 without one).
    virtual int presetLineLevel() const { return 0; }
    // Switches the RTTY demodulator off for `tool`'s work where the model has
    // one (memory transfers need the receiver's replies, not RTTY text);
    // false where it has none. A reception that runs is given back at the
    // end of the tool's hold, so the tool holds the receiver for its work.
    bool rttyOff(const QObject *tool);

    // Sets the receiver to a memory record's settings as the model's memory
    // recall does; `shown` hears what the open panel should show. False (and
    // nothing sent) for a record without a frequency in the hub's range.
    virtual bool applyMemoryRecord(const QString &, const RxShown & = {}) { return false; }
    // The settings of a timer program; nullopt when the receiver is silent.
    virtual std::optional<RxSetting> readSetting() { return std::nullopt; }
    // Sets them with the model's rules, each followed by `shown`; stops at
    // the first that did not reach the receiver.
    virtual bool applySetting(const RxSetting &, const RxShown & = {}) { return false; }
    // The present settings for the memory-cell editor; the model may first
    // have the panel read everything back (through `shown`).
    virtual RxPresent readPresent(const RxShown & = {}) { return {}; }

    // Dial following by the receiver's own reports (RxModel::dialReports):
    // the reports start, the knob left to the listener, or stop. The
    // following holds the receiver for its length (see `hold`), the object
    // itself being the holder. Nothing where the dial is followed by asking
    // or not at all.
    virtual void followDial(bool) {}

    // The steps of a memory transfer after which the receiver needs time.
    enum class TransferStep { Held, BeforeRead, AfterWrite };
    // Leaves the receiver the pause its model needs at this step.
    void transferPause(TransferStep step);

protected:
    // The model's command that switches its RTTY demodulator off.
    virtual bool switchRttyOff() { return false; }
};

// A driver object of its own for the receiver opened at Go (G.goRxtype) on
// the program's receiver port (`rxPort()`); nullptr for No RX. A tool cannot get an object
// of another model than the one the port talks to.
std::unique_ptr<Receiver> makeReceiver();
// The same for a given type and port (the welcome window's own object, tests).
std::unique_ptr<Receiver> makeReceiver(int rxtype, CommControl &port);

} // namespace tav
