#pragma once
// The ILG and aero list windows: a station file from the shared store as a
// list of fixed-column lines, a click tunes the line's frequency, a timed scan
// steps through the list, and a query dialog (and for ILG a sort) narrows
// and orders it.

#include "core/filekinds.h"
#include "core/form.h"
#include "core/linerun.h"
#include "core/links.h"
#include "core/ui.h"
#include "lists/listwindow.h"
#include "stations/stationstore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QAbstractListModel>
#include <QTimer>
#include <array>

namespace tav {

// The list's lines, read from a share of the station records on demand: the
// whole record, or for a found ILG record its columns 1-77 and 101-126.
class StationLinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    void setLines(const StationRecords &recs, const QVector<int> &rows, bool whole);
    void clear();
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    QVariant data(const QModelIndex &index, int role) const override;
    QString line(int row) const;
    // The frequency of a line (its first 8 columns).
    double frequency(int row) const;
    QStringList stringList() const;
    // Whether the lines are whole records (not found ILG lines).
    bool whole() const { return m_whole; }

private:
    StationRecords m_recs;
    QVector<int> m_rows;
    bool m_whole = true;
};

// The column titles over a station list: each title (the text between bars)
// is drawn at the character column where its field begins in the lines the
// list shows, measured in the list's fixed-pitch font and moved with the
// list's sideways scroll, so the titles stand over their columns in
// whatever fonts the system has.
class ColumnTitles : public QLabel {
    Q_OBJECT
public:
    ColumnTitles(const QString &text, QListView *list, QWidget *parent);
    // The column (from 1) of each title over whole records, and over the
    // found ILG lines when they differ.
    void setColumns(const QVector<int> &whole, const QVector<int> &found = {});
    // Where title i begins in this label; -1 for a title without a column.
    qreal titleX(int i) const;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    QListView *m_list;
    QVector<int> m_whole, m_found;
    QMetaObject::Connection m_modelReset;
};

class StationListWindow : public TavForm, public FrequencyBoxLink, public ClockCaptionLink {
    Q_OBJECT
public:
    QPushButton *cmdLoad = nullptr, *cmdQuery = nullptr, *cmdSort = nullptr, *cmdScan = nullptr,
                *cmdDiduzu = nullptr, *cmdExit = nullptr, *cmdHeigh = nullptr;
    QLineEdit *txtScandelay = nullptr;
    QLabel *lblScandelay = nullptr, *lblDbname = nullptr, *lblProgress = nullptr, *lblProcent = nullptr;
    ColumnTitles *lblTitles = nullptr;
    lists::FrequencyBox *txtFrequencyA = nullptr;
    QListView *list = nullptr;
    StationLinesModel *lines = nullptr;
    QTimer tmrScan;

    void showTunedFrequency(const QString &freqtext) override { txtFrequencyA->setText(freqtext); }
    void showClockCaption(const QString &caption) override { setWindowTitle(m_run.withNote(caption)); }

    // The list line's click: tunes its frequency; the scan goes on from it.
    void list_Click(int row);
    // Selects a line from the program; it counts as a click.
    void selectLine(int row);
    void cmdLoad_Click();
    void cmdQuery_Click();
    void cmdScan_Click();
    void tmrScan_Timer();
    void cmdHeigh_Click();
    void cmdDiduzu_Click();
    void cmdExit_Click() { unload(); }
    void txtFrequencyA_KeyEnter();

    // The file reader of the window (ilgfile2ram / aerofile2ram).
    FileResult stationfile2ram(const QString &path);

    QStringList listLines() const { return lines->stringList(); }
    bool scanning() const { return tmrScan.isActive(); }
    bool large() const { return m_large; }
    StationScan &scan() { return m_scan; }

    // The query's run on the shared store: progress labels, the found lines.
    void showSearchStart();
    void showProgress(int figure);
    void showFound(const QVector<int> &found, bool whole);

protected:
    StationListWindow(WindowId id, StationDb ftlkind, const QString &title,
                      const QString &loadCaption, const QString &queryCaption, bool withSort, const QString &listName,
                      const QString &titlesName, const QString &titles, WindowId queryWindow,
                      const QString &iniName, int combos, int maxDelay);
    void Form_Load() override;
    void Form_Unload() override;
    bool eventFilter(QObject *o, QEvent *ev) override;
    // Hands the choices read from the ini file to the query dialog.
    virtual void setQueryChoices(const QVector<QStringList> &choices) = 0;
    virtual QString loadedTitle() const = 0;

private:
    void applyHeight();
    void setScanning(bool on);
    StationDb m_ftlkind;
    WindowId m_queryWindow;
    QString m_iniName;
    int m_combos, m_maxDelay;
    bool m_large = false;
    bool m_inTick = false;
    int m_justSelected = -1;
    StationScan m_scan;
    LineRun m_run{this, [this] { return tmrScan.isActive(); }, [this] { setScanning(false); }};
};

class frmIlg2rx : public StationListWindow {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmIlg2rx;
    frmIlg2rx();
    QListView *lstIlgq = nullptr;
    FileResult ilgfile2ram(const QString &path) { return stationfile2ram(path); }
    void cmdSort_Click();
    // Sorts the listed records by `ftlsortkey` and lists them whole.
    void Ftlsort();

protected:
    void setQueryChoices(const QVector<QStringList> &choices) override;
    QString loadedTitle() const override { return QStringLiteral("ILG Radio"); }

public:
    QString clockCaptionLead() const override { return QStringLiteral("ILG Query     LT : "); }
};

class frmAero2rx : public StationListWindow {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmAero2rx;
    frmAero2rx();
    QListView *lstAero = nullptr;
    FileResult aerofile2ram(const QString &path) { return stationfile2ram(path); }

protected:
    void setQueryChoices(const QVector<QStringList> &choices) override;
    QString loadedTitle() const override { return QStringLiteral("Aero list"); }

public:
    QString clockCaptionLead() const override { return QStringLiteral("Aero Query     LT : "); }
};

// The ILG query dialog.
class frmIlgquery : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmIlgquery;
    frmIlgquery();
    std::array<QCheckBox *, 6> chkQuery{};
    std::array<QComboBox *, 6> cmbQuery{};
    QPushButton *cmdSearchilg = nullptr, *cmdClear = nullptr, *cmdCancel = nullptr;
    // The choices each query box offers (read by the station list).
    void setChoices(const QVector<QStringList> &choices);
    void cmdSearchilg_Click();
    void cmdClear_Click();
    void cmdCancel_Click() { hide(); }
};

// The aero query dialog.
class frmAeroquery : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmAeroquery;
    frmAeroquery();
    std::array<QCheckBox *, 2> chkQuery{};
    std::array<QComboBox *, 3> cmbQuery{};
    QPushButton *cmdSearchaero = nullptr, *cmdClear = nullptr, *cmdCancel = nullptr;
    void setChoices(const QVector<QStringList> &choices);
    void cmdSearchaero_Click();
    void cmdClear_Click();
    void cmdCancel_Click() { hide(); }
};

// The ILG sort dialog.
class frmIlgqsort : public TavForm {
    Q_OBJECT
public:
    static constexpr WindowId windowId = WindowId::frmIlgqsort;
    frmIlgqsort();
    OptionGroup *optSort = nullptr;
    QPushButton *cmdOK = nullptr, *cancel = nullptr;
    void cmdOK_Click();
    void cancel_Click() { unload(); }

protected:
    void Form_Load() override;
};

} // namespace tav
