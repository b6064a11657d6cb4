#pragma once
// The NRD-535's user-defined functions (relay mode, VBT bypass, CW pitch,
// S-meter display, SSB frequency display, 10 Hz digit, clock colon, key
// beep). The receiver keeps them and cannot report them, so the buttons show
// only what has been chosen since the window opened.

#include "core/form.h"
#include "core/ui.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <memory>

namespace tav {

class clsNRD535;

class frmUserdefs : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmUserdefs;
    frmUserdefs();
    ~frmUserdefs() override;

    QGroupBox *fraRelaymode = nullptr, *fraVBTbypass = nullptr, *fraCWpitch = nullptr,
              *fraSmeterdisplay = nullptr, *fraFreqshift = nullptr, *fra10Hzdisplay = nullptr,
              *fraColonblink = nullptr, *fraBeeponkey = nullptr;
    OptionGroup *optRelaymode = nullptr, *optVBTbypass = nullptr, *optSmeterdisplay = nullptr,
                *optFreqshift = nullptr, *opt10Hzdisplay = nullptr, *optColonblink = nullptr,
                *optBeeponkey = nullptr;
    SpinButton *spnCWpitch = nullptr;
    QLabel *lblCWpitch = nullptr;
    QPushButton *cmdCWpitch = nullptr, *cmdOK = nullptr, *cmdDefaults = nullptr;

    std::unique_ptr<clsNRD535> NRD535A;
    int16_t cwpitch = 800;

    void spnCWpitch_SpinDown();
    void spnCWpitch_SpinUp();
    void cmdCWpitch_Click();
    void cmdDefaults_Click();
    void cmdOK_Click();

    // "+0800", "-0025": the sign and four digits.
    static QString pitchText(int pitch);

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    // The option group of an item (nullptr for items without one).
    OptionGroup *groupOf(int item) const;
    void optionClicked(int item, int index);
    void showPitch();
    // The VBT bypass shown on the NRD-535 panel's attenuator label.
    static void colourPanelAttenuator(bool bypassOn);

    bool m_resetting = false;
};

} // namespace tav
