#include "timers/frmRxClock.h"
#include "core/setupdata.h"

#include "core/clock.h"
#include "core/comm.h"
#include "core/globals.h"
#include "core/ui.h"
#include "core/setupdata.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tav {

frmRxClock::frmRxClock() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("RX Clock"));
    setBackColor(this, kLightYellow);
    auto *top = new QVBoxLayout(this);
    fraClock = makeFrame(QStringLiteral("fraClock"), QString(), this);
    auto *g = new QGridLayout(fraClock);
    top->addWidget(fraClock);
    lblNlt = makeLabel(QStringLiteral("lblNlt"), QStringLiteral("PC Clock / LT"), fraClock);
    lblLT = makeLabel(QStringLiteral("lblLT"), QString(), fraClock);
    lblNut = makeLabel(QStringLiteral("lblNut"), QStringLiteral("UTC"), fraClock);
    lblUT = makeLabel(QStringLiteral("lblUT"), QString(), fraClock);
    cmdGetRXclock = makeButton(QStringLiteral("cmdGetRXclock"), QStringLiteral("Get RX Clock"), fraClock);
    lblRT = makeLabel(QStringLiteral("lblRT"), QString(), fraClock);
    g->addWidget(lblNlt, 0, 0);
    g->addWidget(lblLT, 0, 1);
    g->addWidget(lblNut, 1, 0);
    g->addWidget(lblUT, 1, 1);
    g->addWidget(cmdGetRXclock, 2, 0);
    g->addWidget(lblRT, 2, 1);

    fraSetclock = makeFrame(QStringLiteral("fraSetclock"), QString(), this);
    auto *s = new QHBoxLayout(fraSetclock);
    top->addWidget(fraSetclock);
    cmdRX2UT = makeButton(QStringLiteral("cmdRX2UT"), QStringLiteral("Set RX Clock to UTC"), fraSetclock);
    cmdRX2LT = makeButton(QStringLiteral("cmdRX2LT"), QStringLiteral("Set RX to LT"), fraSetclock);
    s->addWidget(cmdRX2UT);
    s->addWidget(cmdRX2LT);

    fraExit = makeFrame(QStringLiteral("fraExit"), QString(), this);
    auto *e = new QHBoxLayout(fraExit);
    top->addWidget(fraExit);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), fraExit);
    e->addWidget(cmdExit);

    connect(cmdGetRXclock, &QPushButton::clicked, this, &frmRxClock::cmdGetRXclock_Click);
    connect(cmdRX2UT, &QPushButton::clicked, this, &frmRxClock::cmdRX2UT_Click);
    connect(cmdRX2LT, &QPushButton::clicked, this, &frmRxClock::cmdRX2LT_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmRxClock::cmdExit_Click);
    tmrPCclock.setInterval(1000);
    connect(&tmrPCclock, &QTimer::timeout, this, &frmRxClock::tmrPCclock_Timer);
}

frmRxClock::~frmRxClock() = default;

void frmRxClock::Form_Load()
{
    m_rx = makeReceiver();
    m_silentReported = false;
    pclt.clear();
    pcut.clear();
    lblLT->clear();
    lblUT->clear();
    lblRT->clear();
    tmrPCclock.start();
}

void frmRxClock::Form_Unload()
{
    tmrPCclock.stop();
    m_rx.reset();
}

void frmRxClock::tmrPCclock_Timer()
{
    const QDateTime now = Clock::now();
    pclt = now.toString(QStringLiteral("hh:mm:ss"));
    pcut = utcFromLocal(now, setting(Setting::UtcOffsetHours)).toString(QStringLiteral("hh:mm:ss"));
    lblLT->setText(pclt);
    lblUT->setText(pcut);
}

void frmRxClock::cmdGetRXclock_Click()
{
    if (!m_rx || !m_rx->model().hasClock)
        return;
    Busy busy(this);
    const NoAnswer noAnswer;
    cmdGetRXclock->setEnabled(false);
    const std::optional<QString> t = m_rx->readClock();
    lblRT->setText(t.value_or(QStringLiteral("?")));
    cmdGetRXclock->setEnabled(true);
    if (!t && !m_silentReported) {
        const QStringList said = noAnswer.text({QStringLiteral("The receiver does not answer."),
                                                QStringLiteral("Please make sure that it is switched on and connected.")});
        m_silentReported = !said.isEmpty();
        if (m_silentReported)
            msgBox(said, MsgIcon::Exclamation, QStringLiteral("RX Clock"));
    }
}

void frmRxClock::setClockTo(QPushButton *button, const QString &time)
{
    // Before the first tick there is no time to send.
    if (!m_rx || !m_rx->model().hasClock || time.isEmpty())
        return;
    Busy busy(this);
    button->setEnabled(false);
    m_rx->setClock(time);
    button->setEnabled(true);
}

void frmRxClock::cmdRX2UT_Click() { setClockTo(cmdRX2UT, pcut); }

void frmRxClock::cmdRX2LT_Click() { setClockTo(cmdRX2LT, pclt); }

void frmRxClock::cmdExit_Click() { unload(); }

} // namespace tav
