// The memory image without a window: the memory file byte for byte, the
// sort and its gaps, the grid texts, the printed lines, the editor's record
// and its refusals, and the range rule.
#include "core/globals.h"
#include "drivers/receiver.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "drivers/memrecord.h"
#include "memories/memcell.h"
#include "memories/memimage.h"
#include "memories/memtext.h"
#include "support/testenv.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {

// The name tables of a receiver as its panel fills them.
void tablesFor(int rxtype)
{
    resetProgramState();
    G.rxtype = G.goRxtype = int16_t(rxtype);
    switch (rxtype) {
    case 1:
        G.bwnames = QVector<QString>(7);
        InitAR7030();
        G.bwnames = {QString(), "0.5", "2.1", "5.5", "7.0", "9.5", "0.0"};
        break;
    case 2:
        G.bwnames = QVector<QString>(4);
        InitNRD535();
        break;
    case 3:
        G.bwnames = QVector<QString>(34);
        InitRX320();
        break;
    case 4:
        G.bwnames = QVector<QString>(3);
        InitNRD545();
        break;
    default: // no receiver: no name tables of its own
        break;
    }
}

QString tag(const QString &t) { return t.leftJustified(kMemInfoLength, QLatin1Char(' ')); }

} // namespace

TEST(MemFile, LinesAreEightyColumnsByteForByteAndRoundTrip)
{
    tablesFor(1);
    MemImage img;
    img.reset(99);
    img.setRecord(0, QStringLiteral("MEM000 09650000 1 03 @ @ 000 045 0"));
    img.setInfo(0, QStringLiteral("Radio\tAustria"));   // a tab would split the grid's cells
    img.setRecord(5, memEmptyRecord(5));
    img.setRecord(7, QStringLiteral("MEM007 15400000 7 02 @ @ 012 003 1"));
    img.setInfo(7, QString(60, QLatin1Char('x')));      // cut to 45

    const QStringList lines = img.fileLines();
    ASSERT_EQ(lines.size(), 100);
    for (const QString &l : lines)
        EXPECT_EQ(l.size(), kMemFileLineLength);
    EXPECT_EQ(lines[0], QStringLiteral("MEM000 09650000 1 03 @ @ 000 045 0 ") + tag(QStringLiteral("Radio Austria")));
    EXPECT_EQ(lines[1], QString(80, QLatin1Char(' ')));  // never held: 80 blanks
    EXPECT_EQ(lines[5], memEmptyRecord(5) + QString(45, QLatin1Char(' ')));
    EXPECT_EQ(lines[7].mid(35), QString(45, QLatin1Char('x')));

    // Written through the file kind's rules: Latin-1, CR LF, nothing else.
    tavtest::ScratchDir dir;
    ASSERT_TRUE(writeTextLines(dir.file(QStringLiteral("MEM_1a.TXT")), lines));
    const QByteArray bytes = dir.read(QStringLiteral("MEM_1a.TXT"));
    EXPECT_EQ(bytes.size(), 100 * 82);
    EXPECT_TRUE(bytes.startsWith("MEM000 09650000 1 03 @ @ 000 045 0 Radio Austria"));
    EXPECT_EQ(bytes.mid(80, 84), QByteArray("\r\n") + QByteArray(80, ' ') + "\r\n");

    MemImage back;
    back.readFileLines(*readTextLines(dir.file(QStringLiteral("MEM_1a.TXT"))), 99, 1);
    EXPECT_EQ(back.fileLines(), lines);
    EXPECT_EQ(back.heldCells(), (QVector<int>{0, 5, 7}));
    EXPECT_FALSE(back.held(1));   // a blank record is a cell never held, not mode 0 filter 0
}

