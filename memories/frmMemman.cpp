#include "memories/frmMemman.h"

#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "core/tickguard.h"
#include "core/comm.h"
#include "core/delay.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "drivers/memrecord.h"
#include "drivers/receiver.h"
#include "memories/frmMemcell.h"
#include "memories/memprint.h"
#include "memories/memtext.h"
#include "hub/hub.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace tav {

namespace {

const QString kNoData = QStringLiteral("No data loaded in the");

int px(int twips) { return int(twips / twipsPerPixel() + 0.5); }

const char *const kTitles[6] = {" NR", " FREQUENCY", "MD", " BW", " ADDITIONAL INFO", ""};

// The twip widths were drawn for a small system font; a column is widened so
// its title and its widest entry ("00000.000", four-letter names) stay whole.
// Both grids get the same widths so the titles stand over their columns.
int columnWidth(int c, int twips, const QFont &titleFont, const QFont &gridFont)
{
    static const char *const widest[4] = {"000", "00000.000", "WWWWW", "WWWWW"};
    int w = px(twips);
    if (c < 4) {
        w = std::max(w, QFontMetrics(titleFont).horizontalAdvance(QLatin1String(kTitles[c])) + 14);
        w = std::max(w, QFontMetrics(gridFont).horizontalAdvance(QLatin1String(widest[c])) + 14);
    }
    return w;
}

// Whether a write of this record changes the receiver's channel: a receiver
// that cannot empty a channel stores nothing for a record without a
// frequency it keeps (an empty channel among them).
bool writeChangesChannel(const RxModel &m, const QString &record)
{
    if (m.emptiesChannels)
        return true;
    return memFieldText(record, memcol::Kind) == QLatin1String("MEM") && m.storesHz(memFieldValue(record, memcol::Frequency));
}

// A JRC receiver held in remote for a transfer, released however it ends.
class ToolHold {
public:
    explicit ToolHold(const QObject *tool) : m_tool(tool) { Receiver::hold(m_tool, true); }
    ~ToolHold() { Receiver::hold(m_tool, false); }
    ToolHold(const ToolHold &) = delete;
    ToolHold &operator=(const ToolHold &) = delete;

private:
    const QObject *m_tool;
};

} // namespace

// ---- grid model -----------------------------------------------------------

int MemGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : memState().image.lastCell() + 1;
}

int MemGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : 5; }

QVariant MemGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.column() > 4)
        return QVariant();
    return memGridRow(memState().image, index.row())[size_t(index.column())];
}

void MemGridModel::refreshRow(int cell)
{
    if (cell < 0 || cell >= rowCount())
        return;
    emit dataChanged(index(cell, 0), index(cell, 4));
}

void MemGridModel::refreshAll()
{
    beginResetModel();
    endResetModel();
}

// ---- window -----------------------------------------------------------------

