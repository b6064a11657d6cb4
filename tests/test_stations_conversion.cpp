// The ILG and aero conversions: records built in their columns from dBase
// tables written two independent ways, the filters, the counters, the files
// and the conversion windows.
#include "hub/app.h"
#include "core/globals.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "stations/conversion.h"
#include "stations/dbftable.h"
#include "stations/frmConvertAero.h"
#include "stations/frmConvertILG.h"
#include "stations/frmILGfinddbf.h"
#include "stations/stationstate.h"
#include "support/dbfwrite.h"
#include "support/diskfaults.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tav;
using tavtest::DbfField;
using tavtest::DbfRow;

namespace {

const QVector<DbfField> kIlgFields = {
    {"FREQ", 'N', 9, 2},     {"UTC", 'C', 12, 0},     {"STATUS", 'C', 1, 0},   {"STATION", 'C', 30, 0},
    {"TARGET", 'C', 10, 0},  {"LANGUAGE", 'C', 20, 0}, {"POWER", 'C', 7, 0},   {"LATI", 'C', 5, 0},
    {"LONGI", 'C', 6, 0},    {"NA", 'C', 2, 0},        {"CA", 'C', 2, 0},      {"SA", 'C', 2, 0},
    {"EU", 'C', 2, 0},       {"AF", 'C', 2, 0},        {"ME", 'C', 2, 0},      {"AS", 'C', 2, 0},
    {"AU", 'C', 2, 0},       {"PA", 'C', 2, 0},        {"COUNTRY", 'C', 20, 0}, {"LOCATION", 'C', 20, 0}};

DbfRow ilgRow(const char *freq, const char *utc, const char *status, const char *station, const char *eu = "",
              bool deleted = false)
{
    DbfRow r;
    r.values = {QByteArray(freq), QByteArray(utc), QByteArray(status), QByteArray(station), QByteArray("EU NA"),
                QByteArray("German"), QByteArray("500"), QByteArray("5205N"), QByteArray("00445E"),
                QByteArray("NA"), QByteArray(), QByteArray(), QByteArray(eu), QByteArray(), QByteArray(),
                QByteArray(), QByteArray(), QByteArray(), QByteArray("Germany"), QByteArray("Nauen")};
    r.deleted = deleted;
    return r;
}

struct Conversion : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    void SetUp() override
    {
        resetProgramState();
        resetStationState();
        InitConstants();
        G.datapath = dir.path();
        buildFileDirs();
        QDir().mkpath(dir.path() + "tables");
        G.filedirs[FileKind::SourceDb] = dir.path() + "tables";
    }
    void TearDown() override { Windows::destroyAll(); }
    QStringList lines(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QByteArray all = f.readAll();
        EXPECT_TRUE(all.isEmpty() || all.endsWith("\r\n"));
        QStringList out = QString::fromLatin1(all).split(QStringLiteral("\r\n"));
        out.removeLast();
        return out;
    }
    ConversionResult convert(const QString &table, std::array<bool, 4> include = {})
    {
        DbfTable t;
        EXPECT_TRUE(t.open(G.filedirs[FileKind::SourceDb], table));
        return convertIlg(t, include, dir.path() + "out.ftl", {});
    }
};

} // namespace

