#pragma once
// Wheel set-up for the receiver panels: an event filter that gives the panel
// one event per wheel notch (120 units of angle). Touchpads deliver many small
// deltas; they are accumulated so a gentle swipe does not flood the port.

#include <QObject>

class QWidget;

namespace tav {

class WheelNotches : public QObject {
    Q_OBJECT
public:
    explicit WheelNotches(QWidget *watched);
    // Drops any partial notch (e.g. when the pointer leaves the panel).
    void reset() { m_accumulated = 0; }
signals:
    // One per notch: +120 turned away from the user, -120 towards.
    void wheelNotch(int delta);

protected:
    bool eventFilter(QObject *obj, QEvent *ev) override;

private:
    int m_accumulated = 0;
};

// Connects a panel to the wheel: returns the filter whose wheelNotch signal
// the panel handles. Owned by the panel.
WheelNotches *Mousewheelinit(QWidget *frm);

} // namespace tav
