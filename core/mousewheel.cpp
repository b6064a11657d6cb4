#include "core/mousewheel.h"

#include <QWheelEvent>
#include <QWidget>

namespace tav {

WheelNotches::WheelNotches(QWidget *watched) : QObject(watched) {}

bool WheelNotches::eventFilter(QObject *, QEvent *ev)
{
    if (ev->type() != QEvent::Wheel)
        return false;
    auto *we = static_cast<QWheelEvent *>(ev);
    int dy = we->angleDelta().y();
    if (dy == 0)
        return false;
    // A change of direction starts a new notch rather than cancelling a partial one.
    if ((dy > 0) != (m_accumulated > 0) && m_accumulated != 0)
        m_accumulated = 0;
    m_accumulated += dy;
    while (m_accumulated >= 120) {
        m_accumulated -= 120;
        emit wheelNotch(120);
    }
    while (m_accumulated <= -120) {
        m_accumulated += 120;
        emit wheelNotch(-120);
    }
    we->accept();
    return true;
}

WheelNotches *Mousewheelinit(QWidget *frm)
{
    auto *w = new WheelNotches(frm);
    frm->installEventFilter(w);
    return w;
}

} // namespace tav
