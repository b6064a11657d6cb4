#pragma once
// Up to twenty frequencies marked by hand from the panel, newest first; a
// click tunes, and a scan steps through them every two seconds.

#include "core/form.h"
#include "core/linerun.h"
#include "lists/gridmodel.h"
#include "lists/recentlist.h"

#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace tav::lists {

class frmMarkfreqs : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmMarkfreqs;
    static constexpr int kScanMs = 2000;
    frmMarkfreqs();

    QPushButton *cmdScan = nullptr, *cmdExit = nullptr, *cmdMark = nullptr, *cmdCls = nullptr;
    QTableView *grdTitles = nullptr, *grdMarkfreqs = nullptr;
    TextGridModel *rows = nullptr;
    QTimer tmrScan;

    void cmdMark_Click();
    void cmdCls_Click();
    void cmdScan_Click();
    void cmdExit_Click();
    void grdMarkfreqs_Click(int row, int column);
    // One step of the scan.
    void tmrScan_Timer();

    bool scanning() const { return m_scanning; }
    const RecentList &markedfreqs() const { return m_marks; }
    QString shown(int r) const { return rows->text(r, 1); }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void numberRows();
    void stopScan();
    RecentList m_marks;
    bool m_scanning = false;
    bool m_ticking = false;
    int m_index = 0;
    double m_last = 0;
    LineRun m_run{this, [this] { return m_scanning; }, [this] { stopScan(); }};
};

} // namespace tav::lists
