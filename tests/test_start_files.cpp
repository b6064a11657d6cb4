// The four files read at start ("tavorin2.ini", "formpositions.ini",
// "comports.ini", "rx320settings.ini") whatever they hold, and what a full
// disk, a file-size limit, a home folder outside Latin-1, an unreadable
// settings file and a stale port lock do to the program.
#include "core/clock.h"
#include "core/comm.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/portlock.h"
#include "core/settings.h"
#include "core/textfile.h"
#include "panels/rx320state.h"
#include "sim/ar7030.h"
#include "sim/pty.h"
#include "support/mutate.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>

using namespace tav;
using tavtest::crlf;

namespace {

// A valid file of each kind, the seed of the mutations.
QByteArray validSettings(const QString &datapath)
{
    QStringList l{datapath, "5130N", "00007W", " 2"};
    for (int k = 1; k <= 31; ++k)
        l << numSingle(setupDefault(k));
    return crlf(l);
}

QByteArray validPositions()
{
    QStringList l;
    for (int i = 1; i <= 45; ++i)
        l << QStringLiteral(" %1, %2").arg(i * 150).arg(i * 90);
    return crlf(l);
}

using tavtest::mutate;

struct StartFiles : ::testing::Test {
    tavtest::ScratchDir dir;
    QByteArray oldHome = qgetenv("HOME");
    void TearDown() override { qputenv("HOME", oldHome); }
    void setHome(const QString &home)
    {
        QDir().mkpath(home);
        qputenv("HOME", QFile::encodeName(home));
    }
};

constexpr int kCases = 3000;
constexpr int kFileCases = 1000; // readers that take a path: each case goes through the disk

} // namespace

TEST_F(StartFiles, SettingsReaderKeepsEveryValueInItsRangeWhateverTheFileHolds)
{
    std::mt19937 rng(20261);
    const QByteArray base = validSettings(dir.path());
    double slowest = 0; // CPU time: what a reading costs, whatever the machine's load
    for (int c = 0; c < kCases; ++c) {
        const QByteArray file = mutate(base, rng);
        const double cpu0 = tavtest::threadCpuMs();
        applySettingsLines(splitTextLines(file, kShortLineMax));
        updateClockTexts();
        slowest = std::max(slowest, tavtest::threadCpuMs() - cpu0);
        ASSERT_LE(G.datapath.size(), kShortLineMax + 1);
        ASSERT_LE(G.rxlatitude.size(), kShortLineMax);
        ASSERT_FALSE(G.utctext.isEmpty()) << "case " << c;
        struct R { int k; float lo, hi; } ranges[] = {
            {1, 1, 5}, {2, 0, 8}, {3, -13, 13}, {4, 1, 30}, {5, 1, 30}, {6, 1, 30}, {7, 1, 30}, {8, 0, 2},
            {10, 0, 1}, {11, 0, 1}, {12, 0, 1}, {13, 0, 1}, {14, 1, 6}, {15, 1, 6}, {16, 1, 6}, {17, 1, 6},
            {18, 0, 1}, {19, 0, 1}, {20, -1000, 1000}, {21, -1000, 1000}, {22, 0, 1}, {23, 1, 9}, {24, 1, 9},
            {25, 1, 9}, {26, 0, 255}, {27, 0, 255}, {28, 0, 99}, {29, 0, 99}, {30, 0, 1}, {31, 0, 99}};
        for (const R &r : ranges)
            ASSERT_TRUE(G.setupdata[size_t(r.k)] >= r.lo && G.setupdata[size_t(r.k)] <= r.hi)
                << "case " << c << " setting " << r.k << " = " << G.setupdata[size_t(r.k)];
        ASSERT_TRUE(std::isfinite(G.setupdata[9]) && std::isfinite(G.setupdata[32]));
    }
    EXPECT_LT(slowest, 2000) << "one reading took " << slowest << " ms";
}

