// The S-meter reading shared by the scans and the signal windows, against an
// NRD-545 emulator: a receiver gone silent ends each window's work on the
// third unanswered read with "The receiver does not answer.", and a lost line
// ends it at the next read with the line's own message only.
#include "core/clock.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "signal/frmPropagation.h"
#include "signal/frmProphisto.h"
#include "signal/frmSmeter.h"
#include "support/nrd545rig.h"

#include <QCoreApplication>
#include <QTest>
#include <functional>

using namespace tav;

namespace {

// One window that reads the S-meter: how to start its work, one tick of it,
// and whether the work still runs.
struct Reader {
    WindowId id;
    std::function<void(TavForm *)> start;
    std::function<void(TavForm *)> tick;
    std::function<bool(TavForm *)> running;
};

template <class W> W *as(TavForm *f) { return static_cast<W *>(f); }

const std::vector<Reader> &readers()
{
    static const std::vector<Reader> r{
        {WindowId::frmScanlist,
         [](TavForm *f) {
             auto *w = as<frmScanlist>(f);
             w->txtFreqlist[0]->setText(QStringLiteral("9650"));
             w->txtFreqlist[1]->setText(QStringLiteral("9700"));
             w->txtDelay->setText(QStringLiteral("10"));
             QTest::mouseClick(w->cmdStart, Qt::LeftButton);
         },
         [](TavForm *f) { as<frmScanlist>(f)->tmrScanlist_Timer(); },
         [](TavForm *f) { return as<frmScanlist>(f)->scanning(); }},
        {WindowId::frmScanband,
         [](TavForm *f) {
             auto *w = as<frmScanband>(f);
             const char *t[] = {"9600", "9700", "1", "60"};
             for (int i = 0; i < 4; ++i)
                 w->txtInput[i]->setText(QLatin1String(t[i]));
             QTest::mouseClick(w->cmdStart, Qt::LeftButton);
         },
         [](TavForm *f) { as<frmScanband>(f)->tmrScanband_Timer(); },
         [](TavForm *f) { return as<frmScanband>(f)->sweeping(); }},
        {WindowId::frmSmeter, [](TavForm *f) { QTest::mouseClick(as<frmSmeter>(f)->cmdStart, Qt::LeftButton); },
         [](TavForm *f) { as<frmSmeter>(f)->tmrSmeter_Timer(); },
         [](TavForm *f) { return as<frmSmeter>(f)->measuring(); }},
        {WindowId::frmPropagation, [](TavForm *f) { QTest::mouseClick(as<frmPropagation>(f)->cmdStart, Qt::LeftButton); },
         [](TavForm *f) { as<frmPropagation>(f)->tmrPropagation_Timer(); },
         [](TavForm *f) { return as<frmPropagation>(f)->tmrPropagation.isActive(); }},
        {WindowId::frmProphisto, [](TavForm *f) { QTest::mouseClick(as<frmProphisto>(f)->cmdStart, Qt::LeftButton); },
         [](TavForm *f) { as<frmProphisto>(f)->tmrProphisto_Timer(); },
         [](TavForm *f) { return as<frmProphisto>(f)->measuring(); }},
    };
    return r;
}

struct SmeterReading : tavtest::Nrd545Rig {
    TavForm *openReader(const Reader &r)
    {
        Clock::set(QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0)));
        TavForm *w = Windows::get(r.id);
        if (!w)
            return nullptr;
        w->load();
        r.start(w);
        r.tick(w); // one answered reading first
        return w;
    }
    QStringList shown() const
    {
        QStringList texts;
        for (const auto &d : dialogs.shown())
            texts << d.text;
        return texts;
    }
};

} // namespace

TEST_F(SmeterReading, ASilentReceiverEndsEveryReaderOnTheThirdMissWithOneMessage)
{
    ASSERT_NE(go(), nullptr);
    for (const Reader &r : readers()) {
        SCOPED_TRACE(windowName(r.id).toStdString());
        TavForm *w = openReader(r);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(r.running(w));
        DialogScript::shown.clear();
        pty->setOff(true);
        for (int i = 1; i < SmeterReader::kMissesToStop; ++i) {
            r.tick(w);
            EXPECT_TRUE(r.running(w)) << "miss " << i << " does not end the work";
        }
        EXPECT_TRUE(shown().isEmpty()) << shown().join('|').toStdString();
        r.tick(w);
        EXPECT_FALSE(r.running(w));
        EXPECT_EQ(shown(), QStringList{QStringLiteral("The receiver does not answer.")});
        pty->setOff(false);
        w->unload();
    }
}

TEST_F(SmeterReading, ALostLineEndsEveryReaderWithTheLinesMessageOnly)
{
    for (const Reader &r : readers()) {
        SCOPED_TRACE(windowName(r.id).toStdString());
        // Each reader gets a line of its own: a lost line closes the panel.
        if (!frmWelcome::instance()->Comm1.isOpen() || frmWelcome::instance()->Comm1.lost()) {
            tavtest::closeHub(WindowId::frmNRD545, true);
            pty = std::make_unique<sim::PtyHarness>(emu);
            ASSERT_TRUE(pty->ok());
            tavtest::openHub(dir, *pty, 4, true);
            G.setupdata[1] = 1;
            G.setupdata[8] = 0;
        }
        ASSERT_NE(go(), nullptr);
        TavForm *w = openReader(r);
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(r.running(w));
        DialogScript::shown.clear();
        pty->dropLine();
        for (int i = 0; i < SmeterReader::kMissesToStop && w->isLoadedForm() && r.running(w); ++i) {
            r.tick(w);
            QCoreApplication::processEvents();
        }
        EXPECT_FALSE(w->isLoadedForm() && r.running(w));
        tavtest::waitFor([&] { return !shown().isEmpty(); }, 2000);
        ASSERT_EQ(shown().size(), 1) << shown().join('|').toStdString();
        EXPECT_TRUE(shown()[0].contains(QStringLiteral("was lost"))) << shown()[0].toStdString();
        if (w->isLoadedForm())
            w->unload();
    }
}
