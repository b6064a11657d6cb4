// The timer editor's spinners and receiver-setting rules, the checks against
// past and overlapping programs, and the TPR_ file, without a window.
#include "core/clock.h"
#include "core/globals.h"
#include "core/tables.h"
#include "timers/timerprog.h"
#include "support/testenv.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {

TimerEditor editorAt(int rx, int day, int month, int year)
{
    TimerEditor e(rx);
    e.day = day, e.month = month, e.year = year;
    return e;
}

ProgRow program(int y, int mo, int d, int h, int mi, int dur)
{
    ProgRow r{};
    r[1] = d, r[2] = mo, r[3] = y, r[4] = h, r[5] = mi, r[6] = dur;
    return r;
}

} // namespace

TEST(TimerDate, GregorianMonthEndsAndSpinnerLimits)
{
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_FALSE(isLeapYear(2023));
    EXPECT_FALSE(isLeapYear(2100));
    EXPECT_EQ(lastDayOfMonth(2, 2048), 29) << "beyond the years of the old table";

    struct Case { int day, month, year, index; bool up; int dayAfter, monthAfter, yearAfter; };
    const Case cases[] = {
        {31, 3, 2004, 1, false, 29, 2, 2004}, // March 31 down to February of a leap year
        {31, 3, 2003, 1, false, 28, 2, 2003},
        {31, 1, 2030, 0, true, 1, 1, 2030},   // day wraps without carry
        {1, 2, 2032, 0, false, 29, 2, 2032},
        {15, 12, 2030, 1, true, 15, 1, 2030}, // month wraps, year unchanged
        {29, 2, 2096, 2, true, 28, 2, 2097},  // a leap day does not survive the next year
        {10, 5, 2099, 2, true, 10, 5, 2099},  // the last year stays
        {10, 5, 2000, 2, false, 10, 5, 2000},
        {10, 5, 2020, 2, true, 10, 5, 2021},  // no jump back at 2020
    };
    for (const Case &c : cases) {
        TimerEditor e = editorAt(0, c.day, c.month, c.year);
        e.spinDate(c.index, c.up);
        EXPECT_EQ(QString("%1.%2.%3").arg(e.day).arg(e.month).arg(e.year),
                  QString("%1.%2.%3").arg(c.dayAfter).arg(c.monthAfter).arg(c.yearAfter))
            << c.day << "." << c.month << "." << c.year << " index " << c.index;
    }
    TimerEditor e = editorAt(0, 5, 8, 2031);
    EXPECT_EQ(e.dateLabel(0) + e.dateLabel(1) + e.dateLabel(2), "5Aug31");
}

TEST(TimerTime, WrapsAndDuration)
{
    TimerEditor e;
    e.hour = 23, e.minute = 59, e.duration = 240;
    e.spinTime(1, true);
    EXPECT_EQ(e.timeLabel(0) + ":" + e.timeLabel(1), "23:00") << "no carry into the hour";
    e.spinTime(0, true);
    EXPECT_EQ(e.hour, 0);
    e.spinTime(0, false);
    EXPECT_EQ(e.hour, 23);
    e.spinTime(2, true);
    EXPECT_EQ(e.duration, 240);
    e.duration = 1;
    e.spinTime(2, false);
    EXPECT_EQ(e.timeLabel(2), "1");

    // The present UTC, across a day, month and year end.
    G.setupdata[3] = 1;
    e.setUtc(utcFromLocal(QDateTime(QDate(2002, 1, 1), QTime(0, 30)), G.setupdata[3]));
    EXPECT_EQ(e.startText(), "2001 12 31 23:30");
    e.setUtc(QDateTime(QDate(2150, 3, 4), QTime(5, 6)));
    EXPECT_EQ(e.year, 2099);
}

TEST(TimerFrequency, DigitsWithoutCarryAndReceiverLimits)
{
    InitConstants();
    InitAR7030();
    TimerEditor e(1);
    e.setFrequencyKHz(19.0);
    e.spinFreq(3, true);
    EXPECT_EQ(e.frequencyHz(), 10000) << "the 9 becomes 0, digit 4 is not touched";

    e.setFrequencyKHz(5000);
    QList<long long> seen;
    for (int i = 0; i < 5; ++i) {
        e.spinFreq(7, true);
        seen << e.frequencyHz();
    }
    EXPECT_EQ(seen, (QList<long long>{15000000, 25000000, 32016000, 2016000, 12016000}));
    e.setFrequencyKHz(10);
    e.spinFreq(4, false);
    EXPECT_EQ(e.frequencyHz(), 10000) << "below the lowest frequency";
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(e.freqLabel(k), QString::number(e.digits[size_t(k)]));
}

