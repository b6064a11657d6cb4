#pragma once

#include <optional>
// What every receiver panel shares: coming up and going away, the keypad, the
// step list with its spin button and step buttons, continuous stepping, the
// rounding labels, the frequency box, the key map, the mouse wheel and the
// menu bar. A model's panel adds its tables, its own controls, its key rows
// and its Direct menu entries through the hooks below.

#include "core/comm.h"
#include "core/form.h"
#include "hub/hub.h"
#include "core/ui.h"
#include "drivers/receiver.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <array>

namespace tav {
class WheelNotches;

class frmPanel : public TavForm, public HubPanel {
    Q_OBJECT
public:
    // Key codes of the key map: digits, "=", "-" and "." by the key's place,
    // whatever the layout; letters by the letter the layout types.
    enum KeyCode {
        KeyBack = 8,
        KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40,
        Key0 = 48, Key9 = 57,
        KeyA = 65, KeyZ = 90,
        KeyF1 = 112, KeyF8 = 119,
        KeyEqual = 187, KeyMinus = 189, KeyPeriod = 190,
    };
    enum Modifier { ModNone, ModShift, ModCtrl, ModAlt, ModCtrlShift, ModOther };

    QLineEdit *txtFrequencyA = nullptr;
    QLabel *lblMfreq = nullptr;
    std::array<QPushButton *, 10> cmd0to9{};
    QPushButton *cmdDot = nullptr, *cmdBack = nullptr;
    QPushButton *cmdEnterfreq = nullptr, *cmdEnterMem = nullptr, *cmdEnterS = nullptr;
    QComboBox *cmbFreqstep = nullptr;
    SpinButton *spnFreqstep = nullptr;
    std::array<QPushButton *, 2> cmdfreqstep{};
    QPushButton *cmdMovefreq = nullptr;
    ClickLabel *lblInt5 = nullptr, *lbnInt1 = nullptr;
    QPushButton *cmdClose = nullptr;
    QMenuBar *mnuBar = nullptr;
    QMenu *mnuDirect = nullptr;
    // Continuous stepping: one step per tick.
    QTimer tmrMovefreq;

    int16_t stepdirection = 1;
    bool wheelarmed = false;
    int16_t movefreqon = 0;
    QString keyentry;

    // Control handlers (also what the key map presses).
    void cmd0to9_Click(int index);
    void cmdDot_Click();
    void cmdBack_Click();
    void cmdEnterfreq_Click();
    void cmdEnterMem_Click();
    void cmdEnterS_Click();
    void spnFreqstep_SpinDown();
    void spnFreqstep_SpinUp();
    void cmdfreqstep_Click(int index);
    void cmdMovefreq_Click();
    void tmrMovefreq_Timer();
    void lblInt5_Click();
    void lbnInt1_Click();
    void txtFrequencyA_Enter();
    void txtFrequencyA_DblClick();
    void mnuClose_Click();
    void mnuExit_Click();

    // Runs the key map for a key as the panel previews it; true when it was used.
    bool keyPreview(int keyCode, Modifier mod);
    // The physical key of a key event as a key-map code (0 when not in the map).
    static int physicalKeyCode(const QKeyEvent *ev);
    static Modifier exactModifier(Qt::KeyboardModifiers mods);

    // What the hub calls after it has set the receiver through the welcome
    // window's driver: the model's display handlers of the same settings.
    void hubFrequencyChanged(double khz) override { showFrequency(khz); }
    void hubModeChanged(int) override {}
    void hubBandwidthChanged(int) override {}
    void hubAgcspeedChanged(int) override {}
    // The measurement windows keep the user from changing the attenuator
    // while they measure (panels without an attenuator have nothing to do).
    void setAttenuatorFrameEnabled(bool on) override;
    // The attenuator label's colour (&HBBGGRR): the JRC dialogs show with it
    // whether the input circuit is bypassed.
    void setAttenuatorLabelColour(unsigned bbggrr);
    // The frequency as the panel shows it ("?" outside the range).
    QString frequencyText() const override { return txtFrequencyA->text(); }

    // What a tool just sent through its own driver object: the model's panel
    // shows it with its own handlers (frequency, mode, bandwidth and AGC go
    // to the hub handlers above unless a model says otherwise).
    void showReceiverChange(const RxChange &c) override;
    void setToolEntriesEnabled(const PanelEntries &entries, bool enabled) override;

