#include "lists/frmScratchpad.h"
#include "drivers/receiver.h"

#include "hub/frmSavefile.h"
#include "core/tickguard.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "lists/scanpick.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QVBoxLayout>
#include <cmath>

namespace tav::lists {

QVariant ScratchPadModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return m_pad.cells[size_t(index.row())][size_t(index.column())];
}

void ScratchPadModel::changed()
{
    emit dataChanged(index(0, 0), index(ScratchPad::kRows - 1, ScratchPad::kCells - 1));
}

frmScratchpad::frmScratchpad() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Frequency Scratchpad"));
    auto *top = new QHBoxLayout(this);

    auto *left = new QVBoxLayout;
    top->addLayout(left);
    auto *header = new QHBoxLayout;
    left->addLayout(header);
    auto *padRow = new QHBoxLayout;
    left->addLayout(padRow);
    m_model = new ScratchPadModel(m_pad, this);
    grdScratchpad = makeGridView(QStringLiteral("grdScratchpad"), m_model, QVector<int>(ScratchPad::kCells, 885), this);
    grdScratchpad->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdScratchpad->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int rh = grdScratchpad->verticalHeader()->defaultSectionSize();
    grdScratchpad->setFixedHeight(ScratchPad::kRows * rh + 2 * grdScratchpad->frameWidth());
    int gw = 2 * grdScratchpad->frameWidth();
    for (int c = 0; c < ScratchPad::kCells; ++c)
        gw += grdScratchpad->columnWidth(c);
    grdScratchpad->setFixedWidth(gw);
    padRow->addWidget(grdScratchpad);

    // The column numbers stand over their columns, "Notes" over the notes.
    QString numbers = QStringLiteral("<table cellspacing=0 cellpadding=0><tr>");
    for (int c = 0; c < ScratchPad::kCells; ++c)
        numbers += QStringLiteral("<td width=%1>&nbsp;%2</td>").arg(grdScratchpad->columnWidth(c)).arg(c + 1);
    numbers += QStringLiteral("</tr></table>");
    lblTitles = makeLabel(QStringLiteral("lblTitles"), numbers, this);
    lblTitles->setTextFormat(Qt::RichText);
    lblTitles->setFixedWidth(gw);
    header->addWidget(lblTitles);
    const int scanWidth = fontMetrics().horizontalAdvance(QStringLiteral("Scan m")) + 16;
    header->addSpacing(padRow->spacing() + scanWidth + 6);

    // A scan button and a notes box beside each row.
    auto *side = new QGridLayout;
    side->setVerticalSpacing(0);
    padRow->addLayout(side);
    lblNotes = makeLabel(QStringLiteral("lblNotes"), QStringLiteral("Notes"), this);
    for (int r = 0; r < ScratchPad::kRows; ++r) {
        cmdScan[size_t(r)] =
            arrayButton(QStringLiteral("cmdScan"), r, QStringLiteral("Scan ") + QChar(u'a' + r), this);
        cmdScan[size_t(r)]->setFixedHeight(rh);
        cmdScan[size_t(r)]->setFixedWidth(scanWidth);
        side->addWidget(cmdScan[size_t(r)], r, 0);
        auto *n = new QLineEdit(this);
        n->setObjectName(QStringLiteral("txtNotes(%1)").arg(r));
        n->setMaxLength(40);
        // The pad's file ends the notes at the first comma.
        keepLatin1(n, QStringLiteral("The note"), QStringLiteral(","));
        n->setFixedHeight(rh);
        n->setMinimumWidth(200);
        txtNotes[size_t(r)] = n;
        side->addWidget(n, r, 1);
        connect(cmdScan[size_t(r)], &QPushButton::clicked, this, [this, r] { cmdScan_Click(r); });
    }
    header->addWidget(lblNotes, 1);
    auto *notesBar = new QHBoxLayout;
    notesBar->addStretch(1);
    cmdClrnotes = makeButton(QStringLiteral("cmdClrnotes"), QStringLiteral("Clear Notes"), this);
    notesBar->addWidget(cmdClrnotes);
    left->addLayout(notesBar);
    left->addStretch(1);

    auto *cmds = new QVBoxLayout;
    top->addLayout(cmds);
    txtFrequencyA = new FrequencyBox(this);
    cmdRx2sp = makeButton(QStringLiteral("cmdRx2sp"), QStringLiteral("To Scratchpad "), this);
    cmdSp2rx = makeButton(QStringLiteral("cmdSp2rx"), QStringLiteral("To Receiver"), this);
    cmdClrcell = makeButton(QStringLiteral("cmdClrcell"), QStringLiteral("Clear Cell"), this);
    cmdClrgrid = makeButton(QStringLiteral("cmdClrgrid"), QStringLiteral("Clear Grid"), this);
    cmdLoad = makeButton(QStringLiteral("cmdLoad"), QStringLiteral("Load"), this);
    cmdSave = makeButton(QStringLiteral("cmdSave"), QStringLiteral("Save As"), this);
    lblDelay = makeLabel(QStringLiteral("lblDelay"), QStringLiteral("Delay"), this);
    txtScandelay = new QLineEdit(QStringLiteral("2"), this);
    txtScandelay->setObjectName(QStringLiteral("txtScandelay"));
    cmdStop = makeButton(QStringLiteral("cmdStop"), QStringLiteral("Stop"), this);
    cmdDiduzu = makeButton(QStringLiteral("cmdDiduzu"), QStringLiteral("DiDuzu"), this);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    cmds->addWidget(txtFrequencyA);
    for (QWidget *w : std::initializer_list<QWidget *>{cmdRx2sp, cmdSp2rx, cmdClrcell, cmdClrgrid, cmdLoad, cmdSave,
                                                      lblDelay, txtScandelay, cmdStop, cmdDiduzu, cmdExit})
        cmds->addWidget(w);
    cmds->addStretch(1);

    tmrScan.setObjectName(QStringLiteral("tmrScan"));
    connect(&tmrScan, &QTimer::timeout, this, &frmScratchpad::tmrScan_Timer);
    connect(grdScratchpad, &QTableView::doubleClicked, this, [this] { grdScratchpad_DblClick(); });
    connect(txtFrequencyA, &FrequencyBox::enterPressed, this, &frmScratchpad::txtFrequencyA_KeyEnter);
    connect(cmdRx2sp, &QPushButton::clicked, this, &frmScratchpad::cmdRx2sp_Click);
    connect(cmdSp2rx, &QPushButton::clicked, this, &frmScratchpad::cmdSp2rx_Click);
    connect(cmdClrcell, &QPushButton::clicked, this, &frmScratchpad::cmdClrcell_Click);
    connect(cmdClrgrid, &QPushButton::clicked, this, &frmScratchpad::cmdClrgrid_Click);
    connect(cmdClrnotes, &QPushButton::clicked, this, &frmScratchpad::cmdClrnotes_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &frmScratchpad::cmdLoad_Click);
    connect(cmdSave, &QPushButton::clicked, this, &frmScratchpad::cmdSave_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmScratchpad::cmdStop_Click);
    connect(cmdDiduzu, &QPushButton::clicked, this, &frmScratchpad::cmdDiduzu_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmScratchpad::cmdExit_Click);
}

