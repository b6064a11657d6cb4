#pragma once
// The JRC NRD-535 driver: every receiver setting is a command on Comm1 in
// the JRC command form, most of them inside the remote bracket (drivers/jrc.h).
// The object keeps no receiver state; the receiver holds it all.

#include "drivers/jrc.h"

namespace tav {

class clsNRD535 : public JrcReceiver<clsNRD535> {
    Q_OBJECT
public:
    explicit clsNRD535(CommControl &port, QObject *parent = nullptr);

    bool setRttyOnOff(int16_t v) override;
    bool setPowerOnOff(int16_t v);

    // The status exchange through the scratch channel 199: "X", attenuator,
    // bandwidth, mode, 8 frequency digits, AGC. "" when the receiver did not
    // answer (also left in rxstatustext).
    QString RxStatus();
    bool setRxStatus(const QString &text);

    int16_t Attenuator();
    bool setAttenuator(int16_t v);
    int16_t Bandwidth();
    bool setBandwidth(int16_t v);
    int16_t Mode();
    bool setMode(int16_t v);
    int16_t Agcspeed();
    bool setAgcspeed(int16_t v);
    bool setNoiseblanker(int16_t v);
    double FrequencyA();
    bool setFrequencyA(double khz);
    // Unbracketed, each followed by a 50 ms pause (bracketed after all while
    // dial following leaves the receiver in local).
    bool setBandwidthcontrol(int16_t v);
    bool setPassBandShift(int16_t v);

    // S-units 0..18 (0 when the receiver did not answer).
    float Smeter();
    // S-units from the number of the "M" reply.
    static float smeterFromRaw(int raw);

    // One channel as a memory record; "" when the receiver did not answer.
    QString Memory(int16_t channel);
    bool setMemory(int16_t channel, const QString &record);
    bool setRx2Mem(int16_t channel);

    // "hh:mm:ss"; "" when the receiver did not answer.
    QString RxClock();
    bool setRxClock(const QString &hhmmss);
    bool setRttyParameters(const QString &text) override;
    bool setTimerrelaysonoff(int16_t v);
    bool setUserdefs(int16_t item, int16_t value) override;
    int16_t Userdefs(int16_t item);
    // The command text of a user setting ("" for an item or value without one).
    static QString userdefsCommand(int16_t item, int16_t value);

    // The receiver interface where it differs from the other JRC model.
    const RxModel &model() const override;
    std::optional<QString> readModeLetter() override;
    std::optional<ModeSetting> setModeLetter(const QString &letter) override;
    std::optional<RxSetting> readSetting() override;
    bool applySetting(const RxSetting &s, const RxShown &shown = {}) override;

signals:
    void NoiseblankerChanged(int16_t v);

private:
    // The digit at a position of the status text (0 after a failed read).
    int16_t statusDigit(int pos);
};

// Its shared part is compiled once, with the interface (drivers/receiver.cpp).
extern template class JrcReceiver<clsNRD535>;

// Fills the program's name tables for this model's panel.
void InitNRD535();

} // namespace tav
