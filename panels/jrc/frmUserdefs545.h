#pragma once
// The NRD-545's user-defined functions: each choice goes to the receiver at
// once as one user setting. Nothing is read back; the window shows only what
// was chosen or sent while it is open.

#include "core/form.h"
#include "core/ui.h"

#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <memory>

namespace tav {

class clsNRD545;

class frmUserdefs545 : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmUserdefs545;
    frmUserdefs545();
    ~frmUserdefs545() override;

    // Option arrays by item number (opt1Hzdisplay is item 1, ...).
    QMap<int, OptionGroup *> options;
    // Stepped settings by item number (14, 20, 21, 22).
    struct Stepped {
        SpinButton *spn = nullptr;
        QLabel *lbl = nullptr;
        QPushButton *cmd = nullptr;
        int value = 0;
    };
    QMap<int, Stepped> stepped;
    QPushButton *cmdDefaults = nullptr, *cmdExit = nullptr;

    // The held number of a stepped setting.
    int steppedValue(int item) const { return stepped.value(item).value; }

    void option_Click(int item, int index);
    void spin(int item, int direction);
    void cmdSet_Click(int item);
    void cmdDefaults_Click();
    void cmdExit_Click();
    // Whether "Reset to Defaults" is running.
    bool resetting() const { return m_resetting; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void setStepped(int item, int value, const QString &text);
    std::unique_ptr<clsNRD545> NRD545A;
    bool m_resetting = false;
};

} // namespace tav
