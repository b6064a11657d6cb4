// The AR7030 emulator follows the receiver's one-byte commands strictly.
#include "sim/ar7030.h"

#include <gtest/gtest.h>

using sim::AR7030Emulator;

namespace {

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray b;
    for (int x : bytes)
        b += char(x);
    return b;
}

struct Ar7030Emu : ::testing::Test {
    AR7030Emulator emu;
    QByteArray answers;
    QStringList lines;
    QList<double> tunes;
    void SetUp() override
    {
        emu.send = [this](const QByteArray &b) { answers += b; };
        emu.log = [this](const QString &l) { lines << l; };
        emu.frequencyChanged = [this](double hz) { tunes << hz; };
    }
};

} // namespace

TEST_F(Ar7030Emu, FrequencyWordTunesOnlyWhenItsRoutineRuns)
{
    const double before = emu.tunedFrequencyHz();
    // 10000 kHz: word 3766352 written to page 0, 0x1A..0x1C.
    emu.feed(B({0x50, 0x31, 0x4A, 0x33, 0x69, 0x37, 0x68, 0x35, 0x60}));
    EXPECT_EQ(emu.storedWord(), 3766352u);
    EXPECT_EQ(emu.tunedFrequencyHz(), before);
    EXPECT_TRUE(tunes.isEmpty());
    emu.feed(B({0x21}));
    EXPECT_NEAR(emu.tunedFrequencyHz(), 10000000.0, 3.0);
    ASSERT_EQ(tunes.size(), 1);
    EXPECT_EQ(tunes[0], emu.tunedFrequencyHz());
    emu.feed(B({0x2C})); // no new frequency, no new report
    EXPECT_EQ(tunes.size(), 1);
}

TEST_F(Ar7030Emu, EachRoutineAppliesItsOwnGroupAndSetAllAppliesEverything)
{
    // Mode 6, filter 2, volume 50, attenuator 3, frequency word changed: stored only.
    emu.feed(B({0x50, 0x31, 0x4D, 0x66, 0x33, 0x44, 0x62, 0x31, 0x4E, 0x33, 0x62, 0x33, 0x40, 0x63}));
    emu.feed(B({0x50, 0x31, 0x4A, 0x30, 0x61, 0x30, 0x60, 0x30, 0x60}));
    const auto a0 = emu.applied();
    EXPECT_NE(a0.mode, 6);
    emu.feed(B({0x22}));
    EXPECT_EQ(emu.applied().mode, 6);
    EXPECT_EQ(emu.applied().filter, 3) << "a new mode brings the filter last used in it";
    EXPECT_EQ(emu.byteAt(0, 0x34), 3);
    emu.feed(B({0x50, 0x33, 0x44, 0x62}));
    emu.feed(B({0x23}));
    EXPECT_EQ(emu.applied().filter, 2);
    EXPECT_EQ(emu.byteAt(0, 0x38), 0x36) << "the width of the filter in use, BCD kHz";
    EXPECT_NE(emu.applied().volume, 50);
    emu.feed(B({0x25}));
    EXPECT_EQ(emu.applied().volume, 50);
    EXPECT_NE(emu.applied().attenuator, 3);
    emu.feed(B({0x26}));
    EXPECT_EQ(emu.applied().attenuator, 3);
    EXPECT_EQ(emu.applied().word, a0.word); // no routine 1 yet
    emu.feed(B({0x24}));
    EXPECT_EQ(emu.applied().word, 0x010000u);
    EXPECT_EQ(tunes.size(), 1);
}

TEST_F(Ar7030Emu, ReadsAnswerOneByteAndAdvance)
{
    emu.feed(B({0x5F, 0x40}) + QByteArray(8, char(0x71)));
    EXPECT_EQ(answers, QByteArray("AR70314A"));
    answers.clear();
    emu.setFirmware(12);
    emu.feed(B({0x5F, 0x40}) + QByteArray(8, char(0x71)));
    EXPECT_EQ(answers.mid(5, 2), QByteArray("12"));
    answers.clear();
    emu.feed(B({0x51, 0x38, 0x45, 0x71, 0x51, 0x39, 0x49, 0x71}));
    EXPECT_EQ(answers, B({0x24, 0xFF}));
}