TEST(MemFile, ReaderTakesThirtyFourColumnsAndTheTagFromColumn36)
{
    MemImage img;
    // Column 35 is skipped; a short line has no tag; lines past the last cell are ignored.
    QStringList lines{QStringLiteral("MEM000 09650000 4 01 0 2 @@@ @@@ @Zmy tag"),
                      QStringLiteral("MEM001 07200000 2 00 1 0 @@@ @@@ @"), QString(), QString(80, QLatin1Char(' '))};
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("MEM999 01000000 2 00 1 0 @@@ @@@ @");
    EXPECT_EQ(img.readFileLines(lines, 199, 2).linesPast, 104);
    EXPECT_EQ(img.lastCell(), 199);
    EXPECT_EQ(img.record(0), QStringLiteral("MEM000 09650000 4 01 0 2 @@@ @@@ @ "));
    EXPECT_EQ(img.info(0), tag(QStringLiteral("my tag")));
    EXPECT_EQ(img.info(1), QString());
    EXPECT_FALSE(img.held(2));
    EXPECT_FALSE(img.held(3));
    EXPECT_TRUE(img.held(199));
    EXPECT_TRUE(img.anyHeld());
    img.readFileLines({}, 99, 2);
    EXPECT_FALSE(img.anyHeld());
}

TEST(MemSort, GapsHalveWithHalvesToEven)
{
    EXPECT_EQ(MemImage::sortGaps(99), (QVector<int>{50, 25, 12, 6, 3, 2, 1}));
    EXPECT_EQ(MemImage::sortGaps(199), (QVector<int>{100, 50, 25, 12, 6, 3, 2, 1}));
    EXPECT_EQ(MemImage::sortGaps(999), (QVector<int>{500, 250, 125, 62, 31, 16, 8, 4, 2, 1}));
}

TEST(MemSort, FilledCellsFirstByFrequencyEmptyRecordsRenumberedUnheldLast)
{
    MemImage img;
    img.reset(99);
    for (int i = 0; i < 90; ++i)
        img.setRecord(i, memEmptyRecord(i));
    img.setRecord(3, QStringLiteral("MEM003 15400000 7 02 @ @ 000 000 0"));
    img.setInfo(3, QStringLiteral("three"));
    img.setRecord(10, QStringLiteral("MEM010 06000000 1 03 @ @ 000 000 0"));
    img.setInfo(10, QStringLiteral("ten"));
    img.setRecord(50, QStringLiteral("MEM050 09650000 1 03 @ @ 000 000 0"));
    img.setRecord(60, QStringLiteral("MEM060 00000000 1 03 @ @ 000 000 0")); // no frequency: last of the held
    img.setInfo(95, QStringLiteral("tag of a cell never held"));

    EXPECT_EQ(img.sortByFrequency(), MemImage::sortGaps(99));
    EXPECT_EQ(img.record(0), QStringLiteral("MEM000 06000000 1 03 @ @ 000 000 0 "));
    EXPECT_EQ(img.info(0), tag(QStringLiteral("ten")));
    EXPECT_EQ(img.record(1).left(15), QStringLiteral("MEM001 09650000"));
    EXPECT_EQ(img.record(2).left(15), QStringLiteral("MEM002 15400000"));
    EXPECT_EQ(img.info(2), tag(QStringLiteral("three")));
    // 86 "XXX" records and the zero-frequency record (now the sentinel) follow.
    int xxx = 0;
    int sentinelAt = -1;
    for (int i = 3; i < 90; ++i) {
        if (img.record(i).startsWith(QLatin1String("XXX"))) {
            EXPECT_EQ(img.record(i), memEmptyRecord(i));
            ++xxx;
        } else {
            EXPECT_EQ(img.record(i), QStringLiteral("MEM") + cellText(i) + QStringLiteral(" 32016666 1 03 @ @ 000 000 0 "));
            sentinelAt = i;
        }
    }
    EXPECT_EQ(xxx, 86);
    EXPECT_GE(sentinelAt, 3);
    // Cells never held stay empty and last; the tag moved with its cell.
    for (int i = 90; i <= 99; ++i)
        EXPECT_FALSE(img.held(i)) << i;
    int tagAt = -1;
    for (int i = 0; i <= 99; ++i)
        if (img.info(i).startsWith(QLatin1String("tag of")))
            tagAt = i;
    EXPECT_GE(tagAt, 90);
}

