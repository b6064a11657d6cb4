// The RTTY window against the NRD-535 and NRD-545 emulators over a serial
// line: parameter commands, decoded text, the capture file and its header
// lines, the capture choices, and decoded text that must survive a receiver
// exchange on the same port.
#include "hub/app.h"
#include "core/exchange.h"
#include "core/filekinds.h"
#include "hub/frmSavefile.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "panels/jrc/frmRtty.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "support/filedialogs.h"
#include "support/panelstandin.h"
#include "support/testenv.h"

#include "core/portlock.h"

#include <QFileInfo>
#include <QLineEdit>
#include <sys/resource.h>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tav;

namespace {

const char *kLt = "3 Mar 2024  14:05";
const char *kUtc = "3 Mar 2024  13:05";

using tavtest::PanelStandIn;

struct RttyWindow : ::testing::TestWithParam<int> {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    std::unique_ptr<sim::JrcEmulator> emu;
    std::unique_ptr<sim::PtyHarness> pty;
    frmRtty *w = nullptr;
    int rx = 0;

    void SetUp() override
    {
        rx = GetParam();
        if (rx == 2)
            emu = std::make_unique<sim::Nrd535Emulator>();
        else
            emu = std::make_unique<sim::Nrd545Emulator>();
        pty = std::make_unique<sim::PtyHarness>(*emu);
        ASSERT_TRUE(pty->ok());
        registerBuiltWindows();
        G.datapath = dir.path();
        InitConstants();
        buildFileDirs();
        dir.write(QStringLiteral("comports.ini"), pty->slavePath().toLatin1() + "\r\n");
        G.rxtype = G.goRxtype = int16_t(rx);
        G.lttext = QLatin1String(kLt);
        G.utctext = QLatin1String(kUtc);
        const WindowId panel = rx == 2 ? WindowId::frmNRD535 : WindowId::frmNRD545;
        Windows::registerFactory(panel, [panel] { return new PanelStandIn(panel); });
        auto *standIn = static_cast<PanelStandIn *>(Windows::get(panel));
        standIn->txtFrequencyA->setText(QStringLiteral("14080.000"));
        // The RTTY window is opened from its panel, which is loaded meanwhile.
        standIn->load();
        CommControl &port = comm();
        port.CommPort = 1;
        port.Settings = QStringLiteral("4800,N,8,1");
        ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    }
    void TearDown() override
    {
        Windows::destroyAll();
        frmWelcome::destroy();
        closeOpenFiles();
    }

    static CommControl &comm() { return frmWelcome::instance()->Comm1; }

    frmRtty *open()
    {
        w = Windows::get<frmRtty>();
        w->load();
        settle();
        return w;
    }
    // Lets the emulator take what was written last.
    void settle() { tavtest::pump(30); }

    // What the program sent, each command without its CR, the remote bracket left out.
    QStringList commands() const
    {
        QStringList out;
        for (const QByteArray &c : pty->received().split('\r'))
            if (!c.isEmpty() && c != "H1" && c != "H0")
                out << QString::fromLatin1(c);
        return out;
    }
    QString param(const char *p535, const char *p545) const
    {
        return (rx == 2 ? QStringLiteral("U3") : QStringLiteral("U15")) + QLatin1String(rx == 2 ? p535 : p545);
    }
    QString rttyOn() const { return rx == 2 ? QStringLiteral("X1") : QStringLiteral("U231"); }
    QString rttyOff() const { return rx == 2 ? QStringLiteral("X0") : QStringLiteral("U230"); }

    QString ry(int i) const { return w->lblRy[i]->text(); }

    // The receiver sends decoded text; waits until the port holds `n` characters.
    void decode(const QString &text, int n)
    {
        ASSERT_TRUE(emu->control(QStringLiteral("rttyburst ") + text));
        ASSERT_TRUE(tavtest::waitFor([&] { return comm().InBufferCount() >= n; }, 3000)) << text.toStdString();
    }

    // Answers the Save dialog that "Yes" opens: a name, or Cancel for "".
    void answerSave(const QString &name) { tavtest::answerSaveDialog(name); }

