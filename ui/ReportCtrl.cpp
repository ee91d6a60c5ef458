#include "ui/ReportCtrl.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QSettings>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <algorithm>

namespace {

// Rows as high as the control says (the font's line height): with uniform row heights the
// view asks once, not per row.
class ReportItemDelegate : public QStyledItemDelegate {
 public:
  explicit ReportItemDelegate(CReportCtrl* view) : QStyledItemDelegate(view), view_(view) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), view_->RowHeight()};
  }

 private:
  CReportCtrl* view_;
};

constexpr int kMaxColumnWidth = 10000;

}  // namespace

CReportCtrl::CReportCtrl(QWidget* parent) : QTreeView(parent), model_(new ReportModel(this)) {
  setModel(model_);
  setItemDelegate(new ReportItemDelegate(this));
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // A wheel notch moves wheelScrollLines() single steps; per item, a step is a row.
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTextElideMode(Qt::ElideRight);

  QHeaderView* head = header();
  head->setSectionsMovable(true);
  head->setSectionsClickable(true);
  head->setSortIndicatorShown(true);
  head->setSortIndicator(-1, Qt::AscendingOrder);
  head->setStretchLastSection(true);
  head->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(head, &QHeaderView::sectionClicked, this, &CReportCtrl::OnHeaderClicked);
  connect(head, &QHeaderView::customContextMenuRequested, this, &CReportCtrl::ShowHeaderMenu);
  auto mark_dirty = [this] {
    if (!applying_layout_ && !layout_section_.isEmpty()) layout_dirty_ = true;
  };
  connect(head, &QHeaderView::sectionMoved, this, mark_dirty);
  connect(head, &QHeaderView::sectionResized, this, mark_dirty);
  connect(model_, &ReportModel::CheckToggled, this, [this](int row, int column, bool checked) {
    emit CellCheckToggled(row, column, checked, model_->RowData(row));
  });
  UpdateRowHeight();
}

CReportCtrl::~CReportCtrl() {
  if (layout_dirty_) SaveColumnLayout();
}

int CReportCtrl::DefineColumn(int index, const ReportColumn& column) {
  const int at = model_->DefineColumn(index, column);
  header()->resizeSection(at, column.width);
  return at;
}

void CReportCtrl::ActivateColumn(int column, int position) {
  if (column < 0 || column >= model_->ColumnCount()) return;
  QHeaderView* head = header();
  head->showSection(column);
  const std::vector<int> active = ActiveColumns();
  const int target_position = std::clamp(position, 0, static_cast<int>(active.size()) - 1);
  // Display positions count the hidden sections too: move next to the active column that
  // holds the wanted place.
  const int target = active[target_position];
  if (target != column) head->moveSection(head->visualIndex(column), head->visualIndex(target));
}

void CReportCtrl::DeactivateColumn(int column) {
  if (column < 0 || column >= model_->ColumnCount()) return;
  if (ActiveColumns().size() > 1) header()->hideSection(column);
}

std::vector<int> CReportCtrl::ActiveColumns() const {
  std::vector<int> columns;
  const QHeaderView* head = header();
  for (int visual = 0; visual < head->count(); ++visual) {
    const int logical = head->logicalIndex(visual);
    if (!head->isSectionHidden(logical)) columns.push_back(logical);
  }
  return columns;
}

void CReportCtrl::SetStretchColumn(int column) {
  QHeaderView* head = header();
  if (stretch_column_ >= 0) head->setSectionResizeMode(stretch_column_, QHeaderView::Interactive);
  stretch_column_ = column >= 0 && column < model_->ColumnCount() ? column : -1;
  head->setStretchLastSection(stretch_column_ < 0);
  if (stretch_column_ >= 0) head->setSectionResizeMode(stretch_column_, QHeaderView::Stretch);
}

QString CReportCtrl::ColumnLayout() const {
  QStringList parts;
  for (int column : ActiveColumns())
    parts << QStringLiteral("%1:%2").arg(column).arg(header()->sectionSize(column));
  return parts.join(QLatin1Char(','));
}

bool CReportCtrl::SetColumnLayout(const QString& layout) {
  std::vector<std::pair<int, int>> columns;  // column, width
  for (const QString& part : layout.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QStringList fields = part.split(QLatin1Char(':'));
    bool column_ok = false;
    bool width_ok = false;
    const int column = fields.value(0).trimmed().toInt(&column_ok);
    const int width = fields.value(1).trimmed().toInt(&width_ok);
    if (fields.size() != 2 || !column_ok || !width_ok || column < 0 ||
        column >= model_->ColumnCount() || width <= 0 || width > kMaxColumnWidth)
      return false;
    for (const auto& seen : columns) {
      if (seen.first == column) return false;
    }
    columns.emplace_back(column, width);
  }
  if (columns.empty()) return false;

  applying_layout_ = true;
  QHeaderView* head = header();
  for (int column = 0; column < model_->ColumnCount(); ++column)
    head->hideSection(column);
  for (size_t position = 0; position < columns.size(); ++position) {
    const auto [column, width] = columns[position];
    head->showSection(column);
    head->moveSection(head->visualIndex(column), static_cast<int>(position));
    if (column != stretch_column_) head->resizeSection(column, width);
  }
  applying_layout_ = false;
  return true;
}

