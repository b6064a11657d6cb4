// The RTTY text on its own: how received chunks become display lines, the
// parameter codes of the two JRC models, the capture header lines, and the
// emulators sending decoded text.
#include "panels/jrc/rttytext.h"
#include "sim/jrcsim.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {
QStringList display(const RttyLines &t)
{
    QStringList out;
    for (int i = 0; i < RttyLines::kLines; ++i)
        out << t.line(i);
    return out;
}
} // namespace

TEST(RttyLines, SeventyCharactersStayTheSeventyFirstCompletesTheLine)
{
    RttyLines t;
    EXPECT_FALSE(t.take(QString(69, QLatin1Char('R'))).has_value());
    EXPECT_FALSE(t.take(QStringLiteral("y")).has_value()) << "70 characters are not yet a line";
    EXPECT_EQ(t.line(14), QString(69, QLatin1Char('R')) + QLatin1Char('Y'));
    EXPECT_TRUE(t.line(13).isEmpty());

    const auto done = t.take(QStringLiteral("z"));
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(*done, QString(69, QLatin1Char('R')) + QStringLiteral("YZ"));
    EXPECT_EQ(t.line(13), *done) << "the display rolls up by one line";
    EXPECT_TRUE(t.line(14).isEmpty());
    EXPECT_TRUE(t.assembling().isEmpty());
}

TEST(RttyLines, AChunkIsTakenWholeSoALineMayBeLonger)
{
    RttyLines t;
    t.take(QString(60, QLatin1Char('A')));
    const auto done = t.take(QString(20, QLatin1Char('B')) + QStringLiteral("\rC"));
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(done->size(), 82);
    EXPECT_TRUE(done->endsWith(QStringLiteral("B\rC"))) << "a CR inside a chunk stays in the text";
}

TEST(RttyLines, ALeadingLineFeedCompletesALeadingCarriageReturnIsDropped)
{
    RttyLines t;
    t.take(QStringLiteral("CQ CQ"));
    EXPECT_FALSE(t.take(QStringLiteral("\r")).has_value());
    EXPECT_FALSE(t.take(QStringLiteral("\rDE XYZ")).has_value()) << "only the CR goes, not the text after it";
    EXPECT_EQ(t.line(14), QStringLiteral("CQ CQDE XYZ"));

    const auto done = t.take(QStringLiteral("\n"));
    ASSERT_TRUE(done.has_value());
    EXPECT_EQ(*done, QStringLiteral("CQ CQDE XYZ\n")) << "the line feed stays at the end of the line";
    EXPECT_EQ(t.line(13), QStringLiteral("CQ CQDE XYZ\n"));

    const auto next = t.take(QStringLiteral("\nryry"));
    ASSERT_TRUE(next.has_value()) << "a line-feed chunk completes at once, whatever its length";
    EXPECT_EQ(*next, QStringLiteral("\nRYRY"));
    EXPECT_EQ(t.line(12), QStringLiteral("CQ CQDE XYZ\n"));
}

TEST(RttyLines, NothingReceivedChangesNothing)
{
    RttyLines t;
    t.take(QStringLiteral("abc"));
    const QStringList before = display(t);
    EXPECT_FALSE(t.take(QString()).has_value());
    EXPECT_EQ(display(t), before);
    EXPECT_EQ(t.assembling(), QStringLiteral("ABC"));
}

TEST(RttyLines, SixteenLinesRollTheFirstOut)
{
    RttyLines t;
    for (int i = 1; i <= 16; ++i)
        ASSERT_TRUE(t.take(QStringLiteral("LINE %1").arg(i) + QString(70, QLatin1Char('.'))).has_value());
    EXPECT_TRUE(t.line(14).isEmpty());
    EXPECT_TRUE(t.line(13).startsWith(QStringLiteral("LINE 16.")));
    EXPECT_TRUE(t.line(0).startsWith(QStringLiteral("LINE 3."))) << "lines 1 and 2 have left the display";
    for (int i = 0; i < 14; ++i)
        EXPECT_TRUE(t.line(i).startsWith(QStringLiteral("LINE %1.").arg(i + 3))) << i;

    t.take(QStringLiteral("part"));
    t.clear();
    for (const QString &l : display(t))
        EXPECT_TRUE(l.isEmpty());
    EXPECT_TRUE(t.assembling().isEmpty());
}

TEST(RttyLines, UpperCaseStaysInLatin1)
{
    EXPECT_EQ(RttyLines::upper(QStringLiteral("ryry 123 äé")), QStringLiteral("RYRY 123 ÄÉ"));
    // ÿ and µ have no upper case within Latin-1; they stay as they came.
    EXPECT_EQ(RttyLines::upper(QString::fromLatin1("\xff\xb5")), QString::fromLatin1("\xff\xb5"));
}

