#pragma once
// The propagation time trace and histograms: a level scale with level and
// peak marks, the trace over 18, 60 or 180 minutes and the cumulative or
// last-minute histogram.

#include "core/canvas.h"
#include "core/form.h"
#include "signal/measure.h"
#include "signal/proptrace.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace tav {

class frmProphisto : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmProphisto;
    frmProphisto();

    Canvas *picForm = nullptr;
    QComboBox *cmbHisto = nullptr, *cmbRange = nullptr;
    QPushButton *cmdStart = nullptr, *cmdCls = nullptr, *cmdStop = nullptr, *cmdDiduzu = nullptr,
                *cmdExit = nullptr;
    QLabel *lblStart = nullptr, *lblDate = nullptr, *lblStation = nullptr, *lblFreq = nullptr,
           *lblFrequency = nullptr;
    QLineEdit *txtStation = nullptr;
    QTimer tmrProphisto;

    void cmbRange_Click();
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdCls_Click();
    void cmdDiduzu_Click();
    void cmdExit_Click();
    void tmrProphisto_Timer();

    const TraceMeter &trace() const { return m_trace; }
    bool measuring() const { return m_session.measuring(); }
    // Whole seconds since Start, on the monotonic clock.
    qint64 elapsed() const;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_UnloadRequested() override { tmrProphisto.stop(); }

private:
    TraceMeter::Span span() const { return TraceMeter::Span(std::max(0, cmbRange->currentIndex())); }

    bool m_ticking = false;
    bool m_tickWaiting = false;
    MeasureSession m_session{QStringLiteral("Propagation")};
    TraceMeter m_trace;
    qint64 m_startMs = 0;
    float m_level = 0;
};

} // namespace tav
