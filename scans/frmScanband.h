#pragma once
// The band scan window: a band swept step by step with an S-meter plot,
// three display modes, squelch hold, tuning by mouse, overlays of stored
// sweeps and the band file.

#include "core/canvas.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/linerun.h"
#include "core/ui.h"
#include "scans/bandscan.h"
#include "signal/measure.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <memory>

namespace tav {

class Receiver;

class frmScanband : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmScanband;
    frmScanband();
    ~frmScanband() override;

    Canvas *picScan = nullptr;
    QGroupBox *fraSetup = nullptr;
    std::array<QLineEdit *, 4> txtInput{};
    std::array<QLabel *, 4> lbldata{};
    CheckBox *chkLoop = nullptr, *chkSqlonoff = nullptr;
    OptionGroup *optShow = nullptr;
    QLabel *lblSqlonat = nullptr, *lblSqlon = nullptr, *lblSqloffat = nullptr, *lblSqloff = nullptr;
    SpinButton *spnSqlon = nullptr, *spnSqloff = nullptr;
    QLabel *lblSsqlon = nullptr;
    std::array<QLabel *, 4> lblDbname{};
    QLabel *lblTimedate = nullptr, *lblFreqlow = nullptr, *lblFreqhigh = nullptr, *lblFreq = nullptr,
           *lblFreq1 = nullptr;
    QPushButton *cmdLoad = nullptr, *cmdSave = nullptr, *cmdContinue = nullptr, *cmdCls = nullptr,
                *cmdTunerx = nullptr, *cmdStop = nullptr, *cmdStart = nullptr, *cmdDiduzu = nullptr,
                *cmdExit = nullptr;
    QTimer tmrScanband, tmrSqlon;

    void chkLoop_Click(int value);
    void chkSqlonoff_Click(int value);
    void optShow_Click(int index);
    void spnSqlon_SpinUp();
    void spnSqlon_SpinDown();
    void spnSqloff_SpinUp();
    void spnSqloff_SpinDown();
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdContinue_Click();
    void cmdTunerx_Click();
    void cmdCls_Click();
    void cmdLoad_Click();
    void cmdSave_Click();
    void cmdDiduzu_Click();
    void cmdExit_Click();
    // Mouse over the plot in pixels.
    void Form_MouseMove(int x, int y);
    void Form_MouseDown(int x, int y);
    // One sweep step, and one reading while on hold.
    void tmrScanband_Timer();
    void tmrSqlon_Timer();

    FileResult sanfile2ram(const QString &path);
    FileResult sanram2file(const QString &path);

    const BandSweep &sweep() const { return m_sweep; }
    int sqlonnr() const { return m_sqlonnr; }
    int sqloffnr() const { return m_sqloffnr; }
    bool tuneMode() const { return m_sbtunerx; }
    bool sweeping() const { return m_running; }
    double mouseFrequency() const { return m_sbmousefreq; }
    double clickFrequency() const { return m_sbclickfreq; }
    // The overlay last drawn (1..4), kept while the program runs.
    static int overlayNumber();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_UnloadRequested() override;

private:
    void advanceAndTune();
    void setSweepControls(bool sweeping);
    void updateFileButtons();
    void showSqlonPointer();
    // Enables or disables the sweep timer (the tick re-arms it).
    void sweepTimer(bool on);
    void rearmSweep();

    BandSweep m_sweep;
    std::unique_ptr<Receiver> m_rx;
    int m_rxtype = 0;
    SmeterReader m_reader{QStringLiteral("Error")};
    int m_sqlonnr = 21, m_sqloffnr = 19;
    bool m_sbtunerx = false;
    bool m_running = false;
    bool m_ticking = false;
    bool m_sweepTimerOn = false;
    int m_intervalMs = 1000;
    QElapsedTimer m_pace;
    qint64 m_nextDueMs = 0;
    double m_sbmousefreq = 0, m_sbclickfreq = 0;
    LineRun m_run{this, [this] { return m_running; }, [this] { cmdStop_Click(); }};
};

} // namespace tav
