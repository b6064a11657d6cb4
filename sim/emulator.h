#pragma once
// Receiver emulators: each plays one receiver model's side of its serial
// protocol. The emulator is fed the bytes the program sends, keeps the
// receiver's state, and answers through `send` exactly as the receiver would.

#include "sim/band.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace sim {

// What a receiver can be told to do wrong.
enum class Fault {
    None,
    Silent,       // takes every command, answers nothing
    Garbage,      // answers with text of the reply's length but of no valid form
    WrongChannel, // a memory read is answered for another channel
};

class Emulator {
public:
    virtual ~Emulator() = default;

    // "ar7030", "nrd535", "nrd545", "rx320"
    virtual QString model() const = 0;
    // Bytes from the program, in arrival order; may be any split of the stream.
    virtual void feed(const QByteArray &bytes) = 0;
    // The model's line speed (8N1).
    virtual int baud() const { return 1200; }
    // The frequency the receiver is tuned to, in Hz.
    virtual double tunedFrequencyHz() const = 0;
    // A command typed to rxsim ("dial HZ", "smeter VALUE", "rtty TEXT").
    // Returns false when the model does not know it. A model's own control
    // ends in this one, which takes the band's commands.
    virtual bool control(const QString &line);
    // No more input is waiting: a model that reports a change only once a
    // burst of commands is complete does so now.
    virtual void idle() {}
    // Set by a server that calls idle(); otherwise the end of each feed counts as idle.
    bool idleCalledByServer = false;
    // Help lines for rxsim --help on this model's own controls (beyond dial and smeter).
    virtual QStringList controlHelp() const { return {}; }

    // The emulator's own clock in ms, which paces what the receiver sends by
    // itself over time (decoded RTTY text). Its server sets it to its own
    // clock; tests step it. Unset, it runs from the emulator's making.
    std::function<qint64()> clockMs;
    qint64 nowMs() const { return clockMs ? clockMs() : m_made.elapsed(); }
    // Sends what has come due by the clock. Returns when more comes due (ms
    // on the clock), -1 when nothing waits.
    virtual qint64 advance() { return -1; }
    // Set by the server: call advance() again at this time on the clock.
    std::function<void(qint64 ms)> wakeAt;

    // The band the antenna hears: with one, the S-meter follows it at the
    // tuned frequency, less the attenuator, until "smeter" sets a level;
    // "band" hands the meter back to it. Without one (as made) the meter
    // shows the level it was set to.
    void setBand(std::shared_ptr<Band> band)
    {
        m_band = std::move(band);
        m_levelSet = false;
    }
    Band *band() const { return m_band.get(); }

    // Set by whoever serves the emulator.
    std::function<void(const QByteArray &)> send;     // answer bytes to the program
    std::function<void(const QString &)> log;         // one readable line per command
    std::function<void(double hz)> frequencyChanged;  // after every change of the tuned frequency
    Fault fault = Fault::None;

protected:
    void reply(const QByteArray &bytes)
    {
        if (!send || bytes.isEmpty() || fault == Fault::Silent)
            return;
        send(fault == Fault::Garbage ? garbled(bytes) : bytes);
    }
    // The same length, no valid form: "?" throughout, a closing CR kept.
    static QByteArray garbled(const QByteArray &bytes);
    void note(const QString &line)
    {
        if (log)
            log(line);
    }
    // The band's level where the receiver is tuned, in S-units at its
    // detector; nullopt without a band or while a set level holds the meter.
    std::optional<double> bandLevel() const;
    // "smeter": the meter shows the level set, whatever the band does.
    void levelSet() { m_levelSet = true; }
    // What the receiver's attenuator takes off, dB (negative for a preamplifier).
    virtual double attenuationDb() const { return 0; }
    // Call after any command that may have changed the tuned frequency.
    void tuned(double oldHz)
    {
        if (frequencyChanged && tunedFrequencyHz() != oldHz)
            frequencyChanged(tunedFrequencyHz());
    }

private:
    std::shared_ptr<Band> m_band;
    bool m_levelSet = false;
    QElapsedTimer m_made = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

// Creates the emulator of a model, or nullptr for an unknown model.
std::unique_ptr<Emulator> createEmulator(const QString &model);
// The models createEmulator knows.
QStringList emulatorModels();

// Readable form of raw bytes for logs: printable ASCII as is, others as <hh>.
QString readable(const QByteArray &bytes);

} // namespace sim
