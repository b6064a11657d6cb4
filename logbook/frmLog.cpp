#include "logbook/frmLog.h"

#include "core/filekinds.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/ui.h"
#include "logbook/frmLogdialogs.h"
#include "logbook/frmLoginput.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

namespace tav {

namespace {

int px(int twips) { return int(twips / twipsPerPixel() + 0.5); }

// A column at least as wide as its design, and wide enough for its title and
// a full field in the grid's font: the design widths were made for a smaller
// font, and cut dates and times read wrong.
int columnPixels(const QFontMetrics &fm, int entry)
{
    const int chars = entry == 0 ? 3 : kLogFieldWidth[size_t(entry - 1)];
    const int pad = 2 * fm.averageCharWidth();
    const int need = std::max(fm.horizontalAdvance(QString(chars, QLatin1Char('0'))),
                              fm.horizontalAdvance(logColumnTitles()[size_t(entry)]));
    return std::max(px(logColumnWidths()[size_t(entry)]), need + pad);
}

// The width the wide setting adds to the window.
constexpr int kWideExtraTwips = 14085 - 9390;

} // namespace

// ---- the grid model ----

LogTableModel::LogTableModel(QObject *parent) : QAbstractTableModel(parent) {}

int LogTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_shown ? int(logStore().records.size()) + 1 : 1;
}

int LogTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_fields.size()) + 1;
}

int LogTableModel::fieldOfColumn(int column) const
{
    return (column >= 1 && column <= m_fields.size()) ? m_fields[column - 1] : -1;
}

QString LogTableModel::cellText(int row, int column) const
{
    if (row < 1 || row >= rowCount())
        return QString();
    const int rec = row - 1;
    if (column == 0)
        return logRecordNumber(rec);
    const int f = fieldOfColumn(column);
    return f < 0 ? QString() : logStore().records.field(rec, f);
}

QVariant LogTableModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return cellText(index.row(), index.column());
}

QVariant LogTableModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (role != Qt::DisplayRole || o != Qt::Horizontal)
        return {};
    if (section == 0)
        return logColumnTitles()[0];
    const int f = fieldOfColumn(section);
    return f < 0 ? QVariant() : QVariant(logColumnTitles()[size_t(f + 1)]);
}

void LogTableModel::refresh()
{
    beginResetModel();
    m_fields = shownFields(logStore().colmask);
    m_shown = true;
    endResetModel();
}

void LogTableModel::takeMask()
{
    beginResetModel();
    m_fields = shownFields(logStore().colmask);
    endResetModel();
}

void LogTableModel::clearRows()
{
    beginResetModel();
    m_fields = shownFields(logStore().colmask);
    m_shown = false;
    endResetModel();
}

// ---- the window ----