TEST(TimerSettings, SpinnersPerReceiver)
{
    InitConstants();
    // NRD-535 without the narrow filter: 0, 1, 3, 0; the width follows the filter.
    InitNRD535();
    G.setupdata[10] = 0, G.setupdata[11] = 1, G.setupdata[12] = 0;
    TimerEditor n5(2);
    n5.setFromReceiver({0, 0, 0, 0, 2, 1});
    EXPECT_EQ(n5.rxLabel(2), "0") << "the status text carries no shift";
    EXPECT_EQ(n5.bwc, 5500);
    QList<int> bws;
    for (int i = 0; i < 3; ++i) {
        n5.spinRxSetting(1, true);
        bws << n5.bw;
    }
    EXPECT_EQ(bws, (QList<int>{1, 3, 0}));
    n5.spinRxSetting(1, true); // intermediate: 2200 .. 500
    n5.spinRxSetting(3, true);
    EXPECT_EQ(n5.bwc, 500) << "above the maximum comes the minimum";
    n5.spinRxSetting(2, false);
    EXPECT_EQ(n5.pbs, -100);
    n5.pbs = -2000;
    n5.spinRxSetting(2, false);
    EXPECT_EQ(n5.rxLabel(2), "2000");
    // Mode 5 holds bandwidth and AGC and gives them back.
    n5.mode = 4, n5.prevmode = 4, n5.agc = 0;
    n5.spinRxSetting(4, true);
    EXPECT_EQ(n5.mode, 5);
    EXPECT_EQ(n5.rxLabel(1) + n5.rxLabel(2) + n5.rxLabel(3) + n5.rxLabel(5), "xxxxxxxxxxxx");
    n5.spinRxSetting(1, true);
    EXPECT_EQ(n5.bw, 3) << "a disabled spinner does nothing";
    n5.spinRxSetting(4, true);
    EXPECT_EQ(n5.bw, 1);
    EXPECT_EQ(n5.agc, 0);
    n5.spinRxSetting(4, true);
    EXPECT_EQ(n5.mode, 0) << "modes 7 and 8 only with ECSS";

    // RX-320: the filter index runs the other way.
    InitRX320();
    TimerEditor rx(3);
    rx.setFromReceiver({0, 0, 0, 0, 0, 1});
    EXPECT_EQ(rx.rxLabel(0), "xxx");
    rx.spinRxSetting(1, true);
    EXPECT_EQ(rx.bw, 33);
    rx.spinRxSetting(5, false);
    EXPECT_EQ(rx.agc, 3);

    // AR7030: the shift step shows as kHz.
    InitAR7030();
    TimerEditor ar(1);
    ar.setFromReceiver({1, 2, 42, 0, 7, 0});
    EXPECT_EQ(ar.rxLabel(3), "xxx");
    ar.spinRxSetting(2, true);
    EXPECT_EQ(ar.pbs, -42);
    ar.spinRxSetting(4, true);
    EXPECT_EQ(ar.mode, 1);
}

TEST(TimerSettings, Nrd545ModesKeepTheUsersChoices)
{
    InitConstants();
    InitNRD545();
    TimerEditor e(4);
    e.setFromReceiver({0, 0, -150, 250, 2, 3});
    EXPECT_EQ(e.rxLabel(1), "xxx");
    EXPECT_EQ(e.rxLabel(2), "-1.5");
    EXPECT_EQ(e.rxLabel(3), "2.5");
    // The user changes shift, width and AGC in mode 2.
    e.spinRxSetting(2, true);
    e.spinRxSetting(3, true);
    e.spinRxSetting(5, true);
    ASSERT_EQ(std::tuple(e.pbs, e.bwc, e.agc), std::tuple(-140, 260, 4));
    e.spinRxSetting(4, true); // 3: nothing is overwritten
    EXPECT_EQ(std::tuple(e.pbs, e.bwc, e.agc), std::tuple(-140, 260, 4));
    e.spinRxSetting(4, true); // 4: AGC held
    EXPECT_EQ(e.rxLabel(5), "xxx");
    EXPECT_EQ(e.agc, 1);
    e.spinRxSetting(4, true); // 5: shift, width and AGC held
    EXPECT_EQ(e.rxLabel(2) + e.rxLabel(3) + e.rxLabel(5), "xxxxxxxxx");
    EXPECT_EQ(std::tuple(e.pbs, e.bwc, e.agc), std::tuple(0, 990, 2));
    for (int m = 5; m > 2; --m)
        e.spinRxSetting(4, false);
    EXPECT_EQ(e.mode, 2);
    EXPECT_EQ(std::tuple(e.pbs, e.bwc, e.agc), std::tuple(-140, 260, 4)) << "back in mode 2 as the user left it";
    EXPECT_EQ(e.rxLabel(5), G.agcnames[4]);
}

