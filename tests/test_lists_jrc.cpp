// The scratch pad's row scan holds a JRC receiver in remote for its run and
// gives it back however it ends; the marked-frequency scan takes no hold.
#include "core/filekinds.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmScratchpad.h"
#include "support/nrd545rig.h"

using namespace tav;
using namespace tav::lists;

namespace {

struct ListsOnNrd545 : tavtest::Nrd545Rig {
    frmNRD545 *panel = nullptr;
    frmScratchpad *pad = nullptr;

    void SetUp() override
    {
        Nrd545Rig::SetUp();
        panel = go();
        ASSERT_NE(panel, nullptr);
        buildFileDirs();
        ensureDir(G.filedirs[FileKind::Scratchpad]);
        ASSERT_TRUE(writeTextLines(G.filedirs[FileKind::Scratchpad] + "FSP_ROW.TXT", {QStringLiteral("a,9560,6070,,,,,,,")}));
        G.filenames[FileKind::Scratchpad] = QStringLiteral("FSP_ROW.TXT");
        pad = Windows::get<frmScratchpad>();
        pad->showModeless();
        ASSERT_TRUE(runReader(FileKind::Scratchpad));
        ASSERT_EQ(G.jrclock, 0);
    }
    bool tunedTo(int hz) { return tavtest::waitFor([&] { return emu.cur.hz == hz; }, 5000); }
};

} // namespace

TEST_F(ListsOnNrd545, ScratchPadScanHoldsTheReceiverUntilItEnds)
{
    clearSent();
    pad->cmdStop->click();
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_FALSE(sentCommand("H0")) << "Stop without a scan does nothing";

    pad->cmdScan[0]->click();
    ASSERT_TRUE(pad->scanning());
    EXPECT_EQ(G.jrclock, 1);
    pad->tmrScan.stop();
    pad->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(9560000));
    pad->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(6070000));
    pad->cmdStop->click();
    EXPECT_EQ(G.jrclock, 0);

    // The close box ends the scan and its hold.
    pad->cmdScan[0]->click();
    EXPECT_EQ(G.jrclock, 1);
    pad->close();
    EXPECT_FALSE(pad->isLoadedForm());
    EXPECT_FALSE(pad->scanning());
    EXPECT_FALSE(pad->tmrScan.isActive());
    EXPECT_EQ(G.jrclock, 0);

    // The panel closing while the pad scans: the scan stops with the window.
    pad->showModeless();
    ASSERT_TRUE(runReader(FileKind::Scratchpad));
    pad->cmdScan[0]->click();
    EXPECT_EQ(G.jrclock, 1);
    panel->unload();
    EXPECT_FALSE(pad->isLoadedForm());
    EXPECT_FALSE(pad->tmrScan.isActive());
    EXPECT_EQ(G.jrclock, 0);
}

TEST_F(ListsOnNrd545, MarkedScanTakesNoHold)
{
    auto *m = Windows::get<frmMarkfreqs>();
    m->showModeless();
    for (const char *f : {"9560.000", "6070.000"}) {
        panel->txtFrequencyA->setText(QLatin1String(f));
        m->cmdMark->click();
    }
    m->cmdScan->click();
    ASSERT_TRUE(m->scanning());
    m->tmrScan.stop();
    m->tmrScan_Timer();
    EXPECT_TRUE(tunedTo(6070000));
    EXPECT_EQ(G.jrclock, 0);
    m->cmdScan->click();
    EXPECT_EQ(G.jrclock, 0);
}