frmMemman::frmMemman() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Memory Management"));
    auto *top = new QVBoxLayout(this);

    grdTitles = new QTableWidget(1, 6, this);
    grdTitles->setObjectName(QStringLiteral("grdTitles"));
    grdTitles->horizontalHeader()->hide();
    grdTitles->verticalHeader()->hide();
    grdTitles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTitles->setSelectionMode(QAbstractItemView::NoSelection);
    grdTitles->setFocusPolicy(Qt::NoFocus);
    grdTitles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdTitles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    top->addWidget(grdTitles);

    model = new MemGridModel(this);
    grdMemman = new QTableView(this);
    grdMemman->setObjectName(QStringLiteral("grdMemman"));
    grdMemman->setModel(model);
    grdMemman->horizontalHeader()->hide();
    grdMemman->verticalHeader()->hide();
    grdMemman->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdMemman->setSelectionMode(QAbstractItemView::ContiguousSelection);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    grdMemman->setFont(mono);
    const int titleWidths[6] = {600, 1200, 600, 600, 2200, 3400};
    for (int c = 0; c < 6; ++c)
        grdTitles->setColumnWidth(c, columnWidth(c, titleWidths[c], grdTitles->font(), mono));
    grdTitles->setFixedHeight(grdTitles->rowHeight(0) + 4);
    const int widths[5] = {600, 1200, 600, 600, 5600};
    for (int c = 0; c < 5; ++c)
        grdMemman->setColumnWidth(c, columnWidth(c, widths[c], grdTitles->font(), mono));
    // Rows as tall as the text, so the grid shows the rows the scan expects.
    grdMemman->verticalHeader()->setMinimumSectionSize(1);
    grdMemman->verticalHeader()->setDefaultSectionSize(QFontMetrics(mono).height() + 4);
    grdMemman->setFixedHeight(px(3375));
    top->addWidget(grdMemman);
    connect(grdMemman, &QTableView::clicked, this, [this](const QModelIndex &i) { grdMemman_Click(i.row()); });
    connect(grdMemman, &QTableView::doubleClicked, this,
            [this](const QModelIndex &i) { grdMemman_DblClick(i.row()); });

    auto *row = new QHBoxLayout;
    top->addLayout(row);

    fraDetail = makeFrame(QStringLiteral("fraDetail"), QStringLiteral("Cell related additional info"), this);
    auto *dg = new QGridLayout(fraDetail);
    auto detail = [&](int r, const char *nameLabel, const char *caption, const char *valueLabel) {
        dg->addWidget(makeLabel(QLatin1String(nameLabel), QLatin1String(caption), fraDetail), r, 0);
        QLabel *v = makeLabel(QLatin1String(valueLabel), QString(), fraDetail);
        v->setMinimumWidth(60);
        dg->addWidget(v, r, 1);
        return v;
    };
    lblCellnr = detail(0, "lblNcellnr", "Cell nr", "lblCellnr");
    lblAtt = detail(1, "lblNatt", "Attenuator", "lblAtt");
    lblAgc = detail(2, "lblNagc", "Agcspeed", "lblAgc");
    lblPBS = detail(3, "lblNpbs", "PBS", "lblPBS");
    lblBfo = detail(4, "lblNbfo", "BFO", "lblBfo");
    lblSql = detail(5, "lblNsql", "Squelch", "lblSql");
    lblScan = makeLabel(QStringLiteral("lblScan"), QString(), fraDetail);
    dg->addWidget(lblScan, 0, 2);
    row->addWidget(fraDetail);

    auto frame = [&](const char *name) {
        QGroupBox *f = makeFrame(QLatin1String(name), QString(), this);
        row->addWidget(f);
        return f;
    };
    fraLoad = frame("fraLoad");
    auto *lg = new QGridLayout(fraLoad);
    cmdHeigh = makeButton(QStringLiteral("cmdHeigh"), QStringLiteral("L"), fraLoad);
    cmdDiduzu = makeButton(QStringLiteral("cmdDiduzu"), QStringLiteral("RxCtr"), fraLoad);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), fraLoad);
    cmdCls = makeButton(QStringLiteral("cmdCls"), QStringLiteral("Cls"), fraLoad);
    cmdPrint = makeButton(QStringLiteral("cmdPrint"), QStringLiteral("Print"), fraLoad);
    cmdsaveas = makeButton(QStringLiteral("cmdsaveas"), QStringLiteral("Save"), fraLoad);
    cmdLoad = makeButton(QStringLiteral("cmdLoad"), QStringLiteral("Load"), fraLoad);
    lg->addWidget(cmdLoad, 0, 0);
    lg->addWidget(cmdsaveas, 0, 1);
    lg->addWidget(cmdPrint, 1, 0);
    lg->addWidget(cmdCls, 1, 1);
    lg->addWidget(cmdDiduzu, 2, 0);
    lg->addWidget(cmdExit, 2, 1);
    lg->addWidget(cmdHeigh, 3, 0);

    fraFetch = frame("fraFetch");
    auto *fg = new QVBoxLayout(fraFetch);
    cmdFetch = makeButton(QStringLiteral("cmdFetch"), QStringLiteral("Fetch RM"), fraFetch);
    cmdFill = makeButton(QStringLiteral("cmdFill"), QStringLiteral("Fill RM"), fraFetch);
    cmdSort = makeButton(QStringLiteral("cmdSort"), QStringLiteral("Sort Freq"), fraFetch);
    cmdSetrx2mem = makeButton(QStringLiteral("cmdSetrx2mem"), QStringLiteral("Set R2M"), fraFetch);
    for (QPushButton *b : {cmdFetch, cmdFill, cmdSort, cmdSetrx2mem})
        fg->addWidget(b);

    fraScan = frame("fraScan");
    auto *sg = new QGridLayout(fraScan);
    lblFrom = new ClickLabel(QStringLiteral("lblFrom"), QStringLiteral("From"), fraScan);
    lblTo = new ClickLabel(QStringLiteral("lblTo"), QStringLiteral("To"), fraScan);
    lblDelay = makeLabel(QStringLiteral("lblDelay"), QStringLiteral("Delay"), fraScan);
    auto box = [&](const char *name, const char *text) {
        auto *t = new QLineEdit(QLatin1String(text), fraScan);
        t->setObjectName(QLatin1String(name));
        t->setMaximumWidth(50);
        return t;
    };
    txtFrom = box("txtFrom", "0");
    txtTo = box("txtTo", "99");
    txtDelay = box("txtDelay", "1");
    sg->addWidget(lblFrom, 0, 0);
    sg->addWidget(txtFrom, 0, 1);
    sg->addWidget(lblTo, 1, 0);
    sg->addWidget(txtTo, 1, 1);
    sg->addWidget(lblDelay, 2, 0);
    sg->addWidget(txtDelay, 2, 1);
    cmdScanrun = makeButton(QStringLiteral("cmdScanrun"), QStringLiteral("Scan"), fraScan);
    cmdScanstop = makeButton(QStringLiteral("cmdScanstop"), QStringLiteral("NO Scan"), fraScan);
    cmdScanstop->setVisible(false);
    sg->addWidget(cmdScanrun, 3, 0, 1, 2);
    sg->addWidget(cmdScanstop, 4, 0, 1, 2);

    fracell = frame("fracell");
    auto *cg = new QVBoxLayout(fracell);
    cmdChange = makeButton(QStringLiteral("cmdChange"), QStringLiteral("Change"), fracell);
    cmdDump = makeButton(QStringLiteral("cmdDump"), QStringLiteral("Store R2M"), fracell);
    cmdCopy = makeButton(QStringLiteral("cmdCopy"), QStringLiteral("Copy"), fracell);
    cmdDelete = makeButton(QStringLiteral("cmdDelete"), QStringLiteral("Delete"), fracell);
    for (QPushButton *b : {cmdChange, cmdDump, cmdCopy, cmdDelete})
        cg->addWidget(b);

    tmrScan.setObjectName(QStringLiteral("tmrScan"));
    tmrScan.setParent(this);
    connect(&tmrScan, &QTimer::timeout, this, &frmMemman::tmrScan_Timer);

    connect(cmdChange, &QPushButton::clicked, this, &frmMemman::cmdChange_Click);
    connect(cmdDump, &QPushButton::clicked, this, &frmMemman::cmdDump_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmMemman::cmdCopy_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmMemman::cmdDelete_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &frmMemman::cmdLoad_Click);
    connect(cmdsaveas, &QPushButton::clicked, this, &frmMemman::cmdsaveas_Click);
    connect(cmdCls, &QPushButton::clicked, this, &frmMemman::cmdCls_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMemman::cmdExit_Click);
    connect(cmdDiduzu, &QPushButton::clicked, this, &frmMemman::cmdDiduzu_Click);
    connect(cmdHeigh, &QPushButton::clicked, this, &frmMemman::cmdHeigh_Click);
    connect(lblFrom, &ClickLabel::clicked, this, &frmMemman::lblFrom_Click);
    connect(lblTo, &ClickLabel::clicked, this, &frmMemman::lblTo_Click);
    connect(cmdFetch, &QPushButton::clicked, this, &frmMemman::cmdFetch_Click);
    connect(cmdFill, &QPushButton::clicked, this, &frmMemman::cmdFill_Click);
    connect(cmdSetrx2mem, &QPushButton::clicked, this, &frmMemman::cmdSetrx2mem_Click);
    connect(cmdSort, &QPushButton::clicked, this, &frmMemman::cmdSort_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmMemman::cmdPrint_Click);
    connect(cmdScanrun, &QPushButton::clicked, this, &frmMemman::cmdScanrun_Click);
    connect(cmdScanstop, &QPushButton::clicked, this, &frmMemman::cmdScanstop_Click);
}

