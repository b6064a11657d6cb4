#pragma once
// The panel of the JRC NRD-545: the common panel with the model's buttons,
// its six sliders (IF gain, squelch, volume, tone, bandwidth control and
// pass-band shift), ECSS, the AGC times of the settings, the lock of the JRC
// panels, and the Direct menu with the user settings and DSP dialogs.

#include "panels/frmPanel.h"

#include <memory>

namespace tav {

class clsNRD545;
class JrcLock;

class frmNRD545 : public frmPanel {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmNRD545;
    frmNRD545();
    ~frmNRD545() override;

    std::array<QPushButton *, 4> cmdAgcspeed{};
    QLabel *lblAgcspeed = nullptr;
    VScroll *vsbIfgain = nullptr, *vsbSquelch = nullptr, *vsbVolume = nullptr, *vsbTone = nullptr;
    QLabel *lblIfgain = nullptr, *lblSquelch = nullptr;
    ClickLabel *lblVolume = nullptr, *lblTone = nullptr;
    std::array<QPushButton *, 7> cmdMode{};
    std::array<QPushButton *, 2> cmdEcss{};
    QLabel *lblMode = nullptr;
    std::array<QPushButton *, 3> cmdBandwidth{};
    QLabel *lblBandwidth = nullptr;
    VScroll *vsbBandwidthcontrol = nullptr, *vsbPassbandshift = nullptr;
    QLabel *lblbandwidthcontrol = nullptr;
    ClickLabel *lblPassbandshift = nullptr;
    std::array<QPushButton *, 2> cmdAttenuator{};
    QLabel *lblAttenuator = nullptr;
    QPushButton *cmdPowerOnOff = nullptr, *cmdFreqOrChan = nullptr;
    JrcLock *lock = nullptr; // fraLock, cmdLock(0..1), lblLock

    // The panel's own driver object (nullptr while the panel is not loaded).
    clsNRD545 *driver() const { return NRD545A.get(); }
    int16_t powerFlag() const { return m_power; }

    // Holds the receiver in remote (1) or hands it back (0), then refreshes
    // or blanks the sliders that need the hold.
    bool lockoffon(int16_t state);
    // What lockoffon(0) shows: the sliders that need the hold off and blank.
    void showUnheld();
    // Reads the receiver and refreshes the whole panel.
    void RxUpdatefull();

    // Controls.
    void cmdMode_Click(int index);
    void cmdEcss_Click(int index);
    void cmdAgcspeed_Click(int index);
    void cmdAttenuator_Click(int index);
    void cmdBandwidth_Click(int index);
    void cmdFreqOrChan_Click();
    void cmdPowerOnOff_Click();
    void cmdLock_Click(int index);
    void lblPassbandshift_Click();
    void lblTone_Click();
    void lblVolume_Click();

    // Display handlers of the driver's events; other windows call some of
    // them after they have set the receiver through their own driver.
    void NRD545A_LockChanged(int16_t v);
    void NRD545A_PoweronoffChanged(int16_t v);
    void NRD545A_AttenuatorChanged(int16_t v);
    void NRD545A_BandwidthChanged(int16_t v);
    void NRD545A_BandwidthcontrolChanged(int16_t v);
    void NRD545A_ModeChanged(int16_t v);
    void NRD545A_EcssChanged(int16_t v);
    void NRD545A_AgcspeedChanged(int16_t v);
    void NRD545A_FrequencyAChanged(double khz);
    void NRD545A_PassbandshiftChanged(int16_t v);
    void NRD545A_IfgainChanged(int16_t v);
    void NRD545A_SquelchChanged(int16_t v);
    void NRD545A_ToneChanged(int16_t v);
    void NRD545A_VolumeChanged(int16_t v);
    void NRD545A_RxStatusChanged(const QString &text);

    // The Fast, Medium and Slow AGC steps from the settings (1..9 each).
    static int agcFactor(int index);

    void hubFrequencyChanged(double khz) override { NRD545A_FrequencyAChanged(khz); }
    void hubModeChanged(int v) override { NRD545A_ModeChanged(int16_t(v)); }
    void hubBandwidthChanged(int v) override { NRD545A_BandwidthChanged(int16_t(v)); }
    void hubAgcspeedChanged(int v) override { NRD545A_AgcspeedChanged(int16_t(v)); }
    void showReceiverChange(const RxChange &c) override;

protected:
    void initTablesAndDriver() override;
    void releaseDriver() override;
    bool setDriverFrequency(double khz) override;
    void modelSetup() override;
    void readReceiverState() override;
    void recallMemory(int cell) override;
    bool modelKey(int keyCode, Modifier mod) override;
    void buildDirectMenu(QMenu *menu) override;
    void modelUnload() override;
    void movefreqChanged(int16_t on) override;

private:
    static PanelTraits traits();
    void connectDriver();
    // A level read: shown and put on its slider when it came, "?" otherwise.
    void showRead(int16_t value, bool ok, QLabel *label, void (frmNRD545::*handler)(int16_t));
    // A bar key: the new value on the slider, then sent once more.
    void barKey(VScroll *bar, int value, bool (clsNRD545::*send)(int16_t));

    std::unique_ptr<clsNRD545> NRD545A;
    int16_t m_power = 0;
};

} // namespace tav