TEST(MemSort, NineHundredNinetyNineCellsEndSortedAndEqualKeysAreNeverExchanged)
{
    MemImage img;
    img.reset(999);
    for (int i = 0; i <= 999; ++i) {
        const int khz = 10 + (i * 7919) % 29000;
        img.setRecord(i, QStringLiteral("MEM") + cellText(i) + QLatin1Char(' ') + memFrequencyField(khz * 1000.0)
                             + QStringLiteral(" 2 01 0 2 @@@ @@@ @"));
        img.setInfo(i, QStringLiteral("orig ") + QString::number(i));
    }
    // Two cells with equal keys, already in order: no exchange between them.
    img.setRecord(0, QStringLiteral("MEM000 00005000 2 01 0 2 @@@ @@@ @"));
    img.setRecord(1, QStringLiteral("MEM001 00005000 2 01 0 2 @@@ @@@ @"));
    img.sortByFrequency();
    for (int i = 1; i <= 999; ++i) {
        EXPECT_LE(memFieldText(img.record(i - 1), memcol::Frequency), memFieldText(img.record(i), memcol::Frequency));
        EXPECT_EQ(memFieldText(img.record(i), memcol::Cell), cellText(i));
    }
    EXPECT_EQ(img.info(0), tag(QStringLiteral("orig 0")));
    EXPECT_EQ(img.info(1), tag(QStringLiteral("orig 1")));
}

TEST(MemGrid, RowTextsAndDetailsPerModel)
{
    struct Case {
        int rx;
        QString record;
        std::array<QString, 4> row; // NR, FREQUENCY, MD, BW
        std::array<QString, 6> details; // att, agc, pbs, bfo, sql, scan
    };
    const QList<Case> cases{
        {1, "MEM012 09650000 4 02 @ @ 003 250 1", {"012", "09650.000", "Data", "2.1"},
         {"---", "---", "+0.1k", "-0.2k", "---", "N"}},
        {1, "MEM013 09650000 7 09 @ @ 000 045 0", {"013", "09650.000", "USB", ""},  // filter 9 lies outside
         {"---", "---", " 0.0k", "---", "30", "Y"}},
        {2, "MEM150 00015000 3 03 1 2 @@@ @@@ @", {"150", "00015.000", "LSB", "Aux"},
         {"-20 dB", "Off", "---", "---", "---", "-"}},
        {4, "MEM999 29999999 6 02 0 9 @@@ @@@ @", {"999", "29999.999", "AMS", "Nar"},
         {"0 dB", "1800", "---", "---", "---", "-"}},
        {3, "MEM001 00000001 1 33 @ 3 @@@ @@@ @", {"001", "00000001", "USB", "8000"},
         {"---", "Fst", "---", "---", "---", "-"}},
        {2, memEmptyRecord(7), {"007", "No data ", " ", " "}, {"---", "---", "---", "---", "---", "-"}},
        // No RX shows a file of any model: the shift and BFO bytes read as they do on the AR7030.
        {0, "MEM014 14100000 5 02 @ @ 250 006 1", {"014", "14100.000", "", ""}, {"---", "---", "-0.2k", "+0.2k", "---", ""}},
    };
    for (const Case &c : cases) {
        tablesFor(c.rx);
        MemImage img;
        img.reset(goModel().lastCell);
        const int cell = int(memFieldValue(c.record, memcol::Cell));
        img.setRecord(cell, c.record);
        img.setInfo(cell, QStringLiteral("tag"));
        const auto row = memGridRow(img, cell);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(row[size_t(k)], c.row[size_t(k)]) << c.record.toStdString() << " column " << k;
        EXPECT_EQ(row[4], tag(QStringLiteral("tag")));
        const MemDetails d = memDetails(c.record);
        const std::array<QString, 6> got{d.att, d.agc, d.pbs, d.bfo, d.sql, d.scan};
        EXPECT_EQ(got, c.details) << c.record.toStdString();
        // Row i is cell i: the row of a cell never held is empty.
        for (const QString &t : memGridRow(img, cell == 0 ? 1 : 0))
            EXPECT_TRUE(t.isEmpty());
    }
}

