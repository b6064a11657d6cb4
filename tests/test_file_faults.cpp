// The tools' files whatever they hold: seeded damage to every reader, files
// of nothing but line ends, lines beyond what a format holds, text that a
// Latin-1 file cannot keep, and numbers at the ends of their range.
#include "hub/app.h"
#include "core/filekinds.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "fuzz/toolreaders.h"
#include "lists/frmScratchpad.h"
#include "logbook/frmLog.h"
#include "logbook/frmLoginput.h"
#include "logbook/logbook.h"
#include "memories/frmMemcell.h"
#include "signal/frmPropagation.h"
#include "stations/queryini.h"
#include "support/mutate.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <random>
#include <sys/resource.h>

using namespace tav;

namespace {

struct FileFaults : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    void SetUp() override
    {
        resetProgramState();
        registerBuiltWindows();
        InitConstants();
        G.datapath = dir.path();
        buildFileDirs();
        G.goRxtype = 0; // no receiver: 10 to 30000 kHz
        G.utctext = QStringLiteral("9 Dec 2026  08:00");
    }
    void TearDown() override { Windows::destroyAll(); }
};

// Cases per reader: those that go through the disk write a file each time.
constexpr int kCases = 3000;
constexpr int kDiskCases = 1000;

// Types into a box key by key, as a keyboard with any letters does.
void typeInto(QLineEdit *box, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

long peakRssKib()
{
    struct rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

} // namespace

TEST_F(FileFaults, EveryReaderStaysInItsFormWhateverTheFileHolds)
{
    // The readers that go through a file do so in memory where the system
    // has a memory file system: a case costs no disk sync then.
    QTemporaryDir shm(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/tavorin-XXXXXX")
                                                                  : dir.file(QStringLiteral("cases-XXXXXX")));
    ASSERT_TRUE(shm.isValid());
    const QString caseDir = shm.path() + QLatin1Char('/');
    unsigned seed = 34001;
    for (const tavfuzz::ToolReader &r : tavfuzz::toolReaders()) {
        SCOPED_TRACE(r.name);
        std::mt19937 rng(seed++);
        const QByteArray base = r.valid();
        ASSERT_TRUE(r.read(base, caseDir)) << "the valid file itself";
        double slowest = 0;
        const int cases = r.onDisk ? kDiskCases : kCases;
        for (int c = 0; c < cases; ++c) {
            const QByteArray file = tavtest::mutate(base, rng);
            // What a reading costs: its CPU time, which other processes'
            // load does not stretch as it stretches the wall clock.
            const double cpu0 = tavtest::threadCpuMs();
            const bool inForm = r.read(file, caseDir);
            slowest = std::max(slowest, tavtest::threadCpuMs() - cpu0);
            ASSERT_TRUE(inForm) << "case " << c << ": " << file.left(200).toHex().constData();
        }
        EXPECT_LT(slowest, 2000) << "one reading took " << slowest << " ms";
    }
}

TEST_F(FileFaults, HundredMegabytesOfLineEndsAreReadInBoundedMemory)
{
    // One file, made once, reached under every kind's name by a link.
    const QString big = dir.file(QStringLiteral("lineends.txt"));
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray block(1024 * 1024, '\n');
        for (int i = 0; i < 100; ++i)
            ASSERT_EQ(f.write(block), block.size());
    }
    const long before = peakRssKib();
    QElapsedTimer t;
    t.start();
    // The lists, whose size the set-up sets, load what they hold and count
    // the rest as far as a bound; the fixed formats refuse the file.
    const struct { WindowId window; FileKind kind; bool loads; } kinds[] = {
        {WindowId::frmBdxc, FileKind::Bdxc, true},          {WindowId::frmOwn, FileKind::Own, true},
        {WindowId::frm320Files, FileKind::F320, true},      {WindowId::frmScratchpad, FileKind::Scratchpad, false},
        {WindowId::frmScanlist, FileKind::ScanList, false}, {WindowId::frmScanpairs, FileKind::ScanPairs, false},
        {WindowId::frmScanband, FileKind::BandScan, false}, {WindowId::frmPropagation, FileKind::Propagation, false}};
    for (const auto &k : kinds) {
        SCOPED_TRACE(windowName(k.window).toStdString());
        TavForm *w = Windows::get(k.window);
        ASSERT_NE(w, nullptr);
        w->load();
        ensureDir(G.filedirs[k.kind]);
        const QString name = G.filesubdir[k.kind].left(3) + QStringLiteral("_lineends.TXT");
        ASSERT_TRUE(QFile::link(big, G.filedirs[k.kind] + name));
        G.filenames[k.kind] = name;
        const int shown = int(dialogs.shown().size());
        if (k.loads) {
            EXPECT_TRUE(runReader(k.kind));
            ASSERT_GT(dialogs.shown().size(), shown);
            EXPECT_TRUE(dialogs.shown()[shown].text.contains(QStringLiteral("lines are loaded, at least ")))
                << dialogs.shown()[shown].text.toStdString();
            continue;
        }
        EXPECT_FALSE(runReader(k.kind)) << "a file far larger than any of its kind is refused";
        ASSERT_EQ(dialogs.shown().size(), shown + 1);
        EXPECT_TRUE(dialogs.shown().last().text.contains(QStringLiteral("larger"))) << dialogs.shown().last().text.toStdString();
    }
    EXPECT_FALSE(readQueryFile(big, 6).has_value());
    const ConversionResult aero = convertAero(big, false, dir.file(QStringLiteral("aero.ftl")), {});
    EXPECT_FALSE(aero.ok);
    EXPECT_TRUE(aero.error.contains(QStringLiteral("larger")));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("aero.ftl"))));
    const long grown = peakRssKib() - before;
    EXPECT_LT(grown, 150 * 1024) << "the peak grew by " << grown << " KiB";
    EXPECT_LT(t.elapsed(), 20000);

    // Within the size a kind allows, lines beyond its format are not read.
    QByteArray many(60000, '\n');
    dir.write(QStringLiteral("many.txt"), many);
    const std::optional<TextLines> read = readTextFile(dir.file(QStringLiteral("many.txt")), filelimits::kListScan);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->lines.size(), 20);
    EXPECT_TRUE(read->cut);
}

