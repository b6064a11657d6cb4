// The log record, the LOG_ file, the entry forms of time and frequency, the
// column mask's length and the five sort orders, without any window.
#include "core/globals.h"
#include "core/numtext.h"
#include "logbook/logbook.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace tav;

namespace {

LogRecord rec(const QString &date, const QString &start, const QString &freq, const QString &station = {},
              const QString &language = {})
{
    LogRecord r;
    r[LogDate] = date;
    r[LogStart] = start;
    r[LogFreq] = freq;
    r[LogStation] = station;
    r[LogLanguage] = language;
    return r;
}

} // namespace

TEST(LogRecordLine, FiveCharacterFrequencyKeepsTheLaterColumns)
{
    LogRecord r = rec("20011231", "2359", "06195");
    r[LogSinpo] = "45444";
    const QString line = logLine(7, r);
    ASSERT_EQ(line.size(), 160);
    EXPECT_EQ(line.left(4), "007 ");
    EXPECT_EQ(line.mid(23, 10), "06195     ") << "nine wide plus the separating blank";
    EXPECT_EQ(line.mid(33, 5), "45444") << "SINPO starts at column 34";
}

TEST(LogRecordLine, FullRecordByteForByte)
{
    LogRecord r;
    const char *values[] = {"20020815", "1230", "1300", "06195.500", "45444", "ENG", "BBC World Service   ",
                            "Rampisham", "9410", "12095", "15070", "17640", "Clear signal, QSL sent", "u", "x1"};
    for (int i = 0; i < kLogFields; ++i)
        r[size_t(i)] = QString::fromLatin1(values[i]);
    const QString expected = QStringLiteral(
        "234 20020815 1230 1300 06195.500 45444 ENG BBC World Service    Rampisham            9410  12095 15070 17640 "
        "Clear signal, QSL sent                   u    x1   ");
    EXPECT_EQ(logLine(1234, r), expected);
    EXPECT_EQ(parseLogLine(expected)[LogRemarks], "Clear signal, QSL sent                  ");

    // A value longer than its field is cut at the field's width.
    r[LogStation] = QString(30, QLatin1Char('S'));
    const QString cut = logLine(0, r);
    ASSERT_EQ(cut.size(), 160);
    EXPECT_EQ(cut.mid(43, 21), QString(20, QLatin1Char('S')) + QLatin1Char(' '));
    EXPECT_EQ(cut.mid(64, 9), "Rampisham");
}

TEST(LogFile, RoundTripsShortLinesAndCapacity)
{
    tavtest::ScratchDir dir;
    const QByteArray file = "000 20020101 1200      06195     45444 ENG BBC" + QByteArray(160 - 46, ' ') +
                            "\r\n001 20011231 0900\r\n\r\n";
    dir.write("LOG_A.TXT", file);
    auto c = readLogFile(dir.file("LOG_A.TXT"), 100);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->records.size(), 3);
    EXPECT_EQ(c->records[0][LogFreq], "06195    ");
    EXPECT_EQ(c->records[0][LogStation], "BBC                 ");
    EXPECT_EQ(c->records[1][LogStart], "0900");
    EXPECT_EQ(c->records[1][LogFreq], "") << "a short line's missing fields are empty";
    EXPECT_EQ(c->records[2][LogDate], "");

    ASSERT_TRUE(writeLogFile(dir.file("LOG_B.TXT"), c->records));
    const QByteArray written = dir.read("LOG_B.TXT");
    ASSERT_EQ(written.size(), 3 * 162);
    EXPECT_TRUE(written.startsWith(file.left(162)));
    EXPECT_EQ(written.mid(162, 18), "001 20011231 0900 ");
    EXPECT_EQ(written.mid(324, 4), "002 ");

    // What this writer made reads and writes back unchanged.
    auto again = readLogFile(dir.file("LOG_B.TXT"), 100);
    ASSERT_TRUE(again);
    ASSERT_TRUE(writeLogFile(dir.file("LOG_C.TXT"), again->records));
    EXPECT_EQ(dir.read("LOG_C.TXT"), written);

    // A file larger than the store loads what fits and tells how much was there.
    auto part = readLogFile(dir.file("LOG_B.TXT"), 2);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->records.size(), 2);
    EXPECT_EQ(part->linesInFile, 3);

    dir.write("LOG_E.TXT", "");
    auto empty = readLogFile(dir.file("LOG_E.TXT"), 100);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->records.isEmpty());
    EXPECT_FALSE(readLogFile(dir.file("LOG_MISSING.TXT"), 100));
}

