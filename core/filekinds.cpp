#include "core/filekinds.h"

#include "core/globals.h"
#include "core/textfile.h"
#include "core/ui.h"

#include <QFileInfo>
#include <QMap>
#include <map>

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

bool runReader(FileKind kind)
{
    if (!validKind(kind) || !hasReader(kind, G.ftlkind)) {
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
    const FileResult r = readers()[{kind, readerKey(kind, G.ftlkind)}](path);
    if (!r.ok) {
        reportFile(path, QStringLiteral("could not be read:"), r.error);
        return false;
    }
    return true;
}

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

bool checkoverwrite(bool ask)
{
    const FileKind kind = G.filekind;
    if (!validKind(kind))
        return false;
    const auto existing = findFileNoCase(G.filedirs[kind], G.filenames[kind]);
    if (!existing)
        return true;
    if (ask) {
        const int answer = msgBox(QStringList{QStringLiteral("This file already exist."),
                                              QStringLiteral("Do you want to replace it ?")},
                                  MsgIcon::Question, QStringLiteral("Save File"), MsgButtons::YesNoCancel);
        if (answer != vbYes) {
            msgBox(QStringLiteral("File save action aborted"), MsgIcon::Information, QStringLiteral("Save File"));
            return false;
        }
    }
    G.filenames[kind] = *existing;
    return true;
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
