// The demonstration data: every file kind a tool reads has a sample, each
// sample reads through its kind's own reader without a message and gives at
// least one record, the extra files the tools read come with it, and the
// user's own files are never replaced.
#include "hub/app.h"
#include "core/clock.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/settings.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "lists/frm320Files.h"
#include "lists/frmBdxc.h"
#include "lists/frmOwn.h"
#include "lists/frmScratchpad.h"
#include "logbook/frmLog.h"
#include "logbook/logbook.h"
#include "memories/memimage.h"
#include "samples/install.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "scans/frmScanpairs.h"
#include "signal/frmProp2prt2.h"
#include "signal/frmPropagation.h"
#include "stations/dbftable.h"
#include "stations/frmTracking.h"
#include "stations/stationlist.h"
#include "support/diskfaults.h"
#include "support/testenv.h"
#include "timers/timerprog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace tav;

namespace {

struct Samples : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;

    void SetUp() override
    {
        InitConstants();
        G.rxtype = 0;
        // The list sizes of a fresh set-up.
        for (int k = 1; k <= 31; ++k)
            G.setupdata[size_t(k)] = setupDefault(k);
        G.datapath = dir.path();
        // The real date: the sample timer programs must load on any day.
        Clock::clear();
        const SampleInstall r = installSamples(QStringLiteral(TAVORIN_SAMPLES_DIR), dir.path());
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        buildFileDirs();
        registerBuiltWindows();
    }
    void TearDown() override { Windows::destroyAll(); }

    // Messages shown since the last call (input boxes are questions, not messages).
    QStringList messages()
    {
        QStringList out;
        for (const ShownBox &b : dialogs.shown())
            if (!b.isInput)
                out << b.title + QStringLiteral(": ") + b.text;
        DialogScript::shown.clear();
        return out;
    }
    template <class W = TavForm> W *open(WindowId id)
    {
        auto *w = Windows::get<W>(id);
        if (w)
            w->load();
        return w;
    }
};

// How one kind's sample is read and what shows that records arrived.
struct KindCheck {
    WindowId window; // opened before reading (its load may speak; that is not the file's doing)
    StationDb ftl = StationDb::None;
    std::function<int()> records;
};

const std::map<std::pair<FileKind, StationDb>, KindCheck> &kindChecks()
{
    static const std::map<std::pair<FileKind, StationDb>, KindCheck> checks = {
        {{FileKind::Bdxc, StationDb::None}, {WindowId::frmBdxc, StationDb::None, [] { return Windows::existing<lists::frmBdxc>()->bdxcrows(); }}},
        {{FileKind::Own, StationDb::None}, {WindowId::frmOwn, StationDb::None, [] { return Windows::existing<lists::frmOwn>()->model->rowCount() - 1; }}},
        {{FileKind::StationList, StationDb::Ilg}, {WindowId::frmIlg2rx, StationDb::Ilg, [] { return int(Windows::existing<frmIlg2rx>()->listLines().size()); }}},
        {{FileKind::StationList, StationDb::Aero}, {WindowId::frmAero2rx, StationDb::Aero, [] { return int(Windows::existing<frmAero2rx>()->listLines().size()); }}},
        {{FileKind::Log, StationDb::None}, {WindowId::frmLog, StationDb::None, [] { return int(logStore().records.size()); }}},
        {{FileKind::Tracking, StationDb::None}, {WindowId::frmTracking, StationDb::None,
                  [] { return int(Windows::existing<frmTracking>()->engine().trackrecs.size()); }}},
        {{FileKind::BandScan, StationDb::None}, {WindowId::frmScanband, StationDb::None,
                  [] { return Windows::existing<frmScanband>()->lblFreqlow->text().isEmpty() ? 0 : 1; }}},
        {{FileKind::Propagation, StationDb::None}, {WindowId::frmPropagation, StationDb::None,
                  [] { return Windows::existing<frmPropagation>()->txtStation->text().isEmpty() ? 0 : 1; }}},
        {{FileKind::Memories, StationDb::None}, {WindowId::frmMemman, StationDb::None, [] { return int(memState().image.heldCells().size()); }}},
        {{FileKind::Scratchpad, StationDb::None}, {WindowId::frmScratchpad, StationDb::None,
                  [] {
                      auto *w = Windows::existing<lists::frmScratchpad>();
                      int n = 0;
                      for (int r = 0; r < 10; ++r)
                          for (int c = 0; c < 8; ++c)
                              n += w->grdScratchpad->model()->index(r, c).data().toString().isEmpty() ? 0 : 1;
                      return n;
                  }}},
        {{FileKind::F320, StationDb::None}, {WindowId::frm320Files, StationDb::None,
                   [] { return Windows::existing<lists::frm320Files>()->model->rowCount() - 1; }}},
        {{FileKind::ScanList, StationDb::None}, {WindowId::frmScanlist, StationDb::None,
                   [] {
                       int n = 0;
                       for (QLineEdit *e : Windows::existing<frmScanlist>()->txtFreqlist)
                           n += e->text() == QLatin1String("-") ? 0 : 1;
                       return n;
                   }}},
        {{FileKind::ScanPairs, StationDb::None}, {WindowId::frmScanpairs, StationDb::None,
                   [] { return Windows::existing<frmScanpairs>()->pairScan().pairlast() + 1; }}},
        {{FileKind::PropagationPrint, StationDb::None}, {WindowId::frmProp2prt2, StationDb::None,
                   [] { return Windows::existing<frmProp2prt2>()->txtdat[0]->text().isEmpty() ? 0 : 1; }}},
        {{FileKind::TimerPrograms, StationDb::None}, {WindowId::frmRxTimer, StationDb::None,
                   [] {
                       int n = 0;
                       for (int r = 1; r <= kPrograms; ++r)
                           n += tprdata()[size_t(r)][1] != 0 ? 1 : 0;
                       return n;
                   }}},
    };
    return checks;
}

