#pragma once
// A model's emulator served on a pseudo-terminal with the program's one port
// open to it, as the receiver chosen at Go: what the tests of the receiver
// interface stand on.

#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "drivers/receiver.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <memory>

namespace tavtest {

struct ReceiverLine {
    std::unique_ptr<sim::Emulator> emu;
    std::unique_ptr<sim::PtyHarness> pty;
    tav::frmWelcome *w = nullptr;
    // A tool's own driver object on the line (openReceiver).
    std::unique_ptr<tav::Receiver> rx;

    // `init` fills the model's tables, as its panel's load does. A JRC
    // receiver is held in remote, as a timed tool holds it.
    void openLine(ScratchDir &dir, int rxtype, const char *emulator, void (*init)())
    {
        using namespace tav;
        emu = sim::createEmulator(QLatin1String(emulator));
        ASSERT_NE(emu, nullptr);
        if (auto *jrc = dynamic_cast<sim::JrcEmulator *>(emu.get()))
            jrc->remote = true;
        pty = std::make_unique<sim::PtyHarness>(*emu);
        ASSERT_TRUE(pty->ok());
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty->slavePath().toLatin1() + "\r\n");
        init();
        G.rxtype = G.goRxtype = int16_t(rxtype);
        G.jrclock = 1;
        w = frmWelcome::instance();
        w->Comm1.CommPort = 1;
        w->Comm1.Settings = QString::number(rxModel(rxtype).baud) + QStringLiteral(",N,8,1");
        ASSERT_TRUE(w->Comm1.open()) << w->Comm1.lastError().toStdString();
    }
    // The line, and a tool's own driver object on it, as makeReceiver gives it.
    void openReceiver(ScratchDir &dir, int rxtype, const char *emulator, void (*init)())
    {
        openLine(dir, rxtype, emulator, init);
        if (::testing::Test::HasFatalFailure())
            return;
        rx = tav::makeReceiver();
        ASSERT_NE(rx, nullptr);
    }
    void closeLine()
    {
        rx.reset();
        if (w)
            w->Comm1.close();
        tav::frmWelcome::destroy();
    }
};

} // namespace tavtest