TEST(TimerSettings, StoredProgramTakesItsModesRules)
{
    InitConstants();
    InitNRD545();
    TimerEditor e(4);
    e.setFromReceiver({0, 0, 0, 500, 4, 0}); // AM: the AGC is held
    ASSERT_EQ(e.rxLabel(5), "xxx");
    ProgRow usb = program(2002, 8, 15, 12, 0, 10);
    usb[9] = -50, usb[10] = 300, usb[11] = 2, usb[12] = 3;
    e.fromRow(usb);
    EXPECT_EQ(e.rxLabel(5), G.agcnames[3]) << "USB lets the AGC be chosen";
    e.spinRxSetting(4, true);
    e.spinRxSetting(4, false);
    EXPECT_EQ(std::tuple(e.pbs, e.bwc, e.agc), std::tuple(-50, 300, 3)) << "a mode change keeps the stored settings";
    ProgRow fm = usb;
    fm[9] = 0, fm[10] = 990, fm[11] = 5, fm[12] = 2;
    e.fromRow(fm);
    EXPECT_EQ(e.rxLabel(2) + e.rxLabel(3) + e.rxLabel(5), "xxxxxxxxx");
    EXPECT_EQ(e.toRow(), fm) << "Fix stores what was loaded";
}

TEST(TimerTable, PastAndOverlapChecks)
{
    EXPECT_TRUE(TimerTable::tooLate("2002 08 15 12:30", "2002 08 15 12:30:59"));
    EXPECT_FALSE(TimerTable::tooLate("2002 08 15 12:31", "2002 08 15 12:30:59"));
    EXPECT_TRUE(TimerTable::tooLate("2002 08 15 12:31", "")) << "no present minute yet: nothing passes";

    TimerTable t;
    t.progdata[1] = program(2002, 8, 15, 12, 0, 30);
    EXPECT_TRUE(t.tooEarly(2, "2002 08 15 12:30"));
    EXPECT_FALSE(t.tooEarly(2, "2002 08 15 12:31"));
    t.progdata[2] = program(2001, 12, 31, 23, 50, 15);
    EXPECT_EQ(endText(t.progdata[2]), "2002 01 01 00:05");
    EXPECT_TRUE(t.tooEarly(3, "2002 01 01 00:05"));
    EXPECT_FALSE(t.tooEarly(3, "2002 01 01 00:06"));
    t.progdata[3] = program(2004, 2, 28, 23, 0, 240);
    EXPECT_EQ(endText(t.progdata[3]), "2004 02 29 03:00");
}

TEST(TprFile, LinesByteForByteAndReading)
{
    ProgRow r = program(2002, 8, 15, 12, 30, 10);
    r[8] = 1, r[11] = 4, r[12] = 2;
    const int freq[] = {0, 0, 0, 5, 9, 0, 6, 0}; // 06095000 Hz, 1 Hz digit first
    for (int k = 0; k < 8; ++k)
        r[size_t(13 + k)] = freq[k];
    EXPECT_EQ(tprLine(r), " 15, 8, 2002, 12, 30, 10, 0, 1, 0, 0, 4, 2,06095000");
    ProgRow neg = r;
    neg[9] = -2000;
    EXPECT_EQ(tprLine(neg), " 15, 8, 2002, 12, 30, 10, 0, 1,-2000, 0, 4, 2,06095000");

    std::array<ProgRow, kPrograms + 1> table{};
    table[1] = r;
    table[2] = neg;
    const QStringList lines = tprLines(table);
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[2], " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,00000000");
    std::array<ProgRow, kPrograms + 1> back{};
    back[5][1] = 7; // stale row
    EXPECT_EQ(tprRead(lines, 2, back).count, 2);
    EXPECT_EQ(back[1], r);
    EXPECT_EQ(back[2], neg);
    EXPECT_EQ(back[5][1], 0);

    // Lines that are no program lines are refused in their row; nothing stale stays.
    back[4][1] = 9;
    const TprReadResult some = tprRead(QStringList{lines[1], "garbage", " 1, 2,06095000", lines[0]}, 2, back);
    EXPECT_EQ(some.count, 1) << "row 2 is empty";
    EXPECT_EQ(some.refused, (QStringList{"Line 2: not a timer program", "Line 3: not a timer program"}));
    EXPECT_EQ(back[1], neg);
    EXPECT_EQ(back[2], ProgRow{});
    EXPECT_EQ(back[4], r);
    QStringList many;
    for (int i = 0; i < 9; ++i)
        many << lines[0];
    many << "";
    const TprReadResult all = tprRead(many, 2, back);
    EXPECT_EQ(all.count, 6) << "never past the sixth row";
    EXPECT_EQ(all.linesPast, 3);
}

