#include "lists/gridmodel.h"

#include "core/form.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

namespace tav::lists {

ListGridModel::ListGridModel(int columns, QObject *parent) : QAbstractTableModel(parent), m_columns(columns) {}

void ListGridModel::show(int rows, CellFn cell)
{
    beginResetModel();
    m_rows = rows;
    m_cell = std::move(cell);
    endResetModel();
}

void ListGridModel::clear() { show(0, {}); }

QString ListGridModel::text(int row, int column) const
{
    if (row < 1 || row > m_rows || column < 0 || column >= m_columns || !m_cell)
        return QString();
    return m_cell(row, column);
}

int ListGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_rows + 1; }
int ListGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant ListGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    // A fixed-width field's padding would only push an ellipsis into a
    // narrow cell ("Romania    ..."); the cell's text keeps it.
    QString t = text(index.row(), index.column());
    qsizetype n = t.size();
    while (n > 0 && t.at(n - 1) == QLatin1Char(' '))
        --n;
    t.truncate(n);
    return t;
}

TextGridModel::TextGridModel(int rows, int columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(columns), m_cells(rows, QStringList(columns, QString()))
{
}

QString TextGridModel::text(int row, int column) const
{
    if (row < 0 || row >= m_cells.size() || column < 0 || column >= m_columns)
        return QString();
    return m_cells[row][column];
}

void TextGridModel::setText(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_cells.size() || column < 0 || column >= m_columns)
        return;
    m_cells[row][column] = text;
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i);
}

void TextGridModel::setRow(int row, const QStringList &cells)
{
    if (row < 0 || row >= m_cells.size())
        return;
    for (int c = 0; c < m_columns; ++c)
        m_cells[row][c] = c < cells.size() ? cells[c] : QString();
    emit dataChanged(index(row, 0), index(row, m_columns - 1));
}

void TextGridModel::clearAll()
{
    for (QStringList &r : m_cells)
        for (QString &c : r)
            c.clear();
    if (!m_cells.isEmpty())
        emit dataChanged(index(0, 0), index(int(m_cells.size()) - 1, m_columns - 1));
}

int TextGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_cells.size()); }
int TextGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant TextGridModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

namespace {
// The layout font's digit width and row height (240 twips) in pixels.
constexpr double kLayoutDigit = 5.5, kLayoutRow = 16.0;
} // namespace

int gridRowHeight(const QWidget *w) { return w->fontMetrics().height() + 4; }

int gridWidthPixels(const QWidget *w, int twips)
{
    const double digit = w->fontMetrics().horizontalAdvance(QStringLiteral("0123456789")) / 10.0;
    return int(std::lround(twips / twipsPerPixel() * std::max(1.0, digit / kLayoutDigit)));
}

int gridHeightPixels(const QWidget *w, int twips)
{
    return int(std::lround(twips / twipsPerPixel() * std::max(1.0, gridRowHeight(w) / kLayoutRow)));
}

namespace {

// The lists show only their given columns, and what lies under the pointer
// must stay there: a click (or what its handling makes current, such as the
// own list's mode cell beyond the visible width) never scrolls the grid, so
// the next click at the same place hits the same cell. The grid never moves
// sideways; the keys and the bar still scroll it up and down.
class ListGridView : public QTableView {
public:
    using QTableView::QTableView;

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override
    {
        if (m_mouse > 0)
            return;
        const int x = horizontalScrollBar()->value();
        QTableView::scrollTo(index, hint);
        horizontalScrollBar()->setValue(x);
    }

protected:
    void mousePressEvent(QMouseEvent *ev) override { underMouse([&] { QTableView::mousePressEvent(ev); }); }
    void mouseReleaseEvent(QMouseEvent *ev) override { underMouse([&] { QTableView::mouseReleaseEvent(ev); }); }
    void mouseDoubleClickEvent(QMouseEvent *ev) override
    {
        underMouse([&] { QTableView::mouseDoubleClickEvent(ev); });
    }
    void mouseMoveEvent(QMouseEvent *ev) override { underMouse([&] { QTableView::mouseMoveEvent(ev); }); }

private:
    template <class F> void underMouse(F f)
    {
        ++m_mouse;
        f();
        --m_mouse;
    }
    int m_mouse = 0;
};

} // namespace

QTableView *makeGridView(const QString &name, QAbstractItemModel *model, const QVector<int> &widthsTwips,
                         QWidget *parent)
{
    auto *v = new ListGridView(parent);
    // Dragging with the button held does not scroll the grid either.
    v->setAutoScroll(false);
    v->setObjectName(name);
    v->setModel(model);
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    v->setSelectionBehavior(QAbstractItemView::SelectItems);
    v->setWordWrap(false);
    const int rowHeight = gridRowHeight(v);
    v->verticalHeader()->setMinimumSectionSize(rowHeight);
    v->verticalHeader()->setDefaultSectionSize(rowHeight);
    // Rows all have one height, so the view never measures the rows it does not show.
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    auto widths = [v, widthsTwips] {
        for (int c = 0; c < widthsTwips.size(); ++c)
            v->setColumnWidth(c, gridWidthPixels(v, widthsTwips[c]));
    };
    widths();
    QObject::connect(model, &QAbstractItemModel::modelReset, v, widths);
    return v;
}

} // namespace tav::lists