TEST_F(Conversion, IlgRecordsKeepTheirColumnsAndTheFiltersHold)
{
    // Written byte by byte, under a name in mixed case.
    const QVector<DbfRow> rows = {
        ilgRow("6005", "0000-2400", "", "Deutschlandfunk Radio Station Long", "EU"),
        ilgRow("6010.5", "1200-1300", "e", "Estimated"),
        ilgRow("6020", "1300-1400", "X", "Other status", "eu"),
        ilgRow("6030", "1400-1500", "C", "Deleted", "", true),
        ilgRow("6040", "abcd", "C", "Letter time"),
        ilgRow("6050", "", "C", "No time"),
        ilgRow("", "1500-1600", "C", "No frequency"),
        ilgRow("123456.00", "1500-1600", "C", "Too wide"),
        ilgRow("6060", "1600-1700-1800", "I", "Long time"),
        ilgRow("6070", "0800-0900", "P", "Planned"),
    };
    dir.write("tables/IlgSdata.DBF", tavtest::dbaseIII(kIlgFields, rows));

    ConversionResult r = convert("ILGSDATA");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    QStringList out = lines(dir.path() + "out.ftl");
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(r.count, 2);
    EXPECT_EQ(r.noFrequency, 2) << "a missing FREQ and one wider than 8 columns are counted apart";
    const QString first = out[0];
    EXPECT_EQ(first.size(), 125);
    EXPECT_EQ(first.mid(0, 8), "06005.00");
    EXPECT_EQ(first.mid(8, 1), " ");
    EXPECT_EQ(first.mid(9, 9), "0000-2400");
    EXPECT_EQ(first.mid(19, 22), "Deutschlandfunk Radio ");
    EXPECT_EQ(first.mid(41, 9), " EU NA   ");
    EXPECT_EQ(first.mid(51, 17), "German           ");
    EXPECT_EQ(first.mid(69, 7), "500    ");
    EXPECT_EQ(first.mid(76, 13), " 5205N 00445E");
    EXPECT_EQ(first.mid(89, 11), " 100100000 ");
    EXPECT_EQ(first.mid(100, 25), "Germany      Nauen       ");
    EXPECT_EQ(out[1].mid(0, 8), "06020.00") << "status X is always taken";
    EXPECT_EQ(out[1].mid(90, 9), "100000000") << "\"eu\" under EU is not the code";

    // The boxes let the estimated, inactive and planned records in.
    r = convert("ilgsdata.dbf", {true, true, false, true});
    out = lines(dir.path() + "out.ftl");
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[1].mid(0, 8), "06010.50");
    EXPECT_EQ(out[3].mid(9, 10), "1600-1700 ") << "the time is cut to its 9 columns";
    EXPECT_EQ(out[3].mid(19, 9), "Long time");
    for (const QString &l : out)
        EXPECT_EQ(l.size(), 125);
    EXPECT_FALSE(r.unordered);
}

TEST_F(Conversion, ShapelibTableWithNullsMissingFieldsManyRecordsAndDisorder)
{
    // No LOCATION and no POWER field; Nulls; more records than 16-bit counters hold.
    QVector<DbfField> fields;
    for (const DbfField &f : kIlgFields)
        if (QByteArray(f.name) != "LOCATION" && QByteArray(f.name) != "POWER")
            fields << f;
    QVector<DbfRow> rows;
    const int n = 33000;
    rows.reserve(n);
    for (int i = 0; i < n; ++i) {
        DbfRow r;
        r.values.resize(fields.size());
        r.values[0] = QByteArray::number(1000 + i / 10) + ".25";
        r.values[1] = QByteArray("0100-0200");
        r.values[3] = i % 2 ? std::optional<QByteArray>() : QByteArray("Station");
        r.values[2] = std::nullopt; // a missing status counts as "C"
        rows << r;
    }
    rows[5].values[0] = QByteArray("900"); // out of order
    const QString path = dir.path() + "tables/ilgadata.dbf";
    ASSERT_TRUE(tavtest::shapelibTable(path, fields, rows));

    tavtest::GermanLocale german;
    const ConversionResult r = convert("ILGADATA");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.count, n);
    EXPECT_TRUE(r.unordered);
    const QStringList out = lines(dir.path() + "out.ftl");
    ASSERT_EQ(out.size(), n);
    EXPECT_EQ(out[0].mid(0, 8), "01000.25");
    EXPECT_EQ(out[5].mid(0, 8), "00900.00");
    EXPECT_EQ(out[1].mid(19, 22), QString(22, ' ')) << "a Null station is written as blanks";
    EXPECT_EQ(out[0].mid(19, 7), "Station");
    EXPECT_EQ(out[0].mid(69, 7), QString(7, ' ')) << "a missing field reads as Null";
    EXPECT_EQ(out[n - 1].mid(113, 12), QString(12, ' '));
    EXPECT_EQ(out[n - 1].size(), 125);
}

