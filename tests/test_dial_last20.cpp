// Following a JRC receiver's dial: what reaches the last-20 list depends on its
// "Ignore Freq steps" box, while tuning from a list is always recorded.
#include "support/nrd545rig.h"

#include "core/links.h"

#include <QCheckBox>

using namespace tav;

namespace {

// The last-20 window as the hub sees it: its box and its fill procedure.
class Last20Probe : public TavForm, public Last20Link {
    Q_OBJECT
public:
    Last20Probe() : TavForm(QStringLiteral("frmLast20"), Windows::slotOf("frmLast20"), Windows::flagOf("frmLast20"))
    {
        chk = new QCheckBox(QStringLiteral("Ignore Freq steps"), this);
        chk->setObjectName(QStringLiteral("chkNofreqsteps"));
    }
    QCheckBox *chk;
    QStringList recorded;
    static Last20Probe *last;
    void fillgrdlast20(const QString &freqtext) override { recorded << freqtext; }
    bool ignoresFreqSteps() const override { return chk->isChecked(); }

protected:
    void Form_Load() override
    {
        chk->setChecked(true);
        last = this;
        links::add(static_cast<Last20Link *>(this));
    }
    void Form_Unload() override { links::remove(static_cast<Last20Link *>(this)); }
};
Last20Probe *Last20Probe::last = nullptr;

struct DialFollowing : tavtest::Nrd545Rig {
    void SetUp() override
    {
        Nrd545Rig::SetUp();
        Windows::registerFactory(QStringLiteral("frmLast20"), [] { return new Last20Probe; });
    }
};

} // namespace

TEST_F(DialFollowing, ReportsAreRecordedOnlyWhileTheBoxIsUnticked)
{
    frmNRD545 *p = go();
    ASSERT_NE(p, nullptr);
    Last20Probe *l20 = Last20Probe::last;
    ASSERT_NE(l20, nullptr) << "the panel loads the last-20 window";
    EXPECT_TRUE(G.last20loaded);
    EXPECT_FALSE(l20->isVisible());
    l20->recorded.clear();

    G.dialtrack = true;
    emu.reporting = true;
    emu.dial(7205000);
    ASSERT_TRUE(tavtest::waitFor([&] { return G.rxfreqnow == 7205.0; }, 10000));
    tavtest::pump(50);
    EXPECT_TRUE(l20->recorded.isEmpty()) << "a turn of the dial is a step while the box is ticked";

    l20->chk->setChecked(false);
    emu.dial(9650000);
    ASSERT_TRUE(tavtest::waitFor([&] { return !l20->recorded.isEmpty(); }, 10000));
    EXPECT_EQ(l20->recorded.size(), 1);
    EXPECT_TRUE(l20->recorded.last().startsWith("9650")) << l20->recorded.last().toStdString();

    // Tuning from a list is recorded whatever the box says.
    l20->chk->setChecked(true);
    G.dialtrack = false;
    l20->recorded.clear();
    frmWelcome::instance()->Change2FreqA(6070);
    ASSERT_TRUE(tavtest::waitFor([&] { return !l20->recorded.isEmpty(); }, 10000));
    EXPECT_TRUE(l20->recorded.last().startsWith("6070")) << l20->recorded.last().toStdString();
}

#include "test_dial_last20.moc"
