// The list files without a window: broadcast, own and ".320" lines, the
// last-20/marked rule, the scan choice and the scratch-pad file.
#include "core/globals.h"
#include "lists/bdxclist.h"
#include "lists/f320list.h"
#include "lists/listfile.h"
#include "lists/ownlist.h"
#include "lists/recentlist.h"
#include "lists/scanpick.h"
#include "lists/scratchpadfile.h"
#include "core/textfile.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;
using namespace tav::lists;

namespace {

// A broadcast line: fields placed in their columns.
QByteArray bdxcLine(const char *first, const char *second, const char *time, const char *freqs)
{
    QByteArray l = QByteArray(first).leftJustified(16, ' ', true) + ' ' +
                   QByteArray(second).leftJustified(17, ' ', true) + ' ' + QByteArray(time).leftJustified(9, ' ', true);
    l = l.leftJustified(48, ' ');
    return l + freqs;
}

QStringList cells(const BdxcList &l, int k)
{
    QStringList c;
    for (int col = 0; col < BdxcList::kColumns; ++col)
        c << l.cell(k, col);
    return c;
}

} // namespace

TEST(BdxcFile, ContinuationLinesAndFrequencyFields)
{
    const BdxcList l = BdxcList::fromLines({
        bdxcLine("ABC Country", "Radio One", "0600-0700", "6070,,7100,"),
        bdxcLine(".", "Radio Two", "0800-0900", "6070.5,5,abc,9560"),
        bdxcLine(".", ".", "1000-1100", "1,2,3,4,5,6,7,8,9,10,11,12,13"),
        "short",
    });
    ASSERT_EQ(l.count(), 4);
    EXPECT_EQ(l.line(4).size(), 100);
    EXPECT_EQ(cells(l, 1), (QStringList{"ABC Country     ", "Radio One        ", "0600-0700", " 6070", "", " 7100",
                                        "", "", "", ""}));
    // A run of continuation lines inherits from the full line above.
    EXPECT_EQ(cells(l, 2), (QStringList{"ABC Country     ", "Radio Two        ", "0800-0900", " 6070.5", "", "",
                                        " 9560", "", "", ""}));
    EXPECT_EQ(l.cell(3, 0), "ABC Country     ");
    EXPECT_EQ(l.cell(3, 1), "Radio Two        ");
    // Thirteen fields: only seven are shown, and nothing past the tenth is kept.
    EXPECT_EQ(l.cell(3, 9), "");
    EXPECT_EQ(frequencyFields(l.line(3), 48).count, kMaxFields);
    EXPECT_EQ(frequencyFields(bdxcLine("A", "B", "0000-0100", "6070,,7100,"), 48).count, 4);
}

TEST(BdxcFile, SelectionByTimeAllAndAnswersThatAreNoTime)
{
    const BdxcList l = BdxcList::fromLines({
        bdxcLine("Night", "X", "2200-0200", "6000"),
        bdxcLine("Day", "X", "0600-1800", "7000"),
        bdxcLine("Always", "X", "1200-1200", "8000"),
    });
    struct Case {
        const char *answer;
        std::optional<QVector<int>> rows;
    };
    const Case cases[] = {
        {"2330", QVector<int>{1, 3}}, {"0100", QVector<int>{1, 3}}, {"2200", QVector<int>{1, 3}},
        {"0200", QVector<int>{1, 3}}, {"1200", QVector<int>{2, 3}}, {"0600", QVector<int>{2, 3}},
        {"2400", QVector<int>{1, 3}}, {"ALL", QVector<int>{1, 2, 3}}, {"all", QVector<int>{1, 2, 3}},
        {"0000", std::nullopt},       {"abcd", std::nullopt},         {"", std::nullopt},
        {"120", std::nullopt},        {"12000", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(l.select(QString::fromLatin1(c.answer)), c.rows) << c.answer;
    EXPECT_EQ(BdxcList::defaultAnswer(QStringLiteral("9 Dec 2026  07:05")), "0705");
}

TEST(BdxcFile, TitlesByFileName)
{
    EXPECT_EQ(BdxcList::titles(QStringLiteral("ilg_a07tow.txt"))[0], " Broadcast Org.");
    EXPECT_EQ(BdxcList::titles(QStringLiteral("ILG_A07TOW.TXT"))[1], " Language");
    EXPECT_EQ(BdxcList::titles(QStringLiteral("BDX_A07TOE.TXT"))[0], " Country");
    EXPECT_EQ(BdxcList::titles(QStringLiteral("ADX_IL.TXT"))[1], " Broadcast Org.");
}

TEST(ListFiles, EmptyOverlongAndAnyLineEnding)
{
    tavtest::ScratchDir dir;
    dir.write("empty.txt", "");
    dir.write("mixed.txt", "one\r\ntwo\nthree\rfour\r\n");
    auto empty = readListLines(dir.file("empty.txt"), 10);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->lines.isEmpty());
    EXPECT_FALSE(empty->overflow);
    auto all = readListLines(dir.file("mixed.txt"), 4);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->lines, (QList<QByteArray>{"one", "two", "three", "four"}));
    EXPECT_FALSE(all->overflow);
    auto cut = readListLines(dir.file("mixed.txt"), 3);
    EXPECT_EQ(cut->lines.size(), 3);
    EXPECT_TRUE(cut->overflow);
    EXPECT_FALSE(readListLines(dir.file("missing.txt"), 3));

    resetProgramState();
    G.setupdata[4] = 0; // an old settings file: the dialog's default (2)
    G.setupdata[5] = 50;
    EXPECT_EQ(listCapacity(Setting::DimBdxc), 2000);
    EXPECT_EQ(listCapacity(Setting::DimOwn), 50000);
}

