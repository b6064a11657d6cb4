#include "core/settings.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace tav {

QString userConfigDir() { return QDir::homePath() + QStringLiteral("/.config/tavorin/"); }

QStringList settingsSearchDirs()
{
    return {QDir::currentPath() + QLatin1Char('/'), userConfigDir()};
}

QString defaultDatapath() { return QDir::homePath() + QStringLiteral("/DiDuzu/"); }
QString defaultLatitude() { return QStringLiteral("5130N"); }
QString defaultLongitude() { return QStringLiteral("00007W"); }

float setupDefault(int k)
{
    switch (k) {
    case 1: return 1;
    case 4: return 2;
    case 5: return 1;
    case 6: return 1;
    case 7: return 15;
    case 14: case 15: case 16: case 17: return 1;
    case 23: return 1;
    case 24: return 3;
    case 25: return 9;
    case 26: return 50;
    case 27: return 20;
    default: return 0;
    }
}

namespace {

struct Range {
    float lo, hi;
    bool whole;
};

// The range each setting's set-up check allows; k 9 and 32 are never used
// and only have to be numbers.
std::optional<Range> settingRange(int k)
{
    switch (k) {
    case 1: return Range{1, 5, true};
    case 2: return Range{0, 8, true};
    case 3: return Range{-13, 13, false};
    case 4: case 5: case 6: case 7: return Range{1, 30, false};
    case 8: return Range{0, 2, true};
    case 10: case 11: case 12: case 13: case 18: case 19: case 22: case 30: return Range{0, 1, true};
    case 14: case 15: case 16: case 17: return Range{1, 6, true};
    case 20: case 21: return Range{-1000, 1000, false};
    case 23: case 24: case 25: return Range{1, 9, false};
    case 26: case 27: return Range{0, 255, false};
    case 28: case 29: case 31: return Range{0, 99, false};
    default: return std::nullopt;
    }
}

// Brings a value read from the file into what the set-up dialog would have
// accepted, so that no reader of a setting meets a value its check excludes.
bool repairSetting(int k)
{
    float &v = G.setupdata[k];
    const float was = v;
    if (!std::isfinite(v))
        v = setupDefault(k);
    if (k == 3 && v != std::floor(v))
        v = std::floor(v) + 0.5f; // whole or half hours, as the dialog keeps them
    if (k >= 14 && k <= 17)
        v = float(roundHalfEven(v)); // the filter number the hub sends
    if (auto r = settingRange(k)) {
        if (!(v >= r->lo && v <= r->hi) || (r->whole && v != float(roundHalfEven(v))))
            v = setupDefault(k);
    }
    return !(v == was);
}

int32_t clampToInt32(double v)
{
    int64_t r = roundHalfEven(v);
    if (r > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (r < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return int32_t(r);
}

// The first candidate that can be read; candidates that exist but cannot be
// read are passed over and named in *skipped with the reason.
std::optional<QStringList> firstReadable(const QString &name, QString *dirOut, QString *skipped)
{
    for (const QString &dir : settingsSearchDirs()) {
        const auto f = findFileNoCase(dir, name);
        if (!f)
            continue;
        const QString path = dir + *f;
        if (auto lines = readTextLines(path, kShortLineMax)) {
            *dirOut = dir;
            return lines;
        }
        if (skipped && skipped->isEmpty())
            *skipped = QStringLiteral("\"%1\" could not be read: %2").arg(shownText(path), readFailureReason(path));
    }
    return std::nullopt;
}

bool writeToBoth(const QString &name, const QString &readDir, const QStringList &lines, QString *error)
{
    // The file is named once: a refusal of a write-protected one names it already.
    auto named = [error](const QString &path) {
        if (error && !error->contains(path))
            *error = path + QStringLiteral(": ") + *error;
    };
    QString target = G.datapath;
    if (!ensureDir(target) || !writeTextLines(resolveNoCase(target, name), lines, error)) {
        if (error && error->isEmpty())
            *error = QStringLiteral("cannot create directory %1").arg(target);
        named(resolveNoCase(target, name));
        return false;
    }
    const QString second = readDir.isEmpty() ? userConfigDir() : readDir;
    if (QFileInfo(second).absoluteFilePath() != QFileInfo(target).absoluteFilePath()) {
        if (!ensureDir(second) || !writeTextLines(resolveNoCase(second, name), lines, error)) {
            named(resolveNoCase(second, name));
            return false;
        }
    }
    return true;
}

} // namespace

SettingsReadResult applySettingsLines(const QStringList &lines)
{
    SettingsReadResult r;
    r.found = true;
    r.complete = lines.size() >= 35;
    G.datapath = lines.size() > 0 ? expandHomePath(lines[0]) : defaultDatapath();
    G.rxlatitude = lines.size() > 1 ? lines[1] : defaultLatitude();
    G.rxlongitude = lines.size() > 2 ? lines[2] : defaultLongitude();
    if (lines.size() > 3) {
        int64_t t = roundHalfEven(leadingNumber(lines[3]));
        G.rxtype = int16_t(std::clamp<int64_t>(t, -32768, 32767));
    } else {
        G.rxtype = 0;
    }
    for (int k = 1; k <= 32; ++k) {
        const int line = 4 + k - 1;
        if (line < lines.size())
            G.setupdata[k] = float(leadingNumber(lines[line]));
        else
            G.setupdata[k] = setupDefault(k);
    }
    for (int k = 1; k <= 32; ++k)
        r.repaired |= repairSetting(k);
    if (!G.datapath.endsWith(QLatin1Char('/')) && !G.datapath.isEmpty())
        G.datapath += QLatin1Char('/');
    return r;
}

SettingsReadResult readSettingsFile()
{
    QString dir, skipped;
    const std::optional<QStringList> lines = firstReadable(QStringLiteral("tavorin2.ini"), &dir, &skipped);
    if (!lines) {
        SettingsReadResult r = applySettingsLines({});
        r.found = false;
        r.complete = false;
        r.skipped = skipped;
        G.settingsReadDir.clear();
        return r;
    }
    SettingsReadResult r = applySettingsLines(*lines);
    r.dir = dir;
    r.skipped = skipped;
    G.settingsReadDir = dir;
    return r;
}

QString expandHomePath(const QString &path)
{
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        return QDir::homePath() + path.mid(1);
    return path;
}

QString homeRelativePath(const QString &path)
{
    const QString home = QDir::homePath();
    if (!home.isEmpty() && home != QLatin1String("/") && path.startsWith(home + QLatin1Char('/')))
        return QLatin1Char('~') + path.mid(home.size());
    return path;
}

bool fitsLatin1(const QString &text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

bool datapathStorable(const QString &path) { return fitsLatin1(homeRelativePath(path)); }

QStringList settingsLines()
{
    QStringList out{homeRelativePath(G.datapath), G.rxlatitude, G.rxlongitude, numSingle(G.rxtype)};
    for (int k = 1; k <= 31; ++k)
        out << numSingle(G.setupdata[k]);
    return out;
}

bool saveSettingsFile(QString *error)
{
    // The file is Latin-1: text it cannot hold would come back changed.
    for (const QString &l : settingsLines())
        if (!fitsLatin1(l)) {
            if (error)
                *error = QStringLiteral("\"%1\" holds characters that the settings file cannot hold")
                             .arg(shownText(l));
            return false;
        }
    return writeToBoth(QStringLiteral("tavorin2.ini"), G.settingsReadDir, settingsLines(), error);
}

void applyPositionLines(const QStringList &lines)
{
    for (int n = 1; n <= kPositionSlots && n <= lines.size(); ++n) {
        const QString &l = lines[n - 1];
        G.formleft[n] = clampToInt32(leadingNumber(l));
        // Each comma sets the top in turn, so the text after the last one counts.
        const qsizetype c = l.lastIndexOf(QLatin1Char(','));
        if (c >= 0)
            G.formtop[n] = clampToInt32(leadingNumber(l.mid(c + 1)));
    }
}

bool readPositionsFile()
{
    QString dir;
    const auto lines = firstReadable(QStringLiteral("formpositions.ini"), &dir, nullptr);
    if (!lines)
        return false;
    G.positionsReadDir = dir;
    applyPositionLines(*lines);
    return true;
}

QStringList positionLines()
{
    QStringList out;
    auto num = [](int32_t v) { return v < 0 ? QString::number(v) : QLatin1Char(' ') + QString::number(v); };
    for (int slot = 1; slot <= kPositionSlots; ++slot) {
        if (std::abs(int64_t(G.formleft[slot])) > 40000)
            G.formleft[slot] = 0;
        if (std::abs(int64_t(G.formtop[slot])) > 40000)
            G.formtop[slot] = 0;
        out << num(G.formleft[slot]) + QLatin1Char(',') + num(G.formtop[slot]);
    }
    return out;
}

bool savePositionsFile(QString *error)
{
    QString readDir = G.positionsReadDir.isEmpty() ? G.settingsReadDir : G.positionsReadDir;
    return writeToBoth(QStringLiteral("formpositions.ini"), readDir, positionLines(), error);
}

void storePosition(int slot, int leftTwips, int topTwips, int widthTwips)
{
    if (slot < 1 || slot > kPositionSlots)
        return;
    int64_t left = leftTwips;
    if (1500 - int64_t(widthTwips) > left)
        left = 1500 - int64_t(widthTwips);
    G.formleft[slot] = int32_t(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
    G.formtop[slot] = topTwips < 0 ? 0 : topTwips;
}

} // namespace tav
