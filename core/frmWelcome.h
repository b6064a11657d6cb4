#pragma once
// The first window: reads the start-up files, shows the chosen receiver, and
// owns the serial port, the clock texts and the welcome window's own driver
// object on which the frequency and mode hub works.

#include "core/comm.h"
#include "core/form.h"
#include "drivers/receiver.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

namespace tav {

class frmPanel;

class frmWelcome : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmWelcome;
    // The one welcome window, created on first use.
    static frmWelcome *instance();
    static bool exists();
    // Tests: forget the instance (it is deleted).
    static void destroy();

    CommControl Comm1;
    QLineEdit *term = nullptr;
    QLabel *lblGo = nullptr;
    QToolButton *imgGo = nullptr, *imgSetup = nullptr, *imgAbout = nullptr, *imgExit = nullptr;
    QTimer Showtime;

    // The welcome window's own driver object for the receiver chosen at Go
    // (none for No RX), on which the hub works.
    std::unique_ptr<Receiver> receiver;

    // The clock tick (every 5 s): clock texts and window captions.
    void Showtime_Timer();

    void imgGo_Click();
    void imgSetup_Click();
    void imgAbout_Click();
    void imgExit_Click();

    // Colour, then caption of lblGo for a receiver type; others leave it as designed.
    void setGoLabel(int rxtype);
    void releaseDrivers();

    // The panel window of a receiver type ("" outside 0..4).
    static QString panelName(int rxtype);
    // What the start-up told the user about the settings file ("" = nothing).
    QString startupNotice() const { return m_notice; }

    // ---- the frequency and mode hub ----
    // Every routine works on the receiver chosen at the last Go (G.goRxtype)
    // and its panel, whatever the set-up dialog has chosen since.
    void Change2FreqA(double freq);
    void distributefreqa(const QString &freqtext, double freq);
    QString ConvertRx2mfa();
    void SetRx2mfa(const QString &code);
    double Update2RxFreq();
    void Update4RxFreq();
    void getfreq(QLineEdit *term, const QString &received);
    void Comm1_OnComm(int commEvent);
    // The welcome window's receiver when it is the one chosen at Go.
    Receiver *hubReceiver() const;
    // The open panel of the receiver chosen at Go (nullptr when none is loaded).
    frmPanel *openPanel() const;

    // Ends the program at once, without any window's unload work (a panel
    // menu's Exit). Replaceable by tests.
    static std::function<void(int)> endProgram;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    explicit frmWelcome();
    QString m_notice;
};

} // namespace tav