TEST_F(FileFaults, LinesBeyondTheFormatOrOutsideAnyChoiceAreSaidOnce)
{
    // A pair file of 40,000 pairs: the 32,768 that 16-bit numbers reach, one message.
    QByteArray pairs;
    for (int i = 0; i < 40000; ++i)
        pairs += QByteArray::number(6000 + i % 1000) + ",7000,1,r\r\n";
    Windows::get(WindowId::frmScanpairs)->load();
    dir.write(G.filesubdir[FileKind::ScanPairs] + QStringLiteral("/SFP_many.TXT"), pairs);
    G.filenames[FileKind::ScanPairs] = QStringLiteral("SFP_many.TXT");
    ASSERT_TRUE(runReader(FileKind::ScanPairs));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("The file SFP_many.TXT\nhas more lines than a file of its kind "
                                                      "holds.\nOnly its first 32768 lines are loaded."));

    // A query file with items before its first "***": the ILG list says so once.
    dir.write(QStringLiteral("ilgquery.ini"), "stray 1\r\nstray 2\r\n***\r\n5\r\n***\r\n6\r\n");
    Windows::get(WindowId::frmIlg2rx)->load();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].text,
              QStringLiteral("The file ilgquery.ini\n2 lines before the first \"***\" line belong to no choice list and "
                             "were left out."));
    const QueryFile q = parseQueryLines({"a", "***", "b", "***", "c", "***", "d"}, 2);
    EXPECT_EQ(q.beforeFirst, 1);
    EXPECT_EQ(q.beyondLast, 1);
    EXPECT_EQ(q.combos, (QVector<QStringList>{{"b"}, {"c"}}));
}