    void start()
    {
        w->cmdStart->click();
        // The tests read the port through the tick itself.
        w->tmrGetRTTY.stop();
        settle();
    }

    QColor back(QWidget *x) const { return x->palette().color(QPalette::Window); }
};

} // namespace

TEST_P(RttyWindow, ParameterCommandsAtLoadAndOnEachButton)
{
    open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("RTTY Decoder"));
    if (rx == 2) {
        EXPECT_EQ(commands(), (QStringList{"U35010", "U35010", "U35010"}));
        EXPECT_TRUE(w->fraUnshift->isHidden());
        EXPECT_TRUE(w->fraError->isHidden());
    } else {
        EXPECT_EQ(commands(), (QStringList{"U155011", "U251", "U261", "U155011", "U155011"}));
        EXPECT_FALSE(w->fraUnshift->isHidden());
        EXPECT_FALSE(w->fraError->isHidden());
        EXPECT_EQ(emu->userSettings.value(25), "1");
        EXPECT_EQ(emu->userSettings.value(26), "1");
    }
    EXPECT_EQ(emu->rttyParameters, rx == 2 ? "5010" : "5011");
    EXPECT_EQ(w->lblBaud->text(), "50");
    EXPECT_EQ(w->lblShift->text(), "425");
    EXPECT_EQ(w->lblPolarity->text(), "Nor.") << "the default polarity is normal on both receivers";
    EXPECT_EQ(w->lblSave->text(), "");
    EXPECT_EQ(back(w->lblSave), vbColor(0xC0FFFF));
    EXPECT_TRUE(Windows::loaded(WindowId::frmRtty));
    EXPECT_FALSE(w->cmdStop->isEnabled());

    pty->clearReceived();
    w->cmdBaud[2]->click();
    w->cmdShift[0]->click();
    w->cmdPolarity[rx == 2 ? 1 : 0]->click();
    w->cmdBaud[0]->click();
    settle();
    EXPECT_EQ(commands(), (QStringList{param("0010", "7511"), param("0000", "7501"), param("0001", "7500"),
                                       param("6501", "4500")}));
    EXPECT_EQ(emu->rttyParameters, rx == 2 ? "6501" : "4500");
    EXPECT_EQ(w->lblBaud->text(), "45");
    EXPECT_EQ(w->lblShift->text(), "170");
    EXPECT_EQ(w->lblPolarity->text(), "Rev.");

    if (rx == 4) {
        pty->clearReceived();
        w->optUnshift->button(0)->click();
        w->optError->button(0)->click();
        settle();
        EXPECT_EQ(commands(), (QStringList{"U250", "U260"}));
        EXPECT_EQ(emu->userSettings.value(25), "0");
        EXPECT_EQ(emu->userSettings.value(26), "0");
    }
    EXPECT_TRUE(emu->unknown.isEmpty()) << emu->unknown.join(',').toStdString();
    EXPECT_TRUE(emu->ignored.isEmpty()) << "every command went inside the remote bracket";
}

TEST_P(RttyWindow, DecodedTextAppearsLineByLine)
{
    open();
    pty->clearReceived();
    start();
    EXPECT_EQ(commands(), QStringList{rttyOn()});
    EXPECT_EQ(emu->rtty, 1);
    EXPECT_FALSE(w->cmdStart->isEnabled());
    EXPECT_FALSE(w->cmdExit->isEnabled());
    EXPECT_FALSE(w->cmdCls->isEnabled());
    EXPECT_TRUE(w->cmdStop->isEnabled());

    w->tmrGetRTTY_Timer();
    EXPECT_EQ(ry(14), "") << "nothing received, nothing shown";

    decode(QStringLiteral("cq cq de dl0xyz"), 15);
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(ry(14), "CQ CQ DE DL0XYZ");
    decode(QStringLiteral("\\r"), 1);
    w->tmrGetRTTY_Timer();
    decode(QStringLiteral("\\n"), 1);
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(ry(13), "CQ CQ DE DL0XYZ") << "the CR LF is not drawn";
    EXPECT_LE(w->lblRy[13]->sizeHint().height(), w->lblRy[13]->height()) << "the line is drawn whole";
    EXPECT_EQ(ry(14), "");
    decode(QString(71, QLatin1Char('r')), 71);
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(ry(12), "CQ CQ DE DL0XYZ");
    EXPECT_EQ(ry(13), QString(71, QLatin1Char('R')));

    pty->clearReceived();
    w->cmdStop->click();
    settle();
    EXPECT_EQ(commands(), QStringList{rttyOff()});
    EXPECT_EQ(emu->rtty, 0);
    EXPECT_TRUE(w->cmdStart->isEnabled());
    EXPECT_TRUE(w->cmdExit->isEnabled());
    EXPECT_TRUE(w->cmdCls->isEnabled());
    EXPECT_FALSE(w->cmdStop->isEnabled());

    w->cmdCls->click();
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(ry(i), "") << i;
}

