#pragma once
// The pair scan window: frequency pairs tuned in turn on their A or B
// frequency, eleven rows around the pair tuned, and the pair file.

#include "core/filekinds.h"
#include "core/form.h"
#include "core/linerun.h"
#include "core/ui.h"
#include "scans/pairscan.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <array>

namespace tav {

class frmScanpairs : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmScanpairs;
    static constexpr int kRows = 11;
    frmScanpairs();

    std::array<QLabel *, kRows> lblNr{}, lblChannelA{}, lblChannelB{};
    std::array<QCheckBox *, kRows> chkChannel{};
    std::array<QLineEdit *, kRows> txtRemarks{};
    VScroll *vsbActnr = nullptr;
    QLineEdit *txtStart = nullptr, *txtEnd = nullptr, *txtDelay = nullptr;
    OptionGroup *optScanAB = nullptr;
    QLabel *lblFile = nullptr, *lblFilename = nullptr;
    QPushButton *cmdStart = nullptr, *cmdStop = nullptr, *cmdContinue = nullptr, *cmdLoad = nullptr,
                *cmdsaveas = nullptr, *cmdDiduzu = nullptr, *cmdExit = nullptr;
    QTimer tmrScanpairs;

    void showactivepairs(int n);
    void vsbActnr_Change(int value);
    void txtStart_Change();
    void txtEnd_Change();
    void txtDelay_Change();
    void chkChannel_LostFocus(int row);
    void txtRemarks_LostFocus(int row);
    void lblChannel_Click(int side, int row);
    void optScanAB_Click(int index);
    void cmdStart_Click();
    void cmdContinue_Click();
    void cmdStop_Click();
    void cmdLoad_Click();
    void cmdsaveas_Click();
    void cmdDiduzu_Click();
    void cmdExit_Click();
    void tmrScanpairs_Timer();

    FileResult sfpfile2ram(const QString &path);
    FileResult sfpram2file(const QString &path);

    const PairScan &pairScan() const { return m_scan; }
    double pairdelay() const { return m_pairdelay; }
    bool scanning() const { return tmrScanpairs.isActive(); }

    // Pairs switched on or off and remarks typed since the table was loaded
    // or saved, a remark typed in a row without a pair too; the question's
    // Save is "Save Pairs".
    bool hasUnsavedChanges() override;
    void saveChanges() override;

protected:
    void Form_Load() override;
    void Form_Unload() override;
    void Form_UnloadRequested() override;
    bool eventFilter(QObject *obj, QEvent *ev) override;

private:
    void scanFrom(bool restart);
    // The pair a row shows, when it shows one of the table.
    std::optional<int> rowPair(int row) const;
    // Row edits of the focused row are taken before the table is used.
    void takeFocusedEdit();
    // A remark typed in a row that shows no pair: the table has no place for it.
    bool strayRemark() const;
    // Clamps the run's start (and the scan position) to the table.
    void clampToTable();

    PairScan m_scan;
    QStringList m_saved;
    double m_pairdelay = 1;
    int m_pairview = 0;
    int m_rxtype = 0;
    bool m_ticking = false;
    LineRun m_run{this, [this] { return tmrScanpairs.isActive(); }, [this] { cmdStop_Click(); }};
};

} // namespace tav
