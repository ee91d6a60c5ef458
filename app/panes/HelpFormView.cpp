#include "app/panes/HelpFormView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/panes/FlowLayout.h"
#include "app/panes/WordLink.h"
#include "ui/LinkLabel.h"

namespace {

// The form is white whatever the theme, so its text keeps fixed colours.
const QColor kFormBackground(Qt::white);
const QColor kLinkColour(0, 0, 238);
const QColor kTextColour(Qt::black);

}  // namespace

CHelpFormView::CHelpFormView(QWidget* parent)
    : QWidget(parent),
      link_(new CLinkLabel(QStringLiteral("Add to custom dictionary"), this)),
      suggestion_row_(new QWidget(this)),
      suggestion_links_(new FlowLayout(suggestion_row_)) {
  setObjectName(QStringLiteral("helpForm"));
  setAccessibleName(QStringLiteral("Unknown word"));
  // White whatever the theme, like the label's own background in add-entry mode.
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, kFormBackground);
  colours.setColor(QPalette::WindowText, kTextColour);
  setPalette(colours);
  link_->setObjectName(QStringLiteral("addToCustomLink"));
  link_->SetAddEntryMode(true);
  link_->setFocusPolicy(Qt::StrongFocus);
  link_->setAccessibleDescription(
      QStringLiteral("Opens the dialog that adds the word to the custom dictionary"));
  connect(link_, &CLinkLabel::AddEntryRequested, this, &CHelpFormView::AddToCustomRequested);

  suggestion_row_->setObjectName(QStringLiteral("suggestions"));
  // The words wrap like a paragraph when the form is narrow.
  suggestion_links_->setContentsMargins(0, 0, 0, 0);
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
  if (!words.isEmpty()) {
    auto* lead = new QLabel("Did you mean:", suggestion_row_);
    lead->setObjectName("suggestionsLead");
    suggestion_links_->addWidget(lead);
  }
  QWidget* previous = link_;
  for (int i = 0; i < words.size(); ++i) {
    // The word and its comma stay on one line.
    auto* piece = new QWidget(suggestion_row_);
    auto* piece_row = new QHBoxLayout(piece);
    piece_row->setContentsMargins(0, 0, 0, 0);
    piece_row->setSpacing(0);
    auto* link = new WordLink(words[i], piece);
    link->SetLinkColor(kLinkColour);
    link->setObjectName(QStringLiteral("suggestion%1").arg(i));
    link->setAccessibleName(QStringLiteral("Did you mean %1").arg(words[i]));
    link->setAccessibleDescription(QStringLiteral("Looks up %1").arg(words[i]));
    connect(link, &WordLink::Activated, this,
            [this, word = words[i]] { emit SuggestionActivated(word); });
    piece_row->addWidget(link);
    if (i + 1 < words.size()) piece_row->addWidget(new QLabel(",", piece));
    suggestion_links_->addWidget(piece);
    setTabOrder(previous, link);
    previous = link;
  }
  suggestion_row_->setVisible(!words.isEmpty());
}