TEST_P(RttyWindow, StopIsOfferedOnlyOnceStartsCommandHasGone)
{
    open();
    bool stopDuringStart = true;
    emu->log = [&](const QString &line) {
        if (line.startsWith(rttyOn()))
            stopDuringStart = w->cmdStop->isEnabled();
    };
    w->cmdStart->click();
    settle();
    emu->log = nullptr;
    EXPECT_FALSE(stopDuringStart);
    EXPECT_TRUE(w->cmdStop->isEnabled());
    w->cmdStop->click();
}

TEST_P(RttyWindow, CaptureAppendsStartTextAndStopLinesAfterEarlierContent)
{
    dir.write(QStringLiteral("RTTY/RTY_LOG.TXT"), "earlier run\r\n");
    open();
    answerSave(QStringLiteral("rty_log.txt"));
    w->cmdSave[1]->click();
    EXPECT_TRUE(w->capturing());
    EXPECT_EQ(w->lblSave->text(), "RTY_LOG.TXT");
    EXPECT_EQ(back(w->lblSave), vbColor(0x0080FF));
    EXPECT_TRUE(dialogs.shown().isEmpty()) << "appending never asks";

    start();
    // Two lines in one reading, then a CR LF split across two.
    decode(QStringLiteral("ryry\\r\\n"), 6);
    decode(QStringLiteral("de dl0xyz\\r"), 16);
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(ry(13), "RYRY");
    EXPECT_EQ(ry(14), "DE DL0XYZ");
    decode(QStringLiteral("\\n"), 1);
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(ry(12), "RYRY");
    EXPECT_EQ(ry(13), "DE DL0XYZ");
    decode(QStringLiteral("unfinished"), 10);
    w->tmrGetRTTY_Timer();
    w->cmdStop->click();
    EXPECT_EQ(ry(14), "UNFINISHED") << "Stop neither writes nor clears the line being assembled";

    const QByteArray expected = QByteArray("earlier run\r\n")
        + " \r\nStart at LT : " + kLt + "   UTC : " + kUtc + "\r\n"
        + "Freq : 14080.000  Bd/shift/pol : 50/425/Nor\r\n \r\n"
        + "RYRY\r\nDE DL0XYZ\r\n"
        + " \r\nStop at LT : " + kLt + "   UTC : " + kUtc + "\r\n \r\n";
    EXPECT_EQ(dir.read(QStringLiteral("RTTY/RTY_LOG.TXT")), expected);

    // "No" closes the file; a run without capture writes nothing anywhere.
    w->cmdSave[0]->click();
    EXPECT_FALSE(rttyCaptureFile().isOpen());
    EXPECT_EQ(w->lblSave->text(), "");
    EXPECT_EQ(back(w->lblSave), vbColor(0xC0FFFF));
    start();
    decode(QStringLiteral("\\nmore"), 5);
    w->tmrGetRTTY_Timer();
    w->cmdStop->click();
    EXPECT_EQ(dir.read(QStringLiteral("RTTY/RTY_LOG.TXT")), expected);
    EXPECT_EQ(QDir(dir.path() + "RTTY/").entryList(QDir::Files), QStringList{"RTY_LOG.TXT"});
}

