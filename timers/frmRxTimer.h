#pragma once
// The timer window: an editor of one program, six fixed programs, and the
// run that waits for each program's UTC start, sets the receiver, and keeps
// its line output or timer relay on for the program's duration. All timed
// work runs in the three public tick methods, driven by the clock service.

#include "core/comm.h"
#include "core/form.h"
#include "core/linerun.h"
#include "core/ui.h"
#include "drivers/receiver.h"
#include "timers/timerprog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <memory>

namespace tav {

class frmRxTimer : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmRxTimer;
    frmRxTimer();
    ~frmRxTimer() override;

    // One row of the program table on screen.
    struct Row {
        std::array<QLabel *, 3> date{}, time{};
        std::array<QLabel *, 6> rx{};
        std::array<QLabel *, 8> freq{};
        QLabel *shp = nullptr; // shows "?" when the receiver did not answer at the start
        std::array<QPushButton *, 2> cmdFixClr{}; // 0 Fix, 1 Clr
    };
    std::array<Row, kPrograms + 1> rows; // 1..6

    QGroupBox *fraProgram = nullptr, *fraProgControl = nullptr, *fraSetRx = nullptr;
    std::array<QPushButton *, 2> cmdTimerOnoff{}, cmdLineoutOnoff{};
    QPushButton *cmdClrAll = nullptr, *cmdExit = nullptr, *cmdRX = nullptr, *cmdUTC = nullptr;
    QPushButton *cmdLoad = nullptr, *cmdSave = nullptr;
    QLabel *lblLT = nullptr, *lblUTC = nullptr, *lblNameLT = nullptr, *lblNameUTC = nullptr;
    std::array<QLabel *, 3> lblDate{}, lblTime{};
    std::array<QLabel *, 6> lblRxSetting{};
    std::array<QLabel *, 8> lblFreq{};
    std::array<SpinButton *, 3> SpinDate{}, spnTime{};
    std::array<SpinButton *, 6> spnRxSetting{};
    std::array<SpinButton *, 8> spnFreq{};
    QTimer tmrCurrenTime, tmrTestprog, tmrDuration;

    TimerEditor editor;
    TimerTable table;
    int curprog = 1;
    int durticks = 0;
    int marqueephase = 0;
    QString rxtimerlt, rxtimerutc;

    void getztime();
    void getrxsetting();
    void fixprogdata(int n);
    bool toolate(int kind);
    bool tooearly(int n);
    void cmdFix_Click(int n);
    void cmdClr_Click(int n);
    void cmdClrAll_Click();
    void cmdRX_Click();
    void cmdUTC_Click();
    void cmdExit_Click();
    void cmdLoad_Click();
    void cmdSave_Click();
    void timeronoff(int n);
    void lineoutonoff(int n);
    // The line output pair as the receiver last took it.
    void showLineButtons();
    bool testutc2tp();
    void setrx2tptel();
    void progtimerready();

    void tmrCurrenTime_Timer();
    void tmrTestprog_Timer();
    void tmrDuration_Timer();

    void SpinDate_Spin(int index, bool up);
    void spnTime_Spin(int index, bool up);
    void spnFreq_Spin(int index, bool up);
    void spnRxSetting_Spin(int index, bool up);

    // A TPR_ file's programs (row n from line n) replace the fixed programs,
    // each fixed as Fix fixes it; the editor then shows the last one fixed.
    // Returns "Line n: why" for each program left out.
    QStringList fixFilePrograms(const std::array<ProgRow, kPrograms + 1> &rows);

    // Whether a run is armed (waiting or running).
    bool armed() const { return m_armed; }
    bool lineOutOn() const { return m_lineOn; }
    Receiver *receiver() const { return m_rx.get(); }
    // The receiver type the window works for (0 without a receiver).
    int rxtype() const { return m_type; }

    // Programs fixed or cleared since the window opened or its programs were
    // last loaded from or saved to a file; the question's Save is "Save",
    // which an armed run holds back as it holds back the button: it says so
    // and the window stays.
    bool hasUnsavedChanges() override { return tprLines(table.progdata) != m_saved; }
    void saveChanges() override;
    // The file lines last loaded or saved.
    void programsKept(const QStringList &lines) { m_saved = lines; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    QStringList m_saved;
    void showEditor();
    void fitValueLabels();
    void applyEditingButtons();
    void setRowColour(int n, unsigned colour);
    void clearRowCaptions(int n);
    // Row n's captions as the editor `e` shows its fields.
    void showRow(int n, const TimerEditor &e);
    // Ends the run: the running program, the relay or line, the receiver's remote hold.
    void endRun();
    void reportSilent(const NoAnswer &noAnswer);

    std::unique_ptr<Receiver> m_rx;
    int m_type = 0;
    bool m_armed = false;
    bool m_lineOn = false;
    bool m_silentReported = false;
    // An armed run ends with the line; a program's start ends every scan.
    LineRun m_run{this, [this] { return m_armed; }, [this] { endRun(); }, QStringLiteral("Start Programmed Timer")};
};

} // namespace tav
