#include "core/tables.h"
#include "core/setupdata.h"

#include "core/filekinds.h"
#include "core/globals.h"

#include <QDir>
#include <QStringList>
#include <cmath>

namespace tav {

void InitConstants()
{
    const char *areas[] = {"NA", "CA", "SA", "EU", "AF", "ME", "AS", "AU", "PA"};
    for (int i = 0; i < 9; ++i)
        G.targetareas[i] = QLatin1String(areas[i]);
    const char *steps[] = {"0.001", "0.002", "0.005", "0.01", "0.02", "0.05", "0.1", "0.2", "0.5", "1",
                           "2",     "3",     "5",     "9",    "10",   "12.5", "25",  "50",  "100"};
    for (int i = 0; i < 19; ++i)
        G.freqsteps[i] = QLatin1String(steps[i]);
    G.stepdefaults = {5, 9, 10, 0};

    for (FileKind k : allFileKinds) {
        const FileKindInfo &info = fileKindInfo(k);
        G.filesubdir[k] = QLatin1String(info.subdir);
        G.fileprefix[k] = QLatin1String(info.prefix);
        G.filepattern[k] = QLatin1String(info.pattern);
        G.filedefault[k] = QLatin1String(info.defaultName);
    }
}

void buildFileDirs()
{
    // A kind's subdirectory that exists in another case ("rx2db") is the
    // kind's directory, so the files written there and the Load dialog meet.
    const QStringList existing = QDir(G.datapath).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (FileKind k : allFileKinds) {
        if (k == FileKind::SourceDb)
            continue; // set by the locate dialog
        QString sub = G.filesubdir[k];
        const QString name = sub.endsWith(QLatin1Char('/')) ? sub.chopped(1) : sub;
        if (!name.isEmpty() && !existing.contains(name))
            for (const QString &e : existing)
                if (e.compare(name, Qt::CaseInsensitive) == 0) {
                    sub = e + QLatin1Char('/');
                    break;
                }
        G.filedirs[k] = G.datapath + sub;
    }
}

namespace {

void clearNameTables()
{
    for (auto *t : {&G.attnames, &G.agcnames, &G.modenames, &G.yesno})
        for (QString &s : *t)
            s.clear();
}

void limits(int16_t model) { G.tablesModel = model; }

template <size_t N> void fill(std::array<QString, N> &table, std::initializer_list<const char *> values, int from = 0)
{
    int i = from;
    for (const char *v : values)
        table[i++] = QLatin1String(v);
}

// The panel sizes bwnames before its Init; a table it did not size is a caller fault.
void fillBw(std::initializer_list<const char *> values)
{
    int i = 0;
    for (const char *v : values) {
        Q_ASSERT(i < G.bwnames.size());
        if (i < G.bwnames.size())
            G.bwnames[i] = QLatin1String(v);
        ++i;
    }
}

} // namespace

void InitNoRx() { limits(0); }

void InitAR7030()
{
    clearNameTables();
    limits(1);
    fill(G.attnames, {"+10 dB", "0 dB", "-10 dB", "-20 dB", "-30 dB", "-40 dB"});
    fill(G.modenames, {"AM", "Sync", "NFM", "Data", "CW", "LSB", "USB"}, 1);
    fill(G.agcnames, {"Fst", "Med", "Slw", "Off"});
    fill(G.yesno, {"Y", "N"});
    // -4.2k .. +4.2k in steps of 0.1, the running value kept in single precision
    // as the receiver's labels always have been.
    float x = -4.2f;
    int i = 0;
    while (x <= 4.25f && i < 85) {
        QString sign = x <= -0.05f ? QStringLiteral("-") : (x >= 0.05f ? QStringLiteral("+") : QStringLiteral(" "));
        float mag = std::fabs(x);
        int tenths = int(std::lround(double(mag) * 10));
        G.pbstext[i] = sign + QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10) +
                       QLatin1Char('k');
        x = float(x + 0.1f);
        ++i;
    }
}

void InitNRD535()
{
    clearNameTables();
    limits(2);
    fill(G.attnames, {"0 dB", "-20 dB"});
    fill(G.modenames, {"RY", "CW", "USB", "LSB", "AM", "NFM", "Fax"});
    if (settingOn(Setting::Nrd535EcssFitted)) {
        G.modenames[7] = QStringLiteral("AM-U");
        G.modenames[8] = QStringLiteral("AM-L");
    } else {
        G.modenames[7].clear();
        G.modenames[8].clear();
    }
    fill(G.agcnames, {"Slw", "Fst", "Off"});
    fillBw({"Wid", "Int", "Nar", "Aux"});
    fill(G.nbnames, {"Off", "NB1", "NB2"});
}

void InitRX320()
{
    clearNameTables();
    limits(3);
    fill(G.modenames, {"AM", "USB", "LSB", "CW"});
    fill(G.agcnames, {"Slw", "Med", "Fst"}, 1);
    fillBw({"6000", "5700", "5400", "5100", "4800", "4500", "4200", "3900", "3600", "3300", "3000", "2850",
            "2700", "2550", "2400", "2250", "2100", "1950", "1800", "1650", "1500", "1350", "1200", "1050",
            "900",  "750",  "675",  "600",  "525",  "450",  "375",  "330",  "300",  "8000"});
}

void InitNRD545()
{
    clearNameTables();
    limits(4);
    fill(G.attnames, {"0 dB", "-20 dB"});
    fill(G.modenames, {"RY", "CW", "USB", "LSB", "AM", "NFM", "AMS", "AM-U", "AM-L", "WFM"});
    fill(G.agcnames, {"Off", "0200", "0400", "0600", "0800", "1000", "1200", "1400", "1600", "1800"});
    fillBw({"Wid", "Int", "Nar"});
    fill(G.nbnames, {"Off", "NB1", "NB2"});
}

} // namespace tav
