#include "app/panes/SenseListView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include "ui/ViewColors.h"

namespace {

// The four columns: a check box, "No.", "Word" (the word with the definition), "Type".
const ReportColumn kColumns[] = {
    {QString(), 18, Qt::AlignCenter, "Checked"},
    {"No.", 40, Qt::AlignRight | Qt::AlignVCenter},
    {"Word", 466, Qt::AlignLeft | Qt::AlignVCenter},
    {"Type", 130, Qt::AlignLeft | Qt::AlignVCenter},
};

// Between the word and its definition in the "Word" cell.
constexpr char kDefinitionSeparator[] = ": ";

}  // namespace

// Draws the "Word" cell (the word in the word colour, the definition after it in the
// definition colour, elided as one line) and the "Type" cell in the type colour. Selected rows
// take the highlight's text colour, as every list of the desktop does.
class SenseWordDelegate : public QStyledItemDelegate {
 public:
  explicit SenseWordDelegate(CSenseListView* view) : QStyledItemDelegate(view), view_(view) {}

  void SetColors(const QColor& word, const QColor& type, const QColor& definition) {
    word_ = word;
    type_ = type;
    definition_ = definition;
  }
  void SetWordLength(int length) { word_length_ = length; }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), view_->RowHeight()};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect rect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
                           .adjusted(TextMargin(style, widget), 0, -TextMargin(style, widget), 0);
    const QPalette::ColorGroup group =
        opt.state & QStyle::State_Enabled
            ? (opt.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive)
            : QPalette::Disabled;
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor base = opt.palette.color(group, QPalette::Base);
    auto pen = [&](const QColor& colour) {
      return selected ? opt.palette.color(group, QPalette::HighlightedText)
                      : ReadableTextColor(colour, base);
    };

    painter->save();
    painter->setFont(opt.font);
    const QFontMetrics& metrics = opt.fontMetrics;
    if (index.column() == CSenseListView::kTypeColumn) {
      painter->setPen(pen(type_));
      painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter,
                        metrics.elidedText(text, Qt::ElideRight, rect.width()));
    } else {
      const QString word = text.left(word_length_);
      const QString rest = text.mid(word_length_);
      const QString shown_word = metrics.elidedText(word, Qt::ElideRight, rect.width());
      painter->setPen(pen(word_));
      painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter, shown_word);
      const int used = metrics.horizontalAdvance(shown_word);
      if (shown_word == word && used < rect.width() && !rest.isEmpty()) {
        const QRect rest_rect = rect.adjusted(used, 0, 0, 0);
        painter->setPen(pen(definition_));
        painter->drawText(rest_rect, Qt::AlignLeft | Qt::AlignVCenter,
                          metrics.elidedText(rest, Qt::ElideRight, rest_rect.width()));
      }
    }
    painter->restore();
  }

 private:
  static int TextMargin(const QStyle* style, const QWidget* widget) {
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  }

  CSenseListView* view_;
  QColor word_ = Qt::red;
  QColor type_ = Qt::black;
  QColor definition_ = QColor(0, 0, 128);
  int word_length_ = 0;
};

CSenseListView::CSenseListView(QWidget* parent)
    : CReportCtrl(parent), word_delegate_(new SenseWordDelegate(this)) {
  setObjectName("senses");
  setAccessibleName("Senses");
  // The header keeps the desktop's font; the rows take the senses font.
  header()->setFont(QApplication::font(header()));
  for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column)
    DefineColumn(column, kColumns[column]);
  // The check box column is at least as wide as a check box.
  const int check_width = style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this) +
                          2 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 4;
  header()->resizeSection(kCheckColumn, std::max(kColumns[kCheckColumn].width, check_width));
  SetStretchColumn(kWordColumn);
  setItemDelegateForColumn(kWordColumn, word_delegate_);
  setItemDelegateForColumn(kTypeColumn, word_delegate_);

  // The palette the senses list has always carried.
  AddColour(0, QColor(192, 216, 192));
  AddColour(1, palette().color(QPalette::Disabled, QPalette::Text));
  AddColour(2, QColor(192, 192, 208));
  AddColour(3, QColor(0, 64, 128));

  connect(this, &CReportCtrl::CellCheckToggled, this,
          [this](int, int column, bool checked, qint64 item_data) {
            if (column == kCheckColumn) emit CheckToggled(static_cast<int>(item_data), checked);
          });
}

void CSenseListView::SetRows(const QString& word, const std::vector<lookup::SenseRow>& rows) {
  const bool new_word = word != word_;
  word_ = word;
  word_delegate_->SetWordLength(static_cast<int>(word.size()));
  std::vector<ReportRow> report_rows;
  report_rows.reserve(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const lookup::SenseRow& row = rows[i];
    const QString definition = QString::fromStdString(row.definition);
    ReportRow report_row;
    report_row.data = static_cast<qint64>(i);
    report_row.cells.resize(std::size(kColumns));
    report_row.cells[kCheckColumn].check = row.checked ? 1 : 0;
    report_row.cells[kNumberColumn].text = QString::asprintf("%2d", row.number);
    report_row.cells[kWordColumn].text =
        definition.isEmpty() ? word : word + kDefinitionSeparator + definition;
    report_row.cells[kTypeColumn].text = QString::fromUtf8(lookup::PosName(row.pos));
    report_rows.push_back(std::move(report_row));
  }
  Model()->ReplaceRows(std::move(report_rows));
  if (new_word) scrollToTop();
}

void CSenseListView::Clear() {
  word_.clear();
  Model()->DeleteAllRows();
}

bool CSenseListView::IsSenseChecked(int sense) const {
  return Model()->IsChecked(Model()->RowOfData(sense), kCheckColumn);
}

void CSenseListView::SetSenseFont(const QFont& font) {
  setFont(font);
}

void CSenseListView::SetColors(const QColor& word, const QColor& type, const QColor& definition) {
  word_delegate_->SetColors(word, type, definition);
  viewport()->update();
}

void CSenseListView::RestoreColumns() {
  if (LoadColumnLayout("Settings", "ReportCtrl")) return;
  for (int column = 0; column < static_cast<int>(std::size(kColumns)); ++column)
    ActivateColumn(column, column);
}

void CSenseListView::contextMenuEvent(QContextMenuEvent* event) {
  bool any_checked = false;
  bool any_unchecked = false;
  for (int row = 0; row < Model()->RowCount(); ++row) {
    (Model()->IsChecked(row, kCheckColumn) ? any_checked : any_unchecked) = true;
  }
  QMenu menu(this);
  menu.addAction("Select All", this, &CSenseListView::SelectAllRequested)
      ->setEnabled(any_unchecked);
  menu.addAction("Deselect All", this, &CSenseListView::DeselectAllRequested)
      ->setEnabled(any_checked);
  menu.exec(event->globalPos());
}