TEST_F(StartFiles, PositionsReaderIsLinearAndFillsOnlyItsSlots)
{
    std::mt19937 rng(20262);
    const QByteArray base = validPositions();
    double slowest = 0;
    for (int c = 0; c < kCases; ++c) {
        resetProgramState();
        const QByteArray file = mutate(base, rng);
        const double cpu0 = tavtest::threadCpuMs();
        applyPositionLines(splitTextLines(file, kShortLineMax));
        slowest = std::max(slowest, tavtest::threadCpuMs() - cpu0);
        ASSERT_EQ(G.formleft[0], 0);
        ASSERT_EQ(G.formtop[0], 0);
        // Whatever was read, the file written back holds 45 lines within the bounds.
        const QStringList out = positionLines();
        ASSERT_EQ(out.size(), 45);
        for (int s = 1; s <= 45; ++s)
            ASSERT_TRUE(std::abs(G.formleft[s]) <= 40000 && std::abs(G.formtop[s]) <= 40000);
    }
    EXPECT_LT(slowest, 2000);
}

TEST_F(StartFiles, PortsAndRx320StateReadersStayWithinTheirForms)
{
    std::mt19937 rng(20263);
    G.datapath = dir.path();
    const QByteArray ports = "/dev/ttyUSB7\r\n/dev/pts/3\r\n\r\n/dev/ttyS0\r\n";
    const QByteArray state = " 7100\r\n 2\r\n 0\r\n 2\r\n 800\r\n 0\r\n 30\r\n 50\r\n";
    for (int c = 0; c < kFileCases; ++c) {
        dir.write(QStringLiteral("comports.ini"), mutate(ports, rng));
        for (int n = 1; n <= 5; ++n) {
            const QString dev = CommControl::deviceForPort(n);
            ASSERT_FALSE(dev.isEmpty());
            ASSERT_LE(dev.size(), kShortLineMax);
        }
        dir.write(QStringLiteral("rx320settings.ini"), mutate(state, rng));
        rx320state::read(dir.file(QStringLiteral("rx320settings.ini")));
        ASSERT_TRUE(G.rx320freq >= 100 && G.rx320freq <= 30000) << G.rx320freq;
        ASSERT_TRUE(G.rx320filter >= 0 && G.rx320filter <= 33);
        ASSERT_TRUE(G.rx320agc >= 1 && G.rx320agc <= 3);
        ASSERT_TRUE(G.rx320mode >= 0 && G.rx320mode <= 3);
        ASSERT_TRUE(G.rx320volume >= 0 && G.rx320volume <= 99);
        ASSERT_TRUE(G.rx320linelevel >= 0 && G.rx320linelevel <= 99);
        ASSERT_TRUE(std::abs(G.rx320pbs) <= 2000 && std::abs(G.rx320bfo) <= 3000);
    }
}

TEST_F(StartFiles, HugeTimeOffsetsAndLongLinesAreHarmless)
{
    // A local-time offset far out of range is the dialog's default, and the clock works.
    Clock::set(QDateTime(QDate(2026, 3, 1), QTime(0, 30)));
    for (const char *v : {"2600000000000", "100000000000000000000", "-99999", " 13.7", "nan"}) {
        QStringList lines = QString::fromLatin1(validSettings(dir.path())).split("\r\n");
        lines[6] = QLatin1String(v);
        applySettingsLines(lines);
        EXPECT_EQ(G.setupdata[3], 0) << v;
        updateClockTexts();
        EXPECT_EQ(G.utctext, "1 Mar 2026  00:30") << v;
    }
    // A megabyte of commas in the positions file reads at once; the line is cut.
    QByteArray file = validPositions();
    file.insert(0, " 300" + QByteArray(1 << 20, ',') + " 450\r\n");
    dir.write(QStringLiteral("formpositions.ini"), file);
    const double cpu0 = tavtest::threadCpuMs();
    EXPECT_TRUE(readPositionsFile());
    EXPECT_LT(tavtest::threadCpuMs() - cpu0, 2000);
    EXPECT_EQ(G.formleft[1], 300);
    EXPECT_EQ(G.formleft[2], 150) << "the long line is still one line";
    // Long text from a file is cut before it reaches a message.
    const QString shown = shownText(QString(100000, QLatin1Char('x')));
    EXPECT_LE(shown.size(), 120);
    EXPECT_TRUE(shown.endsWith(QStringLiteral("...")));
}