frmMemman::~frmMemman() = default;

void frmMemman::Form_Load()
{
    MemoryState &m = memState();
    m.image.reset(goModel().lastCell);
    m.saved = m.image.fileLines();
    m.transferring = false;
    cellfrom = cellto = 0;
    scandelay = 0;
    scanoffset = 0;
    gridheightmode = 0;
    cmdHeigh->setText(QStringLiteral("L"));
    grdMemman->setFixedHeight(px(3375));
    // The window object outlives an unload: nothing of the last opening (the
    // details of a cell of the emptied image, the banner of a transfer cut
    // short by closing the panel, typed range and delay) may be shown again.
    clearadditionalinfo();
    txtFrom->setText(QStringLiteral("0"));
    txtDelay->setText(QStringLiteral("1"));
    cmdScanrun->setVisible(true);
    cmdScanstop->setVisible(false);
    tmrScan.stop();

    m_rxtype = memRxtype();
    m_rx = rxModel(m_rxtype).isNone() ? nullptr : makeReceiver();
    enableForImage();
    model->refreshAll();
    txtTo->setText(QLatin1Char(' ') + QString::number(goModel().lastCell));

    for (int c = 0; c < 6; ++c)
        grdTitles->setItem(0, c, new QTableWidgetItem(QLatin1String(kTitles[c])));
}

void frmMemman::Form_Unload()
{
    tmrScan.stop();
    if (TavForm *editor = Windows::existing(WindowId::frmMemcell))
        editor->unload();
    m_rx.reset();
}

// ---- procedures ---------------------------------------------------------------

void frmMemman::cleargrdmemman()
{
    grdMemman->clearSelection();
    model->refreshAll();
    grdMemman->setCurrentIndex(model->index(0, 0));
}

void frmMemman::clearadditionalinfo()
{
    for (QLabel *l : {lblCellnr, lblScan, lblSql, lblBfo, lblPBS, lblAgc, lblAtt})
        l->setText(QString());
}

void frmMemman::formatmemx2list(int cell) { model->refreshRow(cell); }

void frmMemman::memcmdenabler(bool flag)
{
    for (QPushButton *b : {cmdChange, cmdDump, cmdCopy, cmdDelete, cmdLoad, cmdsaveas, cmdPrint, cmdCls, cmdExit,
                           cmdSort, cmdDiduzu})
        b->setEnabled(flag);
    // What talks to the receiver needs one: without a receiver the image is
    // only a file's, and a Fetch would empty it for nothing.
    const RxModel &m = rxModel(m_rxtype);
    cmdSetrx2mem->setEnabled(flag && !m.isNone());
    cmdScanrun->setEnabled(flag && !m.isNone());
    const bool transfers = flag && m.offersTransfers();
    cmdFetch->setEnabled(transfers);
    cmdFill->setEnabled(transfers);
}

