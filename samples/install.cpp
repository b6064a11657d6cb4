#include "samples/install.h"

#include "core/clock.h"
#include "core/globals.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "drivers/receiver.h"
#include "stations/conversion.h"
#include "stations/dbftable.h"
#include "timers/timerprog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <shapefil.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <memory>

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

// shapelib goes on when a write fails (its writes are buffered, and it looks
// at few results): the hooks note the first failure so the table is refused.
int s_tableWriteErrno = 0;
bool s_tableWriteFailed = false;

void noteTableWrite(bool ok)
{
    if (!ok && !s_tableWriteFailed) {
        s_tableWriteFailed = true;
        s_tableWriteErrno = errno;
    }
}

SAOffset checkedWrite(void *p, SAOffset size, SAOffset count, SAFile file)
{
    const SAOffset n = SAOffset(std::fwrite(p, size, count, reinterpret_cast<FILE *>(file)));
    noteTableWrite(n == count);
    return n;
}

// A seek writes out what the buffer holds, so it fails as a write does.
SAOffset checkedSeek(SAFile file, SAOffset offset, int whence)
{
    const int r = std::fseek(reinterpret_cast<FILE *>(file), long(offset), whence);
    noteTableWrite(r == 0);
    return SAOffset(r);
}

int checkedFlush(SAFile file)
{
    const int r = std::fflush(reinterpret_cast<FILE *>(file));
    noteTableWrite(r == 0);
    return r;
}

int checkedClose(SAFile file)
{
    const int r = std::fclose(reinterpret_cast<FILE *>(file));
    noteTableWrite(r == 0);
    return r;
}

// Writes a table into `path` (a temporary file ending in ".dbf").
bool writeTable(const QString &path, const IlgRow *rows, int count, QString *error)
{
    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FWrite = checkedWrite;
    hooks.FSeek = checkedSeek;
    hooks.FFlush = checkedFlush;
    hooks.FClose = checkedClose;
    // Its own complaint goes to the standard error; the caller says it better.
    hooks.Error = [](const char *) { noteTableWrite(false); };
    s_tableWriteFailed = false;
    s_tableWriteErrno = 0;
    DBFHandle h = DBFCreateLL(QFile::encodeName(path).constData(), "LDID/87", &hooks);
    if (!h) {
        if (error)
            *error = QStringLiteral("%1 could not be created: %2").arg(path, writeErrorText(errno, path));
        return false;
    }
    struct F { const char *name; DBFFieldType type; int width, decimals; };
    const F fields[] = {{"FREQ", FTDouble, 9, 2},    {"UTC", FTString, 9, 0},      {"STATUS", FTString, 1, 0},
                        {"STATION", FTString, 22, 0}, {"TARGET", FTString, 8, 0},  {"LANGUAGE", FTString, 17, 0},
                        {"POWER", FTString, 7, 0},   {"LATI", FTString, 5, 0},     {"LONGI", FTString, 6, 0},
                        {"COUNTRY", FTString, 12, 0}, {"LOCATION", FTString, 12, 0}};
    bool ok = true;
    for (const F &f : fields)
        ok = ok && DBFAddField(h, f.name, f.type, f.width, f.decimals) >= 0;
    static const char *const areas[] = {"NA", "CA", "SA", "EU", "AF", "ME", "AS", "AU", "PA"};
    for (const char *a : areas)
        ok = ok && DBFAddField(h, a, FTString, 2, 0) >= 0;
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
    if (s_tableWriteFailed) {
        if (error)
            *error = failedWriteText(path, writeErrorText(s_tableWriteErrno, path));
        return false;
    }
    if (!ok && error)
        *error = QStringLiteral("%1 could not be written").arg(path);
    return ok;
}

const char *const kTableNames[2] = {"ilgsdata.dbf", "ilgadata.dbf"};

// The two tables, each written completely into a temporary file in `dir`.
bool writeTableTemporaries(const QString &dir, std::array<std::unique_ptr<SaveTemporary>, 2> &tmp, QString *error)
{
    for (int i = 0; i < 2; ++i) {
        tmp[i] = std::make_unique<SaveTemporary>(dir, QStringLiteral(".dbf"));
        if (!tmp[i]->ok()) {
            if (error)
                *error = QStringLiteral("a file could not be made in %1: %2").arg(dir, tmp[i]->error());
            return false;
        }
        const bool written = i == 0 ? writeTable(tmp[i]->path(), kShortWave, int(std::size(kShortWave)), error)
                                    : writeTable(tmp[i]->path(), kMediumWave, int(std::size(kMediumWave)), error);
        if (!written) {
            if (error)
                error->replace(tmp[i]->path(), withSlash(dir) + QLatin1String(kTableNames[i]));
            return false;
        }
    }
    return true;
}

