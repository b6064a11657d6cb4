#pragma once
#include "core/form.h"

class QPushButton;

namespace tav {

class frmAbout : public TavForm {
    Q_OBJECT
public:
    frmAbout();
    QPushButton *cmdClose = nullptr;
};

} // namespace tav
