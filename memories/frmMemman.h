#pragma once
// The memory manager: the memory image as a grid (row i is cell i), the
// selected cell's details, the memory file, the transfers with the receiver,
// the sort, the printed list and the memory scan. The cell editor works on
// the same image.

#include "core/filekinds.h"
#include "core/form.h"
#include "core/linerun.h"
#include "memories/memimage.h"

#include <QAbstractTableModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <memory>

namespace tav {

class ClickLabel;
class Receiver;

// grdMemman's rows: one per cell of the image, cells never held empty.
class MemGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit MemGridModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    void refreshRow(int cell);
    void refreshAll();
};

class frmMemman : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmMemman;
    frmMemman();
    ~frmMemman() override;

    QTableWidget *grdTitles = nullptr;
    QTableView *grdMemman = nullptr;
    MemGridModel *model = nullptr;
    QGroupBox *fraDetail = nullptr, *fraLoad = nullptr, *fraFetch = nullptr, *fraScan = nullptr,
              *fracell = nullptr;
    QLabel *lblCellnr = nullptr, *lblScan = nullptr, *lblAtt = nullptr, *lblAgc = nullptr, *lblPBS = nullptr,
           *lblBfo = nullptr, *lblSql = nullptr;
    QPushButton *cmdHeigh = nullptr, *cmdDiduzu = nullptr, *cmdExit = nullptr, *cmdCls = nullptr,
                *cmdPrint = nullptr, *cmdsaveas = nullptr, *cmdLoad = nullptr;
    QPushButton *cmdSetrx2mem = nullptr, *cmdFill = nullptr, *cmdSort = nullptr, *cmdFetch = nullptr;
    QPushButton *cmdScanrun = nullptr, *cmdScanstop = nullptr;
    QPushButton *cmdChange = nullptr, *cmdDump = nullptr, *cmdCopy = nullptr, *cmdDelete = nullptr;
    QLineEdit *txtFrom = nullptr, *txtTo = nullptr, *txtDelay = nullptr;
    ClickLabel *lblFrom = nullptr, *lblTo = nullptr;
    QLabel *lblDelay = nullptr;
    QTimer tmrScan;

    // Window fields.
    int cellfrom = 0, cellto = 0;
    double scandelay = 0;
    int scanoffset = 0;
    int gridheightmode = 0;

    // Procedures other windows and the file dialogs call.
    void cleargrdmemman();
    void clearadditionalinfo();
    void formatmemx2list(int cell);
    void memcmdenabler(bool flag);
    bool memarrayloaded() const;
    FileResult memfile2ram(const QString &path);
    // Reads a memory file into the image, checking every cell against the
    // receiver; what the user must hear (refused cells, lines past the last
    // cell) goes into *notice, shown once with showFileNotice.
    static FileResult readMemoryFile(const QString &path, QStringList *notice);
    static void showFileNotice(const QStringList &notice);
    FileResult memram2file(const QString &path);

    // Handlers.
    void grdMemman_Click(int row);
    void grdMemman_DblClick(int row);
    void cmdChange_Click();
    void cmdDump_Click();
    void cmdCopy_Click();
    void cmdDelete_Click();
    void cmdLoad_Click();
    void cmdsaveas_Click();
    void cmdCls_Click();
    void cmdExit_Click();
    void cmdDiduzu_Click();
    void cmdHeigh_Click();
    void lblFrom_Click();
    void lblTo_Click();
    void cmdFetch_Click();
    void cmdFill_Click();
    void cmdSetrx2mem_Click();
    void cmdSort_Click();
    void cmdPrint_Click();
    void cmdScanrun_Click();
    void cmdScanstop_Click();
    void tmrScan_Timer();

    // The window's own receiver object (none without a receiver).
    Receiver *receiver() const { return m_rx.get(); }
    int receiverType() const { return m_rxtype; }
    // Cells fetched, edited, sorted or loaded since the last load or save of
    // a memory file; an empty image has nothing to keep. The question's Save
    // is the window's Save (the Save dialog).
    bool hasUnsavedChanges() override;
    void saveChanges() override { cmdsaveas_Click(); }

    // Where a print goes when no printer is set up.
    QString printPdfPath() const;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void openCellEditor(int action, const QString &caption, bool needsData);
    void showBanner(const QString &what);
    // The commands the image gives work to: all of them over held cells; over
    // an empty grid only those that bring cells (Load, Fetch) and go away.
    void enableForImage();
    void showCellnr(int cell);
    // The memory file the grid holds, in the title row (none: empty).
    void showFileName(const QString &name);
    void refused(const QString &title, bool resetDelay);
    // The From and To boxes into cellfrom and cellto; refused with the
    // window's message when they do not give a range of cells.
    bool takeCellRange(const QString &errorTitle, bool resetDelay);
    bool transferStopped() const;
    // `refusal` says why the cell at `failedAt` was refused when the
    // receiver answered with no channel of its own; empty when it did not answer.
    bool fetchCells(int last, int &failedAt, QString &refusal);
    bool fillCells(const CellRange &range, int &failedAt, QVector<int> &notCleared);

    std::unique_ptr<Receiver> m_rx;
    int m_rxtype = 0;
    bool m_inTick = false;
    LineRun m_run{this, [this] { return tmrScan.isActive(); }, [this] { cmdScanstop_Click(); }};
};

} // namespace tav