bool sameBytes(const QString &a, const QString &b)
{
    const auto x = readFileBytes(a, 64 * 1024 * 1024), y = readFileBytes(b, 64 * 1024 * 1024);
    return x && y && *x == *y;
}

} // namespace

bool writeIlgTables(const QString &dir, QString *error)
{
    std::array<std::unique_ptr<SaveTemporary>, 2> tmp;
    if (!writeTableTemporaries(dir, tmp, error))
        return false;
    for (int i = 0; i < 2; ++i) {
        const QString target = withSlash(dir) + QLatin1String(kTableNames[i]);
        if (!tmp[i]->place(target)) {
            if (error)
                *error = failedWriteText(target, tmp[i]->error());
            return false;
        }
    }
    return true;
}

namespace {

// Puts the ILG tables into the data directory. The two belong together, so
// where the user has a table of his own neither is written; a table that is
// byte for byte the one written here is a sample (a run that failed after
// it, or an earlier run), and one of no bytes is what a write cut short
// leaves, nobody's table: so a rerun finishes what a failed run began.
// `ours` gets the tables that are the samples.
bool installTables(const QString &data, SampleInstall &out, QStringList &ours,
                   const std::function<void(const QString &, bool)> &note)
{
    std::array<std::optional<QString>, 2> existing;
    for (int i = 0; i < 2; ++i)
        existing[i] = findFileNoCase(data, QLatin1String(kTableNames[i]));
    std::array<std::unique_ptr<SaveTemporary>, 2> tmp;
    if (!writeTableTemporaries(data, tmp, &out.error))
        return false;
    std::array<bool, 2> present{};
    bool users = false;
    for (int i = 0; i < 2; ++i) {
        if (!existing[i] || QFileInfo(data + *existing[i]).size() == 0)
            continue;
        present[i] = sameBytes(data + *existing[i], tmp[i]->path());
        users = users || !present[i];
    }
    if (users) {
        for (const auto &e : existing)
            if (e)
                note(data + *e, false);
        return true;
    }
    for (int i = 0; i < 2; ++i) {
        const QString target = data + existing[i].value_or(QLatin1String(kTableNames[i]));
        ours << target;
        if (present[i])
            continue;
        if (!tmp[i]->place(target)) {
            out.error = failedWriteText(target, tmp[i]->error());
            return false;
        }
        note(target, true);
    }
    return true;
}

// The sample timer programs: a Saturday evening and a Sunday night
// broadcast, each in AM with the AGC a listener would choose for it. A
// program's settings are numbers of the receiver's own tables, so the
// same two programs are written in each model's numbers.
struct SampleProgram {
    int dayAfterSaturday, hour, minute, duration;
    long long hz;
};
const SampleProgram kSamplePrograms[] = {{0, 17, 30, 30, 6040000}, {1, 22, 0, 15, 5950000}};

// Attenuator, bandwidth, shift, width, mode and AGC, as a program keeps them:
// no attenuation, a filter of about 6 kHz, AM.
using SampleSettings = std::array<int, 6>;
SampleSettings sampleSettings(int rxtype)
{
    switch (rxtype) {
    case 2: return {0, 0, 0, 0, 4, 0};   // 0 dB, Wid, AM, slow AGC; width only with the BWC option
    case 3: return {0, 1, 0, 0, 0, 2};   // 5.7 kHz filter, AM, medium AGC
    case 4: return {0, 1, 0, 600, 4, 1}; // 0 dB, 6.0 kHz wide, AM, the AGC the mode holds
    default: return {1, 3, 0, 0, 1, 1};  // AR7030 (and No RX): 0 dB, filter 3, AM, medium AGC
    }
}
// The settings of the fixed sample earlier versions copied.
constexpr SampleSettings kEarlierSample{0, 1, 0, 0, 1, 1};

const QLatin1String kTimerSample("TPR_WEEKEND.TXT");

// The bytes of a text file of these lines, as writeTextLines writes it.
QByteArray fileBytes(const QStringList &lines)
{
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toLatin1();
}

QStringList sampleTimerLines(const SampleSettings &s, const QDate &saturday)
{
    std::array<ProgRow, kPrograms + 1> table{};
    int n = 1;
    for (const SampleProgram &p : kSamplePrograms) {
        ProgRow &row = table[size_t(n++)];
        const QDate day = saturday.addDays(p.dayAfterSaturday);
        row[1] = day.day(), row[2] = day.month(), row[3] = day.year();
        row[4] = p.hour, row[5] = p.minute, row[6] = p.duration;
        for (int f = 0; f < 6; ++f)
            row[size_t(7 + f)] = s[size_t(f)];
        long long hz = p.hz;
        for (int k = 0; k < 8; ++k, hz /= 10)
            row[size_t(13 + k)] = int(hz % 10);
    }
    return tprLines(table);
}

// The weekend after today (UTC), so both programs still lie ahead on every
// day until then, whatever the hour.
QDate nextSaturday()
{
    const QDate today = utcFromLocal(Clock::now(), double(G.setupdata[3])).date();
    const int ahead = (Qt::Saturday - today.dayOfWeek() + 7) % 7;
    return today.addDays(ahead == 0 ? 7 : ahead);
}

// A file under the sample's name is the sample when it is what this function
// writes, for any model and any weekend (an earlier run's), or is empty (a
// write cut short). Anything else is the user's.
bool isTimerSample(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return true;
    const QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    const std::optional<ProgRow> first = parseTprLine(lines.first());
    if (!first)
        return false;
    const QDate saturday((*first)[3], (*first)[2], (*first)[1]);
    if (!saturday.isValid())
        return false;
    if (fileBytes(sampleTimerLines(kEarlierSample, saturday)) == bytes)
        return true;
    for (int rx = 0; rx < rxModelCount(); ++rx)
        if (fileBytes(sampleTimerLines(sampleSettings(rx), saturday)) == bytes)
            return true;
    return false;
}

// Writes the sample timer programs dated for the coming weekend, in the
// numbers of receiver `rxtype`. A sample left by an earlier run is
// written again, so the programs never lie in the past.
bool installTimerSample(const QString &data, int rxtype, SampleInstall &out,
                        const std::function<void(const QString &, bool)> &note)
{
    const QString dir = folderNoCase(data, QStringLiteral("TPR"));
    const auto existing = findFileNoCase(dir, kTimerSample);
    const QString path = dir + existing.value_or(kTimerSample);
    const QStringList lines = sampleTimerLines(sampleSettings(rxtype), nextSaturday());
    if (existing) {
        const std::optional<QByteArray> bytes = readFileBytes(path, kTprFileMaxBytes);
        if (!bytes || !isTimerSample(*bytes)) {
            note(path, false);
            return true;
        }
        if (*bytes == fileBytes(lines))
            return true;
    }
    if (!ensureDir(dir)) {
        out.error = QStringLiteral("%1 could not be created").arg(dir);
        return false;
    }
    QString error;
    if (!writeTextLines(path, lines, &error)) {
        out.error = failedWriteText(path, error);
        return false;
    }
    note(path, true);
    return true;
}

} // namespace

