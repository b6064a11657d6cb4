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

void clearNameTables()
{
    for (auto *t : {&G.attnames, &G.agcnames, &G.modenames, &G.yesno})
        for (QString &s : *t)
            s.clear();
}

void fillBandwidthNames(std::initializer_list<const char *> values)
{
    int i = 0;
    for (const char *v : values) {
        Q_ASSERT(i < G.bwnames.size());
        if (i < G.bwnames.size())
            G.bwnames[i] = QLatin1String(v);
        ++i;
    }
}

} // namespace tav