bool frmMemman::memarrayloaded() const { return memState().image.anyHeld(); }

void frmMemman::enableForImage()
{
    if (memarrayloaded()) {
        memcmdenabler(true);
        return;
    }
    memcmdenabler(false);
    for (QPushButton *b : {cmdLoad, cmdExit, cmdDiduzu})
        b->setEnabled(true);
    cmdFetch->setEnabled(rxModel(m_rxtype).offersTransfers());
}

bool frmMemman::hasUnsavedChanges()
{
    const MemoryState &m = memState();
    return m.image.anyHeld() && m.image.fileLines() != m.saved;
}

FileResult frmMemman::readMemoryFile(const QString &path, QStringList *notice)
{
    // 1000 cells of 82 bytes make the largest memory file; a far larger
    // file is refused before it is read, so no such file can fill the memory.
    if (QFileInfo(path).size() > kMemFileMaxBytes)
        return FileResult::failure(QStringLiteral("is far larger than any memory file"));
    const auto lines = readTextLines(path, kShortLineMax);
    if (!lines)
        return FileResult::failure(QStringLiteral("cannot be read"));
    const MemImage::FileRead r = memState().image.readFileLines(*lines, goModel().lastCell, memRxtype());
    memState().saved = memState().image.fileLines();
    QStringList text;
    if (!r.refused.isEmpty()) {
        text << QStringLiteral("These lines hold no channel the receiver can take,")
             << QStringLiteral("so their cells were not read:");
        const int shown = std::min<int>(r.refused.size(), 10);
        for (int i = 0; i < shown; ++i)
            text << r.refused[i];
        if (r.refused.size() > shown)
            text << QStringLiteral("and %1 more").arg(r.refused.size() - shown);
    }
    if (r.linesPast > 0)
        text << QStringLiteral("The file has more lines than the receiver has memory cells;")
             << QStringLiteral("only the first %1 were read.").arg(goModel().lastCell + 1);
    if (notice)
        *notice = text;
    // A save puts refused cells back empty, and has no place for lines past the last cell.
    return FileResult::loaded({qint64(r.refused.size()) + r.linesPast, false});
}

void frmMemman::showFileNotice(const QStringList &notice)
{
    if (!notice.isEmpty())
        msgBox(notice, MsgIcon::Exclamation, QStringLiteral("Memory file"));
}

FileResult frmMemman::memfile2ram(const QString &path)
{
    QStringList notice;
    FileResult r;
    {
        HourglassGuard busy;
        r = readMemoryFile(path, &notice);
        if (!r.ok)
            return r;
        cleargrdmemman();
        // A file whose every cell was refused leaves nothing to send, scan
        // or save (a save would blank the file it came from).
        enableForImage();
        showFileName(G.filenames[FileKind::Memories]);
    }
    showFileNotice(notice);
    return r;
}

FileResult frmMemman::memram2file(const QString &path)
{
    HourglassGuard busy;
    QString error;
    if (!writeTextLines(path, memState().image.fileLines(), &error))
        return FileResult::failure(error);
    memState().saved = memState().image.fileLines();
    showFileName(G.filenames[FileKind::Memories]);
    return FileResult::success();
}

// ---- grid and details -------------------------------------------------------

void frmMemman::showCellnr(int cell) { lblCellnr->setText(cellText(cell)); }

void frmMemman::showFileName(const QString &name) { grdTitles->setItem(0, 5, new QTableWidgetItem(name)); }

void frmMemman::grdMemman_Click(int row)
{
    MemoryState &m = memState();
    m.memcellnr = row;
    showCellnr(row);
    if (!m.image.held(row))
        return;
    const MemDetails d = memDetails(m.image.record(row));
    lblAtt->setText(d.att);
    lblAgc->setText(d.agc);
    lblPBS->setText(d.pbs);
    lblBfo->setText(d.bfo);
    lblSql->setText(d.sql);
    lblScan->setText(d.scan);
}

void frmMemman::grdMemman_DblClick(int row)
{
    grdMemman_Click(row);
    // Not in the middle of a transfer: its commands and these must not mix.
    if (!memState().transferring)
        cmdSetrx2mem_Click();
}

// ---- buttons ------------------------------------------------------------------

void frmMemman::openCellEditor(int action, const QString &caption, bool needsData)
{
    if (needsData && !memarrayloaded()) {
        msgBox(QStringList{kNoData, QStringLiteral("MemMan Window")}, MsgIcon::Exclamation,
               QStringLiteral("Change Mem error"));
        return;
    }
    memState().memcellaction = action;
    auto *editor = Windows::get<frmMemcell>();
    if (!editor)
        return;
    // A new action starts the editor afresh from the selected cell.
    editor->unload();
    editor->showModeless();
    editor->setWindowTitle(caption);
}

void frmMemman::cmdChange_Click() { openCellEditor(1, QStringLiteral("Change selected Mem Cell"), true); }
void frmMemman::cmdDump_Click() { openCellEditor(2, QStringLiteral(" Store Rx setting in Mem Cell"), false); }
void frmMemman::cmdCopy_Click() { openCellEditor(3, QStringLiteral("Copy to other Mem Cell"), true); }
void frmMemman::cmdDelete_Click() { openCellEditor(4, QStringLiteral("Delete selected Mem Cell"), true); }

