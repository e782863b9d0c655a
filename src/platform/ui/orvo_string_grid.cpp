#include "orvo_string_grid.h"

#include <stdexcept>

#include <QHeaderView>
#include <QItemSelectionModel>

class TStringGridModel : public QAbstractTableModel {
 public:
  explicit TStringGridModel(QObject* parent) : QAbstractTableModel(parent) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override
  {
      return parent.isValid() ? 0 : rows;
  }
  int columnCount(const QModelIndex& parent = QModelIndex()) const override
  {
      return parent.isValid() ? 0 : cols;
  }

  QVariant data(const QModelIndex& index, int role) const override
  {
      if (!index.isValid()) return {};
      const bool fixed = index.row() < fixed_rows || index.column() < fixed_cols;
      switch (role) {
      case Qt::DisplayRole:
          return Text(index.column(), index.row());
      case Qt::BackgroundRole:
          if (fixed && view) return view->palette().button();
          return {};
      case Qt::ForegroundRole:
          if (fixed && view) return view->palette().buttonText();
          return {};
      default:
          return {};
      }
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override
  {
      if (!index.isValid()) return Qt::NoItemFlags;
      if (index.row() < fixed_rows || index.column() < fixed_cols) return Qt::ItemIsEnabled;
      return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
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

  void SetRows(int count)
  {
      if (count > rows) {
          beginInsertRows(QModelIndex(), rows, count - 1);
          rows = count;
          endInsertRows();
      } else if (count < rows) {
          beginRemoveRows(QModelIndex(), count, rows - 1);
          rows = count;
          DropOutside();
          endRemoveRows();
      }
  }

  void SetCols(int count)
  {
      if (count > cols) {
          beginInsertColumns(QModelIndex(), cols, count - 1);
          cols = count;
          endInsertColumns();
      } else if (count < cols) {
          beginRemoveColumns(QModelIndex(), count, cols - 1);
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
      const QModelIndex i = index(row, col);
      emit dataChanged(i, i, {Qt::DisplayRole});
  }

  void ChangedAll()
  {
      if (rows > 0 && cols > 0) emit dataChanged(index(0, 0), index(rows - 1, cols - 1));
  }

  void FixedChanged() { ChangedAll(); }

  int rows = 5, cols = 5, fixed_rows = 1, fixed_cols = 1;
  QHash<quint64, QString> cells;
  TStringGrid::CellProvider provider;
  QWidget* view = nullptr;
};

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), model_(new TStringGridModel(this))
{
    model_->view = this;
    setModel(model_);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(64);
    verticalHeader()->setDefaultSectionSize(24);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    // Narrow columns clip their text as the framework's grids do.
    setTextElideMode(Qt::ElideNone);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    connect(this, &QTableView::clicked, this, [this] { emit Clicked(); });
}

TStringGrid::~TStringGrid() = default;

int TStringGrid::ColCount() const { return model_->cols; }
int TStringGrid::RowCount() const { return model_->rows; }
int TStringGrid::FixedCols() const { return model_->fixed_cols; }
int TStringGrid::FixedRows() const { return model_->fixed_rows; }

void TStringGrid::SetColCount(int count)
{
    if (count < 1) count = 1;
    if (count == model_->cols) return;
    model_->SetCols(count);
    if (model_->fixed_cols >= count) {
        model_->fixed_cols = count - 1;
        model_->FixedChanged();
    }
}

void TStringGrid::SetRowCount(int count)
{
    if (count < 1) count = 1;
    if (count == model_->rows) return;
    model_->SetRows(count);
    if (model_->fixed_rows >= count) {
        model_->fixed_rows = count - 1;
        model_->FixedChanged();
    }
}

void TStringGrid::SetFixedCols(int count)
{
    if (count < 0 || count >= model_->cols)
        throw std::out_of_range("Fixed column count must be less than column count");
    if (count == model_->fixed_cols) return;
    model_->fixed_cols = count;
    model_->FixedChanged();
}

void TStringGrid::SetFixedRows(int count)
{
    if (count < 0 || count >= model_->rows)
        throw std::out_of_range("Fixed row count must be less than row count");
    if (count == model_->fixed_rows) return;
    model_->fixed_rows = count;
    model_->FixedChanged();
}

QString TStringGrid::Cells(int col, int row) const { return model_->Text(col, row); }

void TStringGrid::SetCells(int col, int row, const QString& text)
{
    if (col < 0 || row < 0 || col >= model_->cols || row >= model_->rows)
        throw std::out_of_range("Grid index out of range");
    model_->cells.insert(TStringGridModel::Key(col, row), text);
    model_->Changed(col, row);
}

void TStringGrid::SetCellProvider(CellProvider provider)
{
    model_->cells.clear();
    model_->provider = std::move(provider);
    model_->ChangedAll();
}

void TStringGrid::ClearCells() { SetCellProvider(nullptr); }

int TStringGrid::ColWidths(int col) const { return horizontalHeader()->sectionSize(col); }

void TStringGrid::SetColWidths(int col, int width)
{
    if (col < 0 || col >= model_->cols) throw std::out_of_range("Grid index out of range");
    horizontalHeader()->resizeSection(col, width);
}

int TStringGrid::RowHeights(int row) const { return verticalHeader()->sectionSize(row); }

int TStringGrid::DefaultColWidth() const { return horizontalHeader()->defaultSectionSize(); }

void TStringGrid::SetDefaultColWidth(int width)
{
    horizontalHeader()->setDefaultSectionSize(width);
    for (int c = 0; c < model_->cols; ++c) horizontalHeader()->resizeSection(c, width);
}

int TStringGrid::DefaultRowHeight() const { return verticalHeader()->defaultSectionSize(); }

void TStringGrid::SetDefaultRowHeight(int height)
{
    verticalHeader()->setDefaultSectionSize(height);
}

void TStringGrid::SetRowSelect(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

int TStringGrid::SelectionTop() const
{
    const QModelIndexList rows = selectionModel()->selectedIndexes();
    if (rows.isEmpty()) return 0;
    int top = rows.first().row();
    for (const QModelIndex& i : rows) top = std::min(top, i.row());
    return top;
}

void TStringGrid::SetRow(int row)
{
    if (row < 0 || row >= model_->rows) throw std::out_of_range("Grid index out of range");
    const QModelIndex i = model_->index(row, std::min(model_->fixed_cols, model_->cols - 1));
    setCurrentIndex(i);
    selectionModel()->select(i, QItemSelectionModel::ClearAndSelect |
                                    (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                                       : QItemSelectionModel::NoUpdate));
}
