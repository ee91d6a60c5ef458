#include "app/anagrams/AnagramsView.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>
#include <iterator>

#include "app/lookup/anagram_list.h"
#include "app/lookup/panes.h"
#include "app/panes/WordListCtrl.h"
#include "ui/MessageBox.h"

namespace {

// The filter box is wide enough for a long filter ("2-3-4-5-6-7") without scrolling.
constexpr int kFilterBoxCharacters = 16;

}  // namespace

CAnagramsView::CAnagramsView(Host host, QWidget* parent)
    : QWidget(parent),
      host_(std::move(host)),
      worker_(host_.engine, host_.stop,
              [this] {
                // On the worker thread: the view takes the batch at its next turn.
                QMetaObject::invokeMethod(this, &CAnagramsView::OnDelivery, Qt::QueuedConnection);
              }),
      filter_(new QLineEdit(this)),
      refresh_(new QPushButton(QStringLiteral("Refresh"), this)),
      use_filter_(new QCheckBox(QStringLiteral("Use Filter"), this)),
      list_(new CWordListCtrl(this)) {
  setObjectName(QStringLiteral("anagramsView"));
  setAccessibleName(QStringLiteral("Anagrams"));

  auto* label = new QLabel(QStringLiteral("Filter:"), this);
  label->setBuddy(filter_);
  filter_->setObjectName(QStringLiteral("anagramFilter"));
  filter_->setAccessibleName(QStringLiteral("Filter"));
  filter_->setAccessibleDescription(
      QStringLiteral("Word lengths of the anagrams, in order, such as 4-3"));
  filter_->setMaxLength(static_cast<int>(anagram::kFilterTextLimit));
  filter_->setMinimumWidth(filter_->fontMetrics().horizontalAdvance(QLatin1Char('0')) *
                           kFilterBoxCharacters);
  refresh_->setObjectName(QStringLiteral("anagramRefresh"));
  refresh_->setAccessibleName(QStringLiteral("Refresh"));
  refresh_->setIcon(QIcon::fromTheme(QStringLiteral("view-refresh"),
                                     QIcon(QStringLiteral(":/anagrams/refresh.svg"))));
  refresh_->setAutoDefault(false);
  use_filter_->setObjectName(QStringLiteral("anagramUseFilter"));
  use_filter_->setAccessibleName(QStringLiteral("Use Filter"));
  list_->setObjectName(QStringLiteral("anagramList"));
  list_->setAccessibleName(QStringLiteral("Anagrams"));

  // The "Filter" setting as it stands; the box starts empty.
  const bool use_filter = host_.options().request.use_filter;
  use_filter_->setChecked(use_filter);
  filter_->setEnabled(use_filter);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(filter_);
  row->addWidget(refresh_);
  row->addWidget(use_filter_);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addWidget(list_, 1);
  setTabOrder(filter_, refresh_);
  setTabOrder(refresh_, use_filter_);
  setTabOrder(use_filter_, list_);

  connect(refresh_, &QPushButton::clicked, this, &CAnagramsView::Refresh);
  connect(use_filter_, &QCheckBox::clicked, this, &CAnagramsView::OnUseFilterClicked);
  connect(filter_, &QLineEdit::textEdited, this, &CAnagramsView::OnFilterEdited);
  connect(list_, &CWordListCtrl::WordActivated, this, &CAnagramsView::WordActivated);
}

CAnagramsView::~CAnagramsView() {
  // Before the members go: no notification may reach a view that is being destroyed.
  worker_.Stop();
}

void CAnagramsView::OnCurrentKindChanged(int kind, int previous_kind) {
  const bool was_current = previous_kind == lookup::kAnagramsPane;
  if (kind == lookup::kAnagramsPane) {
    if (was_current) Leave();
    Activate(was_current);
  } else if (was_current) {
    Leave();
  }
}

void CAnagramsView::Activate(bool fresh) {
  if (!fresh && (list_->Count() > 0 || generating())) return;
  const QString word = host_.looked_up_word();
  // A filter typed for another word would hardly fit this one: a new word starts without.
  if (word != request_word_) filter_->clear();
  StartRequest(word);
}