frmLog::frmLog() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Logging"));
    setBackColor(this, kLightYellow);
    auto *top = new QVBoxLayout(this);

    auto *head = new QHBoxLayout;
    top->addLayout(head);
    lblDbname = makeLabel(QStringLiteral("lblDbname"), QString(), this);
    head->addWidget(lblDbname, 1);
    // The list windows' frequency box: Enter tunes, a double click empties it.
    txtFrequencyA = new lists::FrequencyBox(this);
    txtFrequencyA->setMaximumWidth(px(1200));
    connect(txtFrequencyA, &lists::FrequencyBox::enterPressed, this, &frmLog::txtFrequencyA_Enter);
    head->addWidget(txtFrequencyA);

    grdTitles = new QTableWidget(1, 16, this);
    grdTitles->setObjectName(QStringLiteral("grdTitles"));
    grdTitles->horizontalHeader()->hide();
    grdTitles->verticalHeader()->hide();
    grdTitles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTitles->setSelectionMode(QAbstractItemView::NoSelection);
    grdTitles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdTitles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdTitles->setWordWrap(false);
    grdTitles->setFocusPolicy(Qt::NoFocus);
    grdTitles->setFixedHeight(grdTitles->verticalHeader()->defaultSectionSize() + 4);
    top->addWidget(grdTitles);

    model = new LogTableModel(this);
    grdLog = new QTableView(this);
    grdLog->setObjectName(QStringLiteral("grdLog"));
    grdLog->setModel(model);
    grdLog->horizontalHeader()->hide();
    grdLog->verticalHeader()->hide();
    // Fixed row heights keep a refresh of a large logbook quick.
    grdLog->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdLog->setWordWrap(false);
    grdLog->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(grdLog, &QTableView::clicked, this, [this](const QModelIndex &i) { grdLog_Click(i.row(), i.column()); });
    // The titles follow the grid's horizontal scrolling, pixel for pixel: by
    // whole columns the two views, one with a vertical bar, would stop apart.
    grdTitles->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grdLog->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(grdLog->horizontalScrollBar(), &QScrollBar::valueChanged, grdTitles->horizontalScrollBar(),
            &QScrollBar::setValue);
    // Rows, columns or a new width decide whether the blank title is needed.
    for (QScrollBar *bar : {grdLog->horizontalScrollBar(), grdLog->verticalScrollBar()})
        connect(bar, &QScrollBar::rangeChanged, this, &frmLog::fitBlankTitle);
    top->addWidget(grdLog, 1);

    auto *buttons = new QHBoxLayout;
    top->addLayout(buttons);
    auto add = [&](QPushButton *&b, const char *name, const char *caption, void (frmLog::*handler)()) {
        b = makeButton(QLatin1String(name), QLatin1String(caption), this);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, handler);
    };
    add(cmdLoad, "cmdLoad", "Load Log File", &frmLog::cmdLoad_Click);
    add(cmdAddrecord, "cmdAddrecord", "Add Record", &frmLog::cmdAddrecord_Click);
    add(cmdChangerecord, "cmdChangerecord", "Change Record", &frmLog::cmdChangerecord_Click);
    add(cmdDeleterecord, "cmdDeleterecord", "Delete Record", &frmLog::cmdDeleterecord_Click);
    add(cmdFormat, "cmdFormat", "Format", &frmLog::cmdFormat_Click);
    add(cmdSort, "cmdSort", "Sort", &frmLog::cmdSort_Click);
    add(cmdSave, "cmdSave", "Save", &frmLog::cmdSave_Click);
    add(cmdsaveas, "cmdsaveas", "Save As", &frmLog::cmdsaveas_Click);
    add(cmdClose, "cmdClose", "Close", &frmLog::cmdClose_Click);
    add(cmdDiduzu, "cmdDiduzu", "DiDuzu", &frmLog::cmdDiduzu_Click);
    add(cmdWidth, "cmdWidth", "W", &frmLog::cmdWidth_Click);
    add(cmdHeigh, "cmdHeigh", "L", &frmLog::cmdHeigh_Click);
    add(cmdExit, "cmdExit", "Exit", &frmLog::cmdExit_Click);
    grdLog->setMinimumHeight(px(2895));
    resize(narrowWidth(), px(4500));
}

int frmLog::narrowWidth()
{
    // The row of buttons may need more than the design width.
    layout()->activate();
    return std::max(px(9390), minimumSizeHint().width());
}

void frmLog::Form_Load()
{
    logStore().colmask = readLogColumnMask();
    // Every load starts small and narrow, whatever the last one left.
    m_height = m_width = 0;
    cmdHeigh->setText(QStringLiteral("L"));
    cmdWidth->setText(QStringLiteral("W"));
    grdLog->setMinimumHeight(px(2895));
    m_entryOpen = false;
    model->clearRows();
    Loggridformat();
    Logbuttons(false);
    resize(narrowWidth(), px(4500));
    links::add(static_cast<FrequencyBoxLink *>(this));
    links::add(static_cast<ClockCaptionLink *>(this));
}

void frmLog::Form_Unload()
{
    // An entry still open is given up as by its Cancel.
    if (Windows::loaded(WindowId::frmLoginput))
        if (TavForm *d = Windows::existing(WindowId::frmLoginput))
            d->unload();
    m_entryOpen = false;
    links::remove(static_cast<FrequencyBoxLink *>(this));
    links::remove(static_cast<ClockCaptionLink *>(this));
}

void frmLog::Loggridformat()
{
    const QVector<int> fields = shownFields(logStore().colmask);
    const int cols = int(fields.size()) + 1;
    const QFontMetrics fm = grdLog->fontMetrics();
    grdTitles->setColumnCount(cols + 1);
    grdTitles->setColumnWidth(0, columnPixels(fm, 0));
    grdTitles->setItem(0, 0, new QTableWidgetItem(logColumnTitles()[0]));
    for (int c = 1; c < cols; ++c) {
        const int f = fields[c - 1];
        grdTitles->setColumnWidth(c, columnPixels(fm, f + 1));
        grdTitles->setItem(0, c, new QTableWidgetItem(logColumnTitles()[size_t(f + 1)]));
    }
    if (model->columnCount() != cols)
        model->takeMask();
    for (int c = 0; c < cols; ++c)
        grdLog->setColumnWidth(c, grdTitles->columnWidth(c));
    fitBlankTitle();
}

