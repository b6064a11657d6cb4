#pragma once

#include <functional>
// The two JRC receivers, NRD-535 and NRD-545. Both speak ASCII commands that
// end in CR; "H1" puts the receiver under remote control and "H0" hands it
// back to its front panel. In local the receiver still answers queries but
// ignores every command that would change a setting, as the real sets do.
// "I1" makes it report its frequency whenever the tuning knob turns.

#include "sim/emulator.h"

#include <QElapsedTimer>
#include <QMap>
#include <QVector>

namespace sim {

struct JrcChannel {
    bool used = false;
    int att = 0, bw = 0, mode = 0;
    qint64 hz = 0;
    int agc = 0; // NRD-535: AGC digit; NRD-545: AGC time (ten times the step)
};

class JrcEmulator : public Emulator {
public:
    JrcEmulator(int channels, int smeterRaw);

    void feed(const QByteArray &bytes) override;
    double tunedFrequencyHz() const override { return double(cur.hz); }
    int baud() const override { return 4800; }
    bool control(const QString &line) override;
    QStringList controlHelp() const override;
    qint64 advance() override;

    // The demodulator's speed for the parameters set (45, 50 or 75 baud).
    virtual int rttyBaud() const = 0;
    // One decoded character's time: 7.5 bits of 5-bit Baudot (start, five
    // data bits, one and a half stop bits) at the speed set.
    double rttyCharMs() const { return 7500.0 / rttyBaud(); }
    // Decoded characters still to come from the air.
    int rttyWaiting() const { return int(m_air.size()); }

    // Receiver state, open so tests can look at what the commands did.
    JrcChannel cur;           // the working settings (cur.used unused)
    QVector<JrcChannel> memory;
    bool remote = false;      // "H1" .. "H0"
    bool reporting = false;   // "I1" .. "I0"
    int smeterRaw = 0;        // the number the S-meter reply carries without a band
    int noiseblanker = 0;
    int bandwidthControl = 0;
    int passbandShift = 0;
    int power = 1;
    int rtty = 0;
    QString rttyParameters;
    int timerRelay = 0;
    int selectedChannel = -1; // last "C" command
    QMap<int, QString> userSettings; // item -> value text as sent
    QStringList unknown;      // commands not understood (kept for tests)
    QStringList ignored;      // setting commands ignored in local
    QStringList settingCommands; // every command that would change a setting, taken or not

    // The receiver's clock, running from the moment it was set.
    void setClock(int secondsOfDay);
    int clockSeconds() const;

    // Turns the tuning knob, which the front panel takes only while the
    // knob is the listener's; in remote nothing moves (logged as ignored).
    void dial(qint64 hz);
    // Whether the front panel's knob is locked now: in remote.
    virtual bool knobLocked() const { return remote; }
    // The report the receiver sends for the present frequency while reporting.
    virtual QByteArray frequencyReport() const = 0;
    // The number the S-meter reply carries now: the band's level on the
    // model's scale, or smeterRaw.
    int meterRaw() const;
    double attenuationDb() const override { return cur.att * 20.0; }

protected:
    // One command without its CR. Returns false for a command the model does
    // not know. `isSetting` tells whether it would change the receiver.
    virtual bool handle(const QString &cmd) = 0;
    virtual bool isQuery(const QString &cmd) const = 0;
    QByteArray memoryReply(int channel) const;
    QByteArray squelchReply() const;
    virtual int squelchLevel() const { return 0; }
    virtual QByteArray channelText(const JrcChannel &c) const = 0;
    // The S-meter number for a level in S-units.
    virtual int rawForLevel(double sunits) const = 0;
    int clockBase = 0;
    QElapsedTimer clockRun;
    static bool allDigits(const QString &s, int from, int count);
    static int num(const QString &s, int from, int count); // positions from 0
    void setFreq(qint64 hz);
    // The memory commands both models share: "S" (store and tune), "K"
    // (store) with a channel and a settings record of `length` characters,
    // read by `parse`, and "C" (recall). True when `cmd` was one of them
    // (`known` false then means a malformed record).
    bool memoryCommand(const QString &cmd, int length,
                       const std::function<bool(int from, JrcChannel &out)> &parse, bool &known);

private:
    QByteArray m_pending;
    // Text on the air that the demodulator decodes one character at a time:
    // when the run began and how many of its characters were decoded.
    QByteArray m_air;
    qint64 m_airStartUs = 0;
    qint64 m_airDecoded = 0;
};

class Nrd535Emulator : public JrcEmulator {
public:
    Nrd535Emulator();
    QString model() const override { return QStringLiteral("nrd535"); }
    QByteArray frequencyReport() const override;
    int rttyBaud() const override;

protected:
    bool handle(const QString &cmd) override;
    bool isQuery(const QString &cmd) const override;
    QByteArray channelText(const JrcChannel &c) const override;
    int rawForLevel(double sunits) const override;
};

class Nrd545Emulator : public JrcEmulator {
public:
    Nrd545Emulator();
    QString model() const override { return QStringLiteral("nrd545"); }
    QByteArray frequencyReport() const override;
    int rttyBaud() const override;
    int squelchLevel() const override { return squelch; }
    // In remote the knob stays the listener's while the dial lock is off.
    bool knobLocked() const override { return remote && dialLock == 1; }

    int ecss = 0;
    int ifgain = 0, squelch = 0, tone = 0, volume = 0;
    int nbLevel = 0;
    int nrbc = 0, nrLevel = 0, bcLevel = 0;
    int notch = 0, notchValue = 0;
    bool channelMode = false; // "MM21" switches between frequency and channel
    int dialLock = 0;         // "DD1" locks the tuning knob

protected:
    bool handle(const QString &cmd) override;
    bool isQuery(const QString &cmd) const override;
    QByteArray channelText(const JrcChannel &c) const override;
    int rawForLevel(double sunits) const override;
};

} // namespace sim
