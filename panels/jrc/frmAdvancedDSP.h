#pragma once
// The NRD-545's digital signal processing: noise reduction or beat canceller
// with their levels, the noise blanker, the notch, the filter hold of the
// noise reduction and the IF filter slope. The receiver holds the state; the
// dialog sends each choice at once and keeps the receiver in remote while it
// is open.

#include "core/form.h"
#include "core/ui.h"

#include <QLabel>
#include <QPushButton>
#include <array>
#include <memory>

namespace tav {

class clsNRD545;

class frmAdvancedDSP : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmAdvancedDSP;
    frmAdvancedDSP();
    ~frmAdvancedDSP() override;

    std::array<QPushButton *, 3> cmdNrbc{}, cmdNB{}, cmdNT{};
    QLabel *lblNrbc = nullptr, *lblNR = nullptr, *lblBC = nullptr, *lblNB = nullptr, *lblNB2 = nullptr,
           *lblNT = nullptr, *lblNT2 = nullptr;
    VScroll *vsbNR = nullptr, *vsbBC = nullptr, *vsbNB = nullptr, *vsbNT = nullptr;
    QPushButton *cmdDefaultNRBC = nullptr, *cmdExit = nullptr;
    OptionGroup *optHoldofnr = nullptr, *optFilterslope = nullptr;

    void cmdNrbc_Click(int index);
    void cmdNB_Click(int index);
    void cmdNT_Click(int index);
    void cmdDefaultNRBC_Click();
    void cmdExit_Click();

    // The NR and BC defaults from the settings, held within the bars' range.
    static int defaultNR();
    static int defaultBC();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    // The close box acts as Exit, so the receiver is not left in remote.
    void closeEvent(QCloseEvent *ev) override;

private:
    void vsbNR_Change(int v);
    void vsbBC_Change(int v);
    void vsbNB_Change(int v);
    void vsbNT_Change(int v);
    // A bar's value the receiver did not take goes back to the last it took.
    bool barTaken(VScroll *bar, int v, bool taken);
    std::unique_ptr<clsNRD545> NRD545A;
};

} // namespace tav
