#include "lists/frmLast20.h"

#include "core/globals.h"
#include "core/numtext.h"
#include "lists/listwindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace tav::lists {

namespace {
// Twenty numbered rows and the grid's blank last row.
constexpr int kGridRows = RecentList::kSize + 1;
}

frmLast20::frmLast20() : TavForm(windowId)
{
    setWindowTitle(QStringLiteral("Last 20 Freqs"));
    auto *top = new QVBoxLayout(this);
    auto *titles = new TextGridModel(1, 2, this);
    titles->setRow(0, {QStringLiteral(" NR"), QStringLiteral(" FREQUENCY")});
    grdTitles = makeGridView(QStringLiteral("grdTitles"), titles, {400, 1200}, this);
    rows = new TextGridModel(kGridRows, 2, this);
    grdLast20 = makeGridView(QStringLiteral("grdLast20"), rows, {400, 1200}, this);
    for (QTableView *v : {grdTitles, grdLast20}) {
        v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    const int rh = grdLast20->verticalHeader()->defaultSectionSize();
    grdTitles->setFixedHeight(rh + 2 * grdTitles->frameWidth());
    grdLast20->setFixedHeight(RecentList::kSize * rh + 2 * grdLast20->frameWidth());
    const int w = grdLast20->columnWidth(0) + grdLast20->columnWidth(1) + 2 * grdLast20->frameWidth();
    grdTitles->setFixedWidth(w);
    grdLast20->setFixedWidth(w);
    grdTitles->setFocusPolicy(Qt::NoFocus);
    top->addWidget(grdTitles);
    top->addWidget(grdLast20);
    chkNofreqsteps = new CheckBox(QStringLiteral("chkNofreqsteps"), QStringLiteral("Ignore Freq steps"), this);
    top->addWidget(chkNofreqsteps);
    auto *cmds = new QHBoxLayout;
    cmdClear = makeButton(QStringLiteral("cmdClear"), QStringLiteral("Cls"), this);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Hide"), this);
    cmds->addWidget(cmdClear);
    cmds->addWidget(cmdExit);
    top->addLayout(cmds);

    connect(grdLast20, &QTableView::clicked, this,
            [this](const QModelIndex &i) { grdLast20_Click(i.row(), i.column()); });
    connect(cmdClear, &QPushButton::clicked, this, &frmLast20::cmdClear_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmLast20::cmdExit_Click);
}

void frmLast20::numberRows()
{
    rows->clearAll();
    for (int r = 0; r < RecentList::kSize; ++r)
        rows->setText(r, 0, numSingle(r));
}

void frmLast20::Form_Load()
{
    // The stored list is drawn again by the next recording.
    numberRows();
    chkNofreqsteps->setValue(1);
    links::add(static_cast<Last20Link *>(this));
}

void frmLast20::Form_Unload() { links::remove(static_cast<Last20Link *>(this)); }

void frmLast20::fillgrdlast20(const QString &freqtext)
{
    m_freqs.record(freqtext);
    for (int r = 0; r < RecentList::kSize; ++r)
        rows->setText(r, 1, m_freqs.at(r));
}

void frmLast20::grdLast20_Click(int row, int)
{
    // Rows below the twentieth hold no entry.
    if (row < 0 || row >= RecentList::kSize)
        return;
    tuneToText(m_freqs.at(row));
}

void frmLast20::cmdClear_Click()
{
    m_freqs.clear();
    numberRows();
}

void frmLast20::cmdExit_Click() { hide(); }

} // namespace tav::lists
