#pragma once
// The Ten-Tec RX-320's panel: the common panel plus filter ranges and groups
// over the receiver's 34 filters, mode and AGC buttons, shift, BFO, volume
// and line bars, mute, and the state file that stands in for reading the
// receiver back.

#include "drivers/clsRX320.h"
#include "panels/frmPanel.h"

#include <array>
#include <memory>

namespace tav {

class frmRX320 : public frmPanel {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmRX320;
    frmRX320();

    std::unique_ptr<clsRX320> RX320A;

    std::array<QPushButton *, 4> cmdBwrange{};
    std::array<QPushButton *, 10> cmdBwgroup{};
    std::array<QPushButton *, 4> cmdMode{};
    std::array<QPushButton *, 3> cmdAgcspeed{};
    QLabel *lblBandwidth, *lblMode, *lblAgcspeed;
    VScroll *vsbPassbandshift, *vsbBeatfreqosc, *vsbVolume, *vsbLinelevel;
    ClickLabel *lblPassbandshift, *lblBeatfreqosc, *lblVolume, *lblLinelevel, *lblMute;

    // Filter index per range (row) and filter button (column); -1 = none.
    std::array<std::array<int16_t, 10>, 4> bwgroups{};
    int16_t currentrange = 0;

    // Display handlers (public: the hub and the tools call them).
    void RX320A_FrequencyAChanged(double khz);
    void RX320A_BandwidthChanged(int v);
    void RX320A_ModeChanged(int v);
    void RX320A_AgcspeedChanged(int v);
    void RX320A_PassbandshiftChanged(int v);
    void RX320A_BeatfreqoscChanged(int v);
    void RX320A_VolumeChanged(int v);
    void RX320A_LinelevelChanged(int v);

    void cmdBwrange_Click(int r);
    // Whether the receiver took the button's filter.
    bool cmdBwgroup_Click(int b);
    void cmdMode_Click(int i);
    void cmdAgcspeed_Click(int i);
    void lblMute_Click();
    void mnuFirmware_Click();
    void setLineOutEnabled(bool on);

    // The group (range) that holds a filter index.
    static int rangeOfFilter(int filter);

    void hubFrequencyChanged(double khz) override { RX320A_FrequencyAChanged(khz); }
    void hubModeChanged(int v) override { RX320A_ModeChanged(v); }
    void hubBandwidthChanged(int v) override { RX320A_BandwidthChanged(v); }
    void hubAgcspeedChanged(int v) override { RX320A_AgcspeedChanged(v); }
    void showReceiverChange(const RxChange &c) override;

protected:
    void initTablesAndDriver() override;
    void releaseDriver() override;
    bool setDriverFrequency(double khz) override;
    void modelSetup() override;
    void readReceiverState() override;
    bool modelKey(int keyCode, Modifier mod) override;
    void buildDirectMenu(QMenu *menu) override;
    void modelUnload() override;

private:
    void showGroup(int r);
    void showMuteColour();
    VScroll *barWithLabel(const char *name, int top, int bottom, int small, int large, ClickLabel *&label,
                     const char *labelName, QWidget *parent);
};

} // namespace tav
