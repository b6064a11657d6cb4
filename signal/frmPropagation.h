#pragma once
// The propagation measurement window: minute, hour and day graphs of one
// station's signal, the propagation file recorded from them, and stored
// files drawn back as overlays.

#include "core/canvas.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "signal/measure.h"
#include "signal/propfile.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <array>

namespace tav {

class frmPropagation : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmPropagation;
    frmPropagation();

    Canvas *picForm = nullptr;
    QPushButton *cmdStart = nullptr, *cmdCls = nullptr, *cmdStop = nullptr, *cmdSaveas = nullptr,
                *cmdLoad = nullptr, *cmdDiduzu = nullptr, *cmdExit = nullptr;
    QLabel *lblSaveas = nullptr, *lblFrequency = nullptr, *lblDate = nullptr;
    std::array<QLabel *, 4> lblPropfiles{};
    std::array<QLabel *, 3> lblName{};
    QLineEdit *txtStation = nullptr;
    QTimer tmrPropagation;

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdCls_Click();
    void cmdSaveas_Click();
    void cmdLoad_Click();
    void cmdDiduzu_Click();
    void cmdExit_Click();
    void tmrPropagation_Timer();

    // The writer and reader of file kind 7.
    FileResult panram2file(const QString &path);
    // A save whose file could not take its place: the recording stops.
    void abandonRecording();
    FileResult panfile2ram(const QString &path);

    bool recording() const { return m_file.isOpen(); }
    float level() const { return m_level; }
    // The overlay counter, kept for the whole run of the program.
    static int overlayNumber();

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_UnloadRequested() override { tmrPropagation.stop(); }

private:
    void setButtons(bool idle);
    // Ends a recording; `tell` shows the saved message.
    void closeRecording(bool tell);

    MeasureSession m_session{QStringLiteral("Propagation")};
    PropagationMeter m_meter;
    QFile m_file;
    QString m_fileName;
    float m_level = 0;
    bool m_inTick = false;
    bool m_tickWaiting = false;
};

} // namespace tav
