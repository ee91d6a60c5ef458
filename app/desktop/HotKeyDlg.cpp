#include "app/desktop/HotKeyDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/desktop/HotKey.h"
#include "ui/MessageBox.h"

CHotKeyDlg::CHotKeyDlg(const QString& current, QWidget* parent)
    : QDialog(parent), field_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Set Hotkey"));
  setObjectName(QStringLiteral("HotKeyDlg"));

  auto* label = new QLabel(QStringLiteral("&Hotkey:"), this);
  label->setBuddy(field_);
  field_->setObjectName(QStringLiteral("HotKeyField"));
  field_->setAccessibleName(QStringLiteral("Hotkey"));
  field_->setMaxLength(kHotKeyTextMaxLength);
  field_->setMinimumWidth(field_->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
  field_->setText(current.isEmpty() ? QString::fromLatin1(kDefaultHotKeyText) : current);
  auto* hint = new QLabel(
      QStringLiteral("Ctrl+Alt+ or Ctrl+ followed by one character, for example Ctrl+Alt+T."),
      this);
  hint->setWordWrap(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CHotKeyDlg::OnOk);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(field_);
  layout->addWidget(hint);
  layout->addWidget(buttons);
  field_->selectAll();
}

void CHotKeyDlg::OnOk() {
  const QString text = field_->text().trimmed();
  if (!ParseHotKey(text)) {
    MessageBox::Error(this, QString::fromLatin1(kInvalidHotKeyMessage));
    reject();
    return;
  }
  accepted_text_ = text;
  accept();
}
