#pragma once
// Timed work that uses the receiver line on its own (a scan, a timer
// program). What all of it shares lives here, so that no scan can differ:
// - a lost line ends it, told by the panel's one message about the loss; a
//   tick that comes before that message has been seen ends it too;
// - it does not start again on a line that was lost: Start says once that
//   the line is closed, and nothing runs;
// - a timer program taking the receiver ends every other run, which says
//   why in its window's caption (a note, not a box: the run is unattended).
//
//     LineRun m_run{this, [this] { return tmrScan.isActive(); }, [this] { cmdStop_Click(); }};
//     void frmX::cmdStart_Click() { if (!m_run.begin()) return; ... }
//     void frmX::tmrScan_Timer() { const TickGuard tick(this, m_ticking, m_run); ... }

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

namespace tav {

class LineRun : public QObject {
public:
    // `window` shows the note; `running` says whether the work runs (or
    // waits for its time); `stop` ends it as the window's own Stop does,
    // without a message.
    LineRun(QWidget *window, std::function<bool()> running, std::function<void()> stop,
            QString caption = QStringLiteral("Error"));
    ~LineRun() override;
    LineRun(const LineRun &) = delete;
    LineRun &operator=(const LineRun &) = delete;

    // At Start or Continue. False when the line was lost: the user is told
    // once that it is closed, and the work must not start. Takes back a note
    // an earlier end left in the caption.
    bool begin();
    // Whether the line is lost; running work is then ended.
    bool endIfLost();
    // Ends every other running run, each noting `why` in its window's caption.
    static void endOthers(const LineRun *keep, const QString &why);
    // The caption with the note an end for a reason left ("" when none), for
    // windows that set their caption anew.
    QString withNote(const QString &caption) const;

private:
    void lineLost();
    void endFor(const QString &why);

    QPointer<QWidget> m_window;
    std::function<bool()> m_running;
    std::function<void()> m_stop;
    QString m_caption;
    QString m_note;
    QString m_notedTitle;
    QString m_plainTitle;
};

} // namespace tav