TEST(RttyCodes, EachButtonPutsItsModelsCode)
{
    EXPECT_EQ(rttycodes::startParameters(2), QStringLiteral("5010"));
    EXPECT_EQ(rttycodes::startParameters(4), QStringLiteral("5011"));
    const char *baud535[] = {"6510", "5010", "0010"};
    const char *baud545[] = {"4511", "5011", "7511"};
    const char *shift[] = {"5000", "5010", "5020"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rttycodes::withBaud(QStringLiteral("5010"), 2, i), QLatin1String(baud535[i]));
        EXPECT_EQ(rttycodes::withBaud(QStringLiteral("5011"), 4, i), QLatin1String(baud545[i]));
        EXPECT_EQ(rttycodes::withShift(QStringLiteral("5010"), i), QLatin1String(shift[i]));
    }
    EXPECT_EQ(rttycodes::withPolarity(QStringLiteral("0020"), 1), QStringLiteral("0021"));
    EXPECT_EQ(rttycodes::polarityCaption(2, 0), QStringLiteral("Nor."));
    EXPECT_EQ(rttycodes::polarityCaption(2, 1), QStringLiteral("Rev."));
    EXPECT_EQ(rttycodes::polarityCaption(4, 0), QStringLiteral("Rev."));
    EXPECT_EQ(rttycodes::polarityCaption(4, 1), QStringLiteral("Nor."));
}

TEST(RttyCodes, HeaderLinesNameWhatTheCodesMean)
{
    EXPECT_EQ(rttyStartLines("1 Jan 2024  10:00", "1 Jan 2024  09:00", "14080.000", "0021", 2),
              (QStringList{" ", "Start at LT : 1 Jan 2024  10:00   UTC : 1 Jan 2024  09:00",
                           "Freq : 14080.000  Bd/shift/pol : 75/850/Rev", " "}));
    EXPECT_EQ(rttyStartLines("a", "b", "", "5011", 4),
              (QStringList{" ", "Start at LT : a   UTC : b", "Freq :   Bd/shift/pol : 50/425/Nor", " "}))
        << "the default polarity is normal on both receivers";
    EXPECT_EQ(rttyStartLines("a", "b", "f", "6500", 2)[2], QStringLiteral("Freq : f  Bd/shift/pol : 45/170/Nor"));
    EXPECT_EQ(rttyStartLines("a", "b", "f", "4510", 4)[2], QStringLiteral("Freq : f  Bd/shift/pol : 45/425/Rev"));
    EXPECT_EQ(rttyStopLines("a", "b"), (QStringList{" ", "Stop at LT : a   UTC : b", " "}));
}

TEST(RttyCapture, LinesAreAppendedWithCrLfOnlyToAnOpenFile)
{
    tavtest::ScratchDir dir;
    dir.write("RTY_A.TXT", "old\r\n");
    QFile f(dir.file("RTY_A.TXT"));
    EXPECT_FALSE(appendCaptureLines(f, {"lost"}));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Append));
    EXPECT_TRUE(appendCaptureLines(f, {" ", QString::fromLatin1("\xc4X")}));
    EXPECT_EQ(dir.read("RTY_A.TXT"), QByteArray("old\r\n \r\n\xc4X\r\n")) << "written through at once";
    f.close();
}

TEST(RttyEmulators, DecodedTextGoesOutOnlyWhileRttyIsOn)
{
    sim::Nrd535Emulator nrd535;
    sim::Nrd545Emulator nrd545;
    for (sim::JrcEmulator *emu : {static_cast<sim::JrcEmulator *>(&nrd535), static_cast<sim::JrcEmulator *>(&nrd545)}) {
        QByteArray out;
        emu->send = [&](const QByteArray &b) { out += b; };
        EXPECT_TRUE(emu->control(QStringLiteral("rtty ryry")));
        EXPECT_TRUE(out.isEmpty()) << "RTTY is off";
        // Switched on as the program does it, inside the remote bracket.
        emu->feed(emu->model() == QLatin1String("nrd535") ? "H1\rX1\r" : "H1\rU231\r");
        ASSERT_EQ(emu->rtty, 1) << emu->model().toStdString();
        EXPECT_TRUE(emu->control(QStringLiteral("rtty cq de xyz\\r\\n")));
        EXPECT_EQ(out, QByteArray("cq de xyz\r\n"));
        EXPECT_TRUE(emu->controlHelp().join('\n').contains(QStringLiteral("rtty TEXT")));
    }
}
