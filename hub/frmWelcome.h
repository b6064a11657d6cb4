#pragma once
// The first window: reads the start-up files, shows the chosen receiver, and
// listens to the receiver port, keeps the clock texts and the frequency and mode hub.

#include "core/comm.h"
#include "core/form.h"
#include "hub/hub.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace tav {

class frmWelcome : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmWelcome;
    // The one welcome window, created on first use.
    static frmWelcome *instance();
    static bool exists();
    // Tests: forget the instance (it is deleted).
    static void destroy();

    // The program's receiver port (rxPort()).
    CommControl &Comm1;
    QLineEdit *term = nullptr;
    QLabel *lblGo = nullptr;
    QToolButton *imgGo = nullptr, *imgSetup = nullptr, *imgAbout = nullptr, *imgExit = nullptr;
    QTimer Showtime;

    // The frequency and mode hub, with its receiver object.
    Hub &hub() { return m_hub; }

    // The clock tick (every 5 s): clock texts and window captions.
    void Showtime_Timer();

    void imgGo_Click();
    void imgSetup_Click();
    void imgAbout_Click();
    void imgExit_Click();

    // Colour, then caption of lblGo for a receiver type; others leave it as designed.
    void setGoLabel(int rxtype);
    void releaseDrivers();

    // What the start-up told the user about the settings file ("" = nothing).
    QString startupNotice() const { return m_notice; }

    // Dial reports arrive here and go to the hub.
    void Comm1_OnComm(int commEvent);

    // Ends the program at once, without any window's unload work (a panel
    // menu's Exit). Replaceable by tests.
    static std::function<void(int)> endProgram;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    explicit frmWelcome();
    QString m_notice;
    Hub m_hub;
};

} // namespace tav
