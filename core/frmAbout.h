#pragma once
#include "core/form.h"

class QPushButton;

namespace tav {

class frmAbout : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmAbout;
    frmAbout();
    QPushButton *cmdClose = nullptr;
};

} // namespace tav
