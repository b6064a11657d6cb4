// The memory record every model with memory channels shares.
#include "drivers/memrecord.h"

#include <gtest/gtest.h>

using namespace tav;

TEST(MemRecord, EmptyRecordIsTheSameThirtyFiveColumnsForEveryModel)
{
    const QString e = memEmptyRecord(5);
    EXPECT_EQ(e, QStringLiteral("XXX005 No data  @ @@ @ @ @@@ @@@ @ "));
    EXPECT_EQ(e.size(), 35);
    EXPECT_EQ(memEmptyRecord(QStringLiteral("123")), QStringLiteral("XXX123 No data  @ @@ @ @ @@@ @@@ @ "));
    // Reply digits that came short still give fixed columns.
    EXPECT_EQ(memEmptyRecord(QStringLiteral("7")).size(), 35);
    EXPECT_EQ(memFieldText(memEmptyRecord(QStringLiteral("7")), memcol::Frequency), QStringLiteral("No data "));
}

TEST(MemRecord, Ar7030RecordColumns)
{
    const QString r = memAr7030Record(5, 9999.9994, 7, 3, 128, 45, 1);
    EXPECT_EQ(r, QStringLiteral("MEM005 10000000 7 03 @ @ 128 045 1 "));
    EXPECT_EQ(r.size(), 35);
    // Mode 0 still writes its digit, so nothing after it moves.
    const QString z = memAr7030Record(99, 7000, 0, 0, 0, 0, 0);
    EXPECT_EQ(z, QStringLiteral("MEM099 07000000 0 00 @ @ 000 000 0 "));
    EXPECT_EQ(memFieldText(z, memcol::Scan), QStringLiteral("0"));
}

TEST(MemRecord, FrequencyFieldIsRoundedNotTruncated)
{
    EXPECT_EQ(memFrequencyField(9999999.6), QStringLiteral("10000000"));
    EXPECT_EQ(memFrequencyField(1234.4), QStringLiteral("00001234"));
    EXPECT_EQ(memFrequencyField(-5), QStringLiteral("00000000"));
    EXPECT_EQ(memFrequencyField(1e12), QStringLiteral("99999999"));
    // The AR7030 field rounds to two decimals of a kHz: multiples of 10 Hz.
    EXPECT_EQ(memAr7030FrequencyField(9999.9994), QStringLiteral("10000000"));
    EXPECT_EQ(memAr7030FrequencyField(9559.99822), QStringLiteral("09560000"));
    EXPECT_EQ(memAr7030FrequencyField(15.004), QStringLiteral("00015000"));
    EXPECT_EQ(memAr7030FrequencyField(15.006), QStringLiteral("00015010"));
}

TEST(MemRecord, OutOfRangeValuesAreHeldInTheirColumns)
{
    const QString r = memAr7030Record(1000, 5000, 35, 123, 999, -3, 7);
    EXPECT_EQ(r.size(), 35);
    EXPECT_EQ(memFieldText(r, memcol::Cell), QStringLiteral("999"));
    EXPECT_EQ(memFieldText(r, memcol::Mode), QStringLiteral("9"));
    EXPECT_EQ(memFieldText(r, memcol::Bandwidth), QStringLiteral("99"));
    EXPECT_EQ(memFieldText(r, memcol::SqlBfo), QStringLiteral("000"));
    EXPECT_EQ(r.mid(15, 1), QStringLiteral(" "));
    EXPECT_EQ(r.mid(32, 1), QStringLiteral(" "));
}

TEST(MemRecord, JrcRecordCopiesTheReplyPieces)
{
    const QString r = memJrcRecord(QStringLiteral("042"), QStringLiteral("09560000"), QLatin1Char('4'),
                                   QLatin1Char('1'), QLatin1Char('0'), QLatin1Char('2'));
    EXPECT_EQ(r, QStringLiteral("MEM042 09560000 4 01 0 2 @@@ @@@ @ "));
    const QString shortReply = memJrcRecord(QStringLiteral("4"), QStringLiteral("123"), QLatin1Char('4'),
                                            QChar(), QLatin1Char('0'), QLatin1Char('2'));
    EXPECT_EQ(shortReply.size(), 35);
    EXPECT_EQ(memFieldText(shortReply, memcol::Mode), QStringLiteral("4"));
}

