// The station and logbook record stores: every byte of every record kept
// through loading, sorting, listing and saving; the readers' line caps and
// their refusal of files far larger than any of their kind; seeded random
// damage to each reader.
#include "core/globals.h"
#include "core/textfile.h"
#include "logbook/logbook.h"
#include "stations/ftlrecord.h"
#include "stations/stationlist.h"
#include "stations/stationstore.h"
#include "stations/tracking.h"
#include "support/testenv.h"
#include "support/mutate.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

using namespace tav;
using tavtest::mutate;

namespace {

// Text of `n` bytes from the whole Latin-1 range but the line ends.
QByteArray latin1Text(std::mt19937 &rng, int n)
{
    QByteArray b(n, ' ');
    for (char &c : b) {
        do
            c = char(32 + rng() % 224);
        while (c == '\x7f');
    }
    return b;
}

QByteArray crlfFile(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\r\n";
    return out;
}

QByteArray stationFile(std::mt19937 &rng, int records)
{
    QList<QByteArray> lines;
    for (int i = 0; i < records; ++i) {
        QByteArray l = latin1Text(rng, ftl::kWrittenWidth);
        const QByteArray freq = QByteArray::number(2300 + i * 7 + rng() % 5).rightJustified(5, '0') + ".00";
        l.replace(0, 8, freq);
        l.replace(9, 9, "0000-2400");
        lines << l;
    }
    return crlfFile(lines);
}

QByteArray logFile(std::mt19937 &rng, int records)
{
    QList<QByteArray> lines;
    for (int i = 0; i < records; ++i) {
        QByteArray l = latin1Text(rng, kLogLineLength);
        l.replace(0, 4, QByteArray::number(i % 1000).rightJustified(3, '0') + ' ');
        int col = 4;
        for (int w : kLogFieldWidth) {
            col += w;
            l[col++] = ' ';
        }
        lines << l;
    }
    return crlfFile(lines);
}

constexpr int kCases = 2000;
// Generous: a case reads a few hundred kilobytes at most. CPU time, so that
// other processes' load does not stretch it.
constexpr double kSlowestCaseMs = 2000;

} // namespace

TEST(RecordStores, StationRecordsKeepEveryByteThroughLoadSortAndList)
{
    tavtest::ScratchDir dir;
    std::mt19937 rng(35);
    QByteArray file = stationFile(rng, 300);
    // A short line and a long one: held at 126 like every reader holds them.
    file += "06000.00 USB\r\n" + QByteArray(300, '\xe9') + "\r\n";
    dir.write("ILG.ftl", file);
    const QList<QByteArray> lines = file.split('\n');
    StationStore s;
    const StationLoad r = loadStationStore(dir.file("ILG.ftl"), s, 1001);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(s.ftlrecs.size(), 302);
    auto held = [&](int i) { return lines[i].chopped(1).leftJustified(126, ' ', true); };
    for (int i = 0; i < s.ftlrecs.size(); ++i)
        ASSERT_EQ(QByteArray(s.ftlrecs.data(i), 126), held(i)) << "record " << i;

    for (int key = 0; key < 4; ++key) {
        const QVector<int> order = ftlSort(s.ftlrecs, s.ftlindex, key);
        QVector<int> seen = order;
        std::sort(seen.begin(), seen.end());
        ASSERT_EQ(seen, s.ftlindex) << "every record once, order " << key;
        for (int i = 1; i < order.size(); ++i)
            ASSERT_LE(ftlSortKey(s.ftlrecs[order[i - 1]], key), ftlSortKey(s.ftlrecs[order[i]], key));
        StationLinesModel whole, found;
        whole.setLines(s.ftlrecs, order, true);
        found.setLines(s.ftlrecs, order, false);
        for (int i = 0; i < order.size(); ++i) {
            ASSERT_EQ(whole.line(i).toLatin1(), held(order[i])) << "listed line " << i;
            ASSERT_EQ(found.line(i).toLatin1(), held(order[i]).left(77) + held(order[i]).mid(100));
        }
    }
    // A window keeps the file it lists while the store loads another.
    StationLinesModel shown;
    shown.setLines(s.ftlrecs, s.ftlindex, true);
    dir.write("AERO.ftl", "03000.00 aero\r\n");
    loadStationStore(dir.file("AERO.ftl"), s, 1001);
    EXPECT_EQ(shown.rowCount(), 302);
    EXPECT_EQ(shown.line(0).toLatin1(), held(0));
}

