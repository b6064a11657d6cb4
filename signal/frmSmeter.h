#pragma once
// The S-meter window: the level once a second as a needle, and a histogram
// of the last sixty levels.

#include "core/canvas.h"
#include "core/form.h"
#include "signal/measure.h"
#include "signal/smeterstats.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <array>

namespace tav {

class frmSmeter : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmSmeter;
    frmSmeter();

    Canvas *picForm = nullptr, *picShistogram = nullptr, *picSmeter = nullptr;
    std::array<QLabel *, 6> lbl_s{};
    std::array<QLabel *, 5> lbl_sinpo{};
    QPushButton *cmdStart = nullptr, *cmdStop = nullptr, *cmdCls = nullptr, *cmdExit = nullptr;
    QTimer tmrSmeter;

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdCls_Click();
    void cmdExit_Click();
    void tmrSmeter_Timer();

    float level() const { return m_level; }
    const SmeterHistory &history() const { return m_history; }
    bool measuring() const { return m_session.measuring(); }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_UnloadRequested() override { tmrSmeter.stop(); }

private:
    void drawScale();
    void needle(float level, QColor c);

    bool m_ticking = false;
    MeasureSession m_session{QStringLiteral("S meter")};
    SmeterHistory m_history;
    float m_level = 9.0f, m_prev = 9.0f;
};

} // namespace tav