// The names a kind's Load dialog lists: memory files once per receiver digit.
QStringList patternsOf(FileKind kind, StationDb ftl)
{
    if (kind == FileKind::StationList)
        return {ftl == StationDb::Ilg ? QStringLiteral("ILG*.FTL") : QStringLiteral("AERO*.FTL")};
    if (kind == FileKind::Memories) {
        QStringList p;
        for (int rx = 1; rx <= 4; ++rx)
            p << QString(G.filepattern[FileKind::Memories]).replace(QLatin1Char('#'), QString::number(rx));
        return p;
    }
    return {G.filepattern[kind]};
}

} // namespace

TEST_F(Samples, EveryReadableKindHasSamplesThatReadWithoutAMessage)
{
    for (FileKind kind : allFileKinds) {
        for (StationDb ftl : kind == FileKind::StationList ? QList<StationDb>{StationDb::Ilg, StationDb::Aero} : QList<StationDb>{StationDb::None}) {
            if (!hasReader(kind, ftl))
                continue;
            SCOPED_TRACE(testing::Message() << "kind " << int(kind) << " ftl " << int(ftl));
            auto check = kindChecks().find({kind, ftl});
            ASSERT_NE(check, kindChecks().end()) << "a file kind without a sample check";
            for (const QString &pattern : patternsOf(kind, ftl)) {
                const QStringList files = listFilesNoCase(G.filedirs[kind], pattern);
                ASSERT_FALSE(files.isEmpty()) << "no sample for " << pattern.toStdString();
                for (const QString &name : files) {
                    SCOPED_TRACE(name.toStdString());
                    Windows::destroyAll();
                    memState().image.reset(goModel().lastCell);
                    logStore().records.clear();
                    ASSERT_NE(open(check->second.window), nullptr);
                    messages();
                    G.filenames[kind] = name;
                    dialogs.input(QStringLiteral("all"));
                    EXPECT_TRUE(runReader(kind, ftl));
                    EXPECT_EQ(messages(), QStringList{});
                    EXPECT_GE(check->second.records(), 1);
                }
            }
        }
    }
}

