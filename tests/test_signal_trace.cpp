// The time trace and histograms: column timing and the end of each span,
// the once-a-minute redraw gate kept across runs, and elapsed time that a
// change of the time of day does not move.
#include "hub/app.h"
#include "core/clock.h"
#include "core/globals.h"
#include "signal/frmProphisto.h"
#include "signal/proptrace.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {
const QColor kBlack(0, 0, 0);
const QColor kBg(255, 255, 192);

// Whether column c of the trace has anything drawn.
bool columnDrawn(const Picture &p, int c) { return p.count(70 + 2 * c, 45, 70 + 2 * c, 275, kBlack) > 0; }
} // namespace

TEST(TraceMeter, ColumnsAtTheEndOfEachPeriodAndTheSpanEndsOnTime)
{
    struct Row {
        TraceMeter::Span span;
        int lastColumnSecond, stopSecond;
    };
    for (const Row &r : {Row{TraceMeter::Min18, 1079, 1082}, Row{TraceMeter::Min60, 3599, 3604},
                         Row{TraceMeter::Min180, 10799, 10811}}) {
        Picture pic(632, 337, kBg);
        TraceMeter t(pic);
        t.start();
        const int L = TraceMeter::columnSeconds(r.span);
        int stoppedAt = -1;
        for (int s = 0; s <= r.stopSecond + 5 && stoppedAt < 0; ++s) {
            if (!t.tick(s, 9.0f, r.span, TraceMeter::Cumulative))
                stoppedAt = s;
            if (s == L - 2) {
                EXPECT_FALSE(columnDrawn(pic, 0)) << "column 0 is drawn only when its period ends";
            }
            if (s == L - 1) {
                EXPECT_TRUE(columnDrawn(pic, 0));
            }
        }
        EXPECT_EQ(stoppedAt, r.stopSecond) << L;
        EXPECT_TRUE(columnDrawn(pic, r.lastColumnSecond / L)) << L;
        EXPECT_EQ(r.lastColumnSecond / L, 179) << "a span holds 180 columns";
        EXPECT_EQ(t.cumulative(9), r.stopSecond + 1) << "every tick counts, the last included";
    }
}

TEST(TraceMeter, HistogramRedrawGateAndBins)
{
    Picture pic(632, 337, kBg);
    TraceMeter t(pic);
    t.start();
    for (int s = 0; s < 58; ++s)
        t.tick(s, s < 29 ? 9.5f : 21.5f, TraceMeter::Span::Min60, TraceMeter::Cumulative);
    EXPECT_EQ(pic.count(440, 45, 560, 275, kBlack), 0) << "no redraw before second 58";
    EXPECT_EQ(t.cumulative(10), 29) << "9.5 counts in bin 10";
    EXPECT_EQ(t.cumulative(21), 0) << "21.5 and above are never counted";
    t.tick(58, 9.5f, TraceMeter::Span::Min60, TraceMeter::Cumulative);
    // Bin 10 is the fullest: its bar is 120 pixels long, 5 high.
    EXPECT_EQ(pic.count(440, 168, 560, 172, kBlack), 121 * 5);
    EXPECT_EQ(t.previous(10), 0) << "emptied at the redraw";
    EXPECT_EQ(t.gate(), 58);

    // A new run in the same window keeps the gate: second 58 only sets it.
    t.start();
    pic.box(435, 45, 565, 275, kBg);
    t.tick(58, 9.0f, TraceMeter::Span::Min60, TraceMeter::Cumulative);
    EXPECT_EQ(pic.count(440, 45, 560, 275, kBlack), 0);
    t.tick(118, 9.0f, TraceMeter::Span::Min60, TraceMeter::Cumulative);
    EXPECT_GT(pic.count(440, 45, 560, 275, kBlack), 0);
}

TEST(TraceWindow, AClockChangeNeitherEndsNorStallsTheTrace)
{
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    registerBuiltWindows();
    G.datapath = dir.path();
    G.goRxtype = G.rxtype = 0;
    Clock::set(QDateTime(QDate(2026, 3, 1), QTime(10, 0, 0)));
    auto *w = Windows::get<frmProphisto>();
    w->load();
    w->cmdStart->click();
    EXPECT_FALSE(w->cmbRange->isEnabled());
    Clock::advanceSecs(100);
    Clock::set(QDateTime(QDate(2026, 3, 2), QTime(23, 0, 0))); // the time of day jumps a day ahead
    w->tmrProphisto_Timer();
    EXPECT_EQ(w->elapsed(), 100);
    EXPECT_TRUE(w->measuring());
    Clock::set(QDateTime(QDate(2026, 2, 1), QTime(1, 0, 0))); // and back a month
    Clock::advanceSecs(900);
    w->tmrProphisto_Timer();
    EXPECT_EQ(w->elapsed(), 1000);
    EXPECT_TRUE(w->measuring());
    // The 18-minute span ends after its 1081st second, by elapsed time alone.
    Clock::advanceSecs(81);
    w->tmrProphisto_Timer();
    EXPECT_TRUE(w->measuring());
    Clock::advanceSecs(1);
    w->tmrProphisto_Timer();
    EXPECT_FALSE(w->measuring());
    EXPECT_TRUE(w->cmdStart->isEnabled());
    Windows::destroyAll();
}
