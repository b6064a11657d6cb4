#include "samples/install.h"

#include "core/globals.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "stations/conversion.h"
#include "stations/dbftable.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <shapefil.h>

namespace tav {

namespace {

QString withSlash(const QString &dir) { return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/'); }

// The folder `name` in `parent` as it exists (any case), else as given.
QString folderNoCase(const QString &parent, const QString &name)
{
    for (const QString &e : QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return withSlash(parent) + e + QLatin1Char('/');
    return withSlash(parent) + name + QLatin1Char('/');
}

struct IlgRow {
    const char *freq, *utc, *status, *station, *target, *language, *power, *lat, *lon, *areas, *country, *location;
};

// Made-up but plausible schedules, in ascending frequency as the tables come.
const IlgRow kShortWave[] = {
    {"5940", "1800-1900", "", "Radio Oesterreich", "EU", "German", "100", "4808N", "01612E", "EU", "AUT", "Moosbrunn"},
    {"5950", "2200-0200", "", "WRMI", "NAm", "English", "100", "2717N", "08050W", "NA CA", "USA", "Okeechobee"},
    {"6040", "1730-1800", "", "Radio Romania Int.", "WEu", "English", "300", "4444N", "02606E", "EU", "ROU", "Tiganesti"},
    {"6185", "2000-2030", "", "Vatican Radio", "EU", "Italian", "250", "4203N", "01227E", "EU", "CVA", "S.M.Galeria"},
    {"7285", "1900-2000", "", "China Radio Int.", "EU", "English", "500", "3645N", "10352E", "EU", "CHN", "Lanzhou"},
    {"7310", "1730-1800", "", "Radio Romania Int.", "WEu", "English", "300", "4444N", "02606E", "EU", "ROU", "Tiganesti"},
    {"7345", "0730-0800", "P", "Radio Romania Int.", "WEu", "English", "300", "4444N", "02606E", "EU", "ROU", "Tiganesti"},
    {"9690", "0730-0800", "", "Radio Romania Int.", "WEu", "English", "300", "4444N", "02606E", "EU", "ROU", "Tiganesti"},
    {"9785", "1730-1825", "", "Voice of Turkey", "Eu", "English", "500", "3953N", "03254E", "EU", "TUR", "Emirler"},
    {"11640", "1900-2000", "", "China Radio Int.", "EU", "English", "500", "3645N", "10352E", "EU", "CHN", "Lanzhou"},
    {"15540", "1800-2100", "", "Radio Kuwait", "Eu", "Arabic", "250", "2906N", "04757E", "EU ME", "KWT", "Kabd"},
};
const IlgRow kMediumWave[] = {
    {"153", "0000-2400", "", "Radio Romania Act.", "Rou", "Romanian", "1200", "4618N", "02400E", "EU", "ROU", "Bod"},
    {"198", "0000-2400", "", "BBC Radio 4", "UK", "English", "500", "5217N", "00111W", "EU", "G", "Droitwich"},
    {"693", "0000-2400", "", "BBC Radio 5 Live", "UK", "English", "150", "5217N", "00111W", "EU", "G", "Droitwich"},
    {"1440", "1700-2100", "", "Trans World Radio", "EU", "various", "500", "4416N", "00743E", "EU ME", "MCO", "Roumoules"},
};

bool writeTable(const QString &path, const IlgRow *rows, int count, QString *error)
{
    DBFHandle h = DBFCreate(QFile::encodeName(path).constData());
    if (!h) {
        if (error)
            *error = QStringLiteral("%1 could not be created").arg(path);
        return false;
    }
    struct F { const char *name; DBFFieldType type; int width, decimals; };
    const F fields[] = {{"FREQ", FTDouble, 9, 2},    {"UTC", FTString, 9, 0},      {"STATUS", FTString, 1, 0},
                        {"STATION", FTString, 22, 0}, {"TARGET", FTString, 8, 0},  {"LANGUAGE", FTString, 17, 0},
                        {"POWER", FTString, 7, 0},   {"LATI", FTString, 5, 0},     {"LONGI", FTString, 6, 0},
                        {"COUNTRY", FTString, 12, 0}, {"LOCATION", FTString, 12, 0}};
    for (const F &f : fields)
        DBFAddField(h, f.name, f.type, f.width, f.decimals);
    static const char *const areas[] = {"NA", "CA", "SA", "EU", "AF", "ME", "AS", "AU", "PA"};
    for (const char *a : areas)
        DBFAddField(h, a, FTString, 2, 0);
    bool ok = true;
    for (int r = 0; r < count; ++r) {
        const IlgRow &row = rows[r];
        const char *texts[] = {row.utc,   row.status, row.station, row.target,  row.language,
                               row.power, row.lat,    row.lon,     row.country, row.location};
        ok = ok && DBFWriteDoubleAttribute(h, r, 0, QByteArray(row.freq).toDouble());
        for (int i = 0; i < 10; ++i) {
            if (*texts[i])
                ok = ok && DBFWriteStringAttribute(h, r, 1 + i, texts[i]);
            else
                ok = ok && DBFWriteNULLAttribute(h, r, 1 + i);
        }
        const QString aimed = QString::fromLatin1(row.areas);
        for (int i = 0; i < 9; ++i) {
            if (aimed.split(QLatin1Char(' ')).contains(QLatin1String(areas[i])))
                ok = ok && DBFWriteStringAttribute(h, r, 11 + i, areas[i]);
            else
                ok = ok && DBFWriteNULLAttribute(h, r, 11 + i);
        }
    }
    DBFClose(h);
    if (!ok && error)
        *error = QStringLiteral("%1 could not be written").arg(path);
    return ok;
}

} // namespace

bool writeIlgTables(const QString &dir, QString *error)
{
    const QString d = withSlash(dir);
    return writeTable(d + QStringLiteral("ilgsdata.dbf"), kShortWave, int(std::size(kShortWave)), error) &&
           writeTable(d + QStringLiteral("ilgadata.dbf"), kMediumWave, int(std::size(kMediumWave)), error);
}

SampleInstall installSamples(const QString &sourceDir, const QString &dataDir)
{
    SampleInstall out;
    const QString src = withSlash(QDir(sourceDir).absolutePath());
    const QString data = withSlash(QDir(dataDir).absolutePath());
    if (!QFileInfo(src).isDir()) {
        out.error = QStringLiteral("%1 is not a folder").arg(src);
        return out;
    }
    if (!ensureDir(data)) {
        out.error = QStringLiteral("%1 could not be created").arg(data);
        return out;
    }
    auto note = [&](const QString &path, bool written) {
        (written ? out.written : out.kept) << QString(path).remove(0, data.size());
    };

    QDirIterator it(src, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext() && out.ok()) {
        const QString from = it.next();
        const QString rel = from.mid(src.size());
        QString dir = data;
        const QStringList parts = rel.split(QLatin1Char('/'));
        for (int i = 0; i + 1 < parts.size(); ++i)
            dir = folderNoCase(dir, parts[i]);
        if (auto existing = findFileNoCase(dir, parts.last())) {
            note(dir + *existing, false);
            continue;
        }
        if (!ensureDir(dir) || !QFile::copy(from, dir + parts.last())) {
            out.error = QStringLiteral("%1 could not be written").arg(dir + parts.last());
            break;
        }
        QFile::setPermissions(dir + parts.last(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                      QFile::ReadOther);
        note(dir + parts.last(), true);
    }
    if (!out.ok())
        return out;

    // The tables are written as a pair so the two always belong together.
    if (!findFileNoCase(data, QStringLiteral("ilgsdata.dbf")) && !findFileNoCase(data, QStringLiteral("ilgadata.dbf"))) {
        if (!writeIlgTables(data, &out.error))
            return out;
        note(data + QStringLiteral("ilgsdata.dbf"), true);
        note(data + QStringLiteral("ilgadata.dbf"), true);
    }

    // The station files, made as the conversion windows make them.
    const QString rx2db = folderNoCase(data, QStringLiteral("RX2DB"));
    if (!ensureDir(rx2db)) {
        out.error = QStringLiteral("%1 could not be created").arg(rx2db);
        return out;
    }
    if (G.targetareas[0].isEmpty())
        InitConstants();
    const std::array<bool, 4> include{false, false, false, false};
    for (const char *table : {"ILGSDATA", "ILGADATA"}) {
        const QString name = QLatin1String(table) + QStringLiteral(".ftl");
        if (auto existing = findFileNoCase(rx2db, name)) {
            note(rx2db + *existing, false);
            continue;
        }
        DbfTable t;
        if (!t.open(data, QLatin1String(table)))
            continue; // the user's own tables are not readable: nothing to convert
        const ConversionResult r = convertIlg(t, include, rx2db + name, {});
        if (!r.ok) {
            out.error = r.error;
            return out;
        }
        note(rx2db + name, true);
    }
    if (auto source = findFileNoCase(data, QStringLiteral("aerolist.txt"))) {
        for (bool networkOnly : {false, true}) {
            const QString name = networkOnly ? QStringLiteral("aero2.ftl") : QStringLiteral("aero.ftl");
            if (auto existing = findFileNoCase(rx2db, name)) {
                note(rx2db + *existing, false);
                continue;
            }
            const ConversionResult r = convertAero(data + *source, networkOnly, rx2db + name, {});
            if (!r.ok) {
                out.error = r.error;
                return out;
            }
            note(rx2db + name, true);
        }
    }
    return out;
}

} // namespace tav
