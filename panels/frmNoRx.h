#pragma once
// The panel for working without a receiver: it looks like a receiver panel,
// but only its menu, its frequency box (double-click empties it) and Close
// do anything. No port is opened and no driver exists.

#include "core/form.h"
#include "hub/hub.h"
#include "core/ui.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <array>

namespace tav {

class frmNoRx : public TavForm, public HubPanel {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmNoRx;
    frmNoRx();

    // Without a receiver the hub sets nothing; only the typed frequency counts.
    void hubFrequencyChanged(double) override {}
    void hubModeChanged(int) override {}
    void hubBandwidthChanged(int) override {}
    void hubAgcspeedChanged(int) override {}
    QString frequencyText() const override { return txtFrequencyA ? txtFrequencyA->text() : QString(); }
    void setAttenuatorFrameEnabled(bool) override {}

    QMenuBar *mnuBar = nullptr;
    QGroupBox *Frame2 = nullptr, *fraAgcspeed = nullptr, *Frame1 = nullptr, *fraFilters = nullptr,
              *fraAttenuator = nullptr, *fraFreqA = nullptr;
    VScroll *vsbVolume = nullptr, *vsbBeatfreqosc = nullptr, *vsbPassbandshift = nullptr;
    QLabel *lblVolume = nullptr, *lblLinelevel = nullptr, *lblAgcspeed = nullptr, *lblBeatfreqosc = nullptr,
           *lblMode = nullptr, *lblBandwidth = nullptr, *lblPassbandshift = nullptr, *lblAttenuator = nullptr,
           *lblMfreq = nullptr;
    std::array<QPushButton *, 3> cmdAgcspeed{};
    std::array<QPushButton *, 4> cmdMode{};
    std::array<QPushButton *, 4> cmdBandwidth{};
    std::array<QPushButton *, 2> cmdAttenuator{};
    std::array<QPushButton *, 10> cmd0to9{};
    QComboBox *cmbFreqstep = nullptr;
    QLineEdit *txtFrequencyA = nullptr;
    QPushButton *cmdEnterfreq = nullptr, *cmdBack = nullptr, *cmdDot = nullptr, *cmdClose = nullptr;
    SpinButton *spnFreqstep = nullptr;

    void txtFrequencyA_DblClick();
    void cmdClose_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *obj, QEvent *ev) override;
};

} // namespace tav
