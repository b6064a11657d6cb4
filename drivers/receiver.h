#pragma once
// The one way the hub and the tools talk to a receiver, whichever model was
// opened at Go. Each driver keeps its own full set of operations for its
// panel; this interface is the part every tool needs, with the differences
// between models kept in the model's class and in its RxModel facts, never
// in the caller.
//
// Reads give std::nullopt when the receiver did not answer in time, so a
// silent receiver is never mistaken for a reading of 0 or an empty text.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace tav {

class CommControl;

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

// The fields a memory record of the model carries, with the values its name
// tables cover; a field the model does not store is absent.
struct MemoryRanges {
    std::optional<IntRange> mode, bandwidth, attenuator, agc, pbs, sqlbfo, scan;
};

// What a model is and can do, as data: tools decide from these facts, not
// from the receiver type number.
struct RxModel {
    int rxtype = 0;
    const char *name = "";
    double freqMinKHz = 0, freqMaxKHz = 0;
    // Highest memory channel (channels count from 0); none: no memories.
    std::optional<int> lastChannel;
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
    std::optional<int> workingChannel;
    TimerRanges timer;
    MemoryRanges memory;

    bool readsAttenuator() const { return attStepDb != 0; }
    // The correction in S-units (6 dB each) of a level read with attenuator index `att`.
    double attCorrection(int att) const { return (att - attNone) * attStepDb / 6; }
};

// The facts of a receiver type (0 No RX, 1 AR7030, 2 NRD-535, 3 RX-320,
// 4 NRD-545); any other number gives the No RX facts.
const RxModel &rxModel(int rxtype);

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

// What a piece of a dial report brought: whether a report is now complete,
// and the frequency it carries when the model reports one (a garbled report
// carries none).
struct DialBytes {
    bool complete = false;
    std::optional<double> khz;
};

class Receiver {
public:
    virtual ~Receiver() = default;

    // Bytes a receiver of the type sent while it reports its dial: collected
    // in `pending` (kept short) until a report is complete. The form of a
    // report is the model's own, so the hub never parses one itself; only the
    // JRC receivers report a frequency.
    static DialBytes takeDialBytes(int rxtype, QString &pending, const QString &received);

    virtual const RxModel &model() const = 0;

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
    // meaning; nothing is sent then.
    virtual std::optional<ModeSetting> setModeLetter(const QString &letter) = 0;
    // S-units.
    virtual std::optional<float> readSmeter() = 0;
    // The receiver's attenuator setting as the model numbers it.
    virtual std::optional<int> readAttenuator() { return std::nullopt; }

    // Memory channel n (0..lastChannel) as a memory record.
    virtual std::optional<QString> readMemory(int) { return std::nullopt; }
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
    // Switches RTTY reception off where the model has it (memory transfers
    // need the receiver's replies, not RTTY text); false where it has none.
    virtual bool rttyOff() { return false; }

    // Sets the receiver to a memory record's settings as the model's memory
    // recall does; `shown` hears what the open panel should show. False (and
    // nothing sent) for a record without a frequency in the hub's range.
    virtual bool applyMemoryRecord(const QString &, const RxShown & = {}) { return false; }
    // The settings of a timer program; nullopt when the receiver is silent.
    virtual std::optional<RxSetting> readSetting() { return std::nullopt; }
    // Sets them with the model's rules, each followed by `shown`.
    virtual bool applySetting(const RxSetting &, const RxShown & = {}) { return false; }
    // The present settings for the memory-cell editor; the model may first
    // have the panel read everything back (through `shown`).
    virtual RxPresent readPresent(const RxShown & = {}) { return {}; }
};

// A driver object of its own for the receiver opened at Go (G.goRxtype) on
// the program's receiver port (`rxPort()`); nullptr for No RX. A tool cannot get an object
// of another model than the one the port talks to.
std::unique_ptr<Receiver> makeReceiver();
// The same for a given type and port (the welcome window's own object, tests).
std::unique_ptr<Receiver> makeReceiver(int rxtype, CommControl &port);

} // namespace tav
