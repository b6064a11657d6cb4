// The RTTY text on its own: how received chunks become display lines, the
// parameter codes of the two JRC models, the capture header lines, and the
// emulators sending decoded text.
#include "panels/jrc/rttytext.h"
#include "sim/jrcsim.h"
#include "support/testenv.h"

#include <cmath>
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
    EXPECT_TRUE(t.take(QString(69, QLatin1Char('R'))).isEmpty());
    EXPECT_TRUE(t.take(QStringLiteral("y")).isEmpty()) << "70 characters are not yet a line";
    EXPECT_EQ(t.line(14), QString(69, QLatin1Char('R')) + QLatin1Char('Y'));
    EXPECT_TRUE(t.line(13).isEmpty());

    const QStringList done = t.take(QStringLiteral("z"));
    ASSERT_EQ(done.size(), 1);
    EXPECT_EQ(done[0], QString(69, QLatin1Char('R')) + QStringLiteral("YZ"));
    EXPECT_EQ(t.line(13), done[0]) << "the display rolls up by one line";
    EXPECT_TRUE(t.line(14).isEmpty());
    EXPECT_TRUE(t.assembling().isEmpty());
}

TEST(RttyLines, ALongChunkIsCutAtTheWidthAndItsCrLfEndsNoEmptyLine)
{
    RttyLines t;
    t.take(QString(60, QLatin1Char('A')));
    const QStringList done = t.take(QString(11, QLatin1Char('B')) + QStringLiteral("\r\nC"));
    ASSERT_EQ(done.size(), 1) << "the CR LF after a full line ends no second one";
    EXPECT_EQ(done[0], QString(60, QLatin1Char('A')) + QString(11, QLatin1Char('B')));
    EXPECT_EQ(t.line(14), QStringLiteral("C"));
    const QStringList more = t.take(QString(80, QLatin1Char('D')));
    ASSERT_EQ(more.size(), 1);
    EXPECT_EQ(more[0], QStringLiteral("C") + QString(70, QLatin1Char('D')));
    EXPECT_EQ(t.line(14), QString(10, QLatin1Char('D')));
}

// Chunks as a late reading or a receiver's pace cut them: every line feed
// ends a line wherever it stands, no carriage return is shown, and no other
// character is lost.
TEST(RttyLines, EveryLineFeedEndsALineWhereverTheChunksAreCut)
{
    const struct Row {
        const char *name;
        QStringList chunks;
        QStringList lines; // completed, in order
        const char *assembling;
    } rows[] = {
        {"two lines in one chunk", {"CQ CQ\r\nDE DL0XYZ"}, {"CQ CQ"}, "DE DL0XYZ"},
        {"CR LF split across two readings", {"CQ CQ\r", "\nDE DL0XYZ\r\n"}, {"CQ CQ", "DE DL0XYZ"}, ""},
        {"a chunk that begins with its CR", {"cq", "\rde", "\n"}, {"CQDE"}, ""},
        {"an empty line sent", {"A\r\n\r\nB\r\n"}, {"A", "", "B"}, ""},
        {"CRs inside the text", {"R\rY\r\rRY"}, {}, "RYRY"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        RttyLines t;
        QStringList done;
        for (const QString &c : row.chunks)
            done += t.take(c);
        EXPECT_EQ(done, row.lines);
        EXPECT_EQ(t.assembling(), QLatin1String(row.assembling));
        EXPECT_EQ(t.line(14), QLatin1String(row.assembling));
        for (int i = 0; i < row.lines.size(); ++i)
            EXPECT_EQ(t.line(14 - int(row.lines.size()) + i), row.lines[i]) << i;
    }
}

TEST(RttyLines, NothingReceivedChangesNothing)
{
    RttyLines t;
    t.take(QStringLiteral("abc"));
    const QStringList before = display(t);
    EXPECT_TRUE(t.take(QString()).isEmpty());
    EXPECT_EQ(display(t), before);
    EXPECT_EQ(t.assembling(), QStringLiteral("ABC"));
}

TEST(RttyLines, SixteenLinesRollTheFirstOut)
{
    RttyLines t;
    for (int i = 1; i <= 16; ++i)
        ASSERT_EQ(t.take(QStringLiteral("LINE %1").arg(i) + QString(9, QLatin1Char('.')) + QStringLiteral("\r\n")).size(), 1);
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
        EXPECT_TRUE(emu->control(QStringLiteral("rttyburst ryry")));
        EXPECT_TRUE(out.isEmpty()) << "RTTY is off";
        // Switched on as the program does it, inside the remote bracket.
        emu->feed(emu->model() == QLatin1String("nrd535") ? "H1\rX1\r" : "H1\rU231\r");
        ASSERT_EQ(emu->rtty, 1) << emu->model().toStdString();
        EXPECT_TRUE(emu->control(QStringLiteral("rttyburst cq de xyz\\r\\n")));
        EXPECT_EQ(out, QByteArray("cq de xyz\r\n"));
        EXPECT_TRUE(emu->controlHelp().join('\n').contains(QStringLiteral("rttyburst TEXT")));
    }
}