SampleInstall installSamples(const QString &sourceDir, const QString &dataDir, int rxtype)
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
        // Through a temporary file, so a copy cut short never stands under
        // the name as the user's own file at the next run.
        const QString to = dir + parts.last();
        const std::optional<QByteArray> bytes = readFileBytes(from, -1);
        if (!bytes) {
            out.error = QStringLiteral("%1 could not be read: %2").arg(from, readFailureReason(from));
            break;
        }
        if (!ensureDir(dir)) {
            out.error = QStringLiteral("%1 could not be created").arg(dir);
            break;
        }
        AtomicFileWriter w(to);
        w.write(*bytes);
        if (!w.commit()) {
            out.error = failedWriteText(to, w.error());
            break;
        }
        note(to, true);
    }
    if (!out.ok())
        return out;
    if (!installTimerSample(data, rxtype, out, note))
        return out;

    QStringList sampleTables;
    if (!installTables(data, out, sampleTables, note))
        return out;

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
        if (!t.open(data, QLatin1String(table))) {
            const QString path = resolveNoCase(data, QLatin1String(table) + QStringLiteral(".dbf"));
            if (sampleTables.contains(path)) {
                out.error = QStringLiteral("%1 could not be read").arg(path);
                return out;
            }
            continue; // the user's own tables are not readable: nothing to convert
        }
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