TEST(RecordStores, LogbookKeepsEveryByteThroughLoadSortAndSave)
{
    tavtest::ScratchDir dir;
    std::mt19937 rng(34);
    const QByteArray file = logFile(rng, 400);
    dir.write("LOG_A.TXT", file);
    QList<QByteArray> expected;
    for (const QByteArray &l : file.split('\n'))
        if (!l.isEmpty())
            expected << l.chopped(1).mid(4);
    std::sort(expected.begin(), expected.end());
    for (int key = 0; key < 5; ++key) {
        auto c = readLogFile(dir.file("LOG_A.TXT"), 1001);
        ASSERT_TRUE(c);
        ASSERT_EQ(c->records.size(), 400);
        logSort(c->records, key);
        for (int i = 1; i < c->records.size(); ++i)
            ASSERT_LE(logSortKey(c->records[i - 1], key), logSortKey(c->records[i], key));
        ASSERT_TRUE(writeLogFile(dir.file("LOG_B.TXT"), c->records));
        const QByteArray saved = dir.read("LOG_B.TXT");
        QList<QByteArray> got;
        int n = 0;
        for (const QByteArray &l : saved.split('\n')) {
            if (l.isEmpty())
                continue;
            ASSERT_EQ(l.left(4), QByteArray::number(n++ % 1000).rightJustified(3, '0') + ' ');
            got << l.chopped(1).mid(4);
        }
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got, expected) << "order " << key;
    }
    // An entry made in the program reads back as typed.
    LogRecords r;
    LogRecord typed;
    typed[LogFreq] = QStringLiteral("09410");
    typed[LogStation] = QStringLiteral("Ràdio Ö");
    r.push_back(typed);
    EXPECT_EQ(r[0][LogFreq], "09410");
    EXPECT_EQ(r[0][LogStation], QStringLiteral("Ràdio Ö"));
    EXPECT_EQ(r[0][LogDate], "");
}

// Each reader holds the lines its format can, counts the rest without
// keeping them (lines ending in CR, LF or CR LF, also across the reader's
// blocks) as far as the bound of the largest store, and refuses a file whose
// lines for the store alone pass that bound.
TEST(RecordStores, ReadersStopAtTheirCapacityAndCountUpToTheirBound)
{
    tavtest::ScratchDir dir;
    // Line ends of every kind, one CR LF split across the first block end.
    QByteArray many;
    std::mt19937 rng(3);
    while (many.size() < (1 << 20) + 5000) {
        many += latin1Text(rng, int(rng() % 200));
        many += QByteArray("\r\n\r\n\n\r").mid(int(rng() % 4), 1 + int(rng() % 2));
    }
    many[(1 << 20) - 1] = '\r';
    many[1 << 20] = '\n';
    dir.write("MANY", many);
    const QStringList reference = splitTextLines(many);
    for (int capacity : {3001, int(reference.size()) - 7, int(reference.size()) + 3}) {
        StationRecords recs;
        const StationLoad s = readStationLines(dir.file("MANY"), capacity, recs);
        ASSERT_TRUE(s.ok) << s.error.toStdString();
        const int kept = std::min<int>(capacity, int(reference.size()));
        EXPECT_EQ(s.lines, kept);
        EXPECT_EQ(s.leftOut, reference.size() - kept);
        for (int i = 0; i < kept; ++i)
            ASSERT_EQ(recs[i], ftl::held(reference[i])) << "line " << i;
        auto log = readLogFile(dir.file("MANY"), capacity);
        ASSERT_TRUE(log);
        EXPECT_EQ(log->records.size(), kept);
        EXPECT_EQ(log->linesInFile, reference.size());
        for (int i = 0; i < kept; i += 97)
            ASSERT_EQ(std::as_const(log->records)[i], parseLogLine(reference[i])) << "line " << i;
    }

    // Line ends only, past the bound of a store of 1001 lines: its first
    // 1001 lines are held, and every line is counted.
    const qint64 stationBound = stationFileMaxBytes(1001), logBound = logFileMaxBytes(1001);
    ASSERT_LT(stationBound, 2'000'000);
    ASSERT_LT(logBound, 2'000'000);
    const qint64 ends = std::max(stationBound, logBound) + 2;
    dir.write("ENDS", QByteArray(ends, '\n'));
    StationRecords recs;
    const StationLoad s = readStationLines(dir.file("ENDS"), 1001, recs);
    ASSERT_TRUE(s.ok) << s.error.toStdString();
    EXPECT_EQ(s.lines, 1001);
    EXPECT_EQ(s.leftOut, ends - 1001);
    EXPECT_FALSE(s.countStopped);
    auto log = readLogFile(dir.file("ENDS"), 1001);
    ASSERT_TRUE(log);
    EXPECT_EQ(log->records.size(), 1001);
    EXPECT_EQ(log->linesInFile, ends);

    // Past the bound of the largest store the count stops there.
    const qint64 largest = std::max(stationFileMaxBytes(30001), logFileMaxBytes(30001));
    ASSERT_LT(largest, 25'000'000);
    dir.write("ENDS", QByteArray(largest + 5, '\n'));
    const StationLoad stopped = readStationLines(dir.file("ENDS"), 1001, recs);
    ASSERT_TRUE(stopped.ok);
    EXPECT_EQ(stopped.lines, 1001);
    EXPECT_EQ(stopped.leftOut, stationFileMaxBytes(30001) - 1001);
    EXPECT_TRUE(stopped.countStopped);
    log = readLogFile(dir.file("ENDS"), 1001);
    ASSERT_TRUE(log);
    EXPECT_EQ(log->linesInFile, logFileMaxBytes(30001));
    EXPECT_TRUE(log->countStopped);

    // One endless line: nothing the store could hold ends within the bound.
    dir.write("ENDS", QByteArray(largest + 5, 'x'));
    const StationLoad endless = readStationLines(dir.file("ENDS"), 1001, recs);
    EXPECT_FALSE(endless.ok);
    EXPECT_TRUE(endless.error.contains("too large")) << endless.error.toStdString();
    EXPECT_TRUE(recs.isEmpty());
    QString why;
    EXPECT_FALSE(readLogFile(dir.file("ENDS"), 1001, &why));
    EXPECT_TRUE(why.contains("too large")) << why.toStdString();
}