TEST(TprFile, ValuesOutsideTheReceiversRangesAreRefusedNamingTheLine)
{
    // A valid NRD-545 program line, then one damaged field at a time.
    const QString good = " 15, 8, 2002, 12, 30, 10, 0, 0, 0, 250, 2, 3,06095000";
    struct Case {
        int field; // 1..12, 13 the digits
        const char *value;
        int rx;
        const char *said;
    };
    const Case cases[] = {
        {1, " 99", 4, "Line 1: the day 99 is not in 1 to 31"},
        {1, " 30", 4, ""},
        {2, " 13", 4, "Line 1: the month 13 is not in 1 to 12"},
        {3, " 2150", 4, "Line 1: the year 2150 is not in 2000 to 2099"},
        {4, " 25", 4, "Line 1: the hour 25 is not in 0 to 23"},
        {6, " 0", 4, "Line 1: the duration 0 is not in 1 to 240"},
        {7, " 7", 4, "Line 1: the attenuator 7 is not in 0 to 1"},
        {9, " 999", 4, "Line 1: the pass-band shift 999 is not in -230 to 230"},
        {10, " 5000", 4, "Line 1: the bandwidth control 5000 is not in 0 to 990"},
        {11, " 9", 4, "Line 1: the mode 9 is not in 0 to 8"},
        {12, " 10", 4, "Line 1: the AGC 10 is not in 0 to 9"},
        {12, " 3", 2, "Line 1: the AGC 3 is not in 0 to 2"},
        {8, " 7", 1, "Line 1: the bandwidth 7 is not in 1 to 6"},
        {13, "31000000", 4, "Line 1: the frequency 31000 kHz is not in 10 to 29999.999 kHz"},
    };
    for (const Case &c : cases) {
        QStringList parts = good.left(good.size() - 8).split(',');
        QString digits = good.right(8);
        if (c.field == 13)
            digits = QLatin1String(c.value);
        else
            parts[c.field - 1] = QLatin1String(c.value);
        const QString line = parts.join(',') + digits;
        std::array<ProgRow, kPrograms + 1> back{};
        const TprReadResult r = tprRead(QStringList{line, good}, c.rx, back);
        if (*c.said == 0) {
            EXPECT_TRUE(r.refused.isEmpty()) << line.toStdString();
            continue;
        }
        ASSERT_FALSE(r.refused.isEmpty()) << line.toStdString();
        EXPECT_EQ(r.refused.first(), QLatin1String(c.said)) << line.toStdString();
        EXPECT_TRUE(rowEmpty(back[1])) << "nothing of the line is kept";
        EXPECT_EQ(r.count, 0) << "program 1 is missing, so none follows it";
    }
}

