#pragma once
// Table models behind the lists' grids. Long lists give their cells on
// demand from the list class, so tens of thousands of rows cost nothing until
// they are scrolled into view; the small grids keep their texts.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <QVector>
#include <functional>

namespace tav::lists {

// A list grid: the blank row 0 at the top, then `rows` rows whose cells come
// from `cell(row, column)` with row from 1.
class ListGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellFn = std::function<QString(int row, int column)>;
    ListGridModel(int columns, QObject *parent = nullptr);

    // Shows `rows` rows below the blank row.
    void show(int rows, CellFn cell);
    // Only the blank row.
    void clear();
    int listRows() const { return m_rows; }
    QString text(int row, int column) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    int m_columns;
    int m_rows = 0;
    CellFn m_cell;
};

// A small grid of stored texts.
class TextGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TextGridModel(int rows, int columns, QObject *parent = nullptr);

    QString text(int row, int column) const;
    void setText(int row, int column, const QString &text);
    void setRow(int row, const QStringList &cells);
    void clearAll();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    int m_columns;
    QVector<QStringList> m_cells;
};

// Sizes in twips were laid out for a small 8-point font; these give the
// pixels for the font of `w`, so a frequency still fits its cell and as many
// rows show.
int gridWidthPixels(const QWidget *w, int twips);
int gridHeightPixels(const QWidget *w, int twips);
// The height of one grid row.
int gridRowHeight(const QWidget *w);

// A grid view as the lists use it: no headers, cells never typed into,
// column widths in twips, one row high rows.
QTableView *makeGridView(const QString &name, QAbstractItemModel *model, const QVector<int> &widthsTwips,
                         QWidget *parent);

} // namespace tav::lists
