#include "app/panes/WordListCtrl.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "ui/ViewColors.h"

namespace {

// One line per item, as high as the font's line (height plus leading). The width asked for is
// none: the items take the list's width and a longer text ends in an ellipsis instead of
// widening the list.
class WordItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {1, option.fontMetrics.height() + option.fontMetrics.leading()};
  }
};

}  // namespace

CWordListCtrl::CWordListCtrl(QWidget* parent) : QListView(parent), model_(new WordListModel(this)) {
  setModel(model_);
  setItemDelegate(new WordItemDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideRight);
  setWordWrap(false);
  setResizeMode(QListView::Adjust);
  connect(this, &QListView::doubleClicked, this, &CWordListCtrl::ActivateRow);
}

QStringList CWordListCtrl::Words() const {
  QStringList words;
  words.reserve(model_->Count());
  for (int row = 0; row < model_->Count(); ++row)
    words << model_->Item(row).text;
  return words;
}

QString CWordListCtrl::SelectedWord() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  return selected.isEmpty() ? QString() : model_->Item(selected.front().row()).text;
}

void CWordListCtrl::SetTextFont(const QFont& font) {
  setFont(font);
}

void CWordListCtrl::SetTextColor(const QColor& colour) {
  text_colour_ = colour;
  ApplyTextColor();
}

void CWordListCtrl::ApplyTextColor() {
  if (!text_colour_.isValid()) return;
  const QColor readable = ReadableTextColor(text_colour_, palette().color(QPalette::Base));
  if (palette().color(QPalette::Text) == readable) return;
  QPalette colours = palette();
  colours.setColor(QPalette::Text, readable);
  setPalette(colours);
}

void CWordListCtrl::ActivateRow(const QModelIndex& index) {
  if (!index.isValid()) return;
  QString word = model_->Item(index.row()).text;
  while (!word.isEmpty() && word.front().isSpace())
    word.remove(0, 1);
  if (!word.isEmpty()) emit WordActivated(word);
}

void CWordListCtrl::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
      currentIndex().isValid()) {
    ActivateRow(currentIndex());
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    const QString word = SelectedWord();
    if (!word.isEmpty()) QGuiApplication::clipboard()->setText(word);
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
}

void CWordListCtrl::changeEvent(QEvent* event) {
  QListView::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) ApplyTextColor();
}

bool CWordListCtrl::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QRect cell = visualRect(index);
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.isValid() && fontMetrics().horizontalAdvance(text) + margins > cell.width()) {
      QToolTip::showText(help->globalPos(), model_->Item(index.row()).text, viewport(), cell);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QListView::viewportEvent(event);
}