TEST_F(Conversion, AeroFilesFromTheSampleList)
{
    const QByteArray list =
        "AEROLIST header line\r\n"
        "   Freq  Status  Network\r\n"
        "00999.00 note\r\n"
        "02851.00 USB      MWARA AFI-1          Lagos                 extra\r\n"
        "                                       continuation one with enough characters to matter\r\n"
        "                                       continuation two with enough characters to matter\r\n"
        "short\r\n"
        "02851.00 USB      MWARA AFI-1          Dakar\r\n"
        "02851.00 USB      MWARA AFI-1          Abidjan\r\n"
        "01800.00 USB      LOW BAND             Somewhere\r\n"
        "03016.00 USB      NAT-A                Gander\r\n"
        "02851.00 USB      MWARA AFI-1          Lagos again\r\n"
        "01000.00 exact thousand line that is long enough to count\r\n";
    dir.write("tables/aerolist.txt", list);
    const QString src = dir.path() + "tables/aerolist.txt";

    ConversionResult r = convertAero(src, false, dir.path() + "aero.ftl", {});
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.count, 13) << "every line read is counted";
    QStringList out = lines(dir.path() + "aero.ftl");
    ASSERT_EQ(out.size(), 8) << "the line of exactly 1000 kHz is not written";
    EXPECT_TRUE(out[0].startsWith("02851.00 USB      MWARA AFI-1          Lagos"));
    const QString head = QString::fromLatin1(list.split('\n')[3]).left(39);
    EXPECT_EQ(out[1], head + "continuation one with enough characters to matter");
    EXPECT_EQ(out[2], head + "continuation two with enough characters to matter");
    EXPECT_TRUE(out[5].startsWith("01800.00")) << "1800 kHz stays in the full list";

    r = convertAero(src, true, dir.path() + "aero2.ftl", {});
    out = lines(dir.path() + "aero2.ftl");
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0], "02851.00          MWARA AFI-1         ");
    EXPECT_EQ(out[1], "03016.00          NAT-A               ");
    EXPECT_EQ(out[2], "02851.00          MWARA AFI-1         ") << "the same pair after another network";

    // A stop leaves a whole file of what was done.
    QStringList many;
    for (int i = 0; i < 1000; ++i)
        many << QStringLiteral("0%1.00 USB     NET %2").arg(3000 + i).arg(i);
    dir.write("tables/big.txt", many.join("\r\n").toLatin1() + "\r\n");
    bool stop = false;
    ConversionHooks hooks;
    hooks.progress = [&](qint64 count, const QString &) { stop = count >= 200; };
    hooks.stopRequested = [&] { return stop; };
    r = convertAero(dir.path() + "tables/big.txt", false, dir.path() + "aero.ftl", hooks);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.count, 200);
    EXPECT_EQ(lines(dir.path() + "aero.ftl").size(), 200);
}

TEST_F(Conversion, IlgWindowPickerConnectConvertAndErrors)
{
    registerBuiltWindows();
    QVector<DbfRow> rows;
    for (int i = 0; i < 250; ++i)
        rows << ilgRow(QByteArray::number(5000 + i).constData(), "0100-0200", "", "Station");
    dir.write("tables/ILGSDATA.DBF", tavtest::dbaseIII(kIlgFields, rows));
    QDir().mkpath(dir.path() + "rx2db"); // the directory as the user made it

    auto *w = Windows::get<frmConvertILG>();
    ASSERT_NE(w, nullptr);
    w->load();
    EXPECT_EQ(stationState().dbfcaller, 1);
    EXPECT_FALSE(w->fraConnect->isEnabled());
    EXPECT_FALSE(w->cmdConvert->isEnabled());

    // The MW table is missing: connecting by hand fails and returns to option 0.
    w->fraConnect->setEnabled(true);
    G.filedirs[FileKind::SourceDb] = dir.path() + "tables";
    w->optDbconnect->select(1);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Could not connect to database\nCheck path and/or filename");
    EXPECT_EQ(dialogs.shown()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(w->optDbconnect->selected(), 0);

    auto *p = Windows::get<frmILGfinddbf>();
    p->load();
    EXPECT_EQ(p->windowTitle(), "Find ILG*.dbf");
    p->dirILG_Change(dir.path() + "tables");
    ASSERT_EQ(p->flbILG->count(), 1);
    EXPECT_TRUE(p->cmdOK->isEnabled());
    p->flbILG->setCurrentRow(0);
    p->cmdOK_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmILGfinddbf));
    EXPECT_EQ(w->optDbconnect->selected(), 2) << "ILGSDATA.DBF connects the SW table at once";
    EXPECT_EQ(w->lblRecord->text(), "ILGRadio SW database connected, conversion can be started.");

    // Stop from the event processing of the conversion, and the close box.
    QTimer::singleShot(0, w, [w] { w->close(); });
    w->cmdConvert_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmConvertILG)) << "the window closes itself after a stopped conversion";
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[1].text, "Conversion ready");
    EXPECT_EQ(dialogs.shown()[1].title, "ILGRadio database");
    const QStringList out = lines(dir.path() + "rx2db/ILGSDATA.ftl");
    EXPECT_GE(out.size(), 1);
    EXPECT_LT(out.size(), 250);
    EXPECT_EQ(w->lblRecnum->text(), QString::number(out.size()));
    EXPECT_FALSE(QDir(dir.path() + "RX2DB").exists()) << "the existing rx2db is the station directory";
    buildFileDirs();
    EXPECT_EQ(G.filedirs[FileKind::Tracking], dir.path() + "rx2db/") << "and the file kinds' directory";

    // A whole run; the target cannot be written (a directory in its way).
    w->load();
    p->load();
    p->dirILG_Change(dir.path() + "tables");
    p->flbILG->setCurrentRow(0);
    p->cmdOK_Click();
    QDir().mkpath(dir.path() + "rx2db/ILGSDATA.ftl.x");
    QFile::remove(dir.path() + "rx2db/ILGSDATA.ftl");
    QDir().mkpath(dir.path() + "rx2db/ILGSDATA.ftl");
    w->cmdConvert_Click();
    EXPECT_TRUE(Windows::loaded(WindowId::frmConvertILG));
    ASSERT_EQ(dialogs.shown().size(), 3);
    EXPECT_EQ(dialogs.shown()[2].title, "Error");
    EXPECT_TRUE(w->cmdConvert->isEnabled()) << "the controls come back";
    EXPECT_TRUE(w->cmdExit->isEnabled());
    QDir(dir.path() + "rx2db/ILGSDATA.ftl").removeRecursively();
    w->cmdConvert_Click();
    EXPECT_EQ(lines(dir.path() + "rx2db/ILGSDATA.ftl").size(), 250);
    EXPECT_EQ(w->lblRecnum->text(), "250");
}

