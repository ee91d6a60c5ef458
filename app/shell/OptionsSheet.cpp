#include "app/shell/OptionsSheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

COptionsSheet::COptionsSheet(QWidget* parent) : QDialog(parent), tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("optionsSheet"));
  setWindowTitle(QStringLiteral("Options"));
  tabs_->setObjectName(QStringLiteral("optionsPages"));
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    Apply();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  apply_button_ = buttons->button(QDialogButtonBox::Apply);
  apply_button_->setEnabled(false);
  connect(apply_button_, &QPushButton::clicked, this, &COptionsSheet::Apply);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons);
}

void COptionsSheet::AddPage(QWidget* page, const QString& title, std::function<void()> apply) {
  tabs_->addTab(page, title);
  apply_.push_back(std::move(apply));
}

void COptionsSheet::Apply() {
  for (const std::function<void()>& apply : apply_)
    if (apply) apply();
  SetModified(false);
}

void COptionsSheet::SetModified(bool modified) {
  apply_button_->setEnabled(modified);
}
