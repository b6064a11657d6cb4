#pragma once
// An NRD-545 panel opened by Go against the NRD-545 emulator on a
// pseudo-terminal, for the panel's and its dialogs' tests.

#include "hub/app.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "panels/frmNRD545.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "support/hubline.h"
#include "support/testenv.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace tavtest {

struct Nrd545Rig : ::testing::Test {
    ScratchDir dir;
    ScriptedDialogs dialogs;
    sim::Nrd545Emulator emu;
    std::unique_ptr<sim::PtyHarness> pty;

    void SetUp() override
    {
        // A receiver in USB on the Int filter, attenuator in, AGC 600 ms.
        emu.cur.hz = 9650000;
        emu.cur.mode = 2;
        emu.cur.bw = 1;
        emu.cur.att = 1;
        emu.cur.agc = 30;
        emu.ifgain = 255;
        emu.squelch = 0;
        emu.tone = 127;
        emu.volume = 100;
        emu.passbandShift = -150;
        emu.bandwidthControl = 250;
        pty = std::make_unique<sim::PtyHarness>(emu);
        ASSERT_TRUE(pty->ok());

        openHub(dir, *pty, 4, true);
        tav::G.setupdata[1] = 1;
        tav::G.setupdata[8] = 0;
        tav::G.setupdata[23] = 1;
        tav::G.setupdata[24] = 3;
        tav::G.setupdata[25] = 9;
        tav::G.setupdata[26] = 50;
        tav::G.setupdata[27] = 20;
    }
    void TearDown() override
    {
        closeHub(tav::WindowId::frmNRD545, true);
    }

    tav::frmNRD545 *go()
    {
        tav::frmWelcome::instance()->imgGo_Click();
        return tav::Windows::existing<tav::frmNRD545>();
    }
    // What the program sent, as text.
    QString sent()
    {
        pump(30);
        return QString::fromLatin1(pty->received());
    }
    bool sentCommand(const QString &cmd) { return sent().contains(cmd + QLatin1Char('\r')); }
    void clearSent()
    {
        pump(30);
        pty->clearReceived();
    }
    static QString text(QWidget *w, const char *name)
    {
        auto *l = w->findChild<QLabel *>(QLatin1String(name));
        return l ? l->text() : QStringLiteral("<none>");
    }
};

} // namespace tavtest