TEST_F(Conversion, AeroWindowChecksItsSourceAtConnect)
{
    registerBuiltWindows();
    auto *w = Windows::get<frmConvertAero>();
    w->load();
    EXPECT_EQ(stationState().dbfcaller, 2);
    auto *p = Windows::get<frmILGfinddbf>();
    p->load();
    EXPECT_EQ(p->windowTitle(), "Find Aero*.txt");
    p->dirILG_Change(dir.path() + "tables");
    EXPECT_FALSE(p->cmdOK->isEnabled()) << "no aerolist.txt there";
    p->cmdCancel_Click();

    w->fraConnect->setEnabled(true);
    w->optDbconnect->select(1);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Could not connect to database\nCheck path and/or filename");
    EXPECT_EQ(w->optDbconnect->selected(), 0);

    dir.write("tables/AeroList.TXT", "03016.00 USB      NAT-A                Gander\r\n");
    p->load();
    p->dirILG_Change(dir.path() + "tables");
    p->flbILG->setCurrentRow(0);
    p->cmdOK_Click();
    EXPECT_EQ(w->optDbconnect->selected(), 1);
    w->optDbtype->select(1);
    w->cmdConvert_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmConvertAero));
    EXPECT_EQ(dialogs.shown().last().title, "Aerolist database");
    EXPECT_EQ(lines(dir.path() + "RX2DB/aero2.ftl"), QStringList{"03016.00          NAT-A               "});

    // A panel closing its tools during a conversion stops it.
    QStringList many;
    for (int i = 0; i < 5000; ++i)
        many << QStringLiteral("0%1.00 USB      NET %2").arg(3000 + i).arg(i);
    dir.write("tables/AeroList.TXT", many.join("\r\n").toLatin1() + "\r\n");
    w->load();
    w->fraConnect->setEnabled(true);
    w->optDbconnect->select(1);
    QTimer::singleShot(0, w, [] { UnloadTools(); });
    w->cmdConvert_Click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmConvertAero));
    const int written = int(lines(dir.path() + "RX2DB/aero.ftl").size());
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 5000);
}

