#pragma once
// The aero list conversion window: turns "aerolist.txt" into "aero.ftl"
// (every detail line) or "aero2.ftl" (one line per frequency and network).

#include "core/form.h"
#include "core/ui.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace tav {

class frmConvertAero : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmConvertAero;
    frmConvertAero();

    QLabel *lblTitle = nullptr, *lblreccounr = nullptr, *lblCount = nullptr, *lblShowrecord = nullptr;
    QGroupBox *fraLocate = nullptr, *fraConnect = nullptr, *fraCount = nullptr, *fraConvert = nullptr,
              *fraRecord = nullptr;
    QPushButton *cmdLocate = nullptr, *cmdExit = nullptr, *cmdConvert = nullptr, *cmdStop = nullptr;
    OptionGroup *optDbconnect = nullptr, *optDbtype = nullptr;

    void cmdLocate_Click();
    // The list file chosen in the locate dialog (see frmConvertILG).
    void databaseLocated(const QString &fileName);
    void optDbconnect_Click(int index);
    void cmdConvert_Click();
    void cmdStop_Click() { m_stop = true; }
    void cmdExit_Click() { unload(); }
    bool converting() const { return m_converting; }

protected:
    void Form_Load() override;
    void Form_UnloadRequested() override { m_stop = true; }
    void closeEvent(QCloseEvent *ev) override;

private:
    QString sourcePath() const;
    void setBusy(bool busy);
    bool m_stop = false;
    bool m_converting = false;
};

} // namespace tav
