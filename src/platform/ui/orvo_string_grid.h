// A string grid over Qt's model/view: cells addressed (column, row), row and
// column counts, fixed rows and columns, column widths and row heights. A
// fixed row and a fixed column (at most one each) are shown in the view's
// headers, so they stay in place while the rest scrolls; the header's column
// edges can be dragged to resize. Besides cells written one by one, a grid
// can take a provider that computes the text of any cell when it is painted
// or read, so a grid of millions of cells costs no string per cell.
#pragma once

#include <functional>
#include <vector>

#include <QAbstractTableModel>
#include <QHash>
#include <QTableView>

class TStringGridModel;

class TStringGrid : public QTableView
{
    Q_OBJECT

public:
    // Text of a cell that was not written with SetCells.
    using CellProvider = std::function<QString(int col, int row)>;

    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    int ColCount() const;
    int RowCount() const;
    int FixedCols() const;
    int FixedRows() const;
    // A count of one or more; the fixed rows (columns) are lowered to leave at
    // least one row (column) that is not fixed, or to 0 for a single row.
    void SetColCount(int count);
    void SetRowCount(int count);
    // Must be below the row (column) count, and 0 or 1; throws
    // std::out_of_range if not.
    void SetFixedCols(int count);
    void SetFixedRows(int count);

    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);
    // Replaces every written cell by the provider's texts (none: empty cells).
    void SetCellProvider(CellProvider provider);
    // Forgets written cells and the provider.
    void ClearCells();

    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    int DefaultColWidth() const;
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);

    // Whole rows are selected and the current cell is not outlined alone.
    void SetRowSelect(bool on);
    // Top row of the selection; 0 when nothing is selected.
    int SelectionTop() const;
    void SetRow(int row);

protected:
    void updateGeometries() override;

signals:
    // A click on a cell, as the user selects it.
    void Clicked();

private:
    void Relayout();
    void PlaceCorner();

    TStringGridModel* model_;
    std::vector<int> widths_;  // per grid column, fixed ones included
    class QLabel* corner_;
};