namespace {

// Locate as the user does it: the picker opens modal in the current
// directory, where the source lies; its one file is clicked, then OK.
void locateByClicks(QPushButton *cmdLocate)
{
    QTimer::singleShot(0, [] {
        auto *p = Windows::existing<frmILGfinddbf>();
        if (!p || !p->isLoadedForm() || p->flbILG->count() == 0)
            return;
        QTest::mouseClick(p->flbILG->viewport(), Qt::LeftButton, {},
                          p->flbILG->visualItemRect(p->flbILG->item(0)).center());
        QTest::mouseClick(p->cmdOK, Qt::LeftButton);
    });
    QTimer::singleShot(5000, [] { // never hang on a picker left open
        if (auto *p = Windows::existing<frmILGfinddbf>())
            p->unload();
    });
    QTest::mouseClick(cmdLocate, Qt::LeftButton);
}

} // namespace

// Both conversions' picker has one rule for OK: the file clicked, else the
// only file the folder offers; with more than one and none clicked it asks
// for a click and stays open.
TEST_F(Conversion, PickerOkTakesTheClickedOrOnlyFileOrAsksForAClick)
{
    registerBuiltWindows();
    const QByteArray table = tavtest::dbaseIII(kIlgFields, {ilgRow("5000", "0100-0200", "", "One")});
    dir.write("aero/aerolist.txt", "03016.00 USB      NAT-A                Gander\r\n");
    dir.write("one/ilgsdata.dbf", table);
    dir.write("both/ILGSDATA.DBF", table);
    dir.write("both/ILGADATA.DBF", table);
    // Two cases of one name: the clicked one is converted.
    dir.write("cases/ILGSDATA.DBF", tavtest::dbaseIII(kIlgFields, {ilgRow("6000", "0100-0200", "", "Upper")}));
    dir.write("cases/ilgsdata.dbf", tavtest::dbaseIII(kIlgFields, {ilgRow("7000", "0100-0200", "", "Lower")}));
    auto *ilg = Windows::get<frmConvertILG>();
    auto *aero = Windows::get<frmConvertAero>();
    const struct {
        bool aero;
        const char *folder, *click;
        int connected; // the option selected after OK
        bool asked;
        const char *converted = nullptr; // the station the conversion writes
        bool outputProtected = false;    // the output is write-protected: refused, named once
    } cases[] = {
        {true, "aero", "", 1, false},
        {true, "aero", "aerolist.txt", 1, false},
        {false, "one", "", 2, false},
        {false, "both", "", 0, true},
        {false, "both", "ILGADATA.DBF", 1, false},
        {false, "cases", "ilgsdata.dbf", 2, false, "Lower"},
        {false, "cases", "ILGSDATA.DBF", 2, false, "Upper"},
        {false, "cases", "ilgsdata.dbf", 2, false, "Upper", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.folder) + " " + c.click);
        TavForm *w = c.aero ? static_cast<TavForm *>(aero) : ilg;
        OptionGroup *connect = c.aero ? aero->optDbconnect : ilg->optDbconnect;
        QPushButton *convert = c.aero ? aero->cmdConvert : ilg->cmdConvert;
        w->showModeless();
        const qsizetype before = dialogs.shown().size();
        bool stayed = false;
        QTimer::singleShot(0, [&] {
            auto *p = Windows::existing<frmILGfinddbf>();
            p->dirILG_Change(dir.path() + c.folder);
            const QList<QListWidgetItem *> items = p->flbILG->findItems(QLatin1String(c.click), Qt::MatchFixedString | Qt::MatchCaseSensitive);
            if (!items.isEmpty())
                QTest::mouseClick(p->flbILG->viewport(), Qt::LeftButton, {},
                                  p->flbILG->visualItemRect(items.first()).center());
            QTest::mouseClick(p->cmdOK, Qt::LeftButton);
            stayed = p->isLoadedForm();
            if (stayed)
                QTest::mouseClick(p->cmdCancel, Qt::LeftButton);
        });
        QTest::mouseClick(c.aero ? aero->cmdLocate : ilg->cmdLocate, Qt::LeftButton);
        EXPECT_EQ(stayed, c.asked);
        EXPECT_EQ(connect->selected(), c.connected);
        EXPECT_EQ(convert->isEnabled(), c.connected != 0);
        if (c.asked) {
            ASSERT_EQ(dialogs.shown().size(), before + 1);
            EXPECT_EQ(dialogs.shown().last().text, "More than one file fits in this folder:\nclick the file to convert, then OK");
        } else {
            EXPECT_EQ(dialogs.shown().size(), before) << dialogs.shown().last().text.toStdString();
        }
        const QString outPath = dir.path() + "RX2DB/ILGSDATA.ftl";
        if (c.outputProtected)
            QFile::setPermissions(outPath, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        if (c.converted) {
            QTest::mouseClick(convert, Qt::LeftButton);
            if (c.outputProtected) {
                const QString said = dialogs.shown().last().text;
                EXPECT_EQ(said.count(outPath), 1) << said.toStdString();
                EXPECT_TRUE(said.contains("write-protected")) << said.toStdString();
            }
            const QStringList out = lines(outPath);
            ASSERT_EQ(out.size(), 1);
            EXPECT_EQ(out[0].mid(19, 22).trimmed(), QLatin1String(c.converted));
        }
        w->unload();
    }
}