TEST(RecordStores, StationAndTrackingReadersHoldDamagedFiles)
{
    tavtest::ScratchDir dir;
    std::mt19937 rng(20262);
    const QByteArray base = stationFile(rng, 200);
    double slowest = 0;
    for (int c = 0; c < kCases; ++c) {
        const QByteArray file = mutate(base, rng);
        dir.write("T.ftl", file);
        const double cpu0 = tavtest::threadCpuMs();
        StationStore s;
        const StationLoad r = loadStationStore(dir.file("T.ftl"), s, 1001);
        ASSERT_TRUE(r.ok);
        ASSERT_LE(s.ftlrecs.size(), 1001);
        ASSERT_EQ(r.lines + qint64(r.leftOut), splitTextLines(file).size()) << "case " << c;
        IlgCriteria q;
        q.freq = true;
        q.onAir = true;
        for (int i : ilgSearch(s, q, 1200))
            ASSERT_TRUE(i >= 0 && i < s.ftlrecs.size());
        ASSERT_EQ(ftlSort(s.ftlrecs, s.ftlindex, c % 4).size(), s.ftlindex.size());
        TrackEngine e;
        e.setRecords(s.ftlrecs);
        const double f = ftl::frequency(s.ftlrecs.isEmpty() ? "" : s.ftlrecs.data(0));
        ASSERT_TRUE(std::isfinite(f));
        if (e.search(f + c % 50)) {
            ASSERT_TRUE(e.trackhit >= 1 && e.trackhit <= e.trackcount);
            e.build(c % 2 == 0, f, 30, 1200);
            ASSERT_LE(e.lastLine, TrackEngine::kMaxLine);
            for (const auto &l : e.page(0, c % 2 == 0, TrackEngine::View(c % 4), 1200))
                ASSERT_LE(l.text.size(), 126);
        }
        slowest = std::max(slowest, tavtest::threadCpuMs() - cpu0);
    }
    EXPECT_LT(slowest, kSlowestCaseMs);
}

TEST(RecordStores, LogReaderHoldsDamagedFiles)
{
    tavtest::ScratchDir dir;
    std::mt19937 rng(20263);
    const QByteArray base = logFile(rng, 200);
    double slowest = 0;
    for (int c = 0; c < kCases; ++c) {
        const QByteArray file = mutate(base, rng);
        dir.write("LOG_T.TXT", file);
        const double cpu0 = tavtest::threadCpuMs();
        auto log = readLogFile(dir.file("LOG_T.TXT"), 1001);
        ASSERT_TRUE(log);
        ASSERT_LE(log->records.size(), 1001);
        ASSERT_EQ(log->linesInFile, splitTextLines(file).size()) << "case " << c;
        for (int i = 0; i < log->records.size(); ++i)
            for (int f = 0; f < kLogFields; ++f)
                ASSERT_LE(log->records.length(i, f), kLogFieldWidth[size_t(f)]);
        logSort(log->records, c % 5);
        slowest = std::max(slowest, tavtest::threadCpuMs() - cpu0);
        if (c % 10 != 0) // a save is a synced file: every tenth case writes one
            continue;
        ASSERT_TRUE(writeLogFile(dir.file("LOG_S.TXT"), log->records));
        const QByteArray saved = dir.read("LOG_S.TXT");
        ASSERT_EQ(saved.size(), qsizetype(log->records.size()) * (kLogLineLength + 2));
    }
    EXPECT_LT(slowest, kSlowestCaseMs);
}