TEST(TprFile, ProgramsKeepToTheModelsRulesAsTheEditorShowsThem)
{
    InitConstants();
    // Settings of a program (attenuator, bandwidth, shift, width, mode, AGC),
    // the NRD-535 options fitted (1 kHz, BWC, ECSS), what the file's reader
    // says of the line, and for a line it takes, which settings the editor
    // holds ("x", shown "xxx").
    struct Case {
        int rx;
        const char *options;
        std::array<int, 6> s;
        const char *said;
        const char *held;
    };
    const Case cases[] = {
        {4, "", {0, 0, 100, 500, 5, 3}, "Line 1: in mode NFM the pass-band shift is 0, not 100", ""},
        {4, "", {0, 0, 0, 500, 5, 2}, "Line 1: in mode NFM the bandwidth control is 990, not 500", ""},
        {4, "", {0, 0, 0, 990, 5, 3}, "Line 1: in mode NFM the AGC is 2, not 3", ""},
        {4, "", {1, 0, 0, 990, 5, 2}, "", "-xxx-x"},
        {4, "", {0, 0, 0, 990, 6, 2}, "Line 1: in mode AMS the AGC is 1, not 2", ""},
        {4, "", {0, 2, 0, 990, 6, 1}, "", "-xxx-x"},
        {4, "", {0, 0, -50, 300, 4, 3}, "Line 1: in mode AM the AGC is 1, not 3", ""},
        {4, "", {0, 0, -50, 300, 8, 1}, "", "-x---x"},
        {4, "", {0, 1, -50, 300, 2, 3}, "", "-x----"},
        // No width: the spinner starts at one step, so the run never sends W000.
        {4, "", {0, 1, -50, 0, 2, 3}, "Line 1: the bandwidth control 0 is not in 10 to 990", ""},
        {4, "", {0, 1, -50, 10, 2, 3}, "", "-x----"},
        {2, "000", {0, 2, 0, 0, 2, 0}, "Line 1: the bandwidth 2 is not taken without the 1 kHz option", ""},
        {2, "100", {0, 2, 0, 0, 2, 0}, "", "---x--"},
        {2, "000", {0, 0, 0, 0, 7, 0}, "Line 1: the mode 7 is not in 0 to 6 without the ECSS option", ""},
        {2, "001", {0, 0, 0, 0, 7, 0}, "", "---x--"},
        {2, "010", {0, 0, 0, 0, 2, 0}, "Line 1: the bandwidth control 0 is not in 2000 to 5500 with the bandwidth Wid", ""},
        {2, "010", {0, 1, -300, 2200, 2, 0}, "", "------"},
        {2, "010", {0, 3, 0, 500, 2, 0}, "Line 1: with the bandwidth Aux the bandwidth control is 0, not 500", ""},
        {2, "000", {0, 0, 0, 2200, 2, 0}, "Line 1: without the BWC option the bandwidth control is 0, not 2200", ""},
        {2, "010", {0, 1, 0, 0, 5, 2}, "Line 1: in mode NFM the bandwidth is 3, not 1", ""},
        {2, "010", {1, 3, 0, 0, 5, 2}, "", "-xxx-x"},
        {1, "", {0, 2, -42, 0, 7, 3}, "", "---x--"},
        {3, "", {0, 0, 700, 0, 3, 1}, "", "x--x--"},
    };
    G.bwnames.resize(34); // as the panels size it
    auto initTables = [](int rx) {
        switch (rx) {
        case 1: InitAR7030(); break;
        case 2: InitNRD535(); break;
        case 3: InitRX320(); break;
        default: InitNRD545(); break;
        }
    };
    for (const Case &c : cases) {
        initTables(c.rx);
        for (int i = 0; i < 3; ++i)
            G.setupdata[size_t(10 + i)] = c.options[0] ? float(c.options[i] - '0') : 0;
        ProgRow row = program(2030, 8, 15, 12, 30, 10);
        for (int f = 0; f < 6; ++f)
            row[size_t(7 + f)] = c.s[size_t(f)];
        row[19] = 6; // 6000 kHz
        std::array<ProgRow, kPrograms + 1> back{};
        const TprReadResult r = tprRead(QStringList{tprLine(row)}, c.rx, back);
        const std::string what = tprLine(row).toStdString() + " on " + std::to_string(c.rx);
        if (*c.said != 0) {
            EXPECT_EQ(r.refused, QStringList{QLatin1String(c.said)}) << what;
            EXPECT_TRUE(rowEmpty(back[1])) << what;
            continue;
        }
        EXPECT_TRUE(r.refused.isEmpty()) << what << ": " << r.refused.join(' ').toStdString();
        // The editor shows a program the reader takes as it is, with "xxx"
        // where the rule holds the setting, and Fix stores it unchanged.
        TimerEditor e(c.rx);
        e.fromRow(back[1]);
        QString held;
        for (int f = 0; f < 6; ++f)
            held += e.rxLabel(f) == "xxx" ? 'x' : '-';
        EXPECT_EQ(held, QLatin1String(c.held)) << what;
        EXPECT_EQ(e.toRow(), row) << what;
    }

    // Whatever the spinners reach, the reader takes: walk every model (the
    // NRD-535 with each set of options) through its modes and filters.
    for (int rx = 1; rx <= 4; ++rx) {
        for (int options = 0; options < (rx == 2 ? 8 : 1); ++options) {
            initTables(rx);
            for (int i = 0; i < 3; ++i)
                G.setupdata[size_t(10 + i)] = float((options >> i) & 1);
            TimerEditor e(rx);
            e.setFromReceiver({0, rx == 1 ? 1 : 0, 0, 0, rx == 1 ? 1 : 0, rx == 3 ? 1 : 0});
            e.year = 2030;
            e.setFrequencyKHz(6000);
            for (int m = 0; m < 10; ++m) {
                for (int b = 0; b < 4; ++b) {
                    const QString problem = timerRowProblem(e.toRow(), rx);
                    ASSERT_EQ(problem, QString()) << "rx " << rx << " options " << options << ": "
                                                  << tprLine(e.toRow()).toStdString();
                    for (int f : {1, 3, 5, 2})
                        e.spinRxSetting(f, true);
                }
                e.spinRxSetting(4, true);
            }
        }
    }
}