void frmMemman::cmdLoad_Click()
{
    frmLoadfile::showFor(FileKind::Memories);
}

void frmMemman::cmdsaveas_Click()
{
    if (!memarrayloaded()) {
        msgBox(QStringList{kNoData, QStringLiteral("MemMan Window")}, MsgIcon::Exclamation,
               QStringLiteral("Save file error"));
        return;
    }
    frmSavefile::showFor(FileKind::Memories);
}

void frmMemman::cmdCls_Click()
{
    const int a = msgBox(QStringList{QStringLiteral("Do you want to save the "),
                                     QStringLiteral("data in the MemMan Window"),
                                     QStringLiteral("before clearing the Window")},
                         MsgIcon::Question, QStringLiteral("Clearing MemMan Window"), MsgButtons::YesNoCancel);
    if (a == vbYes) {
        cmdsaveas_Click();
    } else if (a == vbNo) {
        memState().image.reset(goModel().lastCell);
        cleargrdmemman();
        clearadditionalinfo();
        showFileName(QString());
        enableForImage();
    }
}

void frmMemman::cmdExit_Click()
{
    const int a = msgBox(QStringList{QStringLiteral("Do you want to save the contents"),
                                     QStringLiteral("of the Memory Management window")},
                         MsgIcon::Question, QStringLiteral("Exit"), MsgButtons::YesNoCancel);
    if (a == vbYes)
        cmdsaveas_Click();
    else if (a == vbNo)
        unload();
}

void frmMemman::cmdDiduzu_Click() { showChosenPanel(); }

void frmMemman::cmdHeigh_Click()
{
    gridheightmode = 1 - gridheightmode;
    if (gridheightmode == 0) {
        cmdHeigh->setText(QStringLiteral("L"));
        grdMemman->setFixedHeight(px(3375));
        resize(width(), px(6180));
    } else {
        cmdHeigh->setText(QStringLiteral("S"));
        resize(width(), px(9555));
        grdMemman->setFixedHeight(px(6750));
    }
    update();
}

void frmMemman::lblFrom_Click() { txtFrom->setText(cellText(memState().memcellnr)); }
void frmMemman::lblTo_Click() { txtTo->setText(cellText(memState().memcellnr)); }

void frmMemman::refused(const QString &title, bool resetDelay)
{
    msgBox(QStringLiteral("Input Error"), MsgIcon::Exclamation, title);
    txtFrom->setText(QStringLiteral("0"));
    txtTo->setText(QLatin1Char(' ') + QString::number(goModel().lastCell));
    if (resetDelay)
        txtDelay->setText(QStringLiteral("2"));
    txtFrom->setFocus();
}

// ---- transfers ---------------------------------------------------------------

void frmMemman::showBanner(const QString &what)
{
    lblScan->setText(QString());
    lblAtt->setText(QStringLiteral("========"));
    lblAgc->setText(what);
    lblPBS->setText(QStringLiteral("Receiver"));
    lblBfo->setText(QStringLiteral(" Memory "));
    lblSql->setText(QStringLiteral("========"));
}

bool frmMemman::transferStopped() const { return unloadPending() || !isLoadedForm() || !m_rx; }

// Reads channels 0..last; false when the receiver stopped answering (at
// `failedAt`) or the window is closing.
bool frmMemman::fetchCells(int last, int &failedAt, QString &refusal)
{
    MemImage &image = memState().image;
    m_rx->rttyOff(this);
    const ToolHold hold(this);
    m_rx->transferPause(Receiver::TransferStep::Held);
    for (int i = 0; i <= last; ++i) {
        showCellnr(i);
        QCoreApplication::processEvents();
        m_rx->transferPause(Receiver::TransferStep::BeforeRead);
        if (transferStopped())
            return false;
        const std::optional<QString> rec = m_rx->readMemory(i);
        if (transferStopped())
            return false;
        if (!rec || rec->isEmpty()) {
            failedAt = i;
            return false;
        }
        // A reply that holds no channel the receiver could store (a mode
        // that is no mode) is refused as a file's cell would be, named as
        // the receiver gave it where the record cannot hold that.
        QString problem = m_rx->memoryReplyProblem();
        if (problem.isEmpty())
            problem = memRecordProblem(*rec, m_rxtype);
        if (!problem.isEmpty()) {
            failedAt = i;
            refusal = problem;
            return false;
        }
        image.setRecord(i, *rec);
        // What the working channel holds is the receiver's state at the
        // last status read, not a memory the listener stored.
        if (workingChannel(m_rxtype) == i)
            image.setInfo(i, workingChannelTag());
        formatmemx2list(i);
    }
    return true;
}

