#pragma once
// The memory manager opened for one receiver model, its port on a real
// pseudo-terminal line to the model's emulator, for the memory tests.

#include "hub/app.h"
#include "hub/frmLoadfile.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"
#include "memories/frmMemcell.h"
#include "memories/frmMemman.h"
#include "memories/memimage.h"
#include "sim/ar7030.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/testenv.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

namespace tavtest {

// The name tables a receiver's panel fills.
inline void memTablesFor(int rxtype)
{
    using tav::G;
    switch (rxtype) {
    case 1:
        G.bwnames = QVector<QString>(7);
        tav::InitAR7030();
        G.bwnames = {QString(), "0.5", "2.1", "5.5", "7.0", "9.5", "0.0"};
        break;
    case 2:
        G.bwnames = QVector<QString>(4);
        tav::InitNRD535();
        break;
    case 3:
        G.bwnames = QVector<QString>(34);
        tav::InitRX320();
        break;
    case 4:
        G.bwnames = QVector<QString>(3);
        tav::InitNRD545();
        break;
    default: // no receiver: no name tables of its own
        break;
    }
}

inline const char *emulatorName(int rxtype)
{
    switch (rxtype) {
    case 1: return "ar7030";
    case 2: return "nrd535";
    case 3: return "rx320";
    case 4: return "nrd545";
    default: return "";
    }
}

class MemRig {
public:
    ScratchDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<sim::Emulator> emu;
    std::unique_ptr<sim::PtyHarness> pty;
    tav::frmMemman *mm = nullptr;
    int rx = 0;

    // Opens the port to the model's emulator (none for 0) and loads the manager.
    void open(int rxtype)
    {
        rx = rxtype;
        tav::G.datapath = dir.path();
        tav::InitConstants();
        tav::buildFileDirs();
        memTablesFor(rx);
        tav::G.rxtype = tav::G.goRxtype = int16_t(rx);
        tav::registerBuiltWindows();
        tav::frmWelcome *w = tav::frmWelcome::instance();
        pty.reset(); // it refers to the emulator it serves
        emu.reset();
        if (rx > 0) {
            emu = sim::createEmulator(QLatin1String(emulatorName(rx)));
            ASSERT_NE(emu, nullptr);
            pty = std::make_unique<sim::PtyHarness>(*emu);
            ASSERT_TRUE(pty->ok());
            dir.write(QStringLiteral("comports.ini"), pty->slavePath().toLatin1() + "\r\n");
            w->Comm1.CommPort = 1;
            w->Comm1.Settings = QString::number(tav::rxModel(rx).baud) + QStringLiteral(",N,8,1");
            ASSERT_TRUE(w->Comm1.open()) << w->Comm1.lastError().toStdString();
        }
        mm = tav::Windows::get<tav::frmMemman>();
        ASSERT_NE(mm, nullptr);
        mm->load();
    }
    void close()
    {
        tav::Windows::destroyAll();
        if (tav::frmWelcome::exists()) {
            tav::frmWelcome::instance()->Comm1.close();
            tav::frmWelcome::destroy();
        }
        pty.reset();
        emu.reset();
    }

    // The receiver's panel opened by Go beside the manager, on the same line.
    tav::TavForm *goPanel()
    {
        tav::G.setupdata[1] = 1; // COM 1, as comports.ini names the line
        tav::frmWelcome::instance()->imgGo_Click();
        return tav::frmWelcome::instance()->hub().chosenPanelWindow();
    }

    sim::JrcEmulator *jrc() const { return dynamic_cast<sim::JrcEmulator *>(emu.get()); }
    sim::AR7030Emulator *ar() const { return dynamic_cast<sim::AR7030Emulator *>(emu.get()); }
    sim::Rx320Emulator *rx320() const { return dynamic_cast<sim::Rx320Emulator *>(emu.get()); }

    // A used channel in the receiver: kHz, mode and filter numbers as the
    // model counts them, AR7030 shift and squelch/BFO bytes, JRC AGC digit.
    void storeInReceiver(int n, double khz, int mode, int filter, int pbs = 0, int sqlbfo = 0, int agc = 1)
    {
        if (auto *a = ar())
            a->storeChannel(n, sim::AR7030Emulator::wordForHz(khz * 1000), mode, filter, false, pbs, sqlbfo);
        if (auto *j = jrc()) {
            sim::JrcChannel c;
            c.used = true;
            c.hz = qRound64(khz * 1000);
            c.mode = mode;
            c.bw = filter;
            c.att = 1;
            c.agc = rx == 4 ? agc * 10 : agc;
            j->memory[n] = c;
        }
    }
    // The record a fetch gives for such a channel.
    QString recordOf(int n, double khz, int mode, int filter, int pbs = 0, int sqlbfo = 0, int agc = 1) const
    {
        if (rx == 1)
            return tav::memAr7030Record(n, khz, mode, filter, pbs, sqlbfo, 0);
        return tav::memJrcRecord(tav::cellText(n), tav::memFrequencyField(khz * 1000), QChar(u'0' + mode),
                                 QChar(u'0' + filter), QLatin1Char('1'), QChar(u'0' + agc));
    }

    // Replies the receiver gives from now on before it falls silent.
    void silentAfter(int replies)
    {
        auto orig = emu->send;
        auto count = std::make_shared<int>(0);
        emu->send = [orig, count, replies](const QByteArray &b) {
            if ((*count)++ < replies && orig)
                orig(b);
        };
    }

    QString sent()
    {
        pump(50);
        return QString::fromLatin1(pty->received());
    }
    void clearSent()
    {
        pump(50);
        pty->clearReceived();
    }
    bool shownTitle(const QString &title) const
    {
        for (const tav::ShownBox &b : dialogs.shown())
            if (b.title == title)
                return true;
        return false;
    }
    // Loads the memory file `name` through the Load dialog that the
    // manager's Load button opens, its question answered Yes.
    void clickLoad(const QString &name)
    {
        QTimer::singleShot(0, [name] {
            auto *d = tav::Windows::existing<tav::frmLoadfile>();
            const QList<QListWidgetItem *> items = d->list->findItems(name, Qt::MatchFixedString);
            if (!items.isEmpty())
                d->list->setCurrentItem(items.first());
            d->cmdOK->click();
        });
        dialogs.answer(tav::vbYes);
        QTest::mouseClick(mm->cmdLoad, Qt::LeftButton);
    }
    // A button of the manager clicked, its question answered `answer`.
    void clickAnswered(QPushButton *button, int answer = tav::vbYes)
    {
        dialogs.answer(answer);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QString lastText() const { return dialogs.shown().isEmpty() ? QString() : dialogs.shown().last().text; }
    QString lastTitle() const { return dialogs.shown().isEmpty() ? QString() : dialogs.shown().last().title; }
};

} // namespace tavtest
