#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <ctime>

namespace tavtest {

void resetDialogScript()
{
    tav::DialogScript::reset();
    tav::DialogScript::enabled = true; // no test ever blocks on a box
}

ScratchDir::ScratchDir() : m_oldCwd(QDir::currentPath()) { QDir::setCurrent(m_dir.path()); }
ScratchDir::~ScratchDir() { QDir::setCurrent(m_oldCwd); }
QString ScratchDir::path() const { return m_dir.path() + QLatin1Char('/'); }

void ScratchDir::write(const QString &name, const QByteArray &content) const
{
    QDir().mkpath(QFileInfo(file(name)).path());
    QFile f(file(name));
    f.open(QIODevice::WriteOnly);
    f.write(content);
}

QByteArray ScratchDir::read(const QString &name) const
{
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool waitFor(const std::function<bool()> &cond, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms)
            return cond();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::usleep(500);
    }
    return true;
}

void pump(int ms)
{
    QElapsedTimer t;
    t.start();
    // A few passes whatever the clock says: on a busy machine the whole time
    // may go to other processes, and what is queued must still be handled.
    for (int pass = 0; pass < 3 || t.elapsed() < ms; ++pass) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::usleep(500);
    }
}

void idle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

double threadCpuMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

bool settled(QWidget *w)
{
    if (!QTest::qWaitForWindowExposed(w, 10000))
        return false;
    // The window system's reports are queued events: handle all there are.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    return true;
}

ScriptedDialogs::ScriptedDialogs() { resetDialogScript(); }
ScriptedDialogs::~ScriptedDialogs() { tav::DialogScript::reset(); }

} // namespace tavtest

#include <QLocale>
#include <clocale>
#include <cstdio>

namespace tavtest {

GermanLocale::GermanLocale()
{
    const char *cur = std::setlocale(LC_ALL, nullptr);
    m_old = cur ? QByteArray(cur) : QByteArray("C");
    m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    if (m_active) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%.1f", 0.5);
        m_active = QByteArray(buf) == "0,5";
    }
}

GermanLocale::~GermanLocale()
{
    std::setlocale(LC_ALL, m_old.constData());
    QLocale::setDefault(QLocale::c());
}

} // namespace tavtest