// A newcomer who loads the sample broadcast list at the present time finds
// something on the air, whatever the hour.
TEST_F(Samples, TheBroadcastListHasSomethingOnTheAirAtEveryTime)
{
    auto *w = open<lists::frmBdxc>(WindowId::frmBdxc);
    ASSERT_NE(w, nullptr);
    const QStringList files = listFilesNoCase(G.filedirs[FileKind::Bdxc], G.filepattern[FileKind::Bdxc]);
    ASSERT_FALSE(files.isEmpty());
    G.filenames[FileKind::Bdxc] = files.first();
    for (int minutes = 0; minutes < 24 * 60; minutes += 15) {
        const QString at = QStringLiteral("%1%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
        dialogs.input(at == QLatin1String("0000") ? QStringLiteral("2400") : at);
        ASSERT_TRUE(runReader(FileKind::Bdxc));
        EXPECT_GE(w->bdxcrows(), 1) << at.toStdString();
    }
}

TEST_F(Samples, TheToolsOwnFilesComeWithTheSamples)
{
    // The station windows fill their query lists from the ini files.
    auto *ilg = open<frmIlg2rx>(WindowId::frmIlg2rx);
    auto *ilgq = Windows::existing<frmIlgquery>();
    ASSERT_TRUE(ilg && ilgq);
    for (QComboBox *c : ilgq->cmbQuery)
        EXPECT_GT(c->count(), 0);
    open<frmAero2rx>(WindowId::frmAero2rx);
    auto *aeroq = Windows::existing<frmAeroquery>();
    ASSERT_TRUE(aeroq);
    for (QComboBox *c : aeroq->cmbQuery)
        EXPECT_GT(c->count(), 0);
    // The logbook takes its column choice, the print page the listener's details.
    open(WindowId::frmLog);
    EXPECT_EQ(logStore().colmask, "111111111100111");
    auto *page = open<frmProp2prt2>(WindowId::frmProp2prt2);
    ASSERT_TRUE(page);
    EXPECT_FALSE(page->txtdat[3]->text().isEmpty());
    EXPECT_FALSE(page->txtdat[11]->text().isEmpty());
    // The dBase tables open as the conversion opens them.
    for (const char *table : {"ILGSDATA", "ILGADATA"}) {
        DbfTable t;
        ASSERT_TRUE(t.open(dir.path(), QLatin1String(table))) << table;
        EXPECT_GT(t.recordCount(), 0);
        EXPECT_GE(t.field(QStringLiteral("FREQ")), 0);
    }
    EXPECT_TRUE(findFileNoCase(dir.path(), QStringLiteral("aerolist.txt")).has_value());
}

// A newcomer's first queries on the sample data: every network the sample
// query list offers finds its lines (the query compares the network from
// column 19), and every offered pair of bounds finds the lines between them,
// in both files the conversion makes of the sample list.
TEST_F(Samples, EveryOfferedAeroQueryFindsItsLines)
{
    auto *w = open<frmAero2rx>(WindowId::frmAero2rx);
    auto *q = Windows::existing<frmAeroquery>();
    ASSERT_TRUE(w && q);
    w->show();
    auto search = [&](int lower, int upper, int network) {
        QTest::mouseClick(w->cmdQuery, Qt::LeftButton);
        q->cmdClear->click();
        if (lower >= 0) {
            q->chkQuery[0]->click();
            q->cmbQuery[0]->setCurrentIndex(lower);
            q->cmbQuery[1]->setCurrentIndex(upper);
        }
        if (network >= 0) {
            q->chkQuery[1]->click();
            q->cmbQuery[2]->setCurrentIndex(network);
        }
        QTest::mouseClick(q->cmdSearchaero, Qt::LeftButton);
        return w->listLines();
    };
    for (const char *file : {"aero.ftl", "aero2.ftl"}) {
        SCOPED_TRACE(file);
        G.filenames[FileKind::StationList] = QLatin1String(file);
        ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Aero));
        ASSERT_GT(q->cmbQuery[2]->count(), 0);
        for (int n = 0; n < q->cmbQuery[2]->count(); ++n) {
            const QString network = q->cmbQuery[2]->itemText(n);
            const QStringList found = search(-1, -1, n);
            EXPECT_FALSE(found.isEmpty()) << network.toStdString();
            for (const QString &line : found)
                EXPECT_TRUE(line.mid(18).startsWith(network)) << line.toStdString();
        }
        ASSERT_EQ(q->cmbQuery[0]->count(), q->cmbQuery[1]->count());
        for (int b = 0; b < q->cmbQuery[0]->count(); ++b) {
            const double lo = numericValue(q->cmbQuery[0]->itemText(b)) * 1000;
            const double hi = numericValue(q->cmbQuery[1]->itemText(b)) * 1000;
            const QStringList found = search(b, b, -1);
            EXPECT_FALSE(found.isEmpty()) << lo << " to " << hi;
            for (const QString &line : found) {
                EXPECT_GE(leadingNumber(line.left(8)), lo) << line.toStdString();
                EXPECT_LE(leadingNumber(line.left(8)), hi) << line.toStdString();
            }
        }
    }
}

