#include "lists/listwindow.h"

#include "hub/frmLoadfile.h"
#include "hub/hub.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/ui.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace tav::lists {

FrequencyBox::FrequencyBox(QWidget *parent) : QLineEdit(parent) { setObjectName(QStringLiteral("txtFrequencyA")); }

void FrequencyBox::keyPressEvent(QKeyEvent *ev)
{
    if (ev->key() == Qt::Key_Return || ev->key() == Qt::Key_Enter) {
        ev->accept();
        emit enterPressed();
        return;
    }
    QLineEdit::keyPressEvent(ev);
}

void FrequencyBox::mouseDoubleClickEvent(QMouseEvent *ev)
{
    ev->accept();
    clear();
}

void tuneToText(const QString &text) { hub().Change2FreqA(numericValue(text)); }


void showLoadDialog(TavForm *owner, FileKind kind, StationDb db)
{
    TavForm::Busy busy(owner);
    frmLoadfile::showFor(kind, db);
}

ListWindow::ListWindow(WindowId id, const QString &caption,
                       FileKind fileKind, const QString &loadCaption, const QString &gridName, int columns,
                       const QVector<int> &gridWidths, const QVector<int> &titleWidths, const QString &dbLabelName)
    : TavForm(id), m_kind(fileKind)
{
    setWindowTitle(caption);
    auto *top = new QVBoxLayout(this);
    cmdHeigh = makeButton(QStringLiteral("cmdHeigh"), QStringLiteral("L"), this);
    cmdHeigh->setFixedWidth(28);
    titles = new TextGridModel(1, int(titleWidths.size()), this);
    grdTitles = makeGridView(QStringLiteral("grdTitles"), titles, titleWidths, this);
    grdTitles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdTitles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdTitles->setFixedHeight(grdTitles->verticalHeader()->defaultSectionSize() + 2 * grdTitles->frameWidth());
    grdTitles->setFocusPolicy(Qt::NoFocus);
    // The titles stand straight above the list's columns.
    top->addWidget(grdTitles);

    model = new ListGridModel(columns, this);
    grid = makeGridView(gridName, model, gridWidths, this);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    top->addWidget(grid, 1);
    connect(grid, &QTableView::clicked, this, [this](const QModelIndex &i) { gridClick(i.row(), i.column()); });

    auto *cmds = new QHBoxLayout;
    top->addLayout(cmds);
    cmdDiduzu = makeButton(QStringLiteral("cmdDiduzu"), QStringLiteral("DiDuzu"), this);
    cmdLoad = makeButton(QStringLiteral("cmdLoad"), loadCaption, this);
    txtFrequencyA = new FrequencyBox(this);
    txtFrequencyA->setMaximumWidth(110);
    cmdExit = makeButton(QStringLiteral("cmdExit"), QStringLiteral("Exit"), this);
    lblDbname = makeLabel(dbLabelName, QString(), this);
    lblDbname->setTextFormat(Qt::PlainText);
    lblDbname->setFrameShape(QFrame::Panel);
    lblDbname->setFrameShadow(QFrame::Sunken);
    cmds->addWidget(cmdHeigh);
    cmds->addWidget(cmdDiduzu);
    cmds->addWidget(cmdLoad);
    cmds->addWidget(txtFrequencyA);
    cmds->addWidget(lblDbname, 1);
    cmds->addWidget(cmdExit);

    connect(cmdHeigh, &QPushButton::clicked, this, &ListWindow::cmdHeigh_Click);
    connect(cmdDiduzu, &QPushButton::clicked, this, &ListWindow::cmdDiduzu_Click);
    connect(cmdLoad, &QPushButton::clicked, this, &ListWindow::cmdLoad_Click);
    connect(cmdExit, &QPushButton::clicked, this, &ListWindow::cmdExit_Click);
    connect(txtFrequencyA, &FrequencyBox::enterPressed, this, &ListWindow::txtFrequencyA_KeyEnter);

    // Just the given columns show; the own list's eighth frequency and its
    // mode letter lie beyond the visible width.
    int width = 0;
    for (int c = 0; c < gridWidths.size(); ++c)
        width += grid->columnWidth(c);
    const QMargins m = top->contentsMargins();
    width += m.left() + m.right() + 2 * grid->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
    resize(width, gridHeightPixels(this, kSmallWindow));
}

void ListWindow::Form_Load()
{
    m_large = false;
    applyHeight();
    model->clear();
    txtFrequencyA->clear();
    lblDbname->clear();
    links::add(static_cast<FrequencyBoxLink *>(this));
}

void ListWindow::Form_Unload() { links::remove(static_cast<FrequencyBoxLink *>(this)); }

void ListWindow::applyHeight()
{
    cmdHeigh->setText(m_large ? QStringLiteral("S") : QStringLiteral("L"));
    grid->setFixedHeight(gridHeightPixels(grid, m_large ? kLargeGrid : kSmallGrid));
    // The window's minimum follows the grid now, or the old one holds the
    // window at the large height.
    layout()->activate();
    resize(width(), gridHeightPixels(this, m_large ? kLargeWindow : kSmallWindow));
}

void ListWindow::cmdHeigh_Click()
{
    m_large = !m_large;
    applyHeight();
    update();
}

void ListWindow::cmdDiduzu_Click() { showChosenPanel(); }

void ListWindow::cmdExit_Click() { unload(); }

void ListWindow::cmdLoad_Click() { showLoadDialog(this, m_kind); }

void ListWindow::txtFrequencyA_KeyEnter() { tuneToText(txtFrequencyA->text()); }

} // namespace tav::lists
