// The memory manager beside the real NRD-545 panel opened by Go: transfers
// held in remote through the panel's lock and released after, Set R2M shown
// on the panel, and the panel closed in the middle of a fetch.
#include "memories/frmMemman.h"
#include "memories/memimage.h"
#include "panels/jrclock.h"
#include "support/nrd545rig.h"

#include <QTimer>

using namespace tav;
using tavtest::Nrd545Rig;

namespace {

struct MemBesidePanel : Nrd545Rig {
    frmNRD545 *panel = nullptr;
    frmMemman *mm = nullptr;
    void SetUp() override
    {
        Nrd545Rig::SetUp();
        panel = go();
        ASSERT_NE(panel, nullptr);
        tavtest::pump(200);
        mm = Windows::get<frmMemman>();
        ASSERT_NE(mm, nullptr);
        mm->load();
        sim::JrcChannel c;
        c.used = true;
        c.hz = 9650000;
        c.mode = 4;
        c.bw = 1;
        c.att = 0;
        c.agc = 30;
        emu.memory[2] = c;
    }
    void fetch(const QString &to)
    {
        mm->txtTo->setText(to);
        dialogs.answer(vbYes);
        mm->cmdFetch_Click();
    }
};

} // namespace

TEST_F(MemBesidePanel, FetchRunsHeldInRemoteAndLetsGoAfter)
{
    clearSent();
    fetch(QStringLiteral("3"));
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Fetch Rx ready"));
    const QString wire = sent();
    const int rtty = wire.indexOf(QStringLiteral("U230\r"));
    const int hold = wire.indexOf(QStringLiteral("H1\r"));
    const int first = wire.indexOf(QStringLiteral("L000000\r"));
    const int last = wire.indexOf(QStringLiteral("L003003\r"));
    const int release = wire.lastIndexOf(QStringLiteral("H0\r"));
    ASSERT_GE(rtty, 0) << wire.toStdString();
    EXPECT_LT(rtty, first);
    ASSERT_GE(hold, 0);
    EXPECT_LT(hold, first);
    EXPECT_GT(release, last) << wire.toStdString();
    EXPECT_FALSE(emu.remote);
    ASSERT_NE(openJrcLock(), nullptr);
    EXPECT_EQ(openJrcLock()->toolHolds(), 0);
    EXPECT_EQ(memState().image.record(2), QStringLiteral("MEM002 09650000 4 01 0 3 @@@ @@@ @ "));
}

TEST_F(MemBesidePanel, SetR2MShowsTheCellOnThePanel)
{
    memState().image.setRecord(6, QStringLiteral("MEM006 11700000 3 02 1 4 @@@ @@@ @"));
    mm->grdMemman_DblClick(6);
    ASSERT_TRUE(tavtest::waitFor([&] { return emu.cur.hz == 11700000; }, 3000));
    EXPECT_TRUE(panel->txtFrequencyA->text().startsWith(QStringLiteral("11700"))) << panel->txtFrequencyA->text().toStdString();
}

TEST_F(MemBesidePanel, ClosingThePanelDuringAFetchStopsItCleanly)
{
    QTimer closer;
    closer.setInterval(0);
    bool closed = false;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (memState().image.held(4)) {
            closer.stop();
            closed = true;
            dialogs.answer(vbNo); // the cells fetched so far are not kept
            panel->mnuClose_Click();
        }
    });
    closer.start();
    QElapsedTimer t;
    t.start();
    fetch(QStringLiteral("999"));
    EXPECT_TRUE(closed);
    EXPECT_LT(t.elapsed(), 15000);
    EXPECT_FALSE(Windows::loaded(WindowId::frmMemman));
    EXPECT_FALSE(Windows::loaded(WindowId::frmNRD545));
    for (const ShownBox &b : dialogs.shown())
        EXPECT_NE(b.title, QStringLiteral("Fetch Rx ready"));
    EXPECT_FALSE(memState().transferring);
    EXPECT_FALSE(memState().image.held(100));
    tavtest::pump(200);
    EXPECT_FALSE(emu.remote) << "the receiver is handed back to its front panel";
}