void frmScratchpad::Form_Load()
{
    // The boxes come up as built; the scan's column and last frequency carry on.
    m_scanning = false;
    setScanControls(true);
    for (QLineEdit *n : txtNotes)
        n->clear();
    txtScandelay->setText(QStringLiteral("2"));
    txtFrequencyA->clear();
    cleargridscratchpad();
    m_saved = currentLines();
    links::add(static_cast<FrequencyBoxLink *>(this));
}

QStringList frmScratchpad::currentLines() const
{
    ScratchPad pad = m_pad;
    for (int r = 0; r < ScratchPad::kRows; ++r)
        pad.notes[size_t(r)] = txtNotes[size_t(r)]->text();
    return pad.toLines();
}

void frmScratchpad::Form_Unload()
{
    links::remove(static_cast<FrequencyBoxLink *>(this));
    // Closing the window ends its scan and gives back the receiver it held.
    if (m_scanning)
        endScan();
}

int frmScratchpad::currentRow() const
{
    const QModelIndex i = grdScratchpad->currentIndex();
    return i.isValid() ? i.row() : 0;
}

int frmScratchpad::currentColumn() const
{
    const QModelIndex i = grdScratchpad->currentIndex();
    return i.isValid() ? i.column() : 0;
}

void frmScratchpad::setCurrentCell(int row, int column)
{
    grdScratchpad->setCurrentIndex(m_model->index(row, column));
}

