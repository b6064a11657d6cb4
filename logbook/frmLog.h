#pragma once
// The logbook window: the records in a grid with the chosen columns, the
// record buttons, file commands, column and sort dialogs, and tuning from a
// record's frequency cells.

#include "core/form.h"
#include "core/links.h"
#include "lists/listwindow.h"
#include "logbook/logbook.h"

#include <QAbstractTableModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QScrollBar>

namespace tav {

// The grid over the program's logbook: row 0 stays blank, record r is row
// r + 1; column 0 the record number, then one column per shown field.
class LogTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit LogTableModel(QObject *parent = nullptr);
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    // Takes the store's records and mask again.
    void refresh();
    // Only the blank row (Close, and before a file is loaded).
    void clearRows();
    // Takes a changed mask, keeping the rows shown or not.
    void takeMask();
    // The field shown in a grid column (-1 for the number column or none).
    int fieldOfColumn(int column) const;
    QString cellText(int row, int column) const;

private:
    QVector<int> m_fields;
    bool m_shown = false;
};

class frmLog : public TavForm, public FrequencyBoxLink, public ClockCaptionLink {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmLog;
    frmLog();

    // The hub writes each tuned frequency into the frequency box.
    void showTunedFrequency(const QString &freqtext) override { txtFrequencyA->setText(freqtext); }
    QString clockCaptionLead() const override { return QStringLiteral("Logging     LT : "); }
    void showClockCaption(const QString &caption) override { setWindowTitle(caption); }

    QTableWidget *grdTitles = nullptr;
    QTableView *grdLog = nullptr;
    LogTableModel *model = nullptr;
    QLabel *lblDbname = nullptr;
    lists::FrequencyBox *txtFrequencyA = nullptr;
    QPushButton *cmdLoad = nullptr, *cmdAddrecord = nullptr, *cmdChangerecord = nullptr,
                *cmdDeleterecord = nullptr, *cmdFormat = nullptr, *cmdSort = nullptr, *cmdSave = nullptr,
                *cmdsaveas = nullptr, *cmdClose = nullptr, *cmdDiduzu = nullptr, *cmdWidth = nullptr,
                *cmdHeigh = nullptr, *cmdExit = nullptr;

    // Column widths and titles for the store's mask.
    void Loggridformat();
    // Enables or disables the record buttons.
    void Logbuttons(bool enabled);
    // Refills the grid from the store.
    void log2grid();
    // The entry dialog opens (true) or closes (false): meanwhile every command
    // that could move or replace the record being entered is unavailable.
    void entryDialogOpen(bool open);

    void cmdLoad_Click();
    void cmdAddrecord_Click();
    void cmdChangerecord_Click();
    void cmdDeleterecord_Click();
    void cmdFormat_Click();
    void cmdSort_Click();
    void cmdSave_Click();
    void cmdsaveas_Click();
    void cmdClose_Click();
    void cmdDiduzu_Click();
    void cmdWidth_Click();
    void cmdHeigh_Click();
    void cmdExit_Click();
    void grdLog_Click(int row, int column);
    // Selects a grid cell as a user's click does, without its handling.
    void selectCell(int row, int column);
    void txtFrequencyA_Enter();

    // After the reader filled the store.
    void fileLoaded(const QString &name);

    int heightToggle() const { return m_height; }
    int widthToggle() const { return m_width; }

    // Records added, changed, deleted or sorted since the shown file was
    // loaded or saved, or one still being entered; the question's Save
    // stores that one as OK does and writes the file.
    bool hasUnsavedChanges() override;
    void saveChanges() override;

protected:
    void Form_Load() override;
    void Form_Unload() override;

private:
    int narrowWidth();
    // The titles' blank last column, shown only while the grid needs it.
    void fitBlankTitle();
    void applyButtons();
    int currentRow() const;
    void saveToFile();
    bool m_recordButtons = false;
    bool m_entryOpen = false;
    int m_height = 0, m_width = 0;
};




} // namespace tav
