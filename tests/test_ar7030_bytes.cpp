// The AR7030 driver's byte runs, exactly, on an in-memory port.
#include "core/globals.h"
#include "drivers/clsAR7030.h"
#include "drivers/memrecord.h"
#include "support/fakeport.h"

#include <QVariantList>
#include <gtest/gtest.h>

using namespace tav;

namespace {

// Records every emission of a one-argument signal.
struct Spy {
    QVariantList values;
    template <typename Sender, typename Arg>
    Spy(Sender *s, void (Sender::*sig)(Arg))
    {
        QObject::connect(s, sig, [this](Arg v) { values << QVariant::fromValue(v); });
    }
    int count() const { return int(values.size()); }
    QVariant operator[](int i) const { return values.at(i); }
};

QByteArray B(std::initializer_list<int> bytes)
{
    QByteArray b;
    for (int x : bytes)
        b += char(x);
    return b;
}

// Answers each 0x71 with the next byte of `answers`; everything else is silent.
struct Ar7030Bytes : ::testing::Test {
    tavtest::FakePort port;
    QByteArray answers;
    clsAR7030 rx{port};

    void SetUp() override
    {
        port.responder = [this](const QByteArray &w) {
            QByteArray out;
            for (char c : w)
                if (uchar(c) == 0x71 && !answers.isEmpty()) {
                    out += answers.left(1);
                    answers.remove(0, 1);
                }
            return out;
        };
    }
};

} // namespace

TEST_F(Ar7030Bytes, FrequencyWordBothWays)
{
    Spy spy(&rx, &clsAR7030::FrequencyAChanged);
    QByteArray writtenWhenRaised;
    QObject::connect(&rx, &clsAR7030::FrequencyAChanged, [&] { writtenWhenRaised = port.written; });
    rx.setFrequencyA(10000);
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x4A, 0x33, 0x69, 0x37, 0x68, 0x35, 0x60, 0x21, 0x2C}));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0].toDouble(), 10000.0);
    // The event comes last, after every byte.
    EXPECT_EQ(writtenWhenRaised, port.written);

    port.written.clear();
    answers = B({0x39, 0x78, 0x50}); // word 3766352
    EXPECT_NEAR(rx.FrequencyA(), 9999.9994, 0.00005);
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x4A, 0x71, 0x71, 0x71}));
}

TEST_F(Ar7030Bytes, FrequencyOutsideTheRangeIsNeverSent)
{
    Spy spy(&rx, &clsAR7030::FrequencyAChanged);
    rx.setFrequencyA(45000); // its word would spill past 24 bits
    rx.setFrequencyA(9.99);
    rx.setFrequencyA(-1);
    EXPECT_TRUE(port.written.isEmpty());
    EXPECT_EQ(spy.count(), 0);
    rx.setFrequencyA(32016);
    EXPECT_EQ(port.written.size(), 11);
}

TEST_F(Ar7030Bytes, ReadModifyWriteLevelsKeepTheUpperBits)
{
    G.ar7030fw = 13;
    Spy vol(&rx, &clsAR7030::VolumeChanged);
    answers = B({0xC0});
    rx.setVolume(0); // level 15, top bits 11 kept
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x4E, 0x71, 0x31, 0x4E, 0x3C, 0x6F, 0x24}));
    ASSERT_EQ(vol.count(), 1);
    EXPECT_EQ(vol[0].toInt(), 0);

    G.ar7030fw = 14;
    port.written.clear();
    answers = B({0x40});
    rx.setVolume(99); // floor(99 * 0.485 + 15.5) = 63
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x4E, 0x71, 0x31, 0x4E, 0x37, 0x6F, 0x25}));

    port.written.clear();
    answers = B({0xF3});
    rx.setTreble(5); // floor(8.5) = 8, bits 4..7 kept
    EXPECT_EQ(port.written, B({0x50, 0x32, 0x42, 0x71, 0x32, 0x42, 0x3F, 0x68, 0x25}));
    port.written.clear();
    answers = B({0x00});
    rx.setTreble(-10); // floor(1) clamped to 2
    EXPECT_EQ(port.written.mid(6), B({0x30, 0x62, 0x25}));

    port.written.clear();
    answers = B({0xFF});
    rx.setBass(20); // 35 clamped to 23, bits 5..7 kept: 0xF7
    EXPECT_EQ(port.written, B({0x50, 0x32, 0x41, 0x71, 0x32, 0x41, 0x3F, 0x67, 0x25}));

    port.written.clear();
    answers = B({0x00});
    rx.setLeftauxlevel(0); // 27
    EXPECT_EQ(port.written, B({0x50, 0x32, 0x43, 0x71, 0x32, 0x43, 0x31, 0x6B, 0x25}));
}

TEST_F(Ar7030Bytes, LevelGetsConvertTheStoredByte)
{
    answers = B({0xC0 | 63, 27 + 36, 15 + 8, 0x17, 0});
    EXPECT_EQ(rx.Volume(), 99);      // floor(48 / 0.481)
    EXPECT_EQ(rx.Leftauxlevel(), 99); // floor(36 / 0.361)
    EXPECT_EQ(rx.Bass(), 8);
    EXPECT_EQ(rx.Treble(), 2);
    EXPECT_EQ(rx.Ifgain(), 99);
}