// A bound typed into a query box is the bound searched, though a longer
// choice of the list begins with it ("6" is not the listed "6.2").
TEST_F(Samples, ATypedQueryBoundIsTakenAsTyped)
{
    auto *w = open<frmIlg2rx>(WindowId::frmIlg2rx);
    auto *q = Windows::existing<frmIlgquery>();
    ASSERT_TRUE(w && q);
    w->show();
    G.filenames[FileKind::StationList] = QStringLiteral("ILGSDATA.ftl");
    ASSERT_TRUE(runReader(FileKind::StationList, StationDb::Ilg));
    QTest::mouseClick(w->cmdQuery, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(q));
    q->cmdClear->click();
    q->chkQuery[0]->click();
    ASSERT_GE(q->cmbQuery[1]->findText(QStringLiteral("6.2")), 0);
    for (int box : {0, 1}) {
        q->cmbQuery[box]->setFocus();
        QTest::keyClicks(q->cmbQuery[box]->lineEdit(), box == 0 ? QStringLiteral("5.9") : QStringLiteral("6"));
    }
    EXPECT_EQ(q->cmbQuery[1]->currentText(), QStringLiteral("6"));
    QTest::mouseClick(q->cmdSearchilg, Qt::LeftButton);
    QStringList freqs;
    for (const QString &line : w->listLines())
        freqs << line.left(8);
    EXPECT_EQ(freqs, (QStringList{"05940.00", "05950.00"}));
}

TEST_F(Samples, TheTrackingWindowShowsItsLinesWhole)
{
    auto *w = open<frmTracking>(WindowId::frmTracking);
    ASSERT_TRUE(w);
    w->show();
    G.filenames[FileKind::Tracking] = QStringLiteral("ILGSDATA.ftl");
    w->txtFrequencyA->setText(QStringLiteral("6040"));
    ASSERT_TRUE(runReader(FileKind::Tracking));
    // Every station within 500 kHz, on the air or not.
    w->txtCatchrange->setText(QStringLiteral("500"));
    w->optHitsall->select(1);
    tavtest::pump(20);
    int shown = 0;
    for (BingoLabel *l : w->lblBingo) {
        const QString text = l->text();
        if (text.trimmed().isEmpty())
            continue;
        ++shown;
        EXPECT_GE(l->contentsRect().width(), l->fontMetrics().horizontalAdvance(text)) << text.toStdString();
    }
    EXPECT_GT(shown, 0);
}