bool CReportCtrl::LoadColumnLayout(const QString& section, const QString& entry) {
  layout_section_ = section;
  layout_entry_ = entry;
  layout_dirty_ = false;
  QSettings settings;
  settings.beginGroup(section);
  const QVariant value = settings.value(entry);
  return value.typeId() == QMetaType::QString && SetColumnLayout(value.toString());
}

void CReportCtrl::SaveColumnLayout() {
  if (layout_section_.isEmpty()) return;
  QSettings settings;
  settings.beginGroup(layout_section_);
  settings.setValue(layout_entry_, ColumnLayout());
  layout_dirty_ = false;
}

std::vector<int> CReportCtrl::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

int CReportCtrl::FocusRow() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() : -1;
}

void CReportCtrl::OnHeaderClicked(int column) {
  emit HeaderClicked(column);
  QHeaderView* head = header();
  if (!sorting_enabled_) {
    // The header flipped its indicator on the click; show the order the rows keep.
    head->setSortIndicator(model_->SortColumn(), model_->SortOrder());
    return;
  }
  const Qt::SortOrder order =
      column == model_->SortColumn() && model_->SortOrder() == Qt::AscendingOrder
          ? Qt::DescendingOrder
          : Qt::AscendingOrder;
  model_->sort(column, order);
  head->setSortIndicator(column, order);
  emit Sorted(column, order);
}

void CReportCtrl::ShowHeaderMenu(const QPoint& pos) {
  QMenu menu(this);
  const int active_count = static_cast<int>(ActiveColumns().size());
  for (int column = 0; column < model_->ColumnCount(); ++column) {
    const QString caption = model_->Column(column).caption;
    if (caption.isEmpty()) continue;
    QAction* action = menu.addAction(caption);
    action->setCheckable(true);
    const bool shown = !header()->isSectionHidden(column);
    action->setChecked(shown);
    action->setEnabled(!shown || active_count > 1);
    connect(action, &QAction::toggled, this, [this, column](bool on) {
      if (on) {
        ActivateColumn(column, static_cast<int>(ActiveColumns().size()));
      } else {
        DeactivateColumn(column);
      }
      if (!layout_section_.isEmpty()) layout_dirty_ = true;
    });
  }
  if (!menu.isEmpty()) menu.exec(header()->viewport()->mapToGlobal(pos));
}

void CReportCtrl::UpdateRowHeight() {
  const QFontMetrics metrics = fontMetrics();
  const int check = style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this) + 2;
  row_height_ = std::max(metrics.height() + metrics.leading(), check);
}

void CReportCtrl::ToggleChecksOfSelection() {
  std::vector<int> rows = SelectedRows();
  if (rows.empty() && FocusRow() >= 0) rows.push_back(FocusRow());
  if (rows.empty()) return;
  for (int column = 0; column < model_->ColumnCount(); ++column) {
    if (model_->Cell(rows.front(), column).check < 0) continue;
    // Every selected row takes the new state of the first one, as a check box group does.
    const bool checked = !model_->IsChecked(rows.front(), column);
    for (int row : rows) {
      if (model_->Cell(row, column).check >= 0)
        model_->setData(model_->index(row, column), checked ? Qt::Checked : Qt::Unchecked,
                        Qt::CheckStateRole);
    }
    return;
  }
}

void CReportCtrl::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    ToggleChecksOfSelection();
    event->accept();
    return;
  }
  QTreeView::keyPressEvent(event);
}

void CReportCtrl::changeEvent(QEvent* event) {
  QTreeView::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    UpdateRowHeight();
    doItemsLayout();
  }
}

QString CReportCtrl::CellText(const QModelIndex& index) const {
  return model_->data(index, Qt::DisplayRole).toString();
}

int CReportCtrl::CellTextWidth(const QModelIndex& index) const {
  int width = fontMetrics().horizontalAdvance(CellText(index));
  if (model_->flags(index) & Qt::ItemIsUserCheckable)
    width += style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
             style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, this);
  return width;
}

bool CReportCtrl::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    if (index.isValid() && CellTextWidth(index) + margins > visualRect(index).width()) {
      QToolTip::showText(help->globalPos(), CellText(index), viewport(), visualRect(index));
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QTreeView::viewportEvent(event);
}