TEST(ListFiles, LatinOneBytesAreColumnsUnderAGermanLocale)
{
    tavtest::GermanLocale german;
    // "Österreich" in Latin-1: one byte a column, so the fields stay in place.
    QByteArray line = bdxcLine("\xd6sterreich", "ORF", "0600-0700", "6155.5,13730");
    const BdxcList l = BdxcList::fromLines({line});
    EXPECT_EQ(l.cell(1, 0), QString::fromLatin1("\xd6sterreich      "));
    EXPECT_EQ(l.cell(1, 3), " 6155.5");
    EXPECT_EQ(l.cell(1, 4), " 13730");
    const OwnList own = OwnList::fromLines({QByteArray("Org").leftJustified(43, ' ') + "u" +
                                            QByteArray().leftJustified(6, ' ') + "9560.5"});
    EXPECT_EQ(own.cell(1, 4), "9560.5");
    EXPECT_EQ(F320List::frequencyText(QStringLiteral("9.5605")), "09560.500");
}

TEST(OwnFile, ColumnsFieldsAndModeLetter)
{
    QByteArray line = QByteArray("Radio Org").leftJustified(19, ' ') + " D  " + " GER" + " " + "0600-0700";
    line = line.leftJustified(43, ' ') + "u";
    line = line.leftJustified(50, ' ') + "6070,5,,7100,1,2,3,4,5,6,7,8,9";
    const OwnList l = OwnList::fromLines({line, "blank"});
    EXPECT_EQ(l.cell(1, 0), "Radio Org          ");
    EXPECT_EQ(l.cell(1, 1), "D  ");
    EXPECT_EQ(l.cell(1, 2), "GER");
    EXPECT_EQ(l.cell(1, 3), "0600-0700");
    EXPECT_EQ(l.cell(1, 4), "6070");
    EXPECT_EQ(l.cell(1, 5), "");
    EXPECT_EQ(l.cell(1, 6), "");
    EXPECT_EQ(l.cell(1, 7), "7100");
    EXPECT_EQ(l.cell(1, 12), "");
    EXPECT_EQ(l.cell(1, OwnList::kModeColumn), "U");
    EXPECT_EQ(l.cell(2, OwnList::kModeColumn), "");
}

TEST(F320File, FieldsQuotesAndLimits)
{
    const QByteArray full =
        "\"Radio X\",9.56,\"USB\",a,b,c,d,\"Town\",\"Eng\",0600,0700,\"A note of thirty characters ok\",x,y,z,";
    const QByteArray noTrail = "n,15,AM,3,4,5,6,7,8,9,10,11,12,13,last";
    const QByteArray tooMany = "n,,AM,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,";
    const F320List l = F320List::fromLines({full, noTrail, tooMany});
    QStringList row;
    for (int c = 0; c < F320List::kColumns; ++c)
        row << l.cell(1, c);
    EXPECT_EQ(row, (QStringList{"Radio X", "09560.000", "USB", "Town", "Eng", "0600", "0700", "A note of thirty cha",
                                "", ""}));
    EXPECT_EQ(l.row(1)[11], "A note of thirty characters ok");
    EXPECT_EQ(l.cell(2, 1), "15000.000");
    EXPECT_EQ(l.row(2)[13], "13");
    EXPECT_EQ(l.row(2)[14], ""); // no "," after it
    EXPECT_EQ(l.cell(3, 1), "00000.000");
    EXPECT_EQ(l.row(3)[14], "14");
}