// The demodulator decodes a character in 7.5 bits of Baudot at the speed
// set: on the emulator's own clock, "rtty" sends one character each such
// time, whatever the line could carry, and what comes while RTTY is off is lost.
TEST(RttyEmulators, DecodedTextComesAtTheDemodulatorsPaceForTheSpeedSet)
{
    sim::Nrd535Emulator nrd535;
    sim::Nrd545Emulator nrd545;
    const struct Row {
        sim::JrcEmulator *emu;
        const char *params; // as the RTTY window sends them
        double charMs;
    } rows[] = {
        {&nrd535, "H1\rU36510\rX1\r", 7500.0 / 45}, {&nrd535, "H1\rU30010\rX1\r", 100},
        {&nrd545, "H1\rU155011\rU231\r", 150},      {&nrd545, "H1\rU157511\rU231\r", 100},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.params);
        qint64 now = 1000;
        QByteArray out;
        row.emu->clockMs = [&now] { return now; };
        row.emu->send = [&](const QByteArray &b) { out += b; };
        row.emu->feed(row.params);
        ASSERT_EQ(row.emu->rtty, 1);
        EXPECT_TRUE(row.emu->control(QStringLiteral("rtty cq de\\r\\n")));
        EXPECT_EQ(out, QByteArray("c")) << "the first character at once";
        // Stepped to just before and just after each character's time.
        for (int i = 1; i < 7; ++i) {
            now = 1000 + qint64(std::floor(i * row.charMs)) - 1;
            row.emu->advance();
            EXPECT_EQ(out.size(), i) << i;
            now = 1000 + qint64(std::ceil(i * row.charMs));
            const qint64 next = row.emu->advance();
            EXPECT_EQ(out.size(), i + 1) << i;
            if (i < 6) {
                EXPECT_NEAR(double(next - 1000), (i + 1) * row.charMs, 1.0) << "when the next one comes";
            }
        }
        EXPECT_EQ(out, QByteArray("cq de\r\n"));
        EXPECT_EQ(row.emu->advance(), -1) << "nothing more on the air";

        // A late look sends what was decoded meanwhile; while RTTY is off the text is lost.
        out.clear();
        row.emu->control(QStringLiteral("rtty ryry"));
        now += qint64(2 * row.charMs) + 1;
        row.emu->advance();
        EXPECT_EQ(out, QByteArray("ryr"));
        row.emu->feed(row.emu->model() == QLatin1String("nrd535") ? "X0\r" : "U230\r");
        now += qint64(row.charMs) + 1;
        row.emu->advance();
        EXPECT_EQ(out, QByteArray("ryr"));
        EXPECT_EQ(row.emu->rttyWaiting(), 0);
        row.emu->clockMs = nullptr;
        row.emu->send = nullptr;
    }
}