void frmLog::fitBlankTitle()
{
    // One blank column more, as wide as the grid's vertical scroll bar, lets
    // the titles scroll as far right as the grid does when that bar shows.
    // It holds nothing (after a narrower mask it is where a title stood), and
    // it is there only while the grid scrolls sideways with that bar: else
    // it would stand as an empty cell after the last title.
    const int blank = grdTitles->columnCount() - 1;
    delete grdTitles->takeItem(0, blank);
    grdTitles->setColumnWidth(blank, grdLog->verticalScrollBar()->sizeHint().width());
    const bool needed = grdLog->verticalScrollBar()->maximum() > 0 && grdLog->horizontalScrollBar()->maximum() > 0;
    for (int c = 0; c <= blank; ++c)
        grdTitles->setColumnHidden(c, c == blank && !needed);
}

void frmLog::Logbuttons(bool enabled)
{
    m_recordButtons = enabled;
    applyButtons();
}

void frmLog::entryDialogOpen(bool open)
{
    m_entryOpen = open;
    applyButtons();
}

void frmLog::applyButtons()
{
    for (QPushButton *b : {cmdAddrecord, cmdChangerecord, cmdDeleterecord, cmdSort, cmdSave, cmdsaveas, cmdClose})
        b->setEnabled(m_recordButtons && !m_entryOpen);
    cmdFormat->setEnabled(m_recordButtons);
    cmdLoad->setEnabled(!m_entryOpen);
    cmdExit->setEnabled(!m_entryOpen);
}

void frmLog::log2grid()
{
    HourglassGuard busy;
    model->refresh();
    Loggridformat();
}

void frmLog::fileLoaded(const QString &name)
{
    lblDbname->setText(name);
    log2grid();
    Logbuttons(true);
}

int frmLog::currentRow() const
{
    const QModelIndex i = grdLog->currentIndex();
    return i.isValid() ? i.row() : 0;
}

void frmLog::selectCell(int row, int column) { grdLog->setCurrentIndex(model->index(row, column)); }

void frmLog::cmdLoad_Click()
{
    if (m_entryOpen)
        return;
    frmLoadfile::showFor(FileKind::Log);
}

void frmLog::cmdAddrecord_Click()
{
    if (m_entryOpen)
        return;
    if (logStore().records.size() >= LogStore::capacity()) {
        msgBox(QStringList{QStringLiteral("The logbook is full: it holds %1 records.").arg(LogStore::capacity()),
                           QStringLiteral("A larger log size can be chosen in the set-up.")},
               MsgIcon::Exclamation, QStringLiteral("Logging"));
        return;
    }
    if (auto *d = Windows::get<frmLoginput>()) {
        d->load();
        d->beginAdd();
        d->showModeless();
    }
}

void frmLog::cmdChangerecord_Click()
{
    if (m_entryOpen)
        return;
    const int sel = currentRow() - 1;
    if (sel < 0 || sel > logStore().logcount()) {
        msgBox(QStringLiteral("No record selected"), MsgIcon::Exclamation, QStringLiteral("Logging"));
        return;
    }
    if (auto *d = Windows::get<frmLoginput>()) {
        d->load();
        d->beginChange(sel);
        d->showModeless();
    }
}

void frmLog::cmdDeleterecord_Click()
{
    if (m_entryOpen)
        return;
    const int del = currentRow() - 1;
    LogStore &s = logStore();
    if (del < 0 || del > s.logcount()) {
        msgBox(QStringLiteral("No record selected"), MsgIcon::Exclamation, QStringLiteral("Logging"));
        return;
    }
    const int answer = msgBox(QStringList{QStringLiteral("You are sure you want to delete"),
                                          QStringLiteral("record ") + logRecordNumber(del) +
                                              QStringLiteral(" about frequency ") + s.records[del][LogFreq] +
                                              QStringLiteral("?")},
                              MsgIcon::Question, QStringLiteral("Check on Delete"), MsgButtons::OKCancel);
    if (answer != vbOK)
        return;
    s.records.removeAt(del);
    log2grid();
}

void frmLog::cmdFormat_Click()
{
    if (TavForm *f = Windows::get(WindowId::frmLogFormat))
        f->showModal();
}

