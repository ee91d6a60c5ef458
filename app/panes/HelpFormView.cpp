#include "app/panes/HelpFormView.h"

#include <QVBoxLayout>

#include "ui/LinkLabel.h"

CHelpFormView::CHelpFormView(QWidget* parent)
    : QWidget(parent), link_(new CLinkLabel(QStringLiteral("Add to custom dictionary"), this)) {
  setObjectName(QStringLiteral("helpForm"));
  setAccessibleName(QStringLiteral("Unknown word"));
  // White whatever the theme, like the label's own background in add-entry mode.
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, Qt::white);
  setPalette(colours);
  link_->setObjectName(QStringLiteral("addToCustomLink"));
  link_->SetAddEntryMode(true);
  link_->setFocusPolicy(Qt::StrongFocus);
  link_->setAccessibleDescription(
      QStringLiteral("Opens the dialog that adds the word to the custom dictionary"));
  connect(link_, &CLinkLabel::AddEntryRequested, this, &CHelpFormView::AddToCustomRequested);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(link_, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addStretch(1);
  setFocusProxy(link_);
}