TEST(LogEntryForms, TimesAndFrequencies)
{
    tavtest::GermanLocale german;
    struct T { const char *typed; const char *stored; };
    for (const T &t : {T{"930", "0930"}, T{"0", "0000"}, T{"", ""}, T{"abc", "abc"}, T{"2359", "2359"}})
        EXPECT_EQ(logTimeText(QString::fromLatin1(t.typed)), QString::fromLatin1(t.stored)) << t.typed;
    struct F { const char *typed; const char *stored; };
    for (const F &f : {F{"6195", "06195"}, F{"6195.5", "06195.500"}, F{"6195,5", "06195"}, F{"", "00000"},
                       F{"99999.999", "99999.999"}, F{"153", "00153"}, F{" 9 410", "09410"}})
        EXPECT_EQ(logFrequencyText(QString::fromLatin1(f.typed)).value_or("<refused>"), QString::fromLatin1(f.stored))
            << f.typed;
    for (const char *tooBig : {"100000", "123456.5", "-5.5"})
        EXPECT_FALSE(logFrequencyText(QString::fromLatin1(tooBig))) << tooBig;
}

TEST(LogColumns, LengthLabelAndShownFields)
{
    EXPECT_EQ(logLengthLabel(allColumnsMask()), "156");
    EXPECT_EQ(logLengthLabel("100100000000000"), "019");
    EXPECT_EQ(logLengthLabel("1001"), "019") << "missing characters are hidden fields";
    EXPECT_EQ(logLengthLabel(""), "000");
    EXPECT_EQ(shownFields("011100000000001"), (QVector<int>{1, 2, 3, 14}));
    for (int f = 0; f < kLogFields; ++f)
        EXPECT_EQ(logFieldTunes(f), f == 3 || f == 4 || (f >= 8 && f <= 11)) << f;
}

TEST(LogSort, KeysFollowTheirTemplates)
{
    const LogRecord r = rec("20020815", "1230", "06195    ", "bbc", "eng");
    const QString station = "BBC";
    EXPECT_EQ(logSortKey(r, 0), "20020815" "1230" "06195    " + station + "ENG");
    EXPECT_EQ(logSortKey(r, 1), "1230" "20020815" "06195    " + station + "ENG");
    EXPECT_EQ(logSortKey(r, 2), "06195    " "20020815" "1230" + station + "ENG");
    EXPECT_EQ(logSortKey(r, 3), station + "20020815" "1230" "06195    " "ENG");
    EXPECT_EQ(logSortKey(r, 4), "ENG" "20020815" "1230" "06195    " + station);
}

TEST(LogSort, OrdersByKey)
{
    QVector<LogRecord> v{rec("20020101", "1200", "1"), rec("20011231", "0900", "2"), rec("20020101", "0800", "3")};
    logSort(v, 0);
    EXPECT_EQ(v[0][LogFreq] + v[1][LogFreq] + v[2][LogFreq], "231");

    // A blank-padded whole frequency comes before the same kHz with decimals.
    QVector<LogRecord> f{rec("1", "", "06195.500"), rec("2", "", "06195    ")};
    logSort(f, 2);
    EXPECT_EQ(f[0][LogDate], "2");

    QVector<LogRecord> two{rec("b", "", ""), rec("a", "", "")};
    logSort(two, 0);
    EXPECT_EQ(two[0][LogDate], "a") << "two records are put in order";
    QVector<LogRecord> one{rec("z", "", "")};
    logSort(one, 0);
    EXPECT_EQ(one[0][LogDate], "z");

    // Larger logbooks of every order end sorted, whatever the start.
    QRandomGenerator rng(7);
    for (int key = 0; key < 5; ++key) {
        QVector<LogRecord> big;
        for (int i = 0; i < 2000; ++i)
            big.push_back(rec(QString::number(20000000 + rng.bounded(100000)), padded(rng.bounded(2400), 4),
                              padded(rng.bounded(30000), 5), QString(QChar(u'a' + rng.bounded(26))),
                              QString(QChar(u'A' + rng.bounded(26)))));
        logSort(big, key);
        for (int i = 1; i < big.size(); ++i)
            ASSERT_LE(logSortKey(big[i - 1], key), logSortKey(big[i], key)) << "order " << key << " at " << i;
    }
}
