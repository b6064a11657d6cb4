// The RTTY window opened from the NRD-545 panel's Direct menu, sharing the
// serial line with the panel: the capture header takes the panel's frequency,
// decoded text survives the panel's own reading of the receiver, and closing
// the panel switches RTTY off without Stop lines.
#include "core/filekinds.h"
#include "hub/frmSavefile.h"
#include "core/tables.h"
#include "panels/jrc/frmRtty.h"
#include "support/filedialogs.h"
#include "support/nrd545rig.h"

#include <QAction>
#include <QTimer>

using namespace tav;
using tavtest::Nrd545Rig;

TEST_F(Nrd545Rig, RttyFromTheDirectMenuWorksBesideThePanel)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->findChild<QAction *>(QStringLiteral("mnuRtty"))->trigger();
    auto *w = Windows::existing<frmRtty>();
    ASSERT_TRUE(w && w->isLoadedForm());
    EXPECT_TRUE(tavtest::waitFor([&] { return emu.rttyParameters == QLatin1String("5011"); }));

    tavtest::answerSaveDialog(QStringLiteral("rty_panel.txt"));
    w->cmdSave[1]->click();
    ASSERT_TRUE(rttyCaptureFile().isOpen());

    w->cmdStart->click();
    w->tmrGetRTTY.stop(); // the test reads through the tick itself
    const QString lt = G.lttext, utc = G.utctext;
    ASSERT_TRUE(tavtest::waitFor([&] { return emu.rtty == 1; }));
    CommControl &port = frmWelcome::instance()->Comm1;
    ASSERT_TRUE(emu.control(QStringLiteral("rttyburst ryry ")));
    ASSERT_TRUE(tavtest::waitFor([&] { return port.InBufferCount() >= 5; }));

    // The panel reads the receiver over the same line meanwhile.
    emu.cur.hz = 7100000;
    p->findChild<QAction *>(QStringLiteral("mnuUpdate"))->trigger();
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("7100.000"));
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(w->lblRy[14]->text(), QStringLiteral("RYRY "));
    ASSERT_TRUE(emu.control(QStringLiteral("rttyburst \\n")));
    ASSERT_TRUE(tavtest::waitFor([&] { return port.InBufferCount() >= 1; }));
    w->tmrGetRTTY_Timer();
    EXPECT_EQ(w->lblRy[13]->text(), QStringLiteral("RYRY ")) << "finished at its line feed";

    p->unload();
    EXPECT_FALSE(Windows::loaded(WindowId::frmRtty));
    EXPECT_EQ(emu.rtty, 0) << "the window switched RTTY off before the panel let the port go";
    EXPECT_FALSE(rttyCaptureFile().isOpen());
    const QByteArray expected = (QStringLiteral(" \r\nStart at LT : ") + lt + QStringLiteral("   UTC : ") + utc
                                 + QStringLiteral("\r\nFreq : 9650.000  Bd/shift/pol : 50/425/Nor\r\n \r\n"))
                                    .toLatin1()
        + "RYRY \r\n";
    QFile capture(rttyCaptureFile().fileName());
    ASSERT_TRUE(capture.fileName().endsWith(QStringLiteral("rty_panel.txt")));
    ASSERT_TRUE(capture.open(QIODevice::ReadOnly));
    EXPECT_EQ(capture.readAll(), expected) << "no Stop lines from the close";
}
