#pragma once
// The receiver clock window: the PC's local time and UTC once a second, the
// receiver's clock read on request, and the receiver's clock set to either.

#include "core/form.h"
#include "drivers/receiver.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <memory>

namespace tav {

class frmRxClock : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmRxClock;
    frmRxClock();
    ~frmRxClock() override;

    QGroupBox *fraClock = nullptr, *fraSetclock = nullptr, *fraExit = nullptr;
    QLabel *lblNlt = nullptr, *lblLT = nullptr, *lblNut = nullptr, *lblUT = nullptr, *lblRT = nullptr;
    QPushButton *cmdGetRXclock = nullptr, *cmdRX2UT = nullptr, *cmdRX2LT = nullptr, *cmdExit = nullptr;
    QTimer tmrPCclock;

    // "hh:mm:ss" of the last tick; empty before the first.
    QString pclt, pcut;

    void tmrPCclock_Timer();
    void cmdGetRXclock_Click();
    void cmdRX2UT_Click();
    void cmdRX2LT_Click();
    void cmdExit_Click();

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void setClockTo(QPushButton *button, const QString &time);
    std::unique_ptr<Receiver> m_rx;
    bool m_silentReported = false;
};

} // namespace tav
