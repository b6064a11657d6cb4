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
#include <memory>
#include <optional>

namespace tav {

class CommControl;

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

class Receiver {
public:
    virtual ~Receiver() = default;

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
};

// A driver object of its own for the receiver opened at Go (G.goRxtype) on
// the welcome window's port; nullptr for No RX. A tool cannot get an object
// of another model than the one the port talks to.
std::unique_ptr<Receiver> makeReceiver();
// The same for a given type and port (the welcome window's own object, tests).
std::unique_ptr<Receiver> makeReceiver(int rxtype, CommControl &port);

} // namespace tav
