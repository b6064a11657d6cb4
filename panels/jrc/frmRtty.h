#pragma once
// The RTTY decoder window of the two JRC receivers: sets the receiver's RTTY
// parameters, switches RTTY reception on and off, shows the decoded text the
// receiver sends in fifteen lines and can append it to a capture file.

#include "core/form.h"
#include "core/ui.h"
#include "drivers/jrc.h"
#include "panels/jrc/rttytext.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <memory>

namespace tav {

class frmRtty : public TavForm, public RttyReception {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmRtty;
    frmRtty();

    // The window's own driver object for the receiver chosen; none for a
    // model without RTTY.
    std::unique_ptr<JrcDriver> jrc;

    std::array<QPushButton *, 3> cmdBaud{}, cmdShift{};
    std::array<QPushButton *, 2> cmdPolarity{}, cmdSave{};
    QLabel *lblBaud = nullptr, *lblShift = nullptr, *lblPolarity = nullptr, *lblSave = nullptr;
    QGroupBox *fraUnshift = nullptr, *fraError = nullptr;
    OptionGroup *optUnshift = nullptr, *optError = nullptr;
    QPushButton *cmdStart = nullptr, *cmdStop = nullptr, *cmdCls = nullptr, *cmdExit = nullptr;
    std::array<QLabel *, RttyLines::kLines> lblRy{};
    QTimer tmrGetRTTY;

    void cmdBaud_Click(int index);
    void cmdShift_Click(int index);
    void cmdPolarity_Click(int index);
    void optUnshift_Click(int index);
    void optError_Click(int index);
    void cmdSave_Click(int index);
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdCls_Click();
    void cmdExit_Click();
    // One reading of the port (every 125 ms while reception runs).
    void tmrGetRTTY_Timer();

    // The file the text is being kept in, as the Save dialog opened it.
    void showCaptureFile(const QString &name);

    // Whether reception runs (Start pressed, Stop not yet).
    bool receiving() const { return m_receiving; }
    // A tool's work that switched the demodulator off has ended.
    void receptionGivenBack(const QObject *tool) override;

    QString parameters() const { return m_params; }
    bool capturing() const { return m_capturing; }
    // The receiver type the window works for (the one of the open panel).
    int receiverType() const { return m_rxtype; }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void sendParameters();
    // Stop's steps; `send` false on a line that can take nothing.
    void endReception(bool send);
    void setRtty(int16_t v);
    void showLines();
    void capture(const QStringList &lines);
    // The frequency text of the open JRC panel.
    QString panelFrequency() const;

    RttyLines m_text;
    QString m_params;
    bool m_capturing = false;
    bool m_receiving = false;
    int m_rxtype = 0;
};

} // namespace tav
