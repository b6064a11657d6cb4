#include "core/linerun.h"

#include "core/comm.h"
#include "core/ui.h"

#include <algorithm>
#include <vector>

namespace tav {

namespace {
// Kept to the program's end: windows made before it may go after it.
std::vector<LineRun *> &runs()
{
    static auto *all = new std::vector<LineRun *>;
    return *all;
}
} // namespace

LineRun::LineRun(QWidget *window, std::function<bool()> running, std::function<void()> stop, QString caption)
    : m_window(window), m_running(std::move(running)), m_stop(std::move(stop)), m_caption(std::move(caption))
{
    runs().push_back(this);
}

LineRun::~LineRun()
{
    auto &all = runs();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

bool LineRun::begin()
{
    CommControl &port = rxPort();
    // The port the run starts on: its loss ends the run even while no tick
    // comes, as on a squelch hold or while a program waits for its time.
    connect(&port, &CommControl::lineLost, this, &LineRun::lineLost, Qt::UniqueConnection);
    if (port.lost()) {
        msgBox(port.closedText(), MsgIcon::Exclamation, m_caption);
        return false;
    }
    if (!m_note.isEmpty()) {
        m_note.clear();
        if (m_window && m_window->windowTitle() == m_notedTitle)
            m_window->setWindowTitle(m_plainTitle);
    }
    return true;
}

bool LineRun::endIfLost()
{
    if (!rxPort().lost())
        return false;
    if (m_running())
        m_stop();
    return true;
}

void LineRun::lineLost() { endIfLost(); }

void LineRun::endFor(const QString &why)
{
    m_stop();
    m_note = why;
    if (!m_window)
        return;
    m_plainTitle = m_window->windowTitle();
    m_notedTitle = withNote(m_plainTitle);
    m_window->setWindowTitle(m_notedTitle);
}

QString LineRun::withNote(const QString &caption) const
{
    return m_note.isEmpty() ? caption : caption + QStringLiteral("  -  ") + m_note;
}

void LineRun::endOthers(const LineRun *keep, const QString &why)
{
    // A stop may close or open windows: the list is taken first.
    const std::vector<LineRun *> all = runs();
    for (LineRun *r : all)
        if (r != keep && std::find(runs().begin(), runs().end(), r) != runs().end() && r->m_running())
            r->endFor(why);
}

} // namespace tav