TEST_F(Ar7030Emu, MisencodedRunsShowAsTheWrongState)
{
    const int mode = emu.byteAt(0, 0x1D);
    // A mode of 35 sent as one byte is 0x83: a lock command, not a mode.
    emu.feed(B({0x50, 0x31, 0x4D, 0x60 + 35}));
    EXPECT_EQ(emu.byteAt(0, 0x1D), mode);
    EXPECT_EQ(emu.lockLevel(), 3);

    // A write without its address lands where the last one left off.
    emu.feed(B({0x50, 0x31, 0x4D, 0x61}));
    emu.feed(B({0x62}));
    EXPECT_EQ(emu.byteAt(0, 0x1D), 1);
    EXPECT_EQ(emu.byteAt(0, 0x1E), 2); // the volume, not the mode

    // The high nibble is forgotten after a write: the second byte is 0x01.
    emu.feed(B({0x50, 0x33, 0x45, 0x35, 0x6A, 0x61}));
    EXPECT_EQ(emu.byteAt(0, 0x35), 0x5A);
    EXPECT_EQ(emu.byteAt(0, 0x36), 0x01);

    // Without 0x1a the address stays below 256: channel 64 is not reached.
    const uint8_t ch64 = emu.byteAt(2, 0x100);
    emu.feed(B({0x52, 0x30, 0x40, 0x65}));
    EXPECT_EQ(emu.byteAt(2, 0x000), 0x05);
    EXPECT_EQ(emu.byteAt(2, 0x100), ch64);
    emu.feed(B({0x52, 0x30, 0x40, 0x11, 0x65}));
    EXPECT_EQ(emu.byteAt(2, 0x100), 0x05);
}

TEST_F(Ar7030Emu, UnknownCommandsAreLoggedAndIgnored)
{
    lines.clear();
    emu.feed(B({0x95, 0x84, 0xB0, 0xF3}));
    EXPECT_EQ(emu.unknownCommands(), 4);
    ASSERT_EQ(lines.size(), 4);
    for (const QString &l : lines)
        EXPECT_TRUE(l.contains(QLatin1String("unknown"))) << l.toStdString();
    EXPECT_TRUE(answers.isEmpty());
    // Reads that advance by their operand, and the two routines that answer.
    emu.feed(B({0x00, 0x5F, 0x40, 0x72, 0x70, 0x2E, 0x2F}));
    EXPECT_EQ(emu.unknownCommands(), 4);
    EXPECT_EQ(answers, QByteArray("A7") + char(0) + char(0)) << "ident bytes 0 and 2 (read in place), signal 0, no button";
    EXPECT_TRUE(lines.last().contains(QLatin1String("routine 15 (read buttons)"))) << lines.last().toStdString();
    answers.clear();
    // A page that does not exist keeps nothing and reads as 0.
    emu.feed(B({0x57, 0x30, 0x40, 0x65, 0x57, 0x30, 0x40, 0x71}));
    EXPECT_EQ(emu.outsideAccesses(), 2);
    EXPECT_EQ(answers, B({0x00}));
}

TEST_F(Ar7030Emu, PowerOffAndOnThroughTheResetRoutine)
{
    emu.feed(B({0x83, 0x50, 0x32, 0x48, 0x60, 0x60, 0x60, 0x29, 0x50, 0x32, 0x4E, 0x60, 0x51, 0x31, 0x46, 0x60, 0x20}));
    EXPECT_FALSE(emu.applied().power);
    EXPECT_EQ(emu.byteAt(1, 0x16) & 1, 0);
    emu.feed(B({0x51, 0x31, 0x46, 0x61, 0x20}));
    EXPECT_TRUE(emu.applied().power);
}

TEST_F(Ar7030Emu, ControlsTurnTheDialAndSetTheMeter)
{
    EXPECT_TRUE(emu.control(QStringLiteral("dial 9560000")));
    EXPECT_NEAR(emu.tunedFrequencyHz(), 9560000.0, 3.0);
    EXPECT_EQ(emu.storedWord(), emu.applied().word);
    ASSERT_EQ(tunes.size(), 1);
    EXPECT_TRUE(emu.control(QStringLiteral("smeter 12.33")));
    EXPECT_EQ(emu.byteAt(0, 0x3F), 12); // 12 + 0.66 * 0.5 as the driver reads it
    EXPECT_EQ(emu.byteAt(0, 0x40), 0);
    EXPECT_TRUE(emu.control(QStringLiteral("smeter 5.4")));
    EXPECT_EQ(emu.byteAt(0, 0x3F), 5);
    EXPECT_EQ(emu.byteAt(0, 0x40), 2);
    EXPECT_FALSE(emu.control(QStringLiteral("dial")));
    EXPECT_FALSE(emu.control(QStringLiteral("volume 3")));
}

TEST_F(Ar7030Emu, ClockRunsInBcd)
{
    emu.feed(B({0x51, 0x30, 0x42, 0x35, 0x69, 0x35, 0x69, 0x32, 0x63}));
    emu.advanceClock(1);
    EXPECT_EQ(emu.byteAt(1, 0x02), 0x00);
    EXPECT_EQ(emu.byteAt(1, 0x03), 0x00);
    EXPECT_EQ(emu.byteAt(1, 0x04), 0x00);
}