TEST_F(StartFiles, FileSizeLimitMakesSavesFailCleanly)
{
    ignoreFileSizeSignal();
    G.datapath = dir.path();
    G.settingsReadDir = dir.path();
    applySettingsLines(QString::fromLatin1(validSettings(dir.path())).split("\r\n"));
    const QByteArray old = "old settings\r\n";
    dir.write(QStringLiteral("tavorin2.ini"), old);
    rlimit was{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &was), 0);
    rlimit small = was;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    const bool saved = saveSettingsFile(&error);
    QString posError;
    const bool posSaved = savePositionsFile(&posError);
    setrlimit(RLIMIT_FSIZE, &was);
    EXPECT_FALSE(saved);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(posSaved);
    EXPECT_EQ(dir.read(QStringLiteral("tavorin2.ini")), old);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"tavorin2.ini"}) << "no temporary file stays behind";
}

TEST_F(StartFiles, HomeFolderOutsideLatin1KeepsItsDataPath)
{
    setHome(dir.path() + QStringLiteral("\u0414\u043c\u0438\u0442\u0440\u0438\u0439"));
    applySettingsLines({});
    const QString datapath = G.datapath;
    EXPECT_TRUE(datapath.startsWith(QDir::homePath()));
    G.settingsReadDir = dir.path();
    ASSERT_TRUE(QDir().mkpath(datapath));
    QString error;
    ASSERT_TRUE(saveSettingsFile(&error)) << error.toStdString();
    const QByteArray written = dir.read(QStringLiteral("tavorin2.ini"));
    EXPECT_TRUE(written.startsWith("~/DiDuzu/\r\n"));
    resetProgramState();
    const SettingsReadResult r = readSettingsFile();
    EXPECT_TRUE(r.found);
    EXPECT_EQ(G.datapath, datapath) << "the next start uses the same directory";
}

TEST_F(StartFiles, UnreadableSettingsInTheWorkingDirectoryIsPassedOverAndNamed)
{
    setHome(dir.path() + QStringLiteral("home"));
    ASSERT_TRUE(QDir().mkpath(dir.path() + QStringLiteral("tavorin2.ini")));
    ASSERT_TRUE(QDir().mkpath(userConfigDir()));
    QFile saved(userConfigDir() + QStringLiteral("tavorin2.ini"));
    ASSERT_TRUE(saved.open(QIODevice::WriteOnly));
    saved.write(validSettings(dir.path()));
    saved.close();
    const SettingsReadResult r = readSettingsFile();
    EXPECT_TRUE(r.found);
    EXPECT_EQ(r.dir, userConfigDir());
    EXPECT_EQ(G.rxtype, 2);
    EXPECT_TRUE(r.skipped.contains(dir.path() + QStringLiteral("tavorin2.ini")));
    EXPECT_TRUE(r.skipped.contains(QStringLiteral("directory")));
}

TEST_F(StartFiles, DeviceNamesInUtf8AndAStaleLockOfOurOwn)
{
    G.datapath = dir.path();
    dir.write(QStringLiteral("comports.ini"), "/dev/serial/by-id/usb-\xc3\x9c" "ber\r\n/dev/tty\xdcSB0\r\n");
    EXPECT_EQ(CommControl::deviceForPort(1), QStringLiteral("/dev/serial/by-id/usb-\u00dcber"));
    EXPECT_EQ(CommControl::deviceForPort(2), QStringLiteral("/dev/tty\u00dcSB0")) << "not UTF-8: read as Latin-1";

    // An empty lock file, as a write cut short leaves it, does not block the port.
    sim::AR7030Emulator emu;
    sim::PtyHarness pty(emu);
    ASSERT_TRUE(pty.ok());
    const QString lock = portLockFile(pty.slavePath());
    if (lock.isEmpty())
        GTEST_SKIP() << "no lock directory";
    {
        QFile f(lock);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
    CommControl port;
    port.CommPort = 1;
    EXPECT_TRUE(port.open()) << port.lastError().toStdString();
    port.close();
    EXPECT_FALSE(QFile::exists(lock));
}