    struct PanelTraits {
        int firstStep = 3;            // first entry of freqsteps in the step list
        int decimals = 2;             // frequency format "####0.00"
        double smallestStep = 0.01;   // smallest step cmdEnterS accepts
        QStringList enterFreqMessage; // cmdEnterfreq, entry out of range
        QStringList enterMemMessage;  // cmdEnterMem, entry out of range
        int bwLow = 0, bwHigh = 6;    // bounds of bwnames
        QString lineSettings = QStringLiteral("1200,N,8,1");
        bool hasEnterMem = true;
        // cmdEnterMem is greyed while its recall or message runs.
        bool enterMemGreys = true;
        // Captions of cmdEnterfreq, cmdEnterMem, cmdEnterS.
        std::array<const char *, 3> enterCaptions{"Freq", "Mem", "Step"};
    };

    // Where the model's own controls go.
    QWidget *modelArea() const { return m_modelArea; }

protected:

    frmPanel(WindowId id, const PanelTraits &traits);
    ~frmPanel() override;

    // ---- hooks for the model's panel ----
    // The model's tables and its driver object, in the model's order.
    virtual void initTablesAndDriver() = 0;
    virtual void releaseDriver() = 0;
    // Tunes through the panel's own driver (its changed event shows it);
    // whether the receiver got it.
    virtual bool setDriverFrequency(double khz) = 0;
    // After the port is open: the model's own set-up (filters, firmware, ...).
    virtual void modelSetup() {}
    // Reads the receiver's state and shows it.
    virtual void readReceiverState() {}
    // Memory channel n, already checked against the loaded model's cells.
    virtual void recallMemory(int) {}
    // The model's rows of the key map; true when the key was used.
    virtual bool modelKey(int, Modifier) { return false; }
    // A bar's "=" / "-" / "0" keys: one step up or down, held within lo..hi,
    // or back to 0. Nothing for any other key.
    static std::optional<int> barKey(int keyCode, int value, int step, int lo, int hi);
    // The model's Direct menu; use the add* helpers for the shared entries.
    virtual void buildDirectMenu(QMenu *menu) = 0;
    // First of the unload steps, while the driver still exists.
    virtual void modelUnload() {}
    // Continuous stepping starts (1) or stops (0), by the button or Ctrl+G,
    // before the first step is taken.
    virtual void movefreqChanged(int16_t) {}

    // Shows a frequency reported by the driver and spreads it to the tools.
    void showFrequency(double khz);
    // Puts the receiver's frequency (as its report reads, or "?") into the
    // box; what an entry the receiver did not take goes back to.
    void showFrequencyText(const QString &text);
    // Holds the reads of one load or update together: after the first that
    // goes unanswered the rest fail at once, and the user hears once that
    // the receiver does not answer.
    static CommControl::ReadRun readRun();
    // "Firmware version": the receiver's ident, or that it did not answer
    // (that the line is closed, after a loss).
    static void showFirmware(const std::function<std::optional<QString>()> &read);

    // A bar's change handling: whoever moved it, `write` sends its value and
    // says whether the receiver took it. A value not taken (the line was
    // lost, or the receiver did not answer the read the write needed) puts
    // the bar back where it was, so it shows what the receiver holds.
    void writesOnChange(VScroll *bar, std::function<bool(int)> write);

    // A model's own Direct menu entry (the shared ones come from panels/mainmenu.h).
    QAction *addMenuEntry(QMenu *menu, const QString &name, const QString &caption, std::function<void()> fn);

    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *obj, QEvent *ev) override;

private:
    // One step; nothing when the box shows no frequency.
    void step(int direction);
    // The frequency the box shows; none for "?" or an empty box.
    std::optional<double> shownKHz() const;
    // Ends continuous stepping as the Stop button does.
    void stopStepping();
    bool ownsWidget(QObject *obj) const;

    PanelTraits m_traits;
    QWidget *m_modelArea = nullptr;
    WheelNotches *m_wheel = nullptr;
    bool m_filterInstalled = false;
    bool m_portReady = false; // the load got past opening the port
    bool m_portHeard = false;
    bool m_barsWatched = false;
    // The box's text as the receiver last took or reported it.
    QString m_frequencyTaken;
    // Bars whose last write the receiver did not take.
    QSet<QScrollBar *> m_barRefused;
};

} // namespace tav
