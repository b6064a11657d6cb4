#pragma once
// The frequency scratch pad: ten rows a to j of eight frequency cells and a
// notes box, filled from the panel, tuned back, saved and loaded, and each
// row scanned on a timer.

#include "core/filekinds.h"
#include "core/form.h"
#include "core/linerun.h"
#include "core/links.h"
#include "lists/listwindow.h"
#include "lists/scratchpadfile.h"

#include <QAbstractTableModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <array>

namespace tav::lists {

// The grid's view of the pad's cells.
class ScratchPadModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ScratchPadModel(ScratchPad &pad, QObject *parent) : QAbstractTableModel(parent), m_pad(pad) {}
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : ScratchPad::kRows; }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : ScratchPad::kCells;
    }
    QVariant data(const QModelIndex &index, int role) const override;
    // Tells the view that cells changed.
    void changed();

private:
    ScratchPad &m_pad;
};

class frmScratchpad : public TavForm, public FrequencyBoxLink {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmScratchpad;
    frmScratchpad();

    FrequencyBox *txtFrequencyA = nullptr;
    std::array<QLineEdit *, ScratchPad::kRows> txtNotes{};
    std::array<QPushButton *, ScratchPad::kRows> cmdScan{};
    QLineEdit *txtScandelay = nullptr;
    QPushButton *cmdClrnotes = nullptr, *cmdStop = nullptr, *cmdDiduzu = nullptr, *cmdSp2rx = nullptr,
                *cmdRx2sp = nullptr, *cmdExit = nullptr, *cmdLoad = nullptr, *cmdSave = nullptr,
                *cmdClrgrid = nullptr, *cmdClrcell = nullptr;
    QTableView *grdScratchpad = nullptr;
    QLabel *lblDelay = nullptr, *lblNotes = nullptr, *lblTitles = nullptr;
    QTimer tmrScan;

    void cleargridscratchpad();
    void cmdRx2sp_Click();
    void cmdSp2rx_Click();
    void grdScratchpad_DblClick();
    void cmdClrcell_Click();
    void cmdClrgrid_Click();
    void cmdClrnotes_Click();
    void cmdLoad_Click();
    void cmdSave_Click();
    void cmdExit_Click();
    void cmdDiduzu_Click();
    void txtFrequencyA_KeyEnter();
    void showTunedFrequency(const QString &freqtext) override { txtFrequencyA->setText(freqtext); }
    void cmdScan_Click(int row);
    void cmdStop_Click();
    // One step of the row scan.
    void tmrScan_Timer();

    FileResult fspfile2ram(const QString &path);
    FileResult fspram2file(const QString &path);

    // The grid's current cell.
    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int column);
    QString cell(int row, int column) const { return m_pad.cells[size_t(row)][size_t(column)]; }
    bool scanning() const { return m_scanning; }

    // Notes or cells that differ from the file last loaded or saved (an
    // empty pad at load); the question's Save is "Save As".
    bool hasUnsavedChanges() override { return currentLines() != m_saved; }
    void saveChanges() override { cmdSave_Click(); }

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    void setCell(int row, int column, const QString &text);
    void setScanControls(bool enabled);
    void endScan();
    QStringList rowTexts(int row) const;
    // The file lines of the pad as it stands, notes as typed.
    QStringList currentLines() const;
    QStringList m_saved;

    ScratchPad m_pad;
    ScratchPadModel *m_model = nullptr;
    bool m_scanning = false;
    bool m_ticking = false;
    int m_scanRow = 0;
    int m_column = 0;
    double m_last = 0;
    LineRun m_run{this, [this] { return m_scanning; }, [this] { cmdStop_Click(); }};
};

} // namespace tav::lists
