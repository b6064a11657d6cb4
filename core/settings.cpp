#include "core/settings.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <limits>

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

bool isYesNo(int k)
{
    return k == 10 || k == 11 || k == 12 || k == 13 || k == 18 || k == 19 || k == 22 || k == 30;
}

// Values that index a table must be usable as an index.
bool repairSetting(int k)
{
    float &v = G.setupdata[k];
    auto bad = [&](float lo, float hi) { return !(v >= lo && v <= hi) || v != float(roundHalfEven(v)); };
    bool wrong = false;
    if (k == 1)
        wrong = bad(1, 5);
    else if (k == 2)
        wrong = bad(0, 8);
    else if (k == 8)
        wrong = bad(0, 2);
    else if (isYesNo(k))
        wrong = bad(0, 1);
    if (wrong)
        v = setupDefault(k);
    return wrong;
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

QString firstExisting(const QString &name, QString *dirOut)
{
    for (const QString &dir : settingsSearchDirs()) {
        if (auto f = findFileNoCase(dir, name)) {
            *dirOut = dir;
            return dir + *f;
        }
    }
    return QString();
}

bool writeToBoth(const QString &name, const QString &readDir, const QStringList &lines, QString *error)
{
    QString target = G.datapath;
    if (!ensureDir(target) || !writeTextLines(resolveNoCase(target, name), lines, error)) {
        if (error && error->isEmpty())
            *error = QStringLiteral("cannot create directory %1").arg(target);
        if (error)
            *error = target + name + QStringLiteral(": ") + *error;
        return false;
    }
    const QString second = readDir.isEmpty() ? userConfigDir() : readDir;
    if (QFileInfo(second).absoluteFilePath() != QFileInfo(target).absoluteFilePath()) {
        if (!ensureDir(second) || !writeTextLines(resolveNoCase(second, name), lines, error)) {
            if (error)
                *error = second + name + QStringLiteral(": ") + *error;
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
    G.datapath = lines.size() > 0 ? lines[0] : defaultDatapath();
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
    for (int k = 1; k <= 31; ++k)
        r.repaired |= repairSetting(k);
    if (!G.datapath.endsWith(QLatin1Char('/')) && !G.datapath.isEmpty())
        G.datapath += QLatin1Char('/');
    return r;
}

SettingsReadResult readSettingsFile()
{
    QString dir;
    const QString path = firstExisting(QStringLiteral("tavorin2.ini"), &dir);
    std::optional<QStringList> lines;
    if (!path.isEmpty())
        lines = readTextLines(path);
    if (!lines) {
        SettingsReadResult r = applySettingsLines({});
        r.found = false;
        r.complete = false;
        G.settingsReadDir.clear();
        return r;
    }
    SettingsReadResult r = applySettingsLines(*lines);
    r.dir = dir;
    G.settingsReadDir = dir;
    return r;
}

QStringList settingsLines()
{
    QStringList out{G.datapath, G.rxlatitude, G.rxlongitude, numSingle(G.rxtype)};
    for (int k = 1; k <= 31; ++k)
        out << numSingle(G.setupdata[k]);
    return out;
}

bool saveSettingsFile(QString *error)
{
    return writeToBoth(QStringLiteral("tavorin2.ini"), G.settingsReadDir, settingsLines(), error);
}

void applyPositionLines(const QStringList &lines)
{
    for (int n = 1; n <= 45 && n <= lines.size(); ++n) {
        const QString &l = lines[n - 1];
        G.formleft[n] = clampToInt32(leadingNumber(l));
        int from = 0;
        while (true) {
            int c = l.indexOf(QLatin1Char(','), from);
            if (c < 0)
                break;
            G.formtop[n] = clampToInt32(leadingNumber(l.mid(c + 1)));
            from = c + 1;
        }
    }
}

bool readPositionsFile()
{
    QString dir;
    const QString path = firstExisting(QStringLiteral("formpositions.ini"), &dir);
    if (path.isEmpty())
        return false;
    auto lines = readTextLines(path);
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
    for (int slot = 1; slot <= 45; ++slot) {
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
    if (slot < 1 || slot > 45)
        return;
    int64_t left = leftTwips;
    if (1500 - int64_t(widthTwips) > left)
        left = 1500 - int64_t(widthTwips);
    G.formleft[slot] = int32_t(std::clamp<int64_t>(left, INT32_MIN, INT32_MAX));
    G.formtop[slot] = topTwips < 0 ? 0 : topTwips;
}

} // namespace tav
