#pragma once
// The JRC NRD-545 driver: the JRC command form and remote bracket of
// drivers/jrc.h, with the NRD-545's own two-letter settings, the AGC as a
// time, ECSS, the DSP functions and the status read through channel 999.

#include "drivers/jrc.h"

namespace tav {

class clsNRD545 : public JrcReceiver<clsNRD545> {
    Q_OBJECT
public:
    explicit clsNRD545(CommControl &port, QObject *parent = nullptr);

    bool setRttyOnOff(int16_t v) override;
    bool setPowerOnOff(int16_t v);

    // "X", attenuator, bandwidth, mode, 8 frequency digits, AGC step; "" when
    // the receiver did not answer (also left in rxstatustext).
    QString RxStatus();
    bool setRxStatus(const QString &text);

    int16_t Attenuator();
    bool setAttenuator(int16_t v);
    bool setBandwidth(int16_t v);
    // Unbracketed read (the panel's); the xxx form runs inside the bracket.
    int16_t Bandwidthcontrol();
    int16_t Bandwidthcontrolxxx();
    bool setBandwidthcontrol(int16_t v);
    int16_t Mode();
    bool setMode(int16_t v);
    bool setEcss(int16_t v);
    // AGC step 1..9 from the receiver's AGC time; 0 "G2" switches AGC off.
    int16_t Agcspeed();
    bool setAgcspeed(int16_t v);
    double FrequencyA();
    bool setFrequencyA(double khz);
    void FreqOrChan(int16_t v);
    int16_t PassBandShift();
    int16_t PassBandShiftxxx();
    bool setPassBandShift(int16_t v);
    int16_t Ifgain();
    bool setIfgain(int16_t v);
    int16_t Squelch();
    bool setSquelch(int16_t v);

    QString Memory(int16_t channel);
    bool setMemory(int16_t channel, const QString &record);
    bool setRx2Mem(int16_t channel);

    // S-units 0..19 (0 when the receiver did not answer).
    float Smeter();
    static float smeterFromRaw(int raw);

    int16_t Tone();
    bool setTone(int16_t v);
    int16_t Volume();
    bool setVolume(int16_t v);

    QString RxClock();
    // "hh:mm": the NRD-545's clock is set to the minute.
    bool setRxClock(const QString &hhmm);
    bool setRttyParameters(const QString &text) override;
    bool setTimerrelaysonoff(int16_t v);
    bool setUserdefs(int16_t item, int16_t value) override;
    static QString userdefsCommand(int16_t item, int16_t value);

    // DSP: noise reduction / beat canceller, noise blanker, notch.
    bool setNrbc(int16_t function, int16_t value);
    bool setNb(int16_t function, int16_t value);
    int16_t nb(int16_t function);
    bool setNt(int16_t function, int16_t value);
    int16_t nt(int16_t function);

    // The receiver interface where it differs from the other JRC model.
    const RxModel &model() const override;
    std::optional<QString> readModeLetter() override;
    std::optional<ModeSetting> setModeLetter(const QString &letter) override;
    std::optional<RxSetting> readSetting() override;
    bool applySetting(const RxSetting &s, const RxShown &shown = {}) override;

signals:
    void EcssChanged(int16_t v);
    void IfgainChanged(int16_t v);
    void SquelchChanged(int16_t v);
    void ToneChanged(int16_t v);
    void VolumeChanged(int16_t v);

private:
    // An unbracketed (or bracketed) single-setting read: discard, command,
    // wait for n characters. "" when it failed.
    QString settingRead(const QString &cmd, int n, bool inBracket);
    // A DSP read inside the bracket: discard after the bracket opened, wait
    // for n characters, take the reply before the bracket closes.
    QString dspRead(const QString &cmd, int n);
};

// Its shared part is compiled once, with the interface (drivers/receiver.cpp).
extern template class JrcReceiver<clsNRD545>;

// Fills the program's name tables for this model's panel.
void InitNRD545();

} // namespace tav
