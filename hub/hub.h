#pragma once
// The frequency and mode hub: the one place where list, log and tool windows
// tune the receiver chosen at Go, read its frequency and mode back, and hear
// of the dial turning. It works through its own receiver object and refreshes
// the open panel through `HubPanel`, so it knows no panel and no tool window.
// The welcome window owns it (with the serial port the receiver object uses).

#include "core/windowdecl.h"
#include "drivers/receiver.h"

#include <QList>

#include <QString>
#include <memory>

class QLineEdit;

namespace tav {

class TavForm;

// The scan and measurement windows switch tool entries of the open
// receiver's panel off while they are loaded and on again at their unload:
// the entries that open given windows, and whole menus.
enum class MainMenuId { Scan, Propagation };
struct PanelEntries {
    QList<WindowId> windows;
    QList<MainMenuId> menus;
};

// What the hub needs of a receiver panel. Every model's panel implements it;
// the hub finds the one of the receiver chosen at Go while it is loaded.
class HubPanel {
public:
    virtual ~HubPanel() = default;
    // The hub has set the receiver: the panel shows the same settings.
    virtual void hubFrequencyChanged(double khz) = 0;
    virtual void hubModeChanged(int mode) = 0;
    virtual void hubBandwidthChanged(int bandwidth) = 0;
    virtual void hubAgcspeedChanged(int agcspeed) = 0;
    // The frequency as the panel shows it.
    virtual QString frequencyText() const = 0;
    // Measuring tools hold the attenuator still while they read levels.
    virtual void setAttenuatorFrameEnabled(bool on) = 0;
    // A tool has changed the receiver: the panel shows what it set. The
    // receiver-less panel has nothing to show and no tool entries to switch.
    virtual void showReceiverChange(const RxChange &) {}
    virtual void setToolEntriesEnabled(const PanelEntries &, bool) {}
};

class Hub {
public:
    // The hub's own driver object for the receiver chosen at Go (none for No RX).
    std::unique_ptr<Receiver> receiver;

    // Every routine works on the receiver chosen at the last Go (G.goRxtype)
    // and its panel, whatever the set-up dialog has chosen since.
    void Change2FreqA(double freq);
    void distributefreqa(const QString &freqtext, double freq);
    QString ConvertRx2mfa();
    void SetRx2mfa(const QString &code);
    double Update2RxFreq();
    void Update4RxFreq();
    // Bytes the receiver sent while it reports its dial: collected in `term`
    // until the receiver's report is complete.
    void getfreq(QLineEdit *term, const QString &received);

    // The hub's receiver object when it is the one chosen at Go.
    Receiver *hubReceiver() const;
    // The loaded panel of the receiver chosen at Go (nullptr for No RX and
    // when none is loaded).
    HubPanel *openPanel() const;
    // The loaded panel window of the choice at Go, No RX included: what the
    // tools' DiDuzu button brings forward.
    TavForm *chosenPanelWindow() const;
    // The open panel's frequency text ("" when none is open). `withNoRx`
    // also takes the No RX window's box, for tools that keep a typed
    // frequency without a receiver.
    QString panelFrequencyText(bool withNoRx = false) const;
};

// The program's hub (the welcome window's).
Hub &hub();
// Whether the hub is there yet (tools opened without a welcome window, as
// in tests, leave the receiver alone).
bool hubExists();

// A tool's change of the receiver shown on the open panel, if any.
void showOnOpenPanel(const RxChange &c);
// Switches the open panel's tool entries (see PanelEntries); the
// receiver-less panel is left alone.
void setOpenPanelEntries(const PanelEntries &entries, bool enabled);

// DiDuzu: brings the panel of the receiver chosen at Go forward.
void showChosenPanel();

} // namespace tav
