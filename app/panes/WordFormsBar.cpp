#include "app/panes/WordFormsBar.h"

#include <QHBoxLayout>
#include <QLabel>

#include "app/panes/WordLink.h"

WordFormsBar::WordFormsBar(QWidget* parent)
    : QWidget(parent),
      origin_(new QLabel(this)),
      also_label_(new QLabel(QStringLiteral("also:"), this)),
      links_(new QHBoxLayout) {
  setObjectName(QStringLiteral("wordForms"));
  setAccessibleName(QStringLiteral("Word forms"));
  origin_->setObjectName(QStringLiteral("wordOrigin"));
  origin_->setTextFormat(Qt::PlainText);
  origin_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(fontMetrics().averageCharWidth(), 0, 0, 0);
  row->addWidget(origin_);
  row->addSpacing(fontMetrics().averageCharWidth() * 2);
  row->addWidget(also_label_);
  links_->setSpacing(0);
  row->addLayout(links_);
  row->addStretch(1);
  setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  hide();
}

void WordFormsBar::ShowForms(const QString& word, const QString& from, const QStringList& also) {
  while (QLayoutItem* item = links_->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  also_ = also;
  const QString origin = from.isEmpty() ? word : QStringLiteral("%1 (from %2)").arg(word, from);
  origin_->setText(origin);
  origin_->setAccessibleName(origin);
  also_label_->setVisible(!also.isEmpty());
  for (int i = 0; i < also.size(); ++i) {
    auto* link = new WordLink(also[i], this);
    link->setObjectName(QStringLiteral("alsoForm%1").arg(i));
    link->setAccessibleDescription(QStringLiteral("Looks up %1").arg(also[i]));
    connect(link, &WordLink::Activated, this, [this, form = also[i]] { emit FormActivated(form); });
    links_->addWidget(link);
    if (i + 1 < also.size()) links_->addWidget(new QLabel(QStringLiteral(", "), this));
  }
  QString summary = origin;
  if (!also.isEmpty()) summary += QStringLiteral(", also: ") + also.join(QStringLiteral(", "));
  setAccessibleDescription(summary);
  setVisible(!word.isEmpty() && (!from.isEmpty() || !also.isEmpty()));
}
