#pragma once
// The Ten-Tec RX-320's side of its serial protocol: a command letter, a fixed
// number of raw parameter bytes, then CR. Commands are framed by their length,
// never by looking for CR, because a tuning word can contain 0x0D.

#include "sim/emulator.h"

namespace sim {

class Rx320Emulator : public Emulator {
public:
    QString model() const override { return QStringLiteral("rx320"); }
    void feed(const QByteArray &bytes) override;
    double tunedFrequencyHz() const override;
    bool control(const QString &line) override;
    void idle() override;
    QStringList controlHelp() const override;

    // The receiver's state as the program last set it.
    int mode() const { return m_mode; }             // 0 AM, 1 USB, 2 LSB, 3 CW
    int filter() const { return m_filter; }         // 0..33
    int agc() const { return m_agc; }               // 1 slow, 2 medium, 3 fast
    int volumeLevel() const { return m_volume; }    // attenuation 0 (loud)..63
    int lineLevel() const { return m_line; }        // attenuation 0 (loud)..63
    int coarse() const { return m_coarse; }
    int fine() const { return m_fine; }
    int bfoWord() const { return m_bfo; }
    bool tunedYet() const { return m_tunedYet; }
    // The offset the BFO word stands for, Hz (shift in AM, carrier offset
    // in SSB, beat offset plus shift in CW).
    double bfoOffsetHz() const;
    int commandCount() const { return m_commands; }
    int ignoredCount() const { return m_ignored; }

    // The beat note a CW listener tunes for: the receiver's words carry pitch
    // and shift as one BFO offset, so the CW frequency is the carrier heard
    // at this pitch. Unset (negative), the whole offset counts as pitch.
    void setCwPitch(int hz) { m_cwPitch = hz; }
    int cwPitch() const { return m_cwPitch; }

    // What the receiver answers to "X" (0..65535) without a band, and to "?".
    void setSmeterReading(int n) { m_smeter = n; }
    // The "X" answer now: the band's level on the receiver's scale, or the reading set.
    int meterReading() const;
    void setFirmware(const QByteArray &text) { m_firmware = text; }

private:
    void handle(const QByteArray &cmd);

    QByteArray m_in;
    int m_mode = 0, m_filter = 0, m_agc = 2, m_volume = 63, m_line = 63;
    int m_coarse = 0, m_fine = 0, m_bfo = 0;
    bool m_tunedYet = false;
    int m_smeter = 0;
    QByteArray m_firmware = "VER 1.06";
    int m_commands = 0, m_ignored = 0;
    int m_cwPitch = -1;
    // The frequency last reported, and whether a report waits for the burst's end.
    double m_reportedHz = 0;
    bool m_reportPending = false;
};

} // namespace sim