TEST(MemPrint, LinesPerReceiverNameTheMemoryFile)
{
    struct Case {
        int rx;
        QString record;
        QString header;
        QString line;
    };
    const QList<Case> cases{
        {1, "MEM003 09650000 1 03 @ @ 003 045 0", "     Nr  Frequency Mode  Bw    PBS  Sql  BFO  Scn Alpha tag",
         "     003 09650.000   AM  5.5  +0.1k 30        Y  "},
        {1, "MEM003 14100000 5 02 @ @ 250 006 1", "     Nr  Frequency Mode  Bw    PBS  Sql  BFO  Scn Alpha tag",
         "     003 14100.000   CW  2.1  -0.2k     +0.2k N  "},
        {2, "MEM003 09650000 4 01 1 0 @@@ @@@ @", "     Nr  Frequency Mode Bw   Att  Agc  Alpha tag",
         "     003 09650.000   AM  Int -20 dB  Slw  "},
        {4, "MEM003 09650000 2 02 0 3 @@@ @@@ @", "     Nr  Frequency Mode Bw   Att  Agc  Alpha tag",
         "     003 09650.000  USB  Nar 0 dB 0600  "},
        {3, "MEM003 09650000 0 10 @ 2 @@@ @@@ @", "     Nr  Frequency Mode Bw   Agc  Alpha tag",
         "     003 09650.000   AM 3000  Med  "},
        {0, "MEM003 09650000  ", QString(), "     003 09650.000 " + QString(10, QLatin1Char(' '))},
    };
    for (const Case &c : cases) {
        tablesFor(c.rx);
        MemImage img;
        img.reset(goModel().lastCell);
        img.setRecord(3, c.record);
        img.setInfo(3, QStringLiteral("Alpha"));
        img.setInfo(4, QStringLiteral("only a tag"));
        const QStringList lines = memPrintLines(img, 2, 4, c.rx, QStringLiteral("mem_1test.txt"));
        QStringList head{"", "", "     MEM_1TEST.TXT", "", ""};
        if (!c.header.isEmpty())
            head << c.header;
        head << QString();
        ASSERT_EQ(lines.mid(0, head.size()), head) << c.rx;
        const QStringList cells = lines.mid(head.size());
        ASSERT_EQ(cells.size(), 3);
        EXPECT_EQ(cells[0], QStringLiteral("     002 ")); // never held: number only
        EXPECT_EQ(cells[1], c.line + tag(QStringLiteral("Alpha"))) << c.rx;
        EXPECT_EQ(cells[2], QStringLiteral("     004 ") + tag(QStringLiteral("only a tag")));
    }
    // An empty channel prints as the grid shows it: "No data", no values.
    for (int rx : {0, 1, 2, 3, 4}) {
        tablesFor(rx);
        MemImage img;
        img.reset(goModel().lastCell);
        img.setRecord(0, memEmptyRecord(0));
        img.setInfo(0, QStringLiteral("Alpha"));
        const QString line = memPrintLines(img, 0, 0, rx, QString()).last();
        EXPECT_TRUE(line.startsWith(QLatin1String("     000 No data  "))) << rx << line.toStdString();
        EXPECT_EQ(line.mid(9).left(line.size() - 9 - kMemInfoLength).trimmed(), QStringLiteral("No data")) << rx;
        EXPECT_TRUE(line.endsWith(tag(QStringLiteral("Alpha")))) << rx;
    }
}

TEST(MemCell, RecordsTheEditorBuildsPerReceiver)
{
    struct Case {
        int rx;
        MemCellFields f;
        int action;
        QString record;
    };
    const QList<Case> cases{
        {1, {"45", "9650,5", "CW", "5.5", "", "", "+1.0k", "-0.2k", "N", "tag"}, 1,
         "MEM045 09650500 5 03 @ @ 030 250 1 "},
        {1, {"045", "9650.5", "USB", "5.5", "", "", " 0.0k", "30", "Y", ""}, 3, "MEM045 09650500 7 03 @ @ 000 045 0 "},
        {2, {"150", "15400", "AM", "Aux", "-20 dB", "Off", "", "", "", ""}, 1, "MEM150 15400000 4 03 1 2 @@@ @@@ @ "},
        {4, {"999", "29999.999", "AMS", "Nar", "0 dB", "1800", "", "", "", ""}, 2, "MEM999 29999999 6 02 0 9 @@@ @@@ @ "},
        {3, {"1", "100", "CW", "8000", "", "Fst", "", "", "", ""}, 1, "MEM001 00100000 3 33 @ 3 @@@ @@@ @ "},
        {0, {"7", "7200", "", "", "", "", "", "", "", "x"}, 1, "MEM007 07200000" + QString(20, QLatin1Char(' '))},
        {2, {"12", "", "", "", "", "", "", "", "", ""}, 4, memEmptyRecord(12)},
    };
    for (const Case &c : cases) {
        tablesFor(c.rx);
        const MemCellBuild b = buildMemCell(c.f, c.rx, c.action);
        EXPECT_TRUE(b.ok()) << c.record.toStdString() << " " << b.error.join('|').toStdString();
        EXPECT_EQ(b.record, c.record);
        EXPECT_EQ(b.record.size(), 35);
    }
}