void frmLog::cmdSort_Click()
{
    if (m_entryOpen)
        return;
    if (TavForm *f = Windows::get(WindowId::frmLogsort))
        f->showModal();
}

void frmLog::cmdSave_Click()
{
    if (m_entryOpen)
        return;
    saveToFile();
}

bool frmLog::hasUnsavedChanges()
{
    const frmLoginput *entry = Windows::existing<frmLoginput>();
    return (m_entryOpen && entry && entry->holdsTyping()) || (m_recordButtons && logStore().unsaved());
}

void frmLog::saveChanges()
{
    // A record still being entered goes in first, as its OK puts it; one
    // that OK refuses keeps the dialog, and the window, open.
    if (auto *entry = Windows::existing<frmLoginput>(); m_entryOpen && entry && entry->holdsTyping()) {
        entry->cmdOk_Click();
        if (m_entryOpen)
            return;
    }
    saveToFile();
}

void frmLog::saveToFile()
{
    const int answer = askReplace(FileKind::Log, currentFilePath(FileKind::Log),
                                  QStringLiteral("File ") + G.filenames[FileKind::Log] + QStringLiteral(" already exist."),
                                  QStringLiteral("Save file"));
    if (answer != vbYes)
        return;
    // The old file stays until the new one is completely written.
    checkoverwrite(FileKind::Log, false);
    const FileResult r = runWriter(FileKind::Log);
    if (!r.ok) {
        msgBox(QStringList{QStringLiteral("Something went wrong while"), QStringLiteral("saving your data to a file ! ! !"),
                           r.error},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    msgBox(QStringList{QStringLiteral("The data is now saved"), QStringLiteral("to the file ") + G.filenames[FileKind::Log]},
           MsgIcon::Exclamation, QStringLiteral("Save File"));
}

void frmLog::cmdsaveas_Click()
{
    if (m_entryOpen)
        return;
    frmSavefile::showFor(FileKind::Log);
    // Save writes to the name Save As took, so the label names that file.
    lblDbname->setText(G.filenames[FileKind::Log]);
}

void frmLog::cmdClose_Click()
{
    if (m_entryOpen)
        return;
    cmdSave_Click();
    model->clearRows();
    Logbuttons(false);
}

void frmLog::cmdDiduzu_Click() { showChosenPanel(); }

void frmLog::cmdWidth_Click()
{
    m_width = 1 - m_width;
    cmdWidth->setText(m_width ? QStringLiteral("N") : QStringLiteral("W"));
    // Wide adds the design's difference to whatever the narrow window needs,
    // so the toggle always shows more columns.
    const int narrow = narrowWidth();
    resize(m_width ? narrow + px(kWideExtraTwips) : narrow, height());
    grdTitles->viewport()->update();
    grdLog->viewport()->update();
}

void frmLog::cmdHeigh_Click()
{
    m_height = 1 - m_height;
    cmdHeigh->setText(m_height ? QStringLiteral("S") : QStringLiteral("L"));
    grdLog->setMinimumHeight(px(m_height ? 5790 : 2895));
    // The window's minimum follows the grid's only once the layout has run;
    // before that a shrink back to small would be refused.
    layout()->activate();
    resize(width(), std::max(px(m_height ? 7395 : 4500), minimumSizeHint().height()));
    update();
    grdLog->viewport()->update();
}

void frmLog::cmdExit_Click()
{
    if (m_entryOpen)
        return;
    const int answer = msgBox(QStringList{QStringLiteral("Do you want to save data"),
                                          QStringLiteral("from the Logging window")},
                              MsgIcon::Question, QStringLiteral("Exit"), MsgButtons::YesNoCancel);
    if (answer == vbYes)
        cmdsaveas_Click();
    else if (answer == vbNo)
        unload();
}

void frmLog::grdLog_Click(int row, int column)
{
    selectCell(row, column);
    // Which field a column holds comes from the mask, whatever the widths.
    const int field = model->fieldOfColumn(column);
    if (field < 0 || !logFieldTunes(field))
        return;
    Hub &h = hub();
    h.Change2FreqA(numericValue(model->cellText(row, column)));
    if (row >= 1 && row - 1 <= logStore().logcount())
        h.SetRx2mfa(logStore().records[row - 1][LogRxSetting].left(1));
}

void frmLog::txtFrequencyA_Enter() { lists::tuneToText(txtFrequencyA->text()); }

} // namespace tav
