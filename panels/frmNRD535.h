#pragma once
// The JRC NRD-535 panel: the common panel with this receiver's buttons, the
// bandwidth-control and pass-band-shift sliders (usable only while the
// receiver is held in remote), the controls its fitted options allow, and
// the JRC panel lock.

#include "panels/frmPanel.h"
#include "panels/jrclock.h"

#include <QGroupBox>
#include <array>
#include <memory>

namespace tav {

class clsNRD535;

class frmNRD535 : public frmPanel {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmNRD535;
    frmNRD535();
    ~frmNRD535() override;

    std::unique_ptr<clsNRD535> NRD535A;

    QGroupBox *fraAttenuator = nullptr, *fraAgcspeed = nullptr, *fraMode = nullptr, *fraFilters = nullptr;
    std::array<QPushButton *, 2> cmdAttenuator{};
    std::array<QPushButton *, 3> cmdAgcspeed{};
    std::array<QPushButton *, 3> cmdNoiseblanker{};
    std::array<QPushButton *, 9> cmdMode{};
    std::array<QPushButton *, 4> cmdBandwidth{};
    QLabel *lblAttenuator = nullptr, *lblAgcspeed = nullptr, *lblNoiseblanker = nullptr, *lblMode = nullptr,
           *lblBandwidth = nullptr, *lblBandwidthcontrol = nullptr;
    ClickLabel *lblPassbandshift = nullptr;
    VScroll *vsbBandwidthcontrol = nullptr, *vsbPassbandshift = nullptr;
    QPushButton *cmdPowerOnOff = nullptr;
    JrcLock *lock = nullptr;
    QAction *mnuUpdate = nullptr, *mnuUserdefs = nullptr, *mnuRtty = nullptr;

    // The lock: the driver's Lockonoff, then the sliders follow it.
    bool lockoffon(int16_t state);
    // What lockoffon(0) shows: the sliders that need the hold off and blank.
    void showUnheld();
    // Whether the shift and bandwidth-control keys act now.
    bool sliderKeysAct() const;
    void RxUpdatebasics();
    void RxUpdatefull();

    void cmdAttenuator_Click(int index);
    void cmdAgcspeed_Click(int index);
    void cmdNoiseblanker_Click(int index);
    void cmdMode_Click(int index);
    void cmdBandwidth_Click(int index);
    void cmdLock_Click(int index);
    void cmdPowerOnOff_Click();
    void lblPassbandshift_Click();
    void mnuRtty_Click();

    // Display handlers of the driver's events; the hub and the tools call them
    // after setting the receiver through their own driver objects.
    void NRD535A_PoweronoffChanged(int16_t v);
    void NRD535A_LockChanged(int16_t v);
    void NRD535A_RxStatusChanged(const QString &status);
    void NRD535A_AttenuatorChanged(int16_t v);
    void NRD535A_BandwidthChanged(int16_t v);
    void NRD535A_ModeChanged(int16_t v);
    void NRD535A_AgcspeedChanged(int16_t v);
    void NRD535A_NoiseblankerChanged(int16_t v);
    void NRD535A_BandwidthcontrolChanged(int16_t v);
    void NRD535A_PassbandshiftChanged(int16_t v);
    void NRD535A_FrequencyAChanged(double khz);

    void hubFrequencyChanged(double khz) override { NRD535A_FrequencyAChanged(khz); }
    void hubModeChanged(int v) override { NRD535A_ModeChanged(int16_t(v)); }
    void hubBandwidthChanged(int v) override { NRD535A_BandwidthChanged(int16_t(v)); }
    void hubAgcspeedChanged(int v) override { NRD535A_AgcspeedChanged(int16_t(v)); }
    void showReceiverChange(const RxChange &c) override;

    int16_t power() const { return m_power; }

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
    static PanelTraits nrd535Traits();
    void connectDriver();
    void sliderKey(VScroll *bar, int value, bool (clsNRD535::*send)(int16_t));
    bool ecssFitted() const;

    int16_t m_power = 0;
};

} // namespace tav
