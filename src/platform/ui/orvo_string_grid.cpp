#include "orvo_string_grid.h"

#include <algorithm>
#include <stdexcept>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>

// The view sees the cells that are not fixed; the fixed row and column are
// its header data.
class TStringGridModel : public QAbstractTableModel {
 public:
  explicit TStringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override
  {
      return parent.isValid() ? 0 : rows - fixed_rows;
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override
  {
      return parent.isValid() ? 0 : cols - fixed_cols;
  }

  QVariant data(const QModelIndex& index, int role) const override
  {
      if (!index.isValid() || role != Qt::DisplayRole) return {};
      return Text(index.column() + fixed_cols, index.row() + fixed_rows);
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override
  {
      if (role != Qt::DisplayRole) return {};
      if (orientation == Qt::Horizontal) return fixed_rows > 0 ? Text(section + fixed_cols, 0) : QString();
      return fixed_cols > 0 ? Text(0, section + fixed_rows) : QString();
  }

  QString Text(int col, int row) const
  {
      if (col < 0 || row < 0 || col >= cols || row >= rows) return {};
      const auto it = cells.constFind(Key(col, row));
      if (it != cells.constEnd()) return *it;
      return provider ? provider(col, row) : QString();
  }

  static quint64 Key(int col, int row)
  {
      return (static_cast<quint64>(static_cast<quint32>(col)) << 32) | static_cast<quint32>(row);
  }

  // Counts that keep the fixed ones; the caller lowers those first.
  void SetRows(int count)
  {
      if (count > rows) {
          beginInsertRows(QModelIndex(), rows - fixed_rows, count - fixed_rows - 1);
          rows = count;
          endInsertRows();
      } else if (count < rows) {
          beginRemoveRows(QModelIndex(), count - fixed_rows, rows - fixed_rows - 1);
          rows = count;
          DropOutside();
          endRemoveRows();
      }
  }

  void SetCols(int count)
  {
      if (count > cols) {
          beginInsertColumns(QModelIndex(), cols - fixed_cols, count - fixed_cols - 1);
          cols = count;
          endInsertColumns();
      } else if (count < cols) {
          beginRemoveColumns(QModelIndex(), count - fixed_cols, cols - fixed_cols - 1);
          cols = count;
          DropOutside();
          endRemoveColumns();
      }
  }

  void DropOutside()
  {
      for (auto it = cells.begin(); it != cells.end();) {
          const int col = static_cast<int>(it.key() >> 32);
          const int row = static_cast<int>(it.key() & 0xffffffffu);
          if (col >= cols || row >= rows)
              it = cells.erase(it);
          else
              ++it;
      }
  }

  void Changed(int col, int row)
  {
      if (row < fixed_rows && col >= fixed_cols) {
          emit headerDataChanged(Qt::Horizontal, col - fixed_cols, col - fixed_cols);
      } else if (col < fixed_cols && row >= fixed_rows) {
          emit headerDataChanged(Qt::Vertical, row - fixed_rows, row - fixed_rows);
      } else if (row >= fixed_rows && col >= fixed_cols) {
          const QModelIndex i = index(row - fixed_rows, col - fixed_cols);
          emit dataChanged(i, i, {Qt::DisplayRole});
      }
  }

  void ChangedAll()
  {
      if (rowCount() > 0 && columnCount() > 0)
          emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
      if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
      if (rowCount() > 0) emit headerDataChanged(Qt::Vertical, 0, rowCount() - 1);
  }

  void Refix(int fixed_cols_now, int fixed_rows_now)
  {
      beginResetModel();
      fixed_cols = fixed_cols_now;
      fixed_rows = fixed_rows_now;
      endResetModel();
  }

  int rows = 5, cols = 5, fixed_rows = 1, fixed_cols = 1;
  QHash<quint64, QString> cells;
  TStringGrid::CellProvider provider;
};

TStringGrid::TStringGrid(QWidget* parent)
    : QTableView(parent), model_(new TStringGridModel(this)), widths_(5, 64), corner_(new QLabel(this))
{
    setModel(model_);
    for (QHeaderView* h : {horizontalHeader(), verticalHeader()}) {
        h->setMinimumSectionSize(1);
        h->setSectionsClickable(false);
        h->setHighlightSections(false);
        h->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    horizontalHeader()->setDefaultSectionSize(64);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setCornerButtonEnabled(false);
    corner_->setAutoFillBackground(true);
    corner_->setBackgroundRole(QPalette::Button);
    corner_->setIndent(3);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        const size_t col = static_cast<size_t>(section + model_->fixed_cols);
        if (col < widths_.size()) widths_[col] = size;
    });
    connect(model_, &QAbstractItemModel::headerDataChanged, this, [this] { PlaceCorner(); });
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    // Narrow columns clip their text as the framework's grids do.
    setTextElideMode(Qt::ElideNone);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    connect(this, &QTableView::clicked, this, [this] { emit Clicked(); });
    Relayout();
}

TStringGrid::~TStringGrid() = default;

int TStringGrid::ColCount() const { return model_->cols; }
int TStringGrid::RowCount() const { return model_->rows; }
int TStringGrid::FixedCols() const { return model_->fixed_cols; }
int TStringGrid::FixedRows() const { return model_->fixed_rows; }

// Header visibility and sizes follow the fixed row and column.
void TStringGrid::Relayout()
{
    horizontalHeader()->setVisible(model_->fixed_rows > 0);
    verticalHeader()->setVisible(model_->fixed_cols > 0);
    horizontalHeader()->setFixedHeight(verticalHeader()->defaultSectionSize());
    if (model_->fixed_cols > 0) verticalHeader()->setFixedWidth(widths_[0]);
    const int fallback = horizontalHeader()->defaultSectionSize();
    for (int c = model_->fixed_cols; c < model_->cols; ++c) {
        const int w = widths_[static_cast<size_t>(c)];
        if (w != fallback || horizontalHeader()->sectionSize(c - model_->fixed_cols) != w)
            horizontalHeader()->resizeSection(c - model_->fixed_cols, w);
    }
    PlaceCorner();
}

void TStringGrid::PlaceCorner()
{
    const bool shown = model_->fixed_rows > 0 && model_->fixed_cols > 0;
    corner_->setVisible(shown);
    if (!shown) return;
    corner_->setText(model_->Text(0, 0));
    corner_->setGeometry(frameWidth(), frameWidth(), verticalHeader()->width(), horizontalHeader()->height());
    corner_->raise();
}

void TStringGrid::updateGeometries()
{
    QTableView::updateGeometries();
    PlaceCorner();
}

void TStringGrid::SetColCount(int count)
{
    if (count < 1) count = 1;
    if (count == model_->cols) return;
    if (model_->fixed_cols >= count) model_->Refix(count - 1, model_->fixed_rows);
    widths_.resize(static_cast<size_t>(count), horizontalHeader()->defaultSectionSize());
    model_->SetCols(count);
    Relayout();
}

void TStringGrid::SetRowCount(int count)
{
    if (count < 1) count = 1;
    if (count == model_->rows) return;
    const bool refix = model_->fixed_rows >= count;
    if (refix) model_->Refix(model_->fixed_cols, count - 1);
    model_->SetRows(count);
    if (refix) Relayout();
}

void TStringGrid::SetFixedCols(int count)
{
    if (count < 0 || count > 1 || count >= model_->cols)
        throw std::out_of_range("Fixed column count must be less than column count");
    if (count == model_->fixed_cols) return;
    model_->Refix(count, model_->fixed_rows);
    Relayout();
}

void TStringGrid::SetFixedRows(int count)
{
    if (count < 0 || count > 1 || count >= model_->rows)
        throw std::out_of_range("Fixed row count must be less than row count");
    if (count == model_->fixed_rows) return;
    model_->Refix(model_->fixed_cols, count);
    Relayout();
}

QString TStringGrid::Cells(int col, int row) const { return model_->Text(col, row); }

void TStringGrid::SetCells(int col, int row, const QString& text)
{
    if (col < 0 || row < 0 || col >= model_->cols || row >= model_->rows)
        throw std::out_of_range("Grid index out of range");
    model_->cells.insert(TStringGridModel::Key(col, row), text);
    model_->Changed(col, row);
    if (col == 0 && row == 0) PlaceCorner();
}

void TStringGrid::SetCellProvider(CellProvider provider)
{
    model_->cells.clear();
    model_->provider = std::move(provider);
    model_->ChangedAll();
    PlaceCorner();
}

void TStringGrid::ClearCells() { SetCellProvider(nullptr); }

int TStringGrid::ColWidths(int col) const
{
    if (col < 0 || col >= model_->cols) throw std::out_of_range("Grid index out of range");
    return widths_[static_cast<size_t>(col)];
}

void TStringGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= model_->cols) throw std::out_of_range("Grid index out of range");
    widths_[static_cast<size_t>(col)] = width;
    if (col < model_->fixed_cols)
        Relayout();
    else
        horizontalHeader()->resizeSection(col - model_->fixed_cols, width);
}