void frmMemman::cmdFetch_Click()
{
    if (!m_rx || !m_rx->model().lastChannel)
        return; // nothing to fetch from: the image stays
    // A negative last cell reads nothing: refused before the image is touched.
    if (numericValue(txtTo->text()) < 0) {
        refused(QStringLiteral(" \u00CBrror"), false);
        return;
    }
    if (msgBox(QStringList{QStringLiteral("Do you want to capture the receiver"),
                           QStringLiteral("memory and replace possible data in"), QStringLiteral("the MemMan Window")},
               MsgIcon::Question, QStringLiteral("Fetch RX memory"), MsgButtons::YesNoCancel) != vbYes)
        return;
    MemoryState &m = memState();
    m.image.reset(goModel().lastCell);
    // The grid no longer holds the file last loaded or saved.
    showFileName(QString());
    int last = 0;
    if (auto n = cellNumber(txtTo->text()))
        last = std::clamp(*n, 0, goModel().lastCell);
    else
        last = goModel().lastCell;

    Busy busy(this);
    const NoAnswer noAnswer;
    // A failure is told once, by the transfer, not also by the panel the
    // transfer's hold refreshes.
    const CommControl::OwnWords ownWords(rxPort());
    int failedAt = -1;
    QString refusal;
    bool complete = true;
    bool ran = false;
    {
        HourglassGuard hourglass;
        memcmdenabler(false);
        cleargrdmemman();
        showBanner(QStringLiteral("Fetching"));
        m.transferring = true;
        if (m_rx && m_rx->model().lastChannel) {
            ran = true;
            complete = fetchCells(last, failedAt, refusal);
        }
        m.transferring = false;
        // A fetch that read no cell leaves nothing to edit, sort or fill.
        if (isLoadedForm())
            enableForImage();
    }
    if (unloadPending() || !isLoadedForm())
        return;
    if (!complete && failedAt >= 0) {
        const QString kept = failedAt > 0 ? QStringLiteral("Cells 000 to ") + cellText(failedAt - 1)
                                                + QStringLiteral(" are in the MemMan Window")
                                          : QStringLiteral("No cell was read");
        if (!refusal.isEmpty()) {
            msgBox(QStringList{QStringLiteral("Memory cell ") + cellText(failedAt)
                                   + QStringLiteral(" as the receiver gave it is no channel:"),
                               refusal, QStringLiteral("The fetch stopped there."), kept},
                   MsgIcon::Exclamation, QStringLiteral("Fetch Rx error"));
        } else {
            const QString when = QStringLiteral("when memory cell ") + cellText(failedAt) + QStringLiteral(" was read.");
            // A loss is told here too, with the cells that came in.
            const QStringList said = noAnswer.text(QStringList{QStringLiteral("The receiver did not answer"), when, kept},
                                                   QStringList{QStringLiteral("The line was lost"), when, kept});
            if (!said.isEmpty())
                msgBox(said, MsgIcon::Exclamation, QStringLiteral("Fetch Rx error"));
        }
    } else if (complete && ran) {
        // Nothing is announced as loaded when no channel was read.
        msgBox(QStringList{QStringLiteral("Rx memory is now loaded"), QStringLiteral("in the MemMan Window")},
               MsgIcon::Information, QStringLiteral("Fetch Rx ready"));
    }
    clearadditionalinfo();
}

// Writes the held cells of the range; cells never held are skipped. A
// write that could not be sent, or a receiver that does not answer before or
// after the run, stops it.
bool frmMemman::fillCells(const CellRange &range, int &failedAt, QVector<int> &notCleared)
{
    const MemImage &image = memState().image;
    const ToolHold hold(this);
    int lastWritten = -1;
    for (int i = range.from; i <= range.to; ++i) {
        showCellnr(i);
        QCoreApplication::processEvents();
        if (transferStopped())
            return false;
        if (!image.held(i) || workingChannel(m_rxtype) == i)
            continue;
        if (lastWritten < 0) {
            // Writes are not answered: a receiver that is not there would
            // take the whole run silently, so it must answer first.
            if (!m_rx->readMemory(i)) {
                failedAt = i;
                return false;
            }
            if (transferStopped())
                return false;
        }
        const QString rec = image.record(i);
        if (!m_rx->writeMemory(i, rec)) {
            failedAt = i;
            return false;
        }
        if (!writeChangesChannel(m_rx->model(), rec))
            notCleared << i;
        lastWritten = i;
        m_rx->transferPause(Receiver::TransferStep::AfterWrite);
    }
    if (lastWritten >= 0 && !transferStopped() && !m_rx->readMemory(lastWritten)) {
        failedAt = lastWritten;
        return false;
    }
    return !transferStopped();
}

bool frmMemman::takeCellRange(const QString &errorTitle, bool resetDelay)
{
    const auto range = cellRange(txtFrom->text(), txtTo->text(), goModel().lastCell);
    if (!range) {
        refused(errorTitle, resetDelay);
        return false;
    }
    cellfrom = range->from;
    cellto = range->to;
    return true;
}

