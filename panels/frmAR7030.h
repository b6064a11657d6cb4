#pragma once
// The AOR AR7030's panel: the common panel plus the receiver's audio and IF
// bars, its mode, AGC, attenuator and filter buttons, mute and power.

#include "drivers/clsAR7030.h"
#include "panels/frmPanel.h"

#include <memory>

namespace tav {

class frmAR7030 : public frmPanel {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmAR7030;
    frmAR7030();

    std::unique_ptr<clsAR7030> AR7030A;

    VScroll *vsbVolume, *vsbLineL, *vsbLineR, *vsbBass, *vsbTreble, *vsbPassbandshift, *vsbBeatfreqosc,
        *vsbIfgain, *vsbSquelch;
    ClickLabel *lblVolume, *lblLineL, *lblLineR, *lblBass, *lblTreble, *lblPassbandshift, *lblBeatfreqosc,
        *lblIfgain, *lblSquelch, *lblMute;
    QLabel *lblAttenuator, *lblBandwidth, *lblMode, *lblAgcspeed;
    std::array<QPushButton *, 7> cmdMode{};
    std::array<QPushButton *, 4> cmdAgcspeed{};
    std::array<QPushButton *, 6> cmdAttenuator{};
    std::array<QPushButton *, 6> cmdBandwidth{};
    QPushButton *cmdPowerOnOff;
    QWidget *fraMode;

    int16_t mutestate = 0, mutevolume = 0, muteleft = 0, muteright = 0;

    // Display handlers of the driver's changed events (public: the hub and
    // the tools call them after setting the receiver themselves).
    void AR7030A_PoweronoffChanged(int v);
    void AR7030A_AttenuatorChanged(int v);
    void AR7030A_BandwidthChanged(int v);
    void AR7030A_ModeChanged(int v);
    void AR7030A_AgcspeedChanged(int v);
    void AR7030A_FrequencyAChanged(double khz);
    void AR7030A_VolumeChanged(int v);
    void AR7030A_LeftauxlevelChanged(int v);
    void AR7030A_RightauxlevelChanged(int v);
    void AR7030A_BassChanged(int v);
    void AR7030A_TrebleChanged(int v);
    void AR7030A_PassbandshiftChanged(int v);
    void AR7030A_IfgainChanged(int v);
    void AR7030A_SquelchChanged(int v);
    void AR7030A_BeatfreqoscChanged(int v);

    void RxUpdatefull();

    // The converters, as the memory and timer tools use them.
    static QString b2fs(int b);
    static int fs2b(const QString &text);
    static int b2vsb(int b);
    static int vsb2b(int v);
    static QString b2sql(int b);
    static int sql2b(const QString &text);

    void cmdMode_Click(int index);
    void cmdAgcspeed_Click(int index);
    void cmdAttenuator_Click(int index);
    void cmdBandwidth_Click(int index);
    void cmdPowerOnOff_Click();
    void lblMute_Click();
    void mnuUpdate_Click() { RxUpdatefull(); }
    void mnuResetRx_Click();
    void mnuFirmware_Click();
    void setLineLevelsEnabled(bool on);

    void hubFrequencyChanged(double khz) override { AR7030A_FrequencyAChanged(khz); }
    void hubModeChanged(int v) override { AR7030A_ModeChanged(v); }
    void hubBandwidthChanged(int v) override { AR7030A_BandwidthChanged(v); }
    void hubAgcspeedChanged(int v) override { AR7030A_AgcspeedChanged(v); }
    void showReceiverChange(const RxChange &c) override;

protected:
    void initTablesAndDriver() override;
    void releaseDriver() override;
    bool setDriverFrequency(double khz) override;
    void modelSetup() override;
    void readReceiverState() override;
    void recallMemory(int n) override;
    bool modelKey(int keyCode, Modifier mod) override;
    void buildDirectMenu(QMenu *menu) override;

private:
    // The fitted filters, the firmware number and the power state: read at
    // load, and again at each update until the receiver has answered them.
    void readFittedFilters();
    void readFirmwareNumber();
    void readPower();
    // The set-up's line levels (left, right): sent at load, and at each
    // update until the receiver has taken them. A level the user set since,
    // and the receiver took, stands in for the set-up's.
    void sendLineLevels();
    bool m_filtersKnown = false, m_firmwareKnown = false, m_powerKnown = false;
    std::array<bool, 2> m_lineLevelPending{};
    bool m_firmwareTold = false;

    VScroll *barWithLabel(const char *name, int top, int bottom, int small, int large, ClickLabel *&label,
                     const char *labelName, QWidget *parent);
};

} // namespace tav
