#pragma once
// The logbook's two small modal dialogs: the shown columns (saved in
// "loggridformat.ini") and the sort order.

#include "core/form.h"
#include "core/ui.h"
#include "logbook/logbook.h"

#include <QLabel>
#include <QPushButton>
#include <array>

namespace tav {

class frmLogFormat : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmLogFormat;
    frmLogFormat();
    std::array<CheckBox *, kLogFields> chkLogformat{};
    QLabel *lblFormatlength = nullptr, *lblLoglength = nullptr;
    QPushButton *cmdOK = nullptr, *cmdSave = nullptr;

    void chkLogformat_Click(int index);
    void cmdOK_Click();
    void cmdSave_Click();

protected:
    void Form_Load() override;
};

class frmLogsort : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmLogsort;
    frmLogsort();
    OptionGroup *optSort = nullptr;
    QPushButton *cmdOK = nullptr, *cmdCancel = nullptr;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void Form_Load() override;
};

// "loggridformat.ini" in the data directory: its first line is the mask; a
// missing or empty file gives every column.
QString readLogColumnMask();
bool writeLogColumnMask(const QString &mask, QString *error = nullptr);

} // namespace tav