TEST_F(Ar7030Bytes, IfgainConversionAndRoutineByFirmware)
{
    G.ar7030fw = 13;
    rx.setIfgain(99);
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x48, 0x30, 0x60, 0x24}));
    G.ar7030fw = 14;
    port.written.clear();
    rx.setIfgain(0); // 133.78 rounds to 134, clamped to 130 = 0x82
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x48, 0x38, 0x62, 0x26}));
}

TEST_F(Ar7030Bytes, NibbleSettingsAndTheirRoutines)
{
    G.ar7030fw = 14;
    Spy mode(&rx, &clsAR7030::ModeChanged);
    rx.setMode(7);
    rx.setBandwidth(3);
    rx.setAttenuator(2);
    rx.setAgcspeed(3);
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x4D, 0x67, 0x22, 0x2B, 0x50, 0x33, 0x44, 0x63, 0x23, 0x2B, 0x50, 0x33,
                               0x40, 0x62, 0x26, 0x50, 0x33, 0x42, 0x63, 0x26}));
    ASSERT_EQ(mode.count(), 1);
    EXPECT_EQ(mode[0].toInt(), 7);
    G.ar7030fw = 10;
    port.written.clear();
    rx.setAgcspeed(1);
    EXPECT_EQ(port.written, B({0x50, 0x33, 0x42, 0x61, 0x24}));
}

TEST_F(Ar7030Bytes, OperandsNeverSpillIntoTheOperation)
{
    Spy mode(&rx, &clsAR7030::ModeChanged);
    rx.setMode(35);   // would have been 0x83, a lock command
    rx.setBandwidth(-4);
    rx.setPassBandShift(300);
    rx.setBeatfreqosc(-1);
    EXPECT_EQ(port.written, B({0x50, 0x31, 0x4D, 0x67, 0x22, 0x2B, 0x50, 0x33, 0x44, 0x61, 0x23, 0x2B, 0x50, 0x33,
                               0x45, 0x3F, 0x6F, 0x23, 0x2B, 0x50, 0x33, 0x46, 0x30, 0x60, 0x23, 0x2B}));
    ASSERT_EQ(mode.count(), 1);
    EXPECT_EQ(mode[0].toInt(), 7); // the value that went out
}

TEST_F(Ar7030Bytes, SquelchWritesBothCopiesAndAlwaysRoutineFour)
{
    G.ar7030fw = 14;
    Spy spy(&rx, &clsAR7030::SquelchChanged);
    rx.setSquelch(0x5A);
    EXPECT_EQ(port.written, B({0x50, 0x33, 0x43, 0x35, 0x6A, 0x31, 0x47, 0x35, 0x6A, 0x24}));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0].toInt(), 0x5A);
}

TEST_F(Ar7030Bytes, SmeterReadsTwoBytesAndStretchesTheTop)
{
    answers = B({10, 10});
    EXPECT_NEAR(rx.Smeter(), 12.33, 0.0005);
    EXPECT_EQ(port.written, B({0x50, 0x33, 0x4F, 0x71, 0x50, 0x34, 0x40, 0x71}));
    answers = B({20, 0});
    EXPECT_EQ(rx.Smeter(), 18.0f);
    answers = B({5, 2});
    EXPECT_NEAR(rx.Smeter(), 5.4, 0.0001);
}

TEST_F(Ar7030Bytes, InstalledFilterWidthInBcd)
{
    answers = B({0x24});
    EXPECT_EQ(rx.Installedfilter(1), QStringLiteral("2.4"));
    EXPECT_EQ(port.written, B({0x51, 0x38, 0x45, 0x71}));
    answers = B({0xFF});
    EXPECT_EQ(rx.Installedfilter(6), QStringLiteral("0.0"));
    EXPECT_EQ(port.written.mid(4), B({0x51, 0x39, 0x49, 0x71}));
    port.written.clear();
    for (int n = 2; n <= 5; ++n) {
        answers = B({0x70});
        rx.Installedfilter(n);
    }
    EXPECT_EQ(port.written, B({0x51, 0x38, 0x49, 0x71, 0x51, 0x38, 0x4D, 0x71, 0x51, 0x39, 0x41, 0x71, 0x51, 0x39,
                               0x45, 0x71}));
}

TEST_F(Ar7030Bytes, PowerSequences)
{
    Spy spy(&rx, &clsAR7030::PoweronoffChanged);
    rx.setPowerOnOff(2);
    EXPECT_TRUE(port.written.isEmpty());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0].toInt(), 2);

    rx.setPowerOnOff(1);
    EXPECT_EQ(port.written, B({0x51, 0x31, 0x46, 0x61, 0x20}));
    port.written.clear();
    rx.setPowerOnOff(0);
    EXPECT_EQ(port.written, B({0x83, 0x50, 0x32, 0x48, 0x60, 0x60, 0x60, 0x29, 0x50, 0x32, 0x4E, 0x60, 0x51, 0x31,
                               0x46, 0x60, 0x20}));
    EXPECT_EQ(spy.count(), 3);

    port.written.clear();
    answers = B({0xFE});
    EXPECT_EQ(rx.PowerOnOff(), 0);
    EXPECT_EQ(port.written, B({0x51, 0x31, 0x46, 0x71}));
}