TEST_F(Conversion, BothConversionsWorkAgainAfterTheFirst)
{
    registerBuiltWindows();
    dir.write("ILGSDATA.DBF", tavtest::dbaseIII(kIlgFields, {ilgRow("5000", "0100-0200", "", "One"),
                                                             ilgRow("6000", "0100-0200", "E", "Two")}));
    dir.write("AeroList.txt", "03016.00 USB      NAT-A                Gander\r\n"
                              "05598.00 USB      NAT-B                Shanwick\r\n");
    auto *ilg = Windows::get<frmConvertILG>();
    auto *aero = Windows::get<frmConvertAero>();
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const qsizetype before = dialogs.shown().size();
        ilg->showModeless();
        ASSERT_TRUE(ilg->cmdLocate->isEnabled());
        ASSERT_TRUE(ilg->cmdExit->isEnabled());
        for (CheckBox *c : ilg->chkInclude)
            EXPECT_TRUE(c->isEnabled());
        locateByClicks(ilg->cmdLocate);
        ASSERT_EQ(ilg->optDbconnect->selected(), 2);
        // The Estimated line is left out unless its box is ticked.
        QTest::mouseClick(ilg->chkInclude[0], Qt::LeftButton, {}, QPoint(6, ilg->chkInclude[0]->height() / 2));
        ASSERT_TRUE(ilg->chkInclude[0]->isChecked());
        QTest::mouseClick(ilg->cmdConvert, Qt::LeftButton);
        EXPECT_FALSE(Windows::loaded(WindowId::frmConvertILG));
        ASSERT_EQ(dialogs.shown().size(), before + 1);
        EXPECT_EQ(dialogs.shown().last().text, "Conversion ready");
        EXPECT_EQ(lines(resolveNoCase(stationDirectory(false), "ILGSDATA.ftl")).size(), 2);

        aero->showModeless();
        ASSERT_TRUE(aero->cmdLocate->isEnabled());
        ASSERT_TRUE(aero->cmdExit->isEnabled());
        locateByClicks(aero->cmdLocate);
        ASSERT_EQ(aero->optDbconnect->selected(), 1);
        QTest::mouseClick(aero->cmdConvert, Qt::LeftButton);
        EXPECT_FALSE(Windows::loaded(WindowId::frmConvertAero));
        ASSERT_EQ(dialogs.shown().size(), before + 2);
        EXPECT_EQ(dialogs.shown().last().text, "Conversion ready");
        EXPECT_EQ(lines(resolveNoCase(stationDirectory(false), "aero.ftl")).size(), 2);
    }
}

TEST_F(Conversion, AeroStopBeforeConvertDoesNotEmptyTheFile)
{
    registerBuiltWindows();
    dir.write("AeroList.txt", "03016.00 USB      NAT-A                Gander\r\n"
                              "05598.00 USB      NAT-B                Shanwick\r\n");
    const QString out = stationDirectory(true) + "aero.ftl";
    {
        QFile f(out);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("08864.00 USB      OLD                  Kept\r\n");
    }
    auto *aero = Windows::get<frmConvertAero>();
    aero->showModeless();
    locateByClicks(aero->cmdLocate);
    ASSERT_EQ(aero->optDbconnect->selected(), 1);
    // Stop pressed with no conversion running, then Convert: the conversion
    // runs whole, and the file never becomes empty.
    QTest::mouseClick(aero->cmdStop, Qt::LeftButton);
    QTest::mouseClick(aero->cmdConvert, Qt::LeftButton);
    const QStringList written = lines(out);
    ASSERT_EQ(written.size(), 2);
    EXPECT_TRUE(written[0].startsWith("03016.00"));
    EXPECT_EQ(dialogs.shown().last().text, "Conversion ready");
}