void frmMemman::cmdFill_Click()
{
    if (!takeCellRange(QStringLiteral(" \u00CBrror"), true))
        return;
    if (msgBox(QStringList{QStringLiteral("Are sure you want to overwrite the Receiver"),
                           QStringLiteral("memorycells  ") + numSingle(cellfrom) + QStringLiteral("  to  ")
                               + numSingle(cellto),
                           QStringLiteral("with the data from the MemMan Window")},
               MsgIcon::Question, QStringLiteral("Fill Receiver Memory"), MsgButtons::YesNoCancel) != vbYes)
        return;

    MemoryState &m = memState();
    Busy busy(this);
    const NoAnswer noAnswer;
    // A failure is told once, by the transfer, not also by the panel the
    // transfer's hold refreshes.
    const CommControl::OwnWords ownWords(rxPort());
    int failedAt = -1;
    bool complete = true;
    QVector<int> notCleared;
    int skipped = 0;
    for (int i = cellfrom; i <= cellto; ++i)
        skipped += m.image.held(i) ? 0 : 1;
    // The status read overwrites the working channel at every reading, so a
    // memory written there would be lost: it is never written.
    const std::optional<int> working = workingChannel(m_rxtype);
    const bool workingLeft = working && *working >= cellfrom && *working <= cellto && m.image.held(*working);
    if (workingLeft)
        ++skipped;
    const bool ran = m_rx && m_rx->model().lastChannel;
    {
        showBanner(QStringLiteral("Filling"));
        HourglassGuard hourglass;
        memcmdenabler(false);
        m.transferring = true;
        if (ran)
            complete = fillCells(CellRange{cellfrom, cellto}, failedAt, notCleared);
        m.transferring = false;
        if (isLoadedForm())
            enableForImage();
    }
    if (unloadPending() || !isLoadedForm())
        return;
    if (!ran) {
        // No receiver: nothing was written, so nothing is announced.
    } else if (!complete) {
        const QStringList stopped{QStringLiteral("at memory cell ") + cellText(failedAt) + QLatin1Char('.'),
                                  QStringLiteral("The Rx memory was not filled completely.")};
        // The panel's message about a loss during the run cannot say where
        // the fill stopped, and the grid does not show it as a fetch's does:
        // the fill tells the loss in its place.
        QStringList lost;
        if (failedAt >= 0)
            lost = QStringList{QStringLiteral("The line was lost")} + stopped;
        const QStringList said = noAnswer.text(QStringList{QStringLiteral("The receiver did not answer")} + stopped, lost);
        if (!said.isEmpty())
            msgBox(said, MsgIcon::Exclamation, QStringLiteral("Fill Rx error"));
    } else if (skipped == cellto - cellfrom + 1) {
        QStringList lines{QStringLiteral("No cell from ") + cellText(cellfrom) + QStringLiteral(" to ")
                              + cellText(cellto) + QStringLiteral(" holds data"),
                          QStringLiteral("in the MemMan Window: the Rx memory is unchanged")};
        if (workingLeft)
            lines << workingChannelNotice(*working);
        msgBox(lines, MsgIcon::Information, QStringLiteral("Fill Rx ready"));
    } else {
        QStringList lines{QStringLiteral("MemMan data is now "), QStringLiteral("loaded in the Rx memory")};
        const int withoutData = skipped - (workingLeft ? 1 : 0);
        if (withoutData > 0)
            lines << counted(withoutData, "cell") + QStringLiteral(" without data in the MemMan Window")
                  << (withoutData == 1 ? QStringLiteral("was left as it is in the receiver")
                                       : QStringLiteral("were left as they are in the receiver"));
        if (workingLeft)
            lines << workingChannelNotice(*working);
        if (!notCleared.isEmpty()) {
            // Named, so nobody takes them for loaded; a long run is cut short.
            QStringList cells;
            for (int k = 0; k < notCleared.size() && k < 30; ++k)
                cells << cellText(notCleared[k]);
            if (notCleared.size() > 30)
                cells << QStringLiteral("...");
            const bool one = notCleared.size() == 1;
            lines << counted(notCleared.size(), "cell") +
                         (one ? QStringLiteral(" is unchanged in the receiver,") : QStringLiteral(" are unchanged in the receiver,"))
                  << (one ? QStringLiteral("which cannot store it (empty or out of range):")
                          : QStringLiteral("which cannot store them (empty or out of range):"))
                  << cells.join(QLatin1Char(' '));
        }
        msgBox(lines, MsgIcon::Information, QStringLiteral("Fill Rx ready"));
    }
    clearadditionalinfo();
}

void frmMemman::cmdSetrx2mem_Click()
{
    const MemoryState &m = memState();
    const int n = m.memcellnr;
    if (n < 0 || n > goModel().lastCell || !m.image.held(n) || !m_rx)
        return;
    // The model sets what its memory recall sets, and the open panel shows it.
    m_rx->applyMemoryRecord(m.image.record(n), &showOnOpenPanel);
}

// ---- sort, print, scan ---------------------------------------------------

