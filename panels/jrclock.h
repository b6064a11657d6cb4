#pragma once
// The lock of the two JRC panels: holding the receiver in remote ("H1")
// between commands. The drivers send the bandwidth-control and pass-band
// shift commands without switching to remote, so the sliders that send them
// only work while the receiver is held.
//
// The lock has three kinds of holder: the user (the lock buttons, recorded in
// `panellock`), continuous stepping, and the tools that work the receiver over
// a stretch of time (through Receiver::hold). A holder that lets go releases the
// receiver only when no other stepping or tool hold remains, so that a scan
// does not find itself talking to a receiver in local halfway through.
//
// Each JRC panel owns one JrcLock, built into its window; the panel supplies
// its own `lockoffon` (which writes the driver's Lockonoff and then refreshes
// or blanks its sliders) and forwards its driver's LockChanged to showLock.

#include "core/globals.h"
#include "drivers/receiver.h"

#include <QGroupBox>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QSet>
#include <array>
#include <cstdint>
#include <functional>

namespace tav {

class JrcLock : public QObject, public RemoteHolder {
    Q_OBJECT
public:
    // Builds the frame "Lock" (fraLock) with cmdLock(0) "Off", cmdLock(1)
    // "On" and lblLock inside `parent`. `lockoffon` is the panel's procedure;
    // `unheld` shows on the panel what lockoffon(0) shows, without sending
    // (the dial handed to the listener while the lock is held).
    JrcLock(QWidget *parent, std::function<bool(int16_t)> lockoffon, std::function<void()> unheld = {});
    ~JrcLock() override { Receiver::dropRemoteHolder(this); }

    QGroupBox *fraLock = nullptr;
    std::array<QPushButton *, 2> cmdLock{};
    QLabel *lblLock = nullptr;

    // The panel's lockoffon (driver write, then the panel's sliders).
    bool lockoffon(int16_t state);

    // The user's buttons: panellock := i, then lockoffon(i).
    void cmdLock_Click(int index);

    // Handler of the driver's LockChanged: 1 "On" on orange, 0 "Off" on light
    // yellow, anything else leaves the label as it is.
    void showLock(int16_t v);

    // The panel's load: the user's lock is cleared and the receiver handed
    // back to its front panel through the driver directly (the sliders are
    // disabled as built). The lock becomes reachable for the tools.
    template <class Driver> void panelLoaded(Driver &driver)
    {
        m_toolHolders.clear();
        m_stepping = false;
        m_active = true;
        Receiver::setRemoteHolder(this);
        G.panellock = 0;
        driver.setLockonoff(G.panellock);
    }
    // The panel's unload, after its tools have gone: the receiver is left in
    // local whatever the user had chosen, and the tools can no longer reach it.
    void panelUnloading();
    bool active() const { return m_active; }

    // Continuous stepping holds the receiver for its whole run, whatever
    // `panellock` is. Stopping releases it unless a tool still holds it.
    void steppingStarted();
    void steppingStopped();

    // Ctrl+Shift with "=" (187) presses cmdLock(1), with "-" (189) cmdLock(0).
    // True when the key was one of them.
    bool ctrlShiftKey(int keyCode);

    // Tool holds (see Receiver::hold).
    void toolStart(const QObject *tool) override;
    void toolEnd(const QObject *tool) override;
    // Dial following: while the dial is the listener's the label says "Off"
    // and the panel shows what needs the hold as off; a tool or stepping
    // that takes the receiver meanwhile hands the dial back at its end; when
    // the following ends, the receiver is taken into remote again exactly
    // when the user, stepping or another tool still holds it.
    void dialFreed() override;
    void followEnded(const QObject *follower, bool dialWasFree) override;
    int toolHolds() const { return int(m_toolHolders.size()); }
    bool stepping() const { return m_stepping; }

private:
    // The last hold but the following's (and the user's) has ended.
    void release();
    // A lost line took no release: the label shows the user's lock.
    void showUsersLock();

    std::function<bool(int16_t)> m_lockoffon;
    std::function<void()> m_unheld;
    QSet<const QObject *> m_toolHolders;
    bool m_stepping = false;
    bool m_active = false;
};

// The lock of the panel that is open for the receiver chosen at Go, when that
// is a receiver with a remote hold (nullptr otherwise).
JrcLock *openJrcLock();

} // namespace tav