namespace {

// The record count in a dBase header, set to what a damaged table claims.
QByteArray withCount(QByteArray table, quint32 count)
{
    for (int i = 0; i < 4; ++i)
        table[4 + i] = char((count >> (8 * i)) & 0xFF);
    return table;
}

QVector<DbfRow> ilgRows(int n)
{
    QVector<DbfRow> rows;
    for (int i = 0; i < n; ++i)
        rows << ilgRow(QByteArray::number(5000 + i).constData(), "0100-0200", "", "Station");
    return rows;
}

} // namespace

TEST_F(Conversion, TablesThatCannotHoldTheirCountAreRefusedAtConnect)
{
    registerBuiltWindows();
    auto *w = Windows::get<frmConvertILG>();
    const QByteArray three = tavtest::dbaseIII(kIlgFields, ilgRows(3));
    for (quint32 claim : {12u, 1000000u, 2147483647u}) {
        SCOPED_TRACE(claim);
        dir.write("tables/ILGSDATA.DBF", withCount(three, claim));
        w->load();
        w->fraConnect->setEnabled(true);
        QElapsedTimer t;
        t.start();
        w->optDbconnect->select(2);
        EXPECT_LT(t.elapsed(), 1000);
        ASSERT_FALSE(dialogs.shown().isEmpty());
        EXPECT_EQ(dialogs.shown().last().text,
                  QStringLiteral("Could not connect to database\nThe table ILGSDATA.DBF is damaged: its header counts %1 "
                                 "records, but its %2 bytes hold 3.")
                      .arg(claim)
                      .arg(three.size()));
        EXPECT_EQ(w->optDbconnect->selected(), 0);
        EXPECT_FALSE(w->cmdConvert->isEnabled());
        w->unload();
    }
}

TEST_F(Conversion, StopIsHonouredWhileEveryRecordIsSkipped)
{
    registerBuiltWindows();
    // 300,000 records without a time: the rules skip every one of them.
    const QVector<DbfField> fields = {{"FREQ", 'N', 9, 2}, {"UTC", 'C', 4, 0}};
    QByteArray table = tavtest::dbaseIII(fields, {});
    table.chop(1); // the end mark goes after the records
    const int n = 300000;
    table.reserve(table.size() + n * 14 + 1);
    for (int i = 0; i < n; ++i)
        table += "   6000.00    ";
    table += '\x1a';
    dir.write("tables/ILGSDATA.DBF", withCount(table, n));
    dir.write("rx2db/ILGSDATA.ftl", "old\r\n");

    auto *w = Windows::get<frmConvertILG>();
    w->load();
    w->fraConnect->setEnabled(true);
    w->optDbconnect->select(2);
    ASSERT_TRUE(w->cmdConvert->isEnabled());
    bool convertReturned = false, stopDuringConversion = false;
    QElapsedTimer sinceStop;
    QTimer::singleShot(0, w, [&] {
        stopDuringConversion = !convertReturned;
        sinceStop.start();
        QTest::mouseClick(w->cmdStop, Qt::LeftButton);
    });
    QTest::mouseClick(w->cmdConvert, Qt::LeftButton);
    convertReturned = true;
    EXPECT_TRUE(stopDuringConversion) << "the Stop click waited for the end of the table";
    ASSERT_TRUE(sinceStop.isValid());
    EXPECT_LT(sinceStop.elapsed(), 1000);
}

TEST_F(Conversion, ATableThatShrinksAfterConnectKeepsTheOldFile)
{
    registerBuiltWindows();
    // Larger than any read-ahead, so the loss is met part way.
    dir.write("tables/ILGSDATA.DBF", tavtest::dbaseIII(kIlgFields, ilgRows(400)));
    dir.write("rx2db/ILGSDATA.ftl", "old\r\n");
    auto *w = Windows::get<frmConvertILG>();
    w->load();
    w->fraConnect->setEnabled(true);
    w->optDbconnect->select(2);
    ASSERT_TRUE(w->cmdConvert->isEnabled());
    // Cut to three records behind the connected table's back.
    const int recordLength = 1 + 9 + 12 + 1 + 30 + 10 + 20 + 7 + 5 + 6 + 2 * 9 + 20 + 20;
    const int header = 32 + 32 * int(kIlgFields.size()) + 1;
    ASSERT_TRUE(QFile::resize(dir.file("tables/ILGSDATA.DBF"), header + 3 * recordLength));
    QTest::mouseClick(w->cmdConvert, Qt::LeftButton);
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().title, "Error");
    EXPECT_TRUE(dialogs.shown().last().text.contains("of the 400 the table counts could not be read"))
        << dialogs.shown().last().text.toStdString();
    EXPECT_EQ(dir.read("rx2db/ILGSDATA.ftl"), QByteArray("old\r\n"));
    EXPECT_TRUE(Windows::loaded(WindowId::frmConvertILG)) << "the window stays for another try";
}