void frmScratchpad::setCell(int row, int column, const QString &text)
{
    m_pad.cells[size_t(row)][size_t(column)] = text;
    m_model->changed();
}

void frmScratchpad::cleargridscratchpad()
{
    m_pad.clearCells();
    m_model->changed();
    grdScratchpad->clearSelection();
    setCurrentCell(0, 0);
}

void frmScratchpad::cmdRx2sp_Click()
{
    if (goModel().isNone())
        return;
    setCell(currentRow(), currentColumn(), hub().panelFrequencyText());
}

void frmScratchpad::cmdSp2rx_Click() { tuneToText(cell(currentRow(), currentColumn())); }

void frmScratchpad::grdScratchpad_DblClick()
{
    if (cell(currentRow(), currentColumn()).isEmpty())
        cmdRx2sp_Click();
    else
        cmdSp2rx_Click();
}

void frmScratchpad::cmdClrcell_Click()
{
    if (msgBox(QStringList{QStringLiteral("You are sure you want to clear"),
                           QStringLiteral("the active scratchpad gridcell")},
               MsgIcon::Question, QStringLiteral("Clear grid cell check"), MsgButtons::YesNoCancel) == vbYes)
        setCell(currentRow(), currentColumn(), QString());
}

void frmScratchpad::cmdClrgrid_Click()
{
    if (msgBox(QStringList{QStringLiteral("You are sure you want to clear"), QStringLiteral("the whole scratchpad grid")},
               MsgIcon::Question, QStringLiteral("Clear grid check"), MsgButtons::YesNoCancel) == vbYes)
        cleargridscratchpad();
}

void frmScratchpad::cmdClrnotes_Click()
{
    if (msgBox(QStringList{QStringLiteral("You are sure you want"), QStringLiteral("to clear the Notes textboxes")},
               MsgIcon::Question, QStringLiteral("Clear Notes check"), MsgButtons::YesNoCancel) == vbYes)
        for (QLineEdit *n : txtNotes)
            n->clear();
}

void frmScratchpad::cmdLoad_Click()
{
    // A load replaces every cell and the notes of each row the file reaches.
    if (askToDropChanges(QStringLiteral("replaced")))
        showLoadDialog(this, FileKind::Scratchpad);
}

void frmScratchpad::cmdSave_Click()
{
    Busy busy(this);
    frmSavefile::showFor(FileKind::Scratchpad);
}

void frmScratchpad::cmdExit_Click()
{
    const int answer = msgBox(QStringList{QStringLiteral("Do you want to save data"),
                                          QStringLiteral("from the Frequency Scratchpad")},
                              MsgIcon::Question, QStringLiteral("Exit"), MsgButtons::YesNoCancel);
    if (answer == vbYes)
        cmdSave_Click();
    else if (answer == vbNo)
        unload();
}

void frmScratchpad::cmdDiduzu_Click() { showChosenPanel(); }

void frmScratchpad::txtFrequencyA_KeyEnter() { tuneToText(txtFrequencyA->text()); }

FileResult frmScratchpad::fspfile2ram(const QString &path)
{
    HourglassGuard hourglass;
    QString why;
    qint64 past = 0;
    const std::optional<QStringList> lines = readKindFile(path, filelimits::kScratchPad, &why, &past);
    if (!lines)
        return FileResult::failure(QStringLiteral("The file could not be opened: ") + why + QLatin1Char('.'));
    for (int r = 0; r < ScratchPad::kRows; ++r)
        m_pad.notes[size_t(r)] = txtNotes[size_t(r)]->text();
    cleargridscratchpad();
    const int cut = m_pad.readLines(*lines);
    m_model->changed();
    // What the file holds: notes kept in rows it does not reach are not in it.
    ScratchPad fromFile;
    fromFile.readLines(*lines);
    m_saved = fromFile.toLines();
    for (int r = 0; r < ScratchPad::kRows; ++r)
        txtNotes[size_t(r)]->setText(m_pad.notes[size_t(r)]);
    // A save would lose the cells past the eighth, as it loses lines past the tenth.
    if (cut > 0)
        reportFieldsCut(QFileInfo(path).fileName(), ScratchPad::kCells, QStringLiteral("cells"));
    return FileResult::loaded({past + cut, false});
}

