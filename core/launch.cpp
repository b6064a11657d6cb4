#include "core/launch.h"

#include "core/ui.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace tav {

namespace {

bool defaultStart(const QString &program, const QStringList &args)
{
    return QProcess::startDetached(program, args);
}

bool defaultOpen(const QString &path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

QString defaultFind(const QString &program) { return QStandardPaths::findExecutable(program); }

void reportNotStarted(const QString &what)
{
    msgBox(QStringList{QStringLiteral("The program could not be started:"), what}, MsgIcon::Exclamation,
           QStringLiteral("Error"));
}

} // namespace

std::function<bool(const QString &, const QStringList &)> Launcher::startDetached = defaultStart;
std::function<bool(const QString &)> Launcher::openWithDesktop = defaultOpen;
std::function<QString(const QString &)> Launcher::findProgram = defaultFind;

void Launcher::reset()
{
    startDetached = defaultStart;
    openWithDesktop = defaultOpen;
    findProgram = defaultFind;
}

bool launchCommand(const QString &commandLine, const QStringList &extraArgs)
{
    QStringList parts = QProcess::splitCommand(commandLine);
    if (parts.isEmpty()) {
        reportNotStarted(commandLine);
        return false;
    }
    const QString program = parts.takeFirst();
    if (!Launcher::startDetached(program, parts + extraArgs)) {
        reportNotStarted(program);
        return false;
    }
    return true;
}

bool launchDocument(const QString &path)
{
    if (!Launcher::openWithDesktop(path)) {
        reportNotStarted(QStringLiteral("the desktop's viewer for ") + path);
        return false;
    }
    return true;
}

bool launchDateTimeSettings()
{
    // Each desktop has its own panel for the clock; the one of the running
    // desktop comes first, then whatever else is installed.
    struct Candidate { const char *desktop, *program, *args; };
    static const Candidate candidates[] = {
        {"GNOME", "gnome-control-center", "datetime"}, {"KDE", "systemsettings", "kcm_clock"},
        {"KDE", "kcmshell5", "clock"},                 {"XFCE", "time-admin", ""},
        {"MATE", "time-admin", ""},                    {"LXQT", "lxqt-admin-time", ""},
        {"CINNAMON", "cinnamon-settings", "calendar"}, {"UNITY", "unity-control-center", "datetime"},
    };
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper();
    QList<const Candidate *> order;
    for (const auto &c : candidates)
        if (!desktop.isEmpty() && desktop.contains(QLatin1String(c.desktop)))
            order << &c;
    for (const auto &c : candidates)
        if (!order.contains(&c))
            order << &c;
    for (const Candidate *c : order) {
        const QString path = Launcher::findProgram(QLatin1String(c->program));
        if (path.isEmpty())
            continue;
        QStringList args;
        if (*c->args)
            args << QLatin1String(c->args);
        if (!Launcher::startDetached(path, args)) {
            reportNotStarted(QLatin1String(c->program));
            return false;
        }
        return true;
    }
    msgBox(QStringList{QStringLiteral("No program to set the date and time of this computer was found."),
                       QStringLiteral("Please set the clock with your desktop's own settings.")},
           MsgIcon::Exclamation, QStringLiteral("Error"));
    return false;
}

} // namespace tav