TEST(MemRecord, Nrd545AgcDigitRoundsHalfEvenAndClamps)
{
    EXPECT_EQ(memNrd545AgcDigit(QStringLiteral("000")), QLatin1Char('1'));
    EXPECT_EQ(memNrd545AgcDigit(QStringLiteral("025")), QLatin1Char('2'));
    EXPECT_EQ(memNrd545AgcDigit(QStringLiteral("035")), QLatin1Char('4'));
    EXPECT_EQ(memNrd545AgcDigit(QStringLiteral("051")), QLatin1Char('5'));
    EXPECT_EQ(memNrd545AgcDigit(QStringLiteral("255")), QLatin1Char('9'));
}

TEST(MemRecord, FieldsReadAsTheReceiverWritesReadThem)
{
    const QString e = memEmptyRecord(12);
    EXPECT_EQ(memFieldValue(e, memcol::Frequency), 0);
    EXPECT_EQ(memFieldValue(e, memcol::PassBandShift), 0);
    EXPECT_FALSE(memFieldPresent(e, memcol::Mode));
    const QString r = QStringLiteral("MEM003 00015000 6 02 @ @ 012 200 0 ");
    EXPECT_EQ(memFieldValue(r, memcol::Frequency), 15000);
    EXPECT_EQ(memFieldValue(r, memcol::SqlBfo), 200);
    EXPECT_FALSE(memFieldPresent(r, memcol::Agc));
    EXPECT_TRUE(memFieldPresent(r, memcol::Scan));
    // A record cut short reads as absent fields, never out of bounds.
    EXPECT_EQ(memFieldText(QStringLiteral("MEM"), memcol::Scan), QString());
    EXPECT_EQ(memFieldValue(QStringLiteral("MEM"), memcol::Frequency), 0);
}

TEST(MemRecord, ParseAndBuildRoundTrip)
{
    const QString ar = memAr7030Record(64, 12345.67, 5, 6, 255, 17, 1);
    const MemRecord a = MemRecord::parse(ar);
    EXPECT_TRUE(a.used);
    EXPECT_FALSE(a.empty);
    EXPECT_EQ(a.cell, 64);
    EXPECT_DOUBLE_EQ(a.khz(), 12345.67);
    EXPECT_EQ(a.mode, 5);
    EXPECT_EQ(a.bandwidth, 6);
    EXPECT_FALSE(a.attenuator.has_value());
    EXPECT_FALSE(a.agc.has_value());
    EXPECT_EQ(a.pbs, 255);
    EXPECT_EQ(a.sqlbfo, 17);
    EXPECT_EQ(a.scan, 1);
    EXPECT_EQ(a.text(), ar);

    const QString jrc = QStringLiteral("MEM199 29999998 2 03 1 0 @@@ @@@ @ ");
    const MemRecord j = MemRecord::parse(jrc);
    EXPECT_EQ(j.attenuator, 1);
    EXPECT_EQ(j.agc, 0);
    EXPECT_FALSE(j.pbs.has_value());
    EXPECT_EQ(j.text(), jrc);

    const MemRecord x = MemRecord::parse(memEmptyRecord(7));
    EXPECT_TRUE(x.empty);
    EXPECT_FALSE(x.used);
    EXPECT_EQ(x.cell, 7);
    EXPECT_EQ(x.text(), memEmptyRecord(7));

    const MemRecord blank = MemRecord::parse(QString());
    EXPECT_FALSE(blank.used);
    EXPECT_FALSE(blank.empty);
}