// The samples say the same on every receiver, each in its own numbers: the
// timer programs are AM broadcasts with a usual AGC, dated for the coming
// weekend so that Load fixes both today; the broadcast memories are AM on
// a filter the set-up has fitted. A sample an earlier run dated is dated anew.
TEST(SampleInstall, TheSamplesMeanTheSameOnEveryReceiver)
{
    struct Model {
        int rxtype;
        void (*init)();
        const char *att, *agc; // "xxx": the model has none, or the mode holds it
    };
    const Model models[] = {{1, InitAR7030, "0 dB", "Med"}, {2, InitNRD535, "0 dB", "Slw"},
                            {3, InitRX320, "xxx", "Med"},   {4, InitNRD545, "0 dB", "xxx"}};
    InitConstants();
    for (int k = 1; k <= 31; ++k)
        G.setupdata[size_t(k)] = setupDefault(k);
    Clock::clear();
    for (const Model &m : models) {
        SCOPED_TRACE(m.rxtype);
        m.init();
        tavtest::ScratchDir dir;
        // What an earlier run left: the programs of a weekend long past.
        dir.write("TPR/TPR_WEEKEND.TXT", " 16, 1, 2027, 17, 30, 30, 0, 1, 0, 0, 1, 1,06040000\r\n"
                                         " 17, 1, 2027, 22, 0, 15, 0, 1, 0, 0, 1, 1,05950000\r\n" +
                                             QByteArray(" 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,00000000\r\n").repeated(4));
        const SampleInstall r = installSamples(QStringLiteral(TAVORIN_SAMPLES_DIR), dir.path(), m.rxtype);
        ASSERT_TRUE(r.ok()) << r.error.toStdString();
        EXPECT_TRUE(r.written.contains("TPR/TPR_WEEKEND.TXT")) << r.written.join(", ").toStdString();

        std::array<ProgRow, kPrograms + 1> rows{};
        const QStringList lines = QString::fromLatin1(dir.read("TPR/TPR_WEEKEND.TXT")).split("\r\n", Qt::SkipEmptyParts);
        const TprReadResult read = tprRead(lines, m.rxtype, rows);
        EXPECT_EQ(read.refused, QStringList{});
        ASSERT_EQ(read.count, 2);
        TimerTable table;
        EXPECT_EQ(table.takePrograms(rows, Clock::now().toString("yyyy MM dd HH:mm")), QStringList{});
        const QDate today = Clock::now().date();
        for (int n = 1; n <= 2; ++n) {
            const ProgRow &row = rows[size_t(n)];
            const QDate day(row[3], row[2], row[1]);
            EXPECT_EQ(day.dayOfWeek(), n == 1 ? Qt::Saturday : Qt::Sunday);
            EXPECT_TRUE(today.daysTo(day) >= 0 && today.daysTo(day) <= 8) << day.toString().toStdString();
            TimerEditor e(m.rxtype);
            e.fromRow(row);
            EXPECT_EQ(e.rxLabel(0), m.att);
            EXPECT_EQ(e.rxLabel(4), "AM");
            EXPECT_EQ(e.rxLabel(5), m.agc);
        }

        const QStringList mem = listFilesNoCase(dir.path() + "MEM/", QStringLiteral("MEM_%1*.TXT").arg(m.rxtype));
        ASSERT_EQ(mem.size(), 1);
        for (const QString &line : QString::fromLatin1(dir.read("MEM/" + mem.first())).split("\r\n", Qt::SkipEmptyParts)) {
            SCOPED_TRACE(line.toStdString());
            const int mode = int(memFieldValue(line, memcol::Mode)), bw = int(memFieldValue(line, memcol::Bandwidth));
            if (line.mid(35).startsWith("Radio") || line.mid(35).startsWith("Voice")) {
                EXPECT_EQ(G.modenames[size_t(mode)], "AM");
            }
            // The filters the set-up has not fitted are those the panel greys out.
            const SettingRule filter = timerSettingRules(m.rxtype, bw, mode)[1];
            EXPECT_FALSE(filter.skip && *filter.skip == bw);
        }
    }
}

TEST(SampleInstall, TheUsersOwnFilesAreNeverReplaced)
{
    // The user's files under names that differ only in case, in folders that do too.
    tavtest::ScratchDir user;
    user.write(QStringLiteral("bdxc/bdx_b25toe.txt"), "mine\r\n");
    user.write(QStringLiteral("PROP2PRT.INI"), "my receiver\r\n");
    user.write(QStringLiteral("rx2db/ilgsdata.FTL"), "my stations\r\n");
    user.write(QStringLiteral("tpr/tpr_weekend.txt"), " 1, 2, 2030, 12, 0, 10, 0, 1, 0, 0, 1, 1,06040000\r\n");
    const SampleInstall r = installSamples(QStringLiteral(TAVORIN_SAMPLES_DIR), user.path());
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(user.read(QStringLiteral("bdxc/bdx_b25toe.txt")), "mine\r\n");
    EXPECT_EQ(user.read(QStringLiteral("PROP2PRT.INI")), "my receiver\r\n");
    EXPECT_EQ(user.read(QStringLiteral("rx2db/ilgsdata.FTL")), "my stations\r\n");
    EXPECT_EQ(user.read(QStringLiteral("tpr/tpr_weekend.txt")), " 1, 2, 2030, 12, 0, 10, 0, 1, 0, 0, 1, 1,06040000\r\n");
    EXPECT_EQ(QDir(user.path() + "bdxc").entryList(QDir::Files), QStringList{"bdx_b25toe.txt"});
    EXPECT_FALSE(QFileInfo::exists(user.path() + "BDXC"));
    EXPECT_FALSE(QFileInfo::exists(user.path() + "prop2prt.ini"));
    // Everything else arrived, in the user's folders.
    EXPECT_TRUE(QFileInfo::exists(user.path() + "rx2db/ILGADATA.ftl"));
    EXPECT_TRUE(QFileInfo::exists(user.path() + "rx2db/aero.ftl"));
    // A second run finds everything there and writes nothing.
    const SampleInstall again = installSamples(QStringLiteral(TAVORIN_SAMPLES_DIR), user.path());
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again.written, QStringList{});
}