TEST_F(Ar7030Bytes, FirmwareIsEightReadsFromPageFifteen)
{
    answers = "AR70314A";
    EXPECT_EQ(rx.Firmware(), QStringLiteral("AR70314A"));
    EXPECT_EQ(port.written, B({0x5F, 0x40}) + QByteArray(8, char(0x71)));
}

TEST_F(Ar7030Bytes, MemoryWriteAndReadOfChannelFive)
{
    Spy any(&rx, &clsAR7030::FrequencyAChanged);
    rx.setMemory(5, memEmptyRecord(5));
    // 32016.666 kHz is word 12058604 = 0xB7FFEC; then the flags byte 0x80.
    EXPECT_EQ(port.written, B({0x52, 0x31, 0x44, 0x10, 0x3B, 0x67, 0x3F, 0x6F, 0x3E, 0x6C, 0x38, 0x60, 0x52, 0x39,
                               0x45, 0x11, 0x30, 0x60, 0x51, 0x3A, 0x41, 0x30, 0x60}));
    EXPECT_EQ(any.count(), 0);

    port.written.clear();
    answers = B({0xB7, 0xFF, 0xEC});
    bool answered = false;
    EXPECT_EQ(rx.Memory(5, &answered), QStringLiteral("XXX005 No data  @ @@ @ @ @@@ @@@ @ "));
    EXPECT_TRUE(answered);
    EXPECT_EQ(port.written, B({0x52, 0x31, 0x44, 0x10, 0x71, 0x71, 0x71}));

    port.written.clear();
    answers = B({0x39, 0x78, 0x50, 0xB7, 0x80, 0x2D});
    EXPECT_EQ(rx.Memory(5), QStringLiteral("MEM005 10000000 7 03 @ @ 128 045 1 "));
    EXPECT_EQ(port.written, B({0x52, 0x31, 0x44, 0x10, 0x71, 0x71, 0x71, 0x71, 0x52, 0x39, 0x45, 0x11, 0x71, 0x51,
                               0x3A, 0x41, 0x71}));
}

TEST_F(Ar7030Bytes, MemoryCellsFromChannelSixtyFourUseTheHighAddressBits)
{
    rx.setMemory(64, QStringLiteral("MEM064 10000000 7 03 @ @ 128 045 1 "));
    EXPECT_EQ(port.written.left(4), B({0x52, 0x30, 0x40, 0x11}));
    // Scan 1, filter 3, mode 7: 0xB7 at 4n+3.
    EXPECT_EQ(port.written.mid(10, 2), B({0x3B, 0x67}));
    EXPECT_EQ(port.written.mid(12, 6), B({0x52, 0x3D, 0x40, 0x11, 0x38, 0x60}));
    EXPECT_EQ(port.written.mid(18), B({0x51, 0x3D, 0x4C, 0x32, 0x6D}));
}

TEST_F(Ar7030Bytes, MemoryWriteOfAnUnreachableFrequencyStoresTheEmptyChannel)
{
    rx.setMemory(5, memEmptyRecord(5));
    const QByteArray empty = port.written;
    port.written.clear();
    rx.setMemory(5, QStringLiteral("MEM005 99999999 7 03 @ @ 128 045 1 "));
    EXPECT_EQ(port.written, empty);
    port.written.clear();
    rx.setMemory(5, QStringLiteral("MEM005 00000000 1 01 @ @ 000 000 0 "));
    EXPECT_EQ(port.written, empty);
    port.written.clear();
    rx.setMemory(100, QStringLiteral("MEM100 10000000 1 01 @ @ 000 000 0 "));
    EXPECT_TRUE(port.written.isEmpty());
}

TEST_F(Ar7030Bytes, ClockBothWays)
{
    answers = B({0x05, 0x30, 0x23});
    EXPECT_EQ(rx.RxClock(), QStringLiteral("23:30:05"));
    EXPECT_EQ(port.written, B({0x51, 0x30, 0x42, 0x71, 0x71, 0x71}));
    port.written.clear();
    rx.setRxClock(QStringLiteral("07:08:09"));
    EXPECT_EQ(port.written, B({0x51, 0x30, 0x42, 0x30, 0x69, 0x30, 0x68, 0x30, 0x67, 0x24}));
    port.written.clear();
    rx.setRxClock(QStringLiteral("99:99:99")); // held within the clock's digits
    EXPECT_EQ(port.written, B({0x51, 0x30, 0x42, 0x35, 0x69, 0x35, 0x69, 0x32, 0x63, 0x24}));
}

TEST_F(Ar7030Bytes, ResetIsOneByte)
{
    rx.Reset();
    EXPECT_EQ(port.written, B({0x20}));
}