TEST_P(RttyWindow, YesAgainClosesTheOpenFileAndCancelOrABadNameMeansNo)
{
    open();
    answerSave(QStringLiteral("rty_a.txt"));
    w->cmdSave[1]->click();
    ASSERT_TRUE(rttyCaptureFile().isOpen());

    // Yes again, then Cancel: the first file is closed and nothing is captured.
    answerSave(QString());
    w->cmdSave[1]->click();
    EXPECT_FALSE(rttyCaptureFile().isOpen());
    EXPECT_FALSE(w->capturing());
    EXPECT_EQ(w->lblSave->text(), "");
    EXPECT_EQ(back(w->lblSave), vbColor(0xC0FFFF));

    // A name the dialog refuses: its message, then no capture either.
    answerSave(QStringLiteral("notes.doc"));
    w->cmdSave[1]->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].title, "Error 2");
    EXPECT_FALSE(w->capturing());
    EXPECT_EQ(w->lblSave->text(), "");

    start();
    w->cmdStop->click();
    EXPECT_EQ(dir.read(QStringLiteral("RTTY/RTY_A.TXT")), QByteArray()) << "created, and never written";

    // Yes with the file open switches to another file; the first keeps what it had.
    answerSave(QStringLiteral("rty_a.txt"));
    w->cmdSave[1]->click();
    answerSave(QStringLiteral("rty_b.txt"));
    w->cmdSave[1]->click();
    EXPECT_EQ(w->lblSave->text(), "rty_b.txt");
    start();
    w->cmdStop->click();
    EXPECT_EQ(dir.read(QStringLiteral("RTTY/RTY_A.TXT")), QByteArray());
    EXPECT_TRUE(dir.read(QStringLiteral("RTTY/rty_b.txt")).contains("Start at LT"));
}

TEST_P(RttyWindow, CaptureWhileAStatusReadRunsLosesNothing)
{
    open();
    answerSave(QStringLiteral("rty_st.txt"));
    w->cmdSave[1]->click();
    start();
    decode(QStringLiteral("cq cq"), 5); // waiting before the exchange starts

    // More text comes while the receiver is being switched to remote for the
    // status read, and the window's reading fires in the middle of the read.
    bool sentMore = false;
    QString shownDuringRead = QStringLiteral("(not reached)");
    const QString statusQuery = rx == 2 ? QStringLiteral("L199199") : QStringLiteral("L999999");
    emu->log = [&](const QString &line) {
        if (!sentMore && line.startsWith(QLatin1String("H1"))) {
            sentMore = true;
            emu->control(QStringLiteral("rttyburst  de dl0xyz"));
        }
        if (line.startsWith(statusQuery)) {
            EXPECT_TRUE(Exchange::active());
            w->tmrGetRTTY_Timer();
            shownDuringRead = ry(14);
        }
    };
    QString status;
    bool ok = false;
    if (rx == 2) {
        clsNRD535 panelDriver(comm());
        status = panelDriver.RxStatus();
        ok = panelDriver.lastReadOk();
    } else {
        clsNRD545 panelDriver(comm());
        status = panelDriver.RxStatus();
        ok = panelDriver.lastReadOk();
    }
    emu->log = nullptr;
    ASSERT_TRUE(sentMore);
    EXPECT_EQ(shownDuringRead, "") << "the reading takes nothing while an exchange runs";
    EXPECT_TRUE(ok);
    EXPECT_EQ(status, rx == 2 ? "X004100000001" : "X004100000003");

    w->tmrGetRTTY_Timer();
    EXPECT_EQ(ry(14), "CQ CQ DE DL0XYZ") << "text from before and during the read is all there, in order";
    decode(QStringLiteral("\\n"), 1);
    w->tmrGetRTTY_Timer();
    w->cmdStop->click();
    EXPECT_TRUE(dir.read(QStringLiteral("RTTY/rty_st.txt")).contains("\r\n \r\nCQ CQ DE DL0XYZ\r\n \r\nStop at"));
}

