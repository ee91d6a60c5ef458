#include "app/shell/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/shell/Icons.h"

CAboutDialog::CAboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QStringLiteral("About Verbarium"));

  auto* icon = new QLabel(this);
  const int side = fontMetrics().height() * 4;
  icon->setPixmap(ApplicationIcon().pixmap(side, side));
  icon->setAccessibleName(QStringLiteral("Verbarium"));

  auto* name = new QLabel(QStringLiteral("<b>Verbarium</b>"), this);
  QFont big = name->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  name->setFont(big);
  auto* version = new QLabel(QString::fromLatin1(kVersionText), this);
  version->setObjectName(QStringLiteral("version"));
  auto* about = new QLabel(QStringLiteral("A thesaurus and word finder."), this);
  auto* credit =
      new QLabel(QStringLiteral("The dictionary is built from WordNet 3.0,<br>"
                                "Copyright 2006 by Princeton University. All rights reserved.<br>"
                                "<a href=\"license.html\">WordNet licence</a>"),
                 this);
  credit->setObjectName(QStringLiteral("credit"));
  credit->setTextInteractionFlags(Qt::TextBrowserInteraction);
  connect(credit, &QLabel::linkActivated, this,
          [this](const QString& link) { emit HelpPageRequested(link); });

  data_status_ = new QLabel(this);
  data_status_->setObjectName(QStringLiteral("dataStatus"));
  data_status_->setTextFormat(Qt::PlainText);
  data_status_->hide();

  auto* text = new QVBoxLayout;
  text->addWidget(name);
  text->addWidget(version);
  text->addWidget(about);
  text->addSpacing(fontMetrics().height());
  text->addWidget(credit);
  text->addWidget(data_status_);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(text, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
}

void CAboutDialog::SetDataStatus(const QString& text) {
  data_status_->setText(text);
  data_status_->setAccessibleName(text);
  data_status_->setVisible(!text.isEmpty());
}
