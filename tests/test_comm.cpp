// Comm1 over a real pseudo-terminal, and the device mapping.
#include "core/comm.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "sim/pty.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tav;
using tavtest::waitFor;

namespace {

// Answers every byte with the same byte: enough to prove the line is transparent.
class Echo : public sim::Emulator {
public:
    QString model() const override { return QStringLiteral("echo"); }
    void feed(const QByteArray &b) override { reply(b); }
    double tunedFrequencyHz() const override { return 0; }
};

class Silent : public sim::Emulator {
public:
    QString model() const override { return QStringLiteral("silent"); }
    void feed(const QByteArray &) override {}
    double tunedFrequencyHz() const override { return 0; }
};

struct CommOnPty : ::testing::Test {
    tavtest::ScratchDir dir;
    void pointComAt(const QString &device, int n = 1)
    {
        G.datapath = dir.path();
        QByteArray lines;
        for (int i = 1; i < n; ++i)
            lines += "\r\n";
        lines += device.toLatin1() + "\r\n";
        dir.write(QStringLiteral("comports.ini"), lines);
    }
    // Opens `port` as COM 1 on the harness's line.
    bool openOn(const sim::PtyHarness &pty, CommControl &port, const QString &settings)
    {
        pointComAt(pty.slavePath());
        port.CommPort = 1;
        port.Settings = settings;
        return pty.ok() && port.open();
    }
};

} // namespace

TEST_F(CommOnPty, EveryByteValuePassesUnchangedBothWays)
{
    Echo emu;
    sim::PtyHarness pty(emu);
    ASSERT_TRUE(pty.ok());
    pointComAt(pty.slavePath());
    CommControl port;
    port.CommPort = 1;
    port.Settings = QStringLiteral("1200,N,8,1");
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    port.Output(all);
    ASSERT_TRUE(waitFor([&] { return port.InBufferCount() >= 256; }));
    EXPECT_EQ(pty.received(), all);
    EXPECT_EQ(port.Input(), all);
    EXPECT_EQ(port.InBufferCount(), 0);
}

TEST_F(CommOnPty, CountSeesArrivalsWithoutEventLoopAndDiscardEmpties)
{
    Silent emu;
    sim::PtyHarness pty(emu);
    pointComAt(pty.slavePath());
    CommControl port;
    ASSERT_TRUE(port.open());
    pty.sendToProgram("ABCDE");
    // No event processing here: the count must still see the bytes.
    QElapsedTimer t;
    t.start();
    while (port.InBufferCount() < 5 && t.elapsed() < 20000) {
    }
    EXPECT_EQ(port.InBufferCount(), 5);
    port.clearInput();
    EXPECT_EQ(port.InBufferCount(), 0);
    pty.sendToProgram("Z");
    ASSERT_TRUE(waitFor([&] { return port.InBufferCount() == 1; }));
    EXPECT_EQ(port.Input(), QByteArray("Z"));
}

TEST_F(CommOnPty, ReceiveEventFiresForArrivalsButWaitsOutAnExchange)
{
    Silent emu;
    sim::PtyHarness pty(emu);
    pointComAt(pty.slavePath());
    CommControl port;
    ASSERT_TRUE(port.open());
    int events = 0;
    QObject::connect(&port, &CommControl::OnComm, [&](int ev) {
        EXPECT_EQ(ev, 2);
        ++events;
    });
    pty.sendToProgram("1");
    ASSERT_TRUE(waitFor([&] { return events >= 1; }));

    port.clearInput();
    events = 0;
    {
        Exchange ex;
        pty.sendToProgram("2");
        tavtest::pump(100);
        EXPECT_EQ(events, 0) << "the receive event must not run inside an exchange";
    }
    EXPECT_TRUE(waitFor([&] { return events >= 1; })) << "raised once the exchange ended";
    EXPECT_EQ(port.Input(), QByteArray("2"));
}

TEST_F(CommOnPty, BoundedWaitOnSilentReceiverEnds)
{
    Silent emu;
    sim::PtyHarness pty(emu);
    pointComAt(pty.slavePath());
    CommControl port;
    ASSERT_TRUE(port.open());
    port.Output("?");
    const qint64 runOut = waitCounts().runOut;
    QElapsedTimer t;
    t.start();
    bool got = waitUntil([&] { return port.InBufferCount() > 0; }, 300);
    EXPECT_FALSE(got);
    EXPECT_GE(t.elapsed(), 290);
    EXPECT_EQ(waitCounts().runOut, runOut + 1) << "it ended on its bound";
    EXPECT_LT(t.elapsed(), 10000);
}

// A line that would block for a while is no lost line: a receiver that
// takes nothing until its side of the line is full, then reads it all.
TEST_F(CommOnPty, ALineThatWouldBlockForAWhileIsNotLost)
{
    Silent emu;
    sim::PtyHarness pty(emu);
    CommControl port;
    ASSERT_TRUE(openOn(pty, port, QStringLiteral("4800,N,8,1")));
    QStringList lost;
    QObject::connect(&port, &CommControl::lineLost, [&](const QString &m) { lost << m; });

    // Byte by byte, so that one write finds the line full to the last byte
    // (a pseudo-terminal holds some tens of kilobytes).
    pty.setStalled(true);
    QTimer::singleShot(400, [&] { pty.setStalled(false); });
    const int bytes = 100000;
    for (int i = 0; i < bytes && !port.lost(); ++i)
        port.Output(QByteArray(1, 'x'));
    tavtest::pump(100);
    EXPECT_TRUE(lost.isEmpty()) << lost.value(0).toStdString();
    EXPECT_FALSE(port.lost());
    EXPECT_TRUE(waitFor([&] { return pty.received().size() == bytes; }, 5000)) << pty.received().size();
}

TEST_F(CommOnPty, DeviceMappingFromComportsIni)
{
    G.datapath = dir.path();
    // Without comports.ini: /dev/ttyUSB{n-1} when present, else /dev/ttyS{n-1}.
    EXPECT_EQ(CommControl::deviceForPort(3), QFileInfo::exists("/dev/ttyUSB2") ? "/dev/ttyUSB2" : "/dev/ttyS2");
    // Line n names COM n's device; an empty line keeps the fallback; the name matches without regard to case.
    dir.write(QStringLiteral("COMPORTS.INI"), "/dev/pts/91\r\n\r\n/dev/ttyACM0\r\n");
    EXPECT_EQ(CommControl::deviceForPort(1), "/dev/pts/91");
    EXPECT_EQ(CommControl::deviceForPort(2), QFileInfo::exists("/dev/ttyUSB1") ? "/dev/ttyUSB1" : "/dev/ttyS1")
        << "an empty line keeps the fallback";
    EXPECT_EQ(CommControl::deviceForPort(3), "/dev/ttyACM0");
}

TEST_F(CommOnPty, UnopenablePortNamesDeviceAndReason)
{
    pointComAt(QStringLiteral("/dev/does-not-exist-tavorin"));
    CommControl port;
    EXPECT_FALSE(port.open());
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(port.lastError().contains("/dev/does-not-exist-tavorin")) << port.lastError().toStdString();
    EXPECT_GT(port.lastError().size(), QString("/dev/does-not-exist-tavorin: ").size());
}