int TStringGrid::RowHeights(int row) const
{
    if (row < model_->fixed_rows) return horizontalHeader()->height();
    return verticalHeader()->sectionSize(row - model_->fixed_rows);
}

int TStringGrid::DefaultColWidth() const { return horizontalHeader()->defaultSectionSize(); }

void TStringGrid::SetDefaultColWidth(int width)
{
    horizontalHeader()->setDefaultSectionSize(width);
    std::fill(widths_.begin(), widths_.end(), width);
    Relayout();
}

int TStringGrid::DefaultRowHeight() const { return verticalHeader()->defaultSectionSize(); }

void TStringGrid::SetDefaultRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
    Relayout();
}

void TStringGrid::SetRowSelect(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

int TStringGrid::SelectionTop() const
{
    const QModelIndexList chosen = selectionModel()->selectedIndexes();
    if (chosen.isEmpty()) return 0;
    int top = chosen.first().row();
    for (const QModelIndex& i : chosen) top = std::min(top, i.row());
    return top + model_->fixed_rows;
}

void TStringGrid::SetRow(int row)
{
    if (row < model_->fixed_rows || row >= model_->rows) throw std::out_of_range("Grid index out of range");
    const QModelIndex i = model_->index(row - model_->fixed_rows, 0);
    setCurrentIndex(i);
    selectionModel()->select(i, QItemSelectionModel::ClearAndSelect |
                                    (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                                       : QItemSelectionModel::NoUpdate));
}