TEST(MemCell, RefusesWhatWouldMakeAMalformedRecord)
{
    struct Case {
        int rx;
        MemCellFields f;
        QString title;
        bool cellAccepted;
    };
    const MemCellFields ok{"5", "9650", "USB", "Int", "0 dB", "Slw", "", "", "", ""};
    auto with = [&](auto change) {
        MemCellFields f = ok;
        change(f);
        return f;
    };
    const QList<Case> cases{
        {2, with([](auto &f) { f.cell = "200"; }), " \u00CBrror", false},
        {2, with([](auto &f) { f.cell = "-1"; }), " \u00CBrror", false},
        {2, with([](auto &f) { f.cell = "4294967301"; }), " \u00CBrror", false},  // would wrap to 5
        {2, with([](auto &f) { f.cell = "65541"; }), " \u00CBrror", false},
        {2, with([](auto &f) { f.frequency = "-9650"; }), "Input Error", true},
        {2, with([](auto &f) { f.frequency = "100000"; }), "Input Error", true},    // does not fit 8 digits
        {2, with([](auto &f) { f.frequency = "30000"; }), "Input Error", true},     // beyond the receiver
        {2, with([](auto &f) { f.frequency = "5"; }), "Input Error", true},
        {2, with([](auto &f) { f.mode = ""; }), "Input Error", true},               // empty never matches
        {2, with([](auto &f) { f.mode = "AM-U"; }), "Input Error", true},           // no ECSS: empty entry
        {2, with([](auto &f) { f.bandwidth = "Wide"; }), "Input Error", true},
        {2, with([](auto &f) { f.agc = "slw"; }), "Input Error", true},
        {4, with([](auto &f) { f.agc = "Slw"; }), "Input Error", true},
    };
    for (const Case &c : cases) {
        tablesFor(c.rx);
        const MemCellBuild b = buildMemCell(c.f, c.rx, 1);
        EXPECT_FALSE(b.ok()) << c.f.cell.toStdString() << " " << c.f.frequency.toStdString();
        EXPECT_EQ(b.errorTitle, c.title);
        EXPECT_EQ(b.cell.has_value(), c.cellAccepted);
        EXPECT_TRUE(b.record.isEmpty());
    }
    // The last equal name wins; the range rule of Fill, Print and the scan.
    std::array<QString, 4> t{"a", "b", "a", ""};
    EXPECT_EQ(nameIndex(t, QStringLiteral("a"), 0, 3), 2);
    EXPECT_EQ(nameIndex(t, QString(), 0, 3), std::nullopt);
    EXPECT_EQ(nameIndex(t, QStringLiteral("a"), 0, 1), 0);
}

TEST(MemRange, FromBelowTheLastCellToUpToItSwappedWhenReversed)
{
    struct Case {
        const char *from, *to;
        std::optional<std::pair<int, int>> range;
    };
    const QList<Case> cases{
        {"98", "99", std::pair{98, 99}}, {"99", "99", std::nullopt}, {"20", "10", std::pair{10, 20}},
        {"-1", "5", std::nullopt},       {"0", "100", std::nullopt}, {"0", " 99", std::pair{0, 99}},
        {"65536", "3", std::nullopt},    {"2.5", "3.5", std::pair{2, 4}},
    };
    for (const Case &c : cases) {
        const auto r = cellRange(QLatin1String(c.from), QLatin1String(c.to), 99);
        ASSERT_EQ(r.has_value(), c.range.has_value()) << c.from << " " << c.to;
        if (r) {
            EXPECT_EQ(std::pair(r->from, r->to), *c.range);
        }
    }
}
