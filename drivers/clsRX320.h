#pragma once
// Driver of the Ten-Tec RX-320. The receiver cannot be read back (apart from
// its firmware text and S-meter), and every tuning command depends on mode,
// filter, shift and CW offset as well as the frequency, so the receiver's
// whole state lives in the program-wide rx320* variables and the tuning
// command is recomputed and resent whenever one of its inputs changes.

#include "core/comm.h"
#include "drivers/receiver.h"

#include <QObject>
#include <QString>

namespace tav {

class clsRX320 : public QObject, public Receiver {
    Q_OBJECT
public:
    explicit clsRX320(CommControl &port, QObject *parent = nullptr);

    // How long the replies are waited for. A receiver that is off or
    // unplugged must not hang the program.
    static constexpr int kSmeterWaitMs = 500;
    static constexpr int kFirmwareWaitMs = 1500;

    // The receiver's firmware text, up to (not including) its CR; whatever
    // arrived when the wait runs out (`answered`: whether anything came).
    QString Firmware(bool *answered = nullptr);
    // Filter 0..33; any other index selects 33 (8000 Hz). Retunes.
    bool setBandwidth(int i);
    // 0 AM, 1 USB, 2 LSB, 3 CW. Retunes.
    bool setMode(int m);
    // 1 slow, 2 medium, 3 fast.
    bool setAgcspeed(int a);
    // Hz. Retunes.
    bool setPassBandShift(int hz);
    // CW beat offset, Hz. Retunes.
    bool setBeatfreqosc(int hz);
    // kHz. A frequency outside the loaded model's range is not sent and changes
    // nothing. Returns whether the tuning was sent. Every write tells whether
    // it reached the line; one that did not changes no rx320* variable and
    // raises nothing.
    bool setFrequencyA(double kHz);
    // Slider values 0..99.
    bool setVolume(int v);
    bool setLinelevel(int v);
    // S-units; 0 when the receiver does not answer in time (`answered` false).
    float Smeter(bool *answered = nullptr);

    // The receiver interface. Mode and frequency are the ones last sent.
    const RxModel &model() const override;
    bool tune(double kHz) override;
    std::optional<double> readFrequency() override;
    std::optional<QString> readModeLetter() override;
    std::optional<ModeSetting> setModeLetter(const QString &letter) override;
    std::optional<float> readSmeter() override;
    std::optional<QString> firmware() override;
    bool setLineOutput(int level) override;
    int presetLineLevel() const override;
    bool applyMemoryRecord(const QString &record, const RxShown &shown = {}) override;
    std::optional<RxSetting> readSetting() override;
    bool applySetting(const RxSetting &s, const RxShown &shown = {}) override;
    RxPresent readPresent(const RxShown &shown = {}) override;

signals:
    void FrequencyAChanged(double kHz);
    void BandwidthChanged(int i);
    void ModeChanged(int m);
    void AgcspeedChanged(int a);
    void VolumeChanged(int v);
    void LinelevelChanged(int v);
    void PassbandshiftChanged(int hz);
    void BeatfreqoscChanged(int hz);

private:
    // Sends the tuning command for rx320freq with the present state. Returns
    // whether it was sent; the caller raises FrequencyAChanged after its
    // exchange, before its own event.
    bool sendTuning();
    // An audio level command ("V" speaker, "A" line), kept in `store` when sent.
    bool sendAudioLevel(char command, int v, int16_t &store);

    CommControl &m_port;
};

// Fills the program's name tables for this model's panel.
void InitRX320();

} // namespace tav
