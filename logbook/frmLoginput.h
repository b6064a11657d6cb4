#pragma once
// The log entry dialog: one record typed, changed or taken from the
// receiver's present setting, formatted and stored on OK.

#include "core/form.h"
#include "logbook/logbook.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

namespace tav {

class frmLoginput : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmLoginput;
    frmLoginput();

    std::array<QLineEdit *, kLogFields> txtLoginput{};
    std::array<QLabel *, kLogFields> labels{};
    QPushButton *cmdOk = nullptr, *cmdCancel = nullptr, *cmdGetcurrentsetting = nullptr;

    // Opens the dialog for a new record, which takes the next index on OK.
    void beginAdd();
    // Opens the dialog on an existing record, its fields without their trailing blanks.
    void beginChange(int index);

    // Copies a station line of the tracking window into the entry: language
    // (characters 52-54), organisation (20-39) and the location column
    // (78-89). Does nothing and returns false while the dialog is closed.
    bool takeStationLine(const QString &line);

    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdGetcurrentsetting_Click();

    // Whether the boxes hold anything OK has not stored yet: any text for a
    // new record, a change for an existing one.
    bool holdsTyping() const;

    bool addMode() const { return m_add; }
    // The record OK writes (the next index in add mode).
    int targetRecord() const { return m_target; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void clearBoxes();
    bool m_add = true;
    int m_target = 0;
};

} // namespace tav
