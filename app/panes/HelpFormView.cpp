#include "app/panes/HelpFormView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/panes/WordLink.h"

namespace {

// The form is white whatever the theme, so its text keeps fixed colours.
const QColor kFormBackground(Qt::white);
const QColor kLinkColour(0, 0, 238);
const QColor kTextColour(Qt::black);

}  // namespace

CHelpFormView::CHelpFormView(QWidget* parent)
    : QWidget(parent), suggestion_row_(new QWidget(this)), suggestion_links_(new QHBoxLayout) {
  setObjectName("helpForm");
  setAccessibleName("Unknown word");
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kFormBackground);
  colours.setColor(QPalette::WindowText, kTextColour);
  setPalette(colours);

  auto* add = new WordLink("Add to custom dictionary", this);
  add->SetLinkColor(kLinkColour);
  add->setObjectName("addToCustomLink");
  add->setAccessibleDescription("Opens the dialog that adds the word to the custom dictionary");
  connect(add, &WordLink::Activated, this, &CHelpFormView::AddToCustomRequested);
  link_ = add;

  suggestion_row_->setObjectName("suggestions");
  auto* row = new QHBoxLayout(suggestion_row_);
  row->setContentsMargins(0, 0, 0, 0);
  auto* lead = new QLabel("Did you mean:", suggestion_row_);
  lead->setObjectName("suggestionsLead");
  row->addWidget(lead);
  row->addLayout(suggestion_links_);
  row->addStretch(1);
  // Ten long words may not fit: they are cut at the form's edge rather than widen the window.
  suggestion_row_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  suggestion_row_->hide();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(link_, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addWidget(suggestion_row_);
  layout->addStretch(1);
  setFocusProxy(link_);
}

void CHelpFormView::SetSuggestions(const QStringList& words) {
  while (QLayoutItem* item = suggestion_links_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  suggestions_ = words;
  QWidget* previous = link_;
  for (int i = 0; i < words.size(); ++i) {
    auto* link = new WordLink(words[i], suggestion_row_);
    link->SetLinkColor(kLinkColour);
    link->setObjectName(QStringLiteral("suggestion%1").arg(i));
    link->setAccessibleName(QStringLiteral("Did you mean %1").arg(words[i]));
    link->setAccessibleDescription(QStringLiteral("Looks up %1").arg(words[i]));
    connect(link, &WordLink::Activated, this,
            [this, word = words[i]] { emit SuggestionActivated(word); });
    suggestion_links_->addWidget(link);
    if (i + 1 < words.size()) suggestion_links_->addWidget(new QLabel(",", suggestion_row_));
    setTabOrder(previous, link);
    previous = link;
  }
  suggestion_row_->setVisible(!words.isEmpty());
}
