#include "panels/jrclock.h"

#include "core/form.h"
#include "core/ui.h"
#include "drivers/jrc.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

JrcLock::JrcLock(QWidget *parent, std::function<bool(int16_t)> lockoffon, std::function<void()> unheld)
    : QObject(parent), m_lockoffon(std::move(lockoffon)), m_unheld(std::move(unheld))
{
    setObjectName(QStringLiteral("jrcLock"));
    fraLock = new QGroupBox(QStringLiteral("Lock"), parent);
    fraLock->setObjectName(QStringLiteral("fraLock"));
    auto *col = new QVBoxLayout(fraLock);
    col->setContentsMargins(4, 2, 4, 4);
    col->setSpacing(2);
    lblLock = yellowValueLabel(makeLabel(QStringLiteral("lblLock"), QStringLiteral("Off"), fraLock));
    col->addWidget(lblLock);
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    col->addLayout(row);
    static const char *captions[] = {"Off", "On"};
    for (int i = 0; i < 2; ++i) {
        QPushButton *b = yellowButton(QStringLiteral("cmdLock(%1)").arg(i), QLatin1String(captions[i]), fraLock);
        connect(b, &QPushButton::clicked, this, [this, i] { cmdLock_Click(i); });
        cmdLock[size_t(i)] = b;
        row->addWidget(b);
    }
}

bool JrcLock::lockoffon(int16_t state)
{
    return m_lockoffon && m_lockoffon(state);
}

void JrcLock::cmdLock_Click(int index)
{
    if (index < 0 || index > 1)
        return;
    // The user's lock is the receiver's only when the receiver took it.
    const int16_t was = G.panellock;
    G.panellock = int16_t(index);
    if (!lockoffon(int16_t(index)))
        G.panellock = was;
}

void JrcLock::showLock(int16_t v)
{
    if (v == 1) {
        lblLock->setText(QStringLiteral("On"));
        setBackColor(lblLock, kOrange);
    } else if (v == 0) {
        lblLock->setText(QStringLiteral("Off"));
        setBackColor(lblLock, kLightYellow);
    }
}

void JrcLock::panelUnloading()
{
    m_toolHolders.clear();
    m_stepping = false;
    lockoffon(0);
    m_active = false;
    Receiver::dropRemoteHolder(this);
}

void JrcLock::steppingStarted()
{
    m_stepping = true;
    lockoffon(1);
}

void JrcLock::steppingStopped()
{
    m_stepping = false;
    release();
}

bool JrcLock::ctrlShiftKey(int keyCode)
{
    if (keyCode == 187) {
        cmdLock_Click(1);
        return true;
    }
    if (keyCode == 189) {
        cmdLock_Click(0);
        return true;
    }
    return false;
}

void JrcLock::toolStart(const QObject *tool)
{
    if (G.panellock != 0)
        return; // the user holds it already, and keeps it after the work
    if (m_toolHolders.contains(tool))
        return;
    m_toolHolders.insert(tool);
    lockoffon(1);
}

void JrcLock::toolEnd(const QObject *tool)
{
    // A tool that took no hold (it started while the user held the receiver)
    // must not use up another tool's.
    if (!m_toolHolders.remove(tool))
        return;
    if (G.panellock != 0)
        return;
    // Continuous stepping still needs the receiver in remote.
    if (m_stepping)
        return;
    release();
}

void JrcLock::release()
{
    // Dial following holds the receiver too, but for the listener's knob:
    // when the last other hold ends, the dial is handed back as the
    // following's start left it. Another tool keeps its remote hold.
    const QObject *follower = JrcDriver::dialFollower();
    const bool following = follower && m_toolHolders.contains(follower);
    if (m_toolHolders.size() > (following ? 1 : 0))
        return;
    if (!(following ? JrcDriver::freeFollowedDial() : lockoffon(0)))
        showUsersLock();
}

void JrcLock::showUsersLock()
{
    // Nothing holds a receiver on a lost line: what is left to show is the
    // listener's own choice, and without it the sliders that need the hold.
    showLock(G.panellock);
    if (G.panellock == 0 && m_unheld)
        m_unheld();
}

void JrcLock::dialFreed()
{
    showLock(0);
    if (m_unheld)
        m_unheld();
}

void JrcLock::followEnded(const QObject *follower, bool dialWasFree)
{
    const bool held = m_toolHolders.remove(follower);
    const bool othersHold = G.panellock != 0 || m_stepping || !m_toolHolders.isEmpty();
    if (dialWasFree && othersHold) {
        if (!lockoffon(1))
            showUsersLock();
        return;
    }
    if (held && !othersHold && !lockoffon(0))
        showUsersLock();
}

JrcLock *openJrcLock() { return dynamic_cast<JrcLock *>(Receiver::remoteHolder()); }

} // namespace tav