TEST_F(FileFaults, TextOutsideLatin1IsRefusedAtEntryAndNeverWrittenAsQuestionMarks)
{
    auto *pad = Windows::get<lists::frmScratchpad>();
    pad->load();
    auto *prop = Windows::get<frmPropagation>();
    prop->load();
    auto *log = Windows::get<frmLog>();
    resetLogStore();
    log->showModeless();
    // Records are added to a logbook the user has opened.
    dir.write(G.filesubdir[FileKind::Log] + QStringLiteral("/LOG_TEST.TXT"),
              "000 20020101 1200      06195     45444 ENG BBC\r\n");
    G.filenames[FileKind::Log] = QStringLiteral("LOG_TEST.TXT");
    ASSERT_TRUE(runReader(FileKind::Log));
    QTest::mouseClick(log->cmdAddrecord, Qt::LeftButton);
    auto *entry = Windows::existing<frmLoginput>();
    ASSERT_NE(entry, nullptr);
    auto *cell = Windows::get<frmMemcell>();
    const struct { QLineEdit *box; const char *what; } boxes[] = {
        {pad->findChild<QLineEdit *>(QStringLiteral("txtNotes(0)")), "The note holds"},
        {prop->findChild<QLineEdit *>(QStringLiteral("txtStation")), "The station name"},
        {entry->findChild<QLineEdit *>(QStringLiteral("txtLoginput(6)")), "The field "},
        {cell->findChild<QLineEdit *>(QStringLiteral("txtMemtag")), "The memory tag"}};
    for (const auto &b : boxes) {
        SCOPED_TRACE(b.what);
        ASSERT_NE(b.box, nullptr);
        b.box->setFocus();
        typeInto(b.box, QString::fromUtf8("R\xc3\xa9gion"));
        EXPECT_EQ(b.box->text(), QString::fromUtf8("R\xc3\xa9gion")) << "Latin-1 letters are welcome";
        const int shown = int(dialogs.shown().size());
        typeInto(b.box, QString::fromUtf8("\xd0\x94"));
        EXPECT_EQ(b.box->text(), QString::fromUtf8("R\xc3\xa9gion")) << "the letter outside Latin-1 is not kept";
        ASSERT_EQ(dialogs.shown().size(), shown + 1);
        EXPECT_TRUE(dialogs.shown().last().text.startsWith(QLatin1String(b.what)));
        EXPECT_TRUE(dialogs.shown().last().text.contains(QString::fromUtf8("cannot keep: \"\xd0\x94\"\n")))
            << "the refused letter is quoted";
        EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Input Error"));
    }
    // Put there another way, it still never reaches the logbook.
    const int records = logStore().logcount();
    entry->txtLoginput[3]->setText(QStringLiteral("6070"));
    entry->txtLoginput[6]->setText(QString::fromUtf8("\xd0\x94"));
    entry->cmdOk->click();
    EXPECT_TRUE(Windows::loaded(WindowId::frmLoginput));
    EXPECT_EQ(logStore().logcount(), records);
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Input Error"));

    // And the writer fails rather than write "?".
    dir.write(QStringLiteral("FSP_old.TXT"), "old\r\n");
    QString error;
    EXPECT_FALSE(writeTextLines(dir.file(QStringLiteral("FSP_old.TXT")), {QString::fromUtf8("a\xd0\x94")}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Latin-1")));
    EXPECT_EQ(dir.read(QStringLiteral("FSP_old.TXT")), QByteArray("old\r\n"));
    EXPECT_FALSE(appendTextLines(dir.file(QStringLiteral("FSP_old.TXT")), {QString::fromUtf8("\xd0\x94")}));
    EXPECT_EQ(dir.read(QStringLiteral("FSP_old.TXT")), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".FSP_old")).size(), 0)
        << "no temporary file is left";
}

TEST_F(FileFaults, LogbookSortKeysUpperCaseByLatin1Rules)
{
    LogRecord r{};
    r[LogStation] = QString::fromLatin1("stra\xdf" "e \xff\xe9");
    const QString key = logSortKey(r, 0);
    EXPECT_TRUE(key.contains(QString::fromLatin1("STRA\xdf" "E \xff\xc9"))) << key.toStdString();
    EXPECT_FALSE(key.contains(QLatin1Char('?')));
    EXPECT_EQ(latin1Upper(QString::fromLatin1("\xe0\xf7\xfe\xb5z")), QString::fromLatin1("\xc0\xf7\xde\xb5Z"));
}

TEST_F(FileFaults, HugeBandLevelsAndExtremeWholeNumbersHaveTheirText)
{
    QStringList lines{"caption", " 7000", " 7100", " 1", " 2", "99999999999999999999", "-99999999999999999999", "56"};
    const std::optional<BandSweep::File> f = BandSweep::parse(lines, nullptr);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->levels[0], BandSweep::kMaxLevel);
    EXPECT_EQ(f->levels[1], BandSweep::kMinLevel);
    EXPECT_FLOAT_EQ(f->levels[2], 5.6f);
    EXPECT_EQ(BandSweep::levelText(f->levels[0]), QStringLiteral("999"));
    EXPECT_EQ(BandSweep::levelText(1e30f), padded(INT64_MAX, 3));
    EXPECT_EQ(padded(INT64_MIN, 3), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(padded(INT64_MAX, 3), QStringLiteral("9223372036854775807"));
    EXPECT_EQ(padded(-7, 3), QStringLiteral("-007"));
    const QString widest = fixedFormat(-1.7976931348623157e308, 5, 200);
    EXPECT_EQ(widest.size(), 1 + 309 + 1 + 100);
    EXPECT_TRUE(widest.startsWith(QLatin1String("-17976931348623157")));
}
