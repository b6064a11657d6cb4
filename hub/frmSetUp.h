#pragma once
// The set-up dialog: every choice takes effect the moment it is made; Save
// makes the current values permanent.

#include "core/form.h"
#include "core/ui.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace tav {

class frmSetUp : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmSetUp;
    frmSetUp();

    OptionGroup optCom, optRxtype, optRxtargetarea, optStartstep;
    QLineEdit *txtDirpath, *txtLt2utc, *txtRxlatitude, *txtRxlongitude;
    QLineEdit *txtDimbdxc, *txtDimown, *txtDimlog, *txtDimilg;
    QGroupBox *fraRx[5];
    QLineEdit *txtARoptions[4], *txtLevelL, *txtLevelR;
    CheckBox *chkDisableLLLR;
    CheckBox *chkNRDoptions[4];
    QLineEdit *txtFreqcorr[2], *txtLevel;
    CheckBox *chkMute[2], *chkDisableLL;
    QLineEdit *txtAgctc[3], *txtNrbc[2];
    QLabel *lblComDevice[5];
    QPushButton *cmdReload, *cmdSave, *cmdClose;

    void cmdReload_Click();
    void cmdSave_Click();
    void cmdClose_Click();
    // The check a text box runs when the focus moves to another control of
    // the dialog (and on Save); false when the entry was rejected.
    bool checkBox(QLineEdit *box);

protected:
    void Form_Load() override;
    bool eventFilter(QObject *obj, QEvent *ev) override;

private:
    void fillControls();
    void showFrame(int rxtype);
    void showComDevices();
    QWidget *stack = nullptr;
    QLineEdit *addText(const QString &name, QWidget *parent);
    bool m_checking = false;
};

} // namespace tav
