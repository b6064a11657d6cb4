#include "core/filekinds.h"

#include "core/globals.h"
#include "core/textfile.h"
#include "core/ui.h"

#include <QFileInfo>
#include <QMap>
#include <map>
#include <sys/stat.h>

namespace tav {


const FileKindInfo &fileKindInfo(FileKind kind)
{
    static const FileKindInfo table[kFileKindCount] = {
        {"", "", "", ""},                                                     // SourceDb
        {"BDXC/", "BDX_", "BDX_*TOE.TXT;ADX_*TOW.TXT;ILG_*TOW.TXT", ""},      // Bdxc
        {"OWN/", "OWN_", "OWN_*.TXT", ""},                                    // Own
        {"RX2DB/", "", "*.FTL", ""},                                          // StationList
        {"LOG/", "LOG_", "LOG_*.TXT", "log_xyzxyzxyzxyz.txt"},                // Log
        {"RX2DB/", "", "*.FTL", ""},                                          // Tracking
        {"SAN/", "SAN_", "SAN_*.TXT", "san_xyzxyzxyzxyz.txt"},                // BandScan
        {"PAN/", "PAN_", "PAN_*.TXT", "pan_xyzxyzxyzxyz.txt"},                // Propagation
        {"MEM/", "MEM_", "MEM_#*.TXT", "mem_#xyzxyzxyzxy.txt"},               // Memories
        {"FSP/", "FSP_", "FSP_*.TXT", "fsp_xyzxyzxyzxyz.txt"},                // Scratchpad
        {"F320/", "", "*.320", ""},                                           // F320
        {"SFL/", "SFL_", "SFL_*.TXT", "sfl_xyzxyzxyzxyz.txt"},                // ScanList
        {"SFP/", "SFP_", "SFP_*.TXT", "sfp_xyzxyzxyzxyz.txt"},                // ScanPairs
        {"RTTY/", "RTY_", "RTY_*.TXT", "rty_xyzxyzxyzxyz.txt"},               // Rtty
        {"PAN/", "PAN_", "PAN_*.TXT", ""},                                    // PropagationPrint
        {"TPR/", "TPR_", "TPR_*.TXT", "tpr_xyzxyzxyzxyz.txt"},                // TimerPrograms
    };
    return table[std::size_t(kind)];
}

namespace {

std::map<std::pair<FileKind, StationDb>, FileReader> &readers()
{
    static std::map<std::pair<FileKind, StationDb>, FileReader> r;
    return r;
}

std::map<FileKind, FileWriter> &writers()
{
    static std::map<FileKind, FileWriter> w;
    return w;
}

std::map<FileKind, std::function<void()>> &abandoners()
{
    static std::map<FileKind, std::function<void()>> a;
    return a;
}

QMap<QString, std::function<void()>> &closers()
{
    static QMap<QString, std::function<void()>> c;
    return c;
}

StationDb readerKey(FileKind kind, StationDb ftl) { return kind == FileKind::StationList ? ftl : StationDb::None; }

void reportFile(const QString &path, const QString &what, const QString &why = QString())
{
    QStringList lines{QStringLiteral("The file"), path, what};
    if (!why.isEmpty())
        lines << why;
    msgBox(lines, MsgIcon::Exclamation, QStringLiteral("Error"));
}

bool validKind(FileKind kind) { return std::size_t(kind) < kFileKindCount; }

// Which file on the disk a path names now: a save puts a new file in the
// old one's place, and an edit changes its size or time.
struct FileStamp {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = -1;
    timespec mtime{};
    bool operator==(const FileStamp &o) const
    {
        return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
               mtime.tv_nsec == o.mtime.tv_nsec;
    }
};

std::optional<FileStamp> stampOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
}

// What the last load of a kind left out, and of which file.
struct PartialLoad {
    QString path;
    FileStamp stamp;
    LeftOut leftOut;
};

std::map<std::pair<FileKind, StationDb>, PartialLoad> &partialLoads()
{
    static std::map<std::pair<FileKind, StationDb>, PartialLoad> p;
    return p;
}

// A load of the whole file, or one whose file cannot be told again, leaves no note.
void notePartialLoad(FileKind kind, StationDb db, const QString &path, const std::optional<FileStamp> &stamp,
                     const LeftOut &leftOut)
{
    const auto key = std::pair(kind, readerKey(kind, db));
    if (leftOut.any() && stamp)
        partialLoads()[key] = {QFileInfo(path).absoluteFilePath(), *stamp, leftOut};
    else
        partialLoads().erase(key);
}

} // namespace

