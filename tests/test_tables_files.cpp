// Start-up and receiver tables; the text file rules every file of the program follows.
#include "core/filekinds.h"
#include "core/globals.h"
#include "drivers/receiver.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "support/testenv.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <csignal>
#include <sys/resource.h>
#include <gtest/gtest.h>

using namespace tav;

TEST(Tables, PassbandLabelsAndReceiverTablesKeepWhatOthersFilled)
{
    InitConstants();
    EXPECT_EQ(G.stepdefaults[2], 10);
    EXPECT_EQ(G.filepattern[FileKind::Bdxc], "BDX_*TOE.TXT;ADX_*TOW.TXT;ILG_*TOW.TXT");
    EXPECT_EQ(G.filedefault[FileKind::Memories], "mem_#xyzxyzxyzxy.txt");
    EXPECT_EQ(G.filedefault[FileKind::Memories].size(), 20);

    G.bwnames.resize(3);
    InitNRD545();
    EXPECT_EQ(G.agcnames[9], "1800");

    InitAR7030();
    EXPECT_EQ(G.pbstext[0], "-4.2k");
    EXPECT_EQ(G.pbstext[41], "-0.1k");
    EXPECT_EQ(G.pbstext[42], " 0.0k");
    EXPECT_EQ(G.pbstext[43], "+0.1k");
    EXPECT_EQ(G.pbstext[84], "+4.2k");
    EXPECT_TRUE(G.pbstext[85].isEmpty());
    EXPECT_EQ(G.nbnames[2], "NB2") << "the AR7030 leaves the noise-blanker names as they were";
    EXPECT_EQ(G.bwnames[2], "Nar");
    EXPECT_TRUE(G.agcnames[9].isEmpty()) << "cleared by the next receiver";
    EXPECT_EQ(G.attnames[0], "+10 dB");

    G.bwnames.resize(34);
    InitRX320();
    EXPECT_TRUE(G.agcnames[0].isEmpty());
    EXPECT_EQ(G.agcnames[3], "Fst");
    EXPECT_EQ(G.bwnames[33], "8000");

    G.bwnames.resize(4);
    G.setupdata[12] = 0;
    InitNRD535();
    EXPECT_TRUE(G.modenames[7].isEmpty());
    G.setupdata[12] = 1;
    InitNRD535();
    EXPECT_EQ(G.modenames[7], "AM-U");
    EXPECT_EQ(G.modenames[8], "AM-L");
}

TEST(Tables, PassbandLabelsIgnoreTheLocale)
{
    tavtest::GermanLocale de;
    InitAR7030();
    EXPECT_EQ(G.pbstext[50], "+0.8k");
}

