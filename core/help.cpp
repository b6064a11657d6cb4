#include "core/help.h"

#include "core/launch.h"
#include "core/textfile.h"
#include "core/ui.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

// Resources of a static library are registered by hand, outside any namespace.
static void initHelpResources() { Q_INIT_RESOURCE(help); }

namespace tav {

QString helpDirectory()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty())
        base = QDir::tempPath() + QStringLiteral("/tavorin");
    return base + QStringLiteral("/help/");
}

bool openHelp(const QString &page)
{
    initHelpResources();
    // A browser opens files, not the program's resources: the pages are
    // written out (again each time, so they always match the program).
    const QString dir = helpDirectory();
    QString failed;
    if (!QDir().mkpath(dir)) {
        failed = dir;
    } else {
        for (const QString &name : QDir(QStringLiteral(":/help")).entryList(QDir::Files)) {
            const QString target = dir + name;
            QFile::remove(target);
            if (!QFile::copy(QStringLiteral(":/help/") + name, target)) {
                failed = target;
                break;
            }
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
    }
    if (!failed.isEmpty()) {
        msgBox(QStringList{QStringLiteral("The help pages could not be written to"), shownText(failed)},
               MsgIcon::Exclamation, QStringLiteral("Help"));
        return false;
    }
    return launchDocument(dir + page);
}

} // namespace tav