TEST_F(Conversion, ControlCharactersBecomeBlanksAndOddFrequenciesAreSkipped)
{
    dir.write("tables/ILGSDATA.DBF", tavtest::dbaseIII(kIlgFields, {ilgRow("6005", "0000-2400", "", "Radio\r\nOne"),
                                                                     ilgRow("1e308", "0100-0200", "", "Exponent"),
                                                                     ilgRow("12,5", "0100-0200", "", "Comma"),
                                                                     ilgRow("6010", "0100-0200", "", "Tab\there"),
                                                                     // A half goes up, as the table's digits say.
                                                                     ilgRow("9560.125", "0100-0200", "", "Half"),
                                                                     ilgRow("9560.115", "0100-0200", "", "Half again"),
                                                                     ilgRow("99999.995", "0100-0200", "", "Up to 100000")}));
    const ConversionResult r = convert("ILGSDATA");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.count, 4);
    EXPECT_EQ(r.noFrequency, 3) << "\"1e308\" and \"12,5\" are not frequencies; 100000.00 is too wide";
    const QStringList out = lines(dir.path() + "out.ftl");
    ASSERT_EQ(out.size(), 4);
    EXPECT_EQ(out[0].size(), 125);
    EXPECT_EQ(out[0].mid(19, 22), "Radio  One            ");
    EXPECT_EQ(out[1].mid(19, 22), "Tab here              ");
    EXPECT_EQ(out[2].left(8) + "|" + out[3].left(8), "09560.13|09560.12");
}

TEST_F(Conversion, AFullDiskOrASizeLimitKeepsTheOldStationFiles)
{
    dir.write("tables/ILGSDATA.DBF", tavtest::dbaseIII(kIlgFields, ilgRows(250)));
    QStringList aero;
    for (int i = 0; i < 500; ++i)
        aero << QStringLiteral("0%1.00 USB      NET %2").arg(3000 + i).arg(i);
    dir.write("tables/aerolist.txt", aero.join("\r\n").toLatin1() + "\r\n");
    DbfTable t;
    ASSERT_TRUE(t.open(G.filedirs[FileKind::SourceDb], "ILGSDATA"));

    auto tryBoth = [&](const QString &outDir, const char *cause) {
        const ConversionResult ilg = convertIlg(t, {}, outDir + "ILGSDATA.ftl", {});
        EXPECT_FALSE(ilg.ok);
        EXPECT_TRUE(ilg.error.contains(QLatin1String(cause))) << ilg.error.toStdString();
        const ConversionResult air = convertAero(dir.path() + "tables/aerolist.txt", false, outDir + "aero.ftl", {});
        EXPECT_FALSE(air.ok);
        EXPECT_TRUE(air.error.contains(QLatin1String(cause))) << air.error.toStdString();
        for (const char *name : {"ILGSDATA.ftl", "aero.ftl"}) {
            QFile f(outDir + name);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), QByteArray("old\r\n")) << name;
        }
        EXPECT_EQ(QDir(outDir).entryList(QDir::Files | QDir::Hidden).filter(".ftl.").size(), 0) << "no temporary file left";
    };

    dir.write("ILGSDATA.ftl", "old\r\n");
    dir.write("aero.ftl", "old\r\n");
    {
        tavtest::FileSizeLimit limit(4000);
        tryBoth(dir.path(), "too large");
    }

    tavtest::SmallDisk disk(dir.path() + "small", 256);
    if (!disk.available()) {
        std::puts("(a small tmpfs cannot be mounted here: the full disk is not tried)");
        return;
    }
    const QString small = dir.path() + "small/";
    for (const char *name : {"ILGSDATA.ftl", "aero.ftl"}) {
        QFile f(small + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old\r\n");
    }
    disk.fill();
    tryBoth(small, "disk is full");
}