TEST_P(RttyWindow, ClosingWhileReceivingSwitchesRttyOffWithoutStopLines)
{
    open();
    answerSave(QStringLiteral("rty_c.txt"));
    w->cmdSave[1]->click();
    start();
    decode(QStringLiteral("abc"), 3);
    w->tmrGetRTTY_Timer();
    decode(QStringLiteral("\\n"), 1);
    w->tmrGetRTTY_Timer();
    pty->clearReceived();
    w->close();
    settle();
    EXPECT_EQ(commands(), QStringList{rttyOff()});
    EXPECT_EQ(emu->rtty, 0);
    EXPECT_FALSE(Windows::loaded(WindowId::frmRtty));
    EXPECT_FALSE(rttyCaptureFile().isOpen());
    EXPECT_FALSE(w->tmrGetRTTY.isActive());
    const QByteArray file = dir.read(QStringLiteral("RTTY/rty_c.txt"));
    EXPECT_TRUE(file.endsWith(" \r\nABC\r\n")) << file.toStdString();
    EXPECT_FALSE(file.contains("Stop at"));
    EXPECT_FALSE(comm().keepDiscarded());

    // Opened again it starts afresh and sends its parameters again.
    pty->clearReceived();
    open();
    EXPECT_EQ(commands().size(), rx == 2 ? 3 : 5);
    EXPECT_EQ(ry(13), "");
    EXPECT_FALSE(w->capturing());
}

TEST_P(RttyWindow, ALostLineEndsReceptionWithStopsLines)
{
    open();
    answerSave(QStringLiteral("rty_l.txt"));
    w->cmdSave[1]->click();
    start();
    pty->dropLine();
    ASSERT_TRUE(tavtest::waitFor([&] { return comm().lost(); }));
    w->tmrGetRTTY_Timer();
    EXPECT_FALSE(w->cmdStop->isEnabled());
    EXPECT_TRUE(w->cmdStart->isEnabled() && w->cmdExit->isEnabled());
    EXPECT_TRUE(dir.read(QStringLiteral("RTTY/rty_l.txt")).contains("Stop at"));
}

INSTANTIATE_TEST_SUITE_P(BothJrcReceivers, RttyWindow, ::testing::Values(2, 4),
                         [](const ::testing::TestParamInfo<int> &i) {
                             return i.param == 2 ? std::string("NRD535") : std::string("NRD545");
                         });

TEST_P(RttyWindow, CaptureThatCannotBeWrittenStopsAndSaysSo)
{
    ignoreFileSizeSignal();
    open();
    answerSave(QStringLiteral("rty_full.txt"));
    w->cmdSave[1]->click();
    ASSERT_TRUE(w->capturing());
    start(); // the start lines fit
    // The disk is full from here on: a size limit just above what is written.
    rlimit was{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &was), 0);
    rlimit full = was;
    const QString file = dir.file(QStringLiteral("RTTY/rty_full.txt"));
    ASSERT_GT(QFileInfo(file).size(), 0);
    full.rlim_cur = rlim_t(QFileInfo(file).size());
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    decode(QStringLiteral("cq de dl0xyz"), 12);
    w->tmrGetRTTY_Timer();
    decode(QStringLiteral("\\n"), 1);
    w->tmrGetRTTY_Timer();
    setrlimit(RLIMIT_FSIZE, &was);

    EXPECT_FALSE(w->capturing());
    EXPECT_EQ(w->lblSave->text(), "") << "the label no longer shows a capture";
    EXPECT_EQ(back(w->lblSave), vbColor(0xC0FFFF));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("rty_full.txt")));
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("The capture has stopped.")));
    EXPECT_TRUE(dialogs.shown()[0].text.contains(QStringLiteral("too large"))) << "the cause is named";
    EXPECT_FALSE(dialogs.shown()[0].text.contains(QStringLiteral("Unknown error")));
    EXPECT_EQ(ry(13), "CQ DE DL0XYZ") << "the text is still shown";
    w->cmdStop->click();
    EXPECT_EQ(dialogs.shown().size(), 1) << "one message, no more attempts";
}
