#pragma once
// The list scan window: twenty frequency boxes tuned in turn, an S-meter
// history and trend marks per box, and the scan-list file.

#include "core/canvas.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/linerun.h"
#include "core/ui.h"
#include "scans/listscan.h"
#include "signal/measure.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <array>
#include <memory>

namespace tav {

class Receiver;

class frmScanlist : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmScanlist;
    frmScanlist();
    ~frmScanlist() override;

    Canvas *picScan = nullptr;
    QLabel *lblStart = nullptr, *lblStartUTC = nullptr, *lblEnd = nullptr, *lblEndUTC = nullptr;
    QLabel *lblRun = nullptr, *lblRuns = nullptr, *lblDelay = nullptr, *lblUpdate = nullptr;
    QLineEdit *txtDelay = nullptr, *txtUpdate = nullptr;
    QPushButton *cmdStart = nullptr, *cmdCls = nullptr, *cmdStop = nullptr, *cmdContinue = nullptr;
    QPushButton *cmdLoad = nullptr, *cmdsaveas = nullptr, *cmdDiduzu = nullptr, *cmdExit = nullptr;
    std::array<QLineEdit *, ListScan::kBoxes> txtFreqlist{};
    QTimer tmrScanlist;

    void cmdStart_Click();
    void cmdStop_Click();
    void cmdContinue_Click();
    void cmdCls_Click();
    void cmdLoad_Click();
    void cmdsaveas_Click();
    void cmdDiduzu_Click();
    void cmdExit_Click();
    void txtFreqlist_Click(int index);
    // One scan step.
    void tmrScanlist_Timer();

    // The file kind's reader and writer.
    FileResult sflfile2ram(const QString &path);
    // Frequencies typed since the list was loaded or saved; the question's
    // Save is "Save List".
    bool hasUnsavedChanges() override;
    void saveChanges() override { cmdsaveas_Click(); }
    FileResult sflram2file(const QString &path);

    const ListScan &scan() const { return m_scan; }
    int attenuatorAtStart() const { return m_reader.attenuator(); }
    bool scanning() const { return tmrScanlist.isActive(); }

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_UnloadRequested() override;
    bool eventFilter(QObject *obj, QEvent *ev) override;

private:
    bool boxValid(int i) const;
    void setBoxColour(int i, unsigned bbggrr);
    std::array<QString, ListScan::kBoxes> boxTexts() const;
    // The file lines of the boxes as they stand, and as last loaded or saved.
    QStringList boxLines() const;
    QStringList m_saved;
    // Stops the scan and reports why (the tick does not come back meanwhile).
    void haltWith(const QStringList &message);
    int delayMs();

    ListScan m_scan;
    std::unique_ptr<Receiver> m_rx;
    int m_rxtype = 0;
    SmeterReader m_reader{QStringLiteral("Error")};
    bool m_ticking = false;
    LineRun m_run{this, [this] { return tmrScanlist.isActive(); }, [this] { cmdStop_Click(); }};
};

} // namespace tav