FileResult frmScratchpad::fspram2file(const QString &path)
{
    for (int r = 0; r < ScratchPad::kRows; ++r)
        m_pad.notes[size_t(r)] = txtNotes[size_t(r)]->text();
    QString error;
    if (!writeTextLines(path, m_pad.toLines(), &error))
        return FileResult::failure(error);
    m_saved = m_pad.toLines();
    return FileResult::success();
}

QStringList frmScratchpad::rowTexts(int row) const
{
    QStringList t;
    for (const QString &c : m_pad.cells[size_t(row)])
        t << c;
    return t;
}

void frmScratchpad::setScanControls(bool enabled)
{
    for (int r = 0; r < ScratchPad::kRows; ++r) {
        cmdScan[size_t(r)]->setEnabled(enabled);
        txtNotes[size_t(r)]->setEnabled(enabled);
    }
    for (QWidget *w : std::initializer_list<QWidget *>{cmdRx2sp, cmdSp2rx, cmdClrnotes, cmdClrgrid, cmdClrcell,
                                                      cmdDiduzu, cmdSave, cmdLoad, cmdExit, grdScratchpad})
        w->setEnabled(enabled);
    cmdStop->setEnabled(true);
    QFont f = cmdStop->font();
    f.setBold(!enabled);
    cmdStop->setFont(f);
}

void frmScratchpad::cmdScan_Click(int row)
{
    if (row < 0 || row >= ScratchPad::kRows || m_scanning || !m_run.begin())
        return;
    setCurrentCell(row, currentColumn());
    m_scanRow = row;
    if (countInRange(rowTexts(row), goModel().freqMinKHz, goModel().freqMaxKHz) < 2) {
        msgBox(QStringList{QStringLiteral("Not enough valid    "), QStringLiteral("frequencies filled  "),
                           QStringLiteral("in for scanning     ")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    const double delay = numericValue(txtScandelay->text());
    if (delay < 1 || delay > 60) {
        msgBox(QStringList{QStringLiteral("Scan delay outside range."),
                           QStringLiteral("Select value between 1 and 60 sec.")},
               MsgIcon::Critical, QStringLiteral("Error"));
        return;
    }
    tmrScan.setInterval(int(std::lround(delay * 1000)));
    setScanControls(false);
    m_scanning = true;
    Receiver::hold(this, true);
    tmrScan.start();
}

void frmScratchpad::tmrScan_Timer()
{
    // The tuning's wait (or the hub's message) runs the event loop: the next
    // tick does not start inside this one.
    const TickGuard tick(this, m_ticking, m_run);
    if (!tick || !m_scanning)
        return;
    const std::optional<int> pick = nextScanIndex(rowTexts(m_scanRow), m_column, m_last, goModel().freqMinKHz, goModel().freqMaxKHz);
    if (!pick)
        return;
    const double v = numericValue(cell(m_scanRow, *pick));
    hub().Change2FreqA(v);
    if (!isLoadedForm())
        return;
    const QModelIndex at = m_model->index(m_scanRow, *pick);
    grdScratchpad->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect);
    m_column = (*pick + 1) % ScratchPad::kCells;
    m_last = v;
}

void frmScratchpad::endScan()
{
    tmrScan.stop();
    m_scanning = false;
    // A panel that is closing gives the receiver back itself.
    TavForm *panel = Windows::existing(goModel().panel);
    if (panel && panel->isLoadedForm())
        Receiver::hold(this, false);
}

void frmScratchpad::cmdStop_Click()
{
    // Stop means something only while a scan runs.
    if (!m_scanning)
        return;
    endScan();
    setScanControls(true);
}

} // namespace tav::lists