void CAnagramsView::Leave() {
  return_focus_ = nullptr;
  waiting_.reset();
  list_->Clear();
  phrases_.clear();
  if (host_.status != nullptr) host_.status->clearMessage();
  worker_.Stop();
  SetBusy(false);
}

void CAnagramsView::Refresh() {
  const QString text = host_.lookup_text();
  if (text.trimmed().isEmpty()) return;
  StartRequest(text);
}

void CAnagramsView::StopRequest() {
  const bool was_waiting = waiting_.has_value();
  waiting_.reset();
  if (worker_.Stop() || was_waiting) SetBusy(false);
}

void CAnagramsView::SetEngine(JumbleEngine* engine) {
  worker_.SetEngine(engine);
  host_.engine_pending = false;
  if (!waiting_) return;
  const anagram::AnagramRequestArgs args = std::move(*waiting_);
  waiting_.reset();
  SetBusy(worker_.Start(args));
}

void CAnagramsView::StartRequest(const QString& word) {
  const AnagramOptions options = host_.options();
  anagram::AnagramRequestArgs args;
  const std::string message = anagram::BuildAnagramRequest(
      word.toStdString(), filter_->text().toStdString(), options.request, &args);
  if (!message.empty()) {
    if (host_.status != nullptr) host_.status->clearMessage();
    MessageBox::Error(this, QString::fromStdString(message));
    return;
  }
  if (args.word.empty()) return;
  request_word_ = word;
  if (host_.status != nullptr) host_.status->clearMessage();
  list_->Clear();
  phrases_.clear();
  sort_ = options.sort;
  QWidget* focus = QApplication::focusWidget();
  return_focus_ = focus != nullptr && isAncestorOf(focus) ? focus : nullptr;
  if (host_.engine_pending) {
    waiting_ = std::move(args);  // the view is busy until the engine comes
    SetBusy(true);
    return;
  }
  // Start stops a running request first; the busy state carries on through the change.
  SetBusy(worker_.Start(args));
}

void CAnagramsView::OnDelivery() {
  AnagramWorker::Batch batch = worker_.Take();
  if (!batch.phrases.empty()) {
    std::vector<WordItem> items;
    items.reserve(batch.phrases.size());
    for (const std::string& phrase : batch.phrases)
      items.push_back({QString::fromStdString(phrase), 1});
    list_->Model()->Append(items);
    phrases_.insert(phrases_.end(), std::make_move_iterator(batch.phrases.begin()),
                    std::make_move_iterator(batch.phrases.end()));
  }
  if (!batch.finished) return;
  if (sort_) {
    lookup::SortAnagrams(&phrases_);
    list_->SetWords(phrases_, 1);
  }
  if (host_.status != nullptr)
    host_.status->showMessage(QString::fromStdString(lookup::AnagramStatusText(batch.found)));
  SetBusy(false);
}

void CAnagramsView::OnUseFilterClicked(bool on) {
  host_.set_use_filter(on);
  filter_->setEnabled(on);
  if (on) filter_->setFocus(Qt::OtherFocusReason);
  Refresh();
}

void CAnagramsView::OnFilterEdited(const QString& text) {
  // Typing a filter switches it on, emptying the box switches it off.
  use_filter_->setChecked(!text.isEmpty());
  host_.set_use_filter(!text.isEmpty());
}

void CAnagramsView::SetBusy(bool busy) {
  refresh_->setEnabled(!busy);
  use_filter_->setEnabled(!busy);
  filter_->setEnabled(!busy && use_filter_->isChecked());
  if (busy == busy_) return;
  busy_ = busy;
  emit BusyChanged(busy);
  if (!busy && return_focus_ != nullptr && return_focus_->isEnabled())
    return_focus_->setFocus(Qt::OtherFocusReason);
  if (!busy) return_focus_ = nullptr;
}

void CAnagramsView::keyPressEvent(QKeyEvent* event) {
  // Enter in the filter box, on the buttons or in the list without a current anagram.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    Refresh();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}