TEST(RecentList, NewestFirstNoDuplicatesTwentyEntries)
{
    RecentList l;
    for (const char *f : {"9560", "6070", "9560"})
        l.record(QLatin1String(f));
    EXPECT_EQ(l.at(0), "9560");
    EXPECT_EQ(l.at(1), "6070");
    EXPECT_EQ(l.at(2), "");

    l.clear();
    for (int i = 0; i < 21; ++i)
        l.record(QString::number(1000 + i));
    EXPECT_EQ(l.at(0), "1020");
    EXPECT_EQ(l.at(19), "1001"); // the oldest dropped out
    // Re-tuning row 18 moves it on top and leaves row 19 empty.
    l.record(l.at(18));
    EXPECT_EQ(l.at(0), "1002");
    EXPECT_EQ(l.at(1), "1020");
    EXPECT_EQ(l.at(18), "1003");
    EXPECT_EQ(l.at(19), "");
    // Texts are compared exactly.
    l.record(QStringLiteral("1002.000"));
    EXPECT_EQ(l.at(1), "1002");
}

TEST(ScanPick, OneRoundFromTheCurrentPlace)
{
    const QStringList row{"9560.000", "", "6070.000", "99999", "", "", "", ""};
    EXPECT_EQ(countInRange(row, 10, 32000), 2);
    int from = 0;
    double last = 0;
    QList<double> tuned;
    for (int i = 0; i < 4; ++i) {
        auto pick = nextScanIndex(row, from, last, 10, 32000);
        ASSERT_TRUE(pick);
        last = row[*pick].toDouble();
        tuned << last;
        from = (*pick + 1) % 8;
    }
    EXPECT_EQ(tuned, (QList<double>{9560, 6070, 9560, 6070}));
    // Two equal frequencies written differently: no next one, and no hang.
    const QStringList equal{"9560", "9560.000", "", "", "", "", "", ""};
    EXPECT_EQ(countInRange(equal, 10, 32000), 2);
    EXPECT_FALSE(nextScanIndex(equal, 1, 9560, 10, 32000));
}

TEST(ScratchPadFile, BytesRoundTripAndOddLines)
{
    tavtest::ScratchDir dir;
    ScratchPad pad;
    ASSERT_TRUE(writeTextLines(dir.file("FSP_EMPTY.TXT"), pad.toLines()));
    const QByteArray empty = dir.read("FSP_EMPTY.TXT");
    EXPECT_EQ(empty.size(), 110);
    EXPECT_EQ(empty, QByteArray(",,,,,,,,,\r\n").repeated(10));

    pad.notes[0] = QStringLiteral("Morning");
    pad.cells[0][0] = QStringLiteral("9560.000");
    pad.cells[0][2] = QStringLiteral("6070.000");
    pad.notes[9] = QStringLiteral("Last");
    pad.cells[9][7] = QStringLiteral("15000.00");
    const QStringList lines = pad.toLines();
    EXPECT_EQ(lines[0], "Morning,9560.000,,6070.000,,,,,,");
    EXPECT_EQ(lines[9], "Last,,,,,,,,15000.00,");

    ScratchPad back;
    back.readLines(lines);
    EXPECT_EQ(back.cells, pad.cells);
    EXPECT_EQ(back.notes, pad.notes);

    // A note with a "," ends there and pushes the rest into the cells; a ninth
    // cell is ignored. A line without a "," after the notes fills the first
    // cell; one without any "," keeps the row's notes. Rows the file does not
    // reach lose their cells and keep their notes.
    ScratchPad odd;
    odd.notes = {"n0", "n1", "n2", "n3", "n4", "n5", "n6", "n7", "n8", "n9"};
    odd.cells[5][3] = QStringLiteral("7100");
    odd.readLines({QStringLiteral("a,b,1,2,3,4,5,6,7,8,"), QStringLiteral("Evening,9560"), QStringLiteral("6070")});
    EXPECT_EQ(odd.notes[0], "a");
    EXPECT_EQ(odd.cells[0][0], "b");
    EXPECT_EQ(odd.cells[0][7], "7");
    EXPECT_EQ(odd.notes[1], "Evening");
    EXPECT_EQ(odd.cells[1][0], "9560");
    EXPECT_EQ(odd.cells[1][1], "");
    EXPECT_EQ(odd.notes[2], "n2");
    EXPECT_EQ(odd.cells[2][0], "6070");
    EXPECT_EQ(odd.notes[5], "n5");
    EXPECT_EQ(odd.cells[5][3], "");
}
