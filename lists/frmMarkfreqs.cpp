#include "lists/frmMarkfreqs.h"
#include "drivers/receiver.h"

#include "core/tickguard.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/ui.h"
#include "lists/listwindow.h"
#include "lists/scanpick.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QVBoxLayout>

namespace tav::lists {

namespace {
constexpr int kGridRows = RecentList::kSize + 1;

QStringList texts(const RecentList &l)
{
    QStringList t;
    for (const QString &e : l.entries())
        t << e;
    return t;
}
} // namespace

frmMarkfreqs::frmMarkfreqs() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Marked Freqs"));
    auto *top = new QVBoxLayout(this);
    auto *titles = new TextGridModel(1, 2, this);
    titles->setRow(0, {QStringLiteral(" NR"), QStringLiteral(" FREQUENCY")});
    grdTitles = makeGridView(QStringLiteral("grdTitles"), titles, {400, 1200}, this);
    rows = new TextGridModel(kGridRows, 2, this);
    grdMarkfreqs = makeGridView(QStringLiteral("grdMarkfreqs"), rows, {400, 1200}, this);
    grdMarkfreqs->setSelectionMode(QAbstractItemView::ContiguousSelection);
    for (QTableView *v : {grdTitles, grdMarkfreqs}) {
        v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    const int rh = grdMarkfreqs->verticalHeader()->defaultSectionSize();
    grdTitles->setFixedHeight(rh + 2 * grdTitles->frameWidth());
    grdMarkfreqs->setFixedHeight(RecentList::kSize * rh + 2 * grdMarkfreqs->frameWidth());
    const int w = grdMarkfreqs->columnWidth(0) + grdMarkfreqs->columnWidth(1) + 2 * grdMarkfreqs->frameWidth();
    grdTitles->setFixedWidth(w);
    grdMarkfreqs->setFixedWidth(w);
    grdTitles->setFocusPolicy(Qt::NoFocus);
    top->addWidget(grdTitles);
    top->addWidget(grdMarkfreqs);
    auto *cmds = new QHBoxLayout;
    cmdMark = makeButton(QStringLiteral("cmdMark"), QStringLiteral("Mark"), this);
    cmdScan = makeButton(QStringLiteral("cmdScan"), QStringLiteral("Scan"), this);
    cmdCls = makeButton(QStringLiteral("cmdCls"), QStringLiteral("Cls"), this);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    for (QPushButton *b : {cmdMark, cmdScan, cmdCls, cmdExit})
        cmds->addWidget(b);
    top->addLayout(cmds);

    tmrScan.setObjectName(QStringLiteral("tmrScan"));
    connect(&tmrScan, &QTimer::timeout, this, &frmMarkfreqs::tmrScan_Timer);
    connect(grdMarkfreqs, &QTableView::clicked, this,
            [this](const QModelIndex &i) { grdMarkfreqs_Click(i.row(), i.column()); });
    connect(cmdMark, &QPushButton::clicked, this, &frmMarkfreqs::cmdMark_Click);
    connect(cmdScan, &QPushButton::clicked, this, &frmMarkfreqs::cmdScan_Click);
    connect(cmdCls, &QPushButton::clicked, this, &frmMarkfreqs::cmdCls_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMarkfreqs::cmdExit_Click);
}

void frmMarkfreqs::numberRows()
{
    rows->clearAll();
    for (int r = 0; r < RecentList::kSize; ++r)
        rows->setText(r, 0, numSingle(r));
}

void frmMarkfreqs::Form_Load()
{
    // Marks kept from before are drawn by the next Mark.
    numberRows();
}

void frmMarkfreqs::Form_Unload()
{
    // The scan ends with the window, which comes back ready to scan again.
    stopScan();
}

void frmMarkfreqs::cmdMark_Click()
{
    m_marks.record(hub().panelFrequencyText(true));
    for (int r = 0; r < RecentList::kSize; ++r)
        rows->setText(r, 1, m_marks.at(r));
}

void frmMarkfreqs::cmdCls_Click()
{
    m_marks.clear();
    numberRows();
}

void frmMarkfreqs::grdMarkfreqs_Click(int row, int)
{
    if (row < 0 || row >= RecentList::kSize)
        return;
    tuneToText(m_marks.at(row));
}

void frmMarkfreqs::cmdExit_Click() { unload(); }

void frmMarkfreqs::stopScan()
{
    tmrScan.stop();
    m_scanning = false;
    cmdScan->setText(QStringLiteral("Scan"));
    for (QPushButton *b : {cmdMark, cmdCls, cmdExit})
        b->setEnabled(true);
}

void frmMarkfreqs::cmdScan_Click()
{
    // The marks cannot change while the scan runs, so stopping needs no check.
    if (m_scanning) {
        stopScan();
        return;
    }
    if (!m_run.begin())
        return;
    if (countInRange(texts(m_marks), goModel().freqMinKHz, goModel().freqMaxKHz) < 2) {
        msgBox(QStringList{QStringLiteral("Not enough valid    "), QStringLiteral("frequencies filled  "),
                           QStringLiteral("in for scanning     ")},
               MsgIcon::Exclamation, QStringLiteral("Error"));
        return;
    }
    m_scanning = true;
    cmdScan->setText(QStringLiteral("Stop"));
    for (QPushButton *b : {cmdMark, cmdCls, cmdExit})
        b->setEnabled(false);
    tmrScan.setInterval(kScanMs);
    tmrScan.start();
}

void frmMarkfreqs::tmrScan_Timer()
{
    // The tuning's wait (or the hub's message) runs the event loop: the next
    // tick does not start inside this one.
    const TickGuard tick(this, m_ticking, m_run);
    if (!tick || !m_scanning)
        return;
    const std::optional<int> pick = nextScanIndex(texts(m_marks), m_index, m_last, goModel().freqMinKHz, goModel().freqMaxKHz);
    if (!pick)
        return;
    const double v = numericValue(m_marks.at(*pick));
    hub().Change2FreqA(v);
    if (!isLoadedForm())
        return;
    grdMarkfreqs->selectionModel()->select(
        QItemSelection(rows->index(*pick, 0), rows->index(*pick, 1)), QItemSelectionModel::ClearAndSelect);
    m_index = (*pick + 1) % RecentList::kSize;
    m_last = v;
}

} // namespace tav::lists