TEST(TextFiles, LineEndsLatin1AndNoInventedLastLine)
{
    EXPECT_EQ(splitTextLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(splitTextLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(splitTextLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_TRUE(splitTextLines("").isEmpty());
    EXPECT_EQ(splitTextLines("\xe9t\xe9").first(), QString::fromUtf8("été"));

    tavtest::ScratchDir dir;
    ASSERT_TRUE(writeTextLines(dir.file("x.txt"), {QString::fromUtf8("Genève"), "2"}));
    EXPECT_EQ(dir.read("x.txt"), QByteArray("Gen\xe8ve\r\n2\r\n"));
    ASSERT_TRUE(appendTextLines(dir.file("x.txt"), {"3"}));
    EXPECT_EQ(readTextLines(dir.file("x.txt"))->size(), 3);
    EXPECT_FALSE(readTextLines(dir.file("missing.txt")).has_value());
}

TEST(TextFiles, FailedSaveLeavesTheOldFileWhole)
{
    tavtest::ScratchDir dir;
    ASSERT_TRUE(writeTextLines(dir.file("keep.txt"), {"old"}));
    // A disk that fills up half-way through the write: a file size limit
    // makes the write fail even for root.
    struct rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    QStringList big;
    for (int i = 0; i < 1000; ++i)
        big << QStringLiteral("line %1").arg(i);
    QString error;
    const bool ok = writeTextLines(dir.file("keep.txt"), big, &error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(dir.read("keep.txt"), QByteArray("old\r\n"));
}

TEST(TextFiles, NamesMatchWithoutRegardToCase)
{
    tavtest::ScratchDir dir;
    dir.write("log_x.txt", "1\r\n");
    dir.write("LOG_B.TXT", "1\r\n");
    dir.write("own_1.txt", "1\r\n");
    EXPECT_EQ(listFilesNoCase(dir.path(), "LOG_*.TXT"), (QStringList{"LOG_B.TXT", "log_x.txt"}));
    EXPECT_EQ(listFilesNoCase(dir.path(), "OWN_*.TXT;LOG_B*"), (QStringList{"LOG_B.TXT", "own_1.txt"}));
    EXPECT_EQ(findFileNoCase(dir.path(), "LOG_X.TXT").value_or(""), "log_x.txt");
    EXPECT_EQ(resolveNoCase(dir.path(), "Log_X.txt"), dir.path() + "log_x.txt");
    EXPECT_EQ(resolveNoCase(dir.path(), "new.txt"), dir.path() + "new.txt");
}

namespace {

// The ways the program saves a whole file: the shared line writer, a file
// written in pieces (the conversions), and the Save dialog's writer run.
struct Saver {
    const char *name;
    std::function<bool(const QString &path, const QString &line, QString *error)> save;
};

const Saver kSavers[] = {
    {"lines", [](const QString &path, const QString &line, QString *error) { return writeTextLines(path, {line}, error); }},
    {"pieces",
     [](const QString &path, const QString &line, QString *error) {
         AtomicFileWriter w(path);
         w.writeLine(line);
         const bool ok = w.commit();
         *error = w.error();
         return ok;
     }},
    {"kind's writer",
     [](const QString &path, const QString &line, QString *error) {
         const QFileInfo fi(path);
         G.filedirs[FileKind::Log] = fi.path() + QLatin1Char('/');
         G.filenames[FileKind::Log] = fi.fileName();
         registerWriter(FileKind::Log, [line](const QString &p) {
             QString err;
             return writeTextLines(p, {line}, &err) ? FileResult::success() : FileResult::failure(err);
         });
         const FileResult r = runWriter(FileKind::Log);
         clearFileHandlers();
         *error = r.error;
         return r.ok;
     }},
};

QStringList allNames(const QString &dir)
{
    QStringList names = QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    return names;
}

} // namespace

TEST(TextFiles, AWriteProtectedFileIsRefusedAndALinkIsSavedThrough)
{
    for (const Saver &s : kSavers) {
        SCOPED_TRACE(s.name);
        tavtest::ScratchDir dir;
        // Protected by its permissions: refused whoever runs the program (root could write it).
        dir.write("LOG_RO.TXT", "old\r\n");
        QFile::setPermissions(dir.file("LOG_RO.TXT"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QString error;
        EXPECT_FALSE(s.save(dir.file("LOG_RO.TXT"), "new", &error));
        EXPECT_TRUE(error.contains("write-protected")) << error.toStdString();
        EXPECT_EQ(dir.read("LOG_RO.TXT"), "old\r\n");

        // A name that is a link: the file it points to gets the data, the link stays.
        dir.write("store/LOG_REAL.TXT", "old\r\n");
        ASSERT_TRUE(QFile::link(dir.file("store/LOG_REAL.TXT"), dir.file("LOG_LINK.TXT")));
        EXPECT_TRUE(s.save(dir.file("LOG_LINK.TXT"), "new", &error)) << error.toStdString();
        EXPECT_TRUE(QFileInfo(dir.file("LOG_LINK.TXT")).isSymLink());
        EXPECT_EQ(dir.read("store/LOG_REAL.TXT"), "new\r\n");
        EXPECT_EQ(allNames(dir.path()), (QStringList{"LOG_LINK.TXT", "LOG_RO.TXT"}));
        EXPECT_EQ(allNames(dir.file("store")), QStringList{"LOG_REAL.TXT"});
    }
}

TEST(TextFiles, TemporariesLeftByCutShortSavesGoAtTheNextSaveThere)
{
    for (const Saver &s : kSavers) {
        SCOPED_TRACE(s.name);
        tavtest::ScratchDir dir;
        // What saves killed part way left, of every form the program gives them.
        const QStringList left = {".tavorin-save-Ab12Cd", ".tavorin-save-xYz789.dbf", ".bare.ftl.qWeRty",
                                  "LOG_A.TXT.kLmNoP"};
        // The user's own files, and a save of another run still writing.
        const QStringList kept = {".hidden", ".tavorin-save-HeLd42", "LOG_A.TXT", "LOG_A.TXT.Backup",
                                  "LOG_A.TXT.backup", "notes.txt"};
        for (const QString &n : left + kept)
            dir.write(n, QByteArray(100000, 'x'));
        QFile running(dir.file(".tavorin-save-HeLd42"));
        ASSERT_TRUE(running.open(QIODevice::Append));
        QString error;
        ASSERT_TRUE(s.save(dir.file("LOG_NEW.TXT"), "new", &error)) << error.toStdString();
        QStringList expected = kept;
        expected << "LOG_NEW.TXT";
        expected.sort();
        EXPECT_EQ(allNames(dir.path()), expected);
    }
}