TEST(SampleInstall, AWriteThatFailsLeavesNoPartOfATableAndARerunFinishes)
{
    tavtest::ScratchDir dir;
    const QString src = QStringLiteral(TAVORIN_SAMPLES_DIR);
    ASSERT_TRUE(installSamples(src, dir.path()).ok());
    const QByteArray shortWave = dir.read("ilgsdata.dbf"), longWave = dir.read("ilgadata.dbf");
    ASSERT_GT(shortWave.size(), 1000);
    // What a failed run may have left of the tables: nothing, the first of
    // the two, or (an earlier version) an empty first one.
    const std::optional<QByteArray> starts[] = {std::nullopt, shortWave, QByteArray()};
    for (const auto &start : starts) {
        SCOPED_TRACE(start ? start->size() : -1);
        for (const char *f : {"ilgsdata.dbf", "ilgadata.dbf", "RX2DB/ILGSDATA.ftl", "RX2DB/ILGADATA.ftl"})
            QFile::remove(dir.file(f));
        if (start)
            dir.write("ilgsdata.dbf", *start);
        {
            tavtest::FileSizeLimit limit(1000); // no table fits
            const SampleInstall failed = installSamples(src, dir.path());
            EXPECT_FALSE(failed.ok());
            EXPECT_TRUE(failed.error.contains("too large")) << failed.error.toStdString();
        }
        EXPECT_FALSE(QFileInfo::exists(dir.file("ilgadata.dbf")));
        EXPECT_EQ(QFileInfo::exists(dir.file("ilgsdata.dbf")), start.has_value());
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".tavorin-save").isEmpty());

        const SampleInstall again = installSamples(src, dir.path());
        ASSERT_TRUE(again.ok()) << again.error.toStdString();
        EXPECT_EQ(dir.read("ilgsdata.dbf"), shortWave);
        EXPECT_EQ(dir.read("ilgadata.dbf"), longWave);
        EXPECT_TRUE(again.written.contains("RX2DB/ILGSDATA.ftl")) << again.written.join(", ").toStdString();
        EXPECT_TRUE(again.written.contains("RX2DB/ILGADATA.ftl"));
        EXPECT_GT(QFileInfo(dir.file("RX2DB/ILGSDATA.ftl")).size(), 0);
    }
    // A sample an earlier run dated, made write-protected, is kept, and the
    // refusal names it once.
    const QString stale = dir.file("TPR/TPR_WEEKEND.TXT");
    dir.write("TPR/TPR_WEEKEND.TXT", " 16, 1, 2027, 17, 30, 30, 0, 1, 0, 0, 1, 1,06040000\r\n"
                                     " 17, 1, 2027, 22, 0, 15, 0, 1, 0, 0, 1, 1,05950000\r\n" +
                                         QByteArray(" 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,00000000\r\n").repeated(4));
    ASSERT_TRUE(QFile::setPermissions(stale, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const SampleInstall refused = installSamples(src, dir.path());
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.error.count(QFileInfo(stale).fileName()), 1) << refused.error.toStdString();
    EXPECT_TRUE(refused.error.contains("write-protected")) << refused.error.toStdString();
    QFile::setPermissions(stale, QFile::ReadOwner | QFile::WriteOwner);
}