void registerReader(FileKind kind, FileReader reader, StationDb ftl) { readers()[{kind, readerKey(kind, ftl)}] = std::move(reader); }
void registerWriter(FileKind kind, FileWriter writer, std::function<void()> abandoned)
{
    writers()[kind] = std::move(writer);
    abandoners()[kind] = std::move(abandoned);
}

bool hasReader(FileKind kind, StationDb ftl)
{
    auto it = readers().find({kind, readerKey(kind, ftl)});
    return it != readers().end() && it->second;
}

bool hasWriter(FileKind kind)
{
    auto it = writers().find(kind);
    return it != writers().end() && it->second;
}

void clearFileHandlers()
{
    readers().clear();
    writers().clear();
    abandoners().clear();
}

QString currentFilePath(FileKind kind)
{
    if (!validKind(kind))
        return QString();
    return resolveNoCase(G.filedirs[kind], G.filenames[kind]);
}

bool runReader(FileKind kind, StationDb db)
{
    if (!validKind(kind) || !hasReader(kind, db)) {
        msgBox(QStringList{QStringLiteral("Files of this kind cannot be loaded in this version of Tavorin.")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return false;
    }
    const QString path = currentFilePath(kind);
    const QFileInfo fi(path);
    if (G.filenames[kind].isEmpty() || !fi.exists() || !fi.isFile()) {
        reportFile(path, QStringLiteral("could not be found."));
        return false;
    }
    if (!fi.isReadable()) {
        reportFile(path, QStringLiteral("could not be read."));
        return false;
    }
    // The stamp is taken before the reading, so a file that changes meanwhile counts as changed.
    const std::optional<FileStamp> stamp = stampOf(path);
    const FileResult r = readers()[{kind, readerKey(kind, db)}](path);
    if (!r.ok) {
        reportFile(path, QStringLiteral("could not be read:"), r.error);
        return false;
    }
    notePartialLoad(kind, db, path, stamp, r.leftOut);
    return true;
}

std::optional<LeftOut> partlyLoaded(FileKind kind, const QString &path, StationDb db)
{
    const auto it = partialLoads().find({kind, readerKey(kind, db)});
    if (it == partialLoads().end())
        return std::nullopt;
    const PartialLoad &p = it->second;
    if (QFileInfo(path).absoluteFilePath().compare(p.path, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    // Another file under the name, or this one written since, holds other lines.
    const std::optional<FileStamp> now = stampOf(path);
    if (!now || !(*now == p.stamp))
        return std::nullopt;
    return p.leftOut;
}

void clearPartialLoads() { partialLoads().clear(); }

FileResult runWriter(FileKind kind)
{
    if (!validKind(kind) || !hasWriter(kind))
        return FileResult::failure(QStringLiteral("Files of this kind cannot be saved in this version of Tavorin."));
    const QString dir = G.filedirs[kind];
    if (!ensureDir(dir))
        return FileResult::failure(QStringLiteral("The directory ") + dir + QStringLiteral(" could not be created."));
    // A name that is a symbolic link is saved into the file it points to,
    // the link staying as it is; a write-protected file is not replaced.
    const QString target = saveTargetPath(currentFilePath(kind));
    if (const QString why = saveRefusal(target); !why.isEmpty())
        return FileResult::failure(why);

    SaveTemporary tmp(QFileInfo(target).absolutePath());
    if (!tmp.ok())
        return FileResult::failure(tmp.error());
    // The new file gets the old one's permissions, or the usual ones of a new file.
    QFile::Permissions perms = QFileInfo::exists(target)
                                   ? QFile::permissions(target)
                                   : (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                                      QFile::ReadGroup | QFile::ReadOther);
    QFile::setPermissions(tmp.path(), perms);

    FileResult r = writers()[kind](tmp.path());
    if (!r.ok)
        return r;
    if (!tmp.place(target)) {
        if (auto a = abandoners().find(kind); a != abandoners().end() && a->second)
            a->second();
        return FileResult::failure(QStringLiteral("The file ") + target + QStringLiteral(" could not be replaced: ") +
                                   tmp.error());
    }
    return r;
}

bool checkoverwrite(FileKind kind, bool ask)
{
    if (!validKind(kind))
        return false;
    const auto existing = findFileNoCase(G.filedirs[kind], G.filenames[kind]);
    if (!existing)
        return true;
    if (ask) {
        const int answer = askReplace(kind, G.filedirs[kind] + *existing, QStringLiteral("This file already exist."),
                                      QStringLiteral("Save File"));
        if (answer != vbYes) {
            msgBox(QStringLiteral("File save action aborted"), MsgIcon::Information, QStringLiteral("Save File"));
            return false;
        }
    }
    G.filenames[kind] = *existing;
    return true;
}

int askReplace(FileKind kind, const QString &path, const QString &firstLine, const QString &title)
{
    QStringList lines{firstLine};
    int defaultAnswer = 0;
    if (const std::optional<LeftOut> lost = partlyLoaded(kind, path)) {
        lines << QStringLiteral("It was loaded only in part: %1 of its records").arg(leftOutText(*lost))
              << (lost->one() ? QStringLiteral("was not loaded and will be lost.")
                              : QStringLiteral("were not loaded and will be lost."));
        defaultAnswer = vbNo;
    }
    lines << QStringLiteral("Do you want to replace it ?");
    return msgBox(lines, MsgIcon::Question, title, MsgButtons::YesNoCancel, defaultAnswer);
}

QString setupSizeAdvice(Setting size, qint64 linesInFile, bool atLeast, int extraRows)
{
    const QString caption = QLatin1Char('"') + QLatin1String(listSizeCaption(size)) + QLatin1Char('"');
    const qint64 thousands = std::max<qint64>(1, (linesInFile - extraRows + 999) / 1000);
    if (thousands > kListSizeLargest)
        return QStringLiteral("Even the largest %1 in Set-up, %2, holds only %3 of them.")
            .arg(caption)
            .arg(kListSizeLargest)
            .arg(qint64(kListSizeLargest) * 1000 + extraRows);
    if (atLeast)
        return QStringLiteral("It takes a %1 of at least %2 in Set-up.").arg(caption).arg(thousands);
    return QStringLiteral("A %1 of %2 in Set-up holds the whole file.").arg(caption).arg(thousands);
}

QFile &rttyCaptureFile()
{
    static QFile f;
    return f;
}

namespace {
std::function<void(const QString &)> &rttyCaptureShown()
{
    static std::function<void(const QString &)> show;
    return show;
}
} // namespace

void setRttyCaptureShown(std::function<void(const QString &)> show) { rttyCaptureShown() = std::move(show); }

void showRttyCaptureFile(const QString &name)
{
    if (rttyCaptureShown())
        rttyCaptureShown()(name);
}

void registerOpenFileCloser(const QString &key, std::function<void()> closer) { closers()[key] = std::move(closer); }

void closeOpenFiles()
{
    QFile &rtty = rttyCaptureFile();
    if (rtty.isOpen())
        rtty.close();
    for (const auto &c : closers())
        if (c)
            c();
}

} // namespace tav