void frmMemman::cmdSort_Click()
{
    if (!memarrayloaded()) {
        msgBox(QStringList{kNoData, QStringLiteral("Memory Management Window")}, MsgIcon::Exclamation,
               QStringLiteral("No memory data to sort"));
        return;
    }
    if (msgBox(QStringList{QStringLiteral("You want to sort the contents"), QStringLiteral("of the Memory Management"),
                           QStringLiteral("window on frequency ?")},
               MsgIcon::Question, QStringLiteral("Sort Memory data "), MsgButtons::YesNoCancel) != vbYes)
        return;
    {
        HourglassGuard hourglass;
        // The working channel holds the receiver's state, not a channel of
        // the listener's: sorted in, it would take a listener's cell and push
        // the last of them into the working channel, which Fill never writes.
        memState().image.sortByFrequency(workingChannel(m_rxtype));
        cleargrdmemman();
    }
    msgBox(QStringLiteral("Memory data is now sorted"), MsgIcon::Exclamation, QStringLiteral("Memory data"));
}

QString frmMemman::printPdfPath() const
{
    QString name = G.filenames[FileKind::Memories];
    if (name.isEmpty())
        name = QStringLiteral("MEM_") + QString::number(m_rxtype) + QStringLiteral("print.txt");
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0)
        name.truncate(dot);
    QString dir = G.filedirs[FileKind::Memories];
    if (dir.isEmpty())
        dir = G.datapath;
    ensureDir(dir);
    return dir + name + QStringLiteral(".pdf");
}

void frmMemman::cmdPrint_Click()
{
    if (!memarrayloaded()) {
        msgBox(QStringList{kNoData, QStringLiteral("MemMan Window")}, MsgIcon::Exclamation,
               QStringLiteral("Nothing to Print"));
        return;
    }
    if (!takeCellRange(QStringLiteral("\u00CBrror"), false))
        return;
    if (msgBox(QStringList{QStringLiteral("You want to print the contents"),
                           QStringLiteral("of memorycells  ") + numSingle(cellfrom) + QStringLiteral("  to  ")
                               + numSingle(cellto),
                           QStringLiteral("including the filled-in alpha tags")},
               MsgIcon::Question, QStringLiteral("Memories to Printer"), MsgButtons::YesNoCancel) != vbYes)
        return;
    const QStringList lines = memPrintLines(memState().image, cellfrom, cellto, m_rxtype, G.filenames[FileKind::Memories]);
    MemPrintOutcome out;
    {
        HourglassGuard hourglass;
        out = printMemLines(lines, printPdfPath());
    }
    if (!out.ok)
        msgBox(QStringList{QStringLiteral("The memory list could not be printed"), out.error}, MsgIcon::Exclamation,
               QStringLiteral("Error"));
    else if (!out.pdfPath.isEmpty())
        msgBox(QStringList{QStringLiteral("No printer is set up; the memory list"),
                           QStringLiteral("is saved as ") + out.pdfPath},
               MsgIcon::Information, QStringLiteral("Memories to Printer"));
}

void frmMemman::cmdScanrun_Click()
{
    if (!m_run.begin())
        return;
    const double typed = numericValue(txtDelay->text());
    scandelay = memScanDelay(typed);
    if (typed < 1)
        txtDelay->setText(QStringLiteral("1"));
    else if (typed > 60)
        txtDelay->setText(QStringLiteral("60"));
    if (!takeCellRange(QStringLiteral(" \u00CBrror"), true))
        return;
    scanoffset = 0;
    cmdScanrun->setVisible(false);
    cmdScanstop->setVisible(true);
    tmrScan.setInterval(100);
    memcmdenabler(false);
    MemoryState &m = memState();
    m.memmantoprow = std::max(0, std::min(cellfrom, goModel().lastCell - 15));
    grdMemman->scrollTo(model->index(m.memmantoprow, 0), QAbstractItemView::PositionAtTop);
    tmrScan.start();
}

void frmMemman::tmrScan_Timer()
{
    // Another exchange with the receiver is running, or this tick's own
    // commands are still under way: this turn is skipped, not squeezed in.
    const TickGuard tick(this, m_inTick, m_run, TickGuard::SkipInside);
    if (!tick)
        return;
    tmrScan.setInterval(memScanIntervalMs(m_rxtype, scandelay));
    MemoryState &m = memState();
    m.memcellnr = cellfrom + scanoffset;
    const QModelIndex idx = model->index(m.memcellnr, 0);
    const QRect visible = grdMemman->viewport()->rect();
    if (!visible.intersects(grdMemman->visualRect(idx))) {
        m.memmantoprow = std::max(0, std::min(m.memcellnr, goModel().lastCell - 15));
        grdMemman->scrollTo(model->index(m.memmantoprow, 0), QAbstractItemView::PositionAtTop);
    }
    // The top row held sixteen rows from the end leaves the last cells below
    // a shorter grid, or half cut off; the tuned row is brought wholly into view.
    grdMemman->scrollTo(idx, QAbstractItemView::EnsureVisible);
    grdMemman->selectionModel()->select(QItemSelection(idx, model->index(m.memcellnr, 4)),
                                        QItemSelectionModel::ClearAndSelect);
    showCellnr(m.memcellnr);
    cmdSetrx2mem_Click();
    ++scanoffset;
    if (m.memcellnr >= cellto)
        scanoffset = 0;
}

void frmMemman::cmdScanstop_Click()
{
    tmrScan.stop();
    cmdScanstop->setVisible(false);
    cmdScanrun->setVisible(true);
    enableForImage();
}

} // namespace tav
