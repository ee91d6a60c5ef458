#include "app/shell/FontsDialog.h"

#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/MessageBox.h"

namespace {

constexpr const char* kRowLabels[] = {"&Senses Font:", "&Pane Font:", "&Usage Font:"};
constexpr const char* kRowNames[] = {"senseFont", "paneFont", "usageFont"};

CFontsDialog::Chooser& TestChooser() {
  static CFontsDialog::Chooser chooser;
  return chooser;
}

double LogicalDpi(const QWidget* widget) {
  const QScreen* screen = widget->screen();
  return screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

void CFontsDialog::SetChooserForTests(Chooser chooser) {
  TestChooser() = std::move(chooser);
}

CFontsDialog::CFontsDialog(const Fonts& fonts, const Fonts& defaults, QWidget* parent)
    : QDialog(parent), fonts_(fonts), defaults_(defaults) {
  setObjectName(QStringLiteral("fontsDialog"));
  setWindowTitle(QStringLiteral("Choose fonts"));
  auto* grid = new QGridLayout;
  for (int row = 0; row < kRowCount; ++row) {
    auto* label = new QLabel(QString::fromLatin1(kRowLabels[row]), this);
    grid->addWidget(label, row, 0);
    const QString name = QString::fromLatin1(kRowNames[row]);
    const char* parts[] = {"face", "style", "size"};
    for (int f = 0; f < 3; ++f) {
      auto* field = new QLineEdit(this);
      field->setReadOnly(true);
      field->setObjectName(name + QLatin1Char(':') + QString::fromLatin1(parts[f]));
      field->setAccessibleName(label->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')) +
                               QLatin1Char(' ') + QString::fromLatin1(parts[f]));
      fields_[row][f] = field;
      grid->addWidget(field, row, 1 + f);
    }
    label->setBuddy(fields_[row][0]);
    fields_[row][2]->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) * 2);
    auto* choose = new QPushButton(QStringLiteral("..."), this);
    choose->setObjectName(name + QStringLiteral(":choose"));
    choose->setAccessibleName(QStringLiteral("Choose ") + label->text().remove(QLatin1Char('&')));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, [this, row] { Choose(row); });
    grid->addWidget(choose, row, 4);
    ShowRow(row);
  }
  grid->setColumnStretch(1, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* defaults_button =
      buttons->addButton(QStringLiteral("&Defaults"), QDialogButtonBox::ResetRole);
  defaults_button->setObjectName(QStringLiteral("defaults"));
  connect(defaults_button, &QPushButton::clicked, this, &CFontsDialog::OnDefaults);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void CFontsDialog::ShowRow(int row) {
  const FontSpec& spec = fonts_[row];
  fields_[row][0]->setText(spec.face);
  fields_[row][1]->setText(spec.StyleName());
  fields_[row][2]->setText(QStringLiteral("%1").arg(spec.PointSize(LogicalDpi(this)), 2));
}

void CFontsDialog::Choose(int row) {
  const QFont initial = fonts_[row].ToFont();
  std::optional<QFont> chosen;
  if (TestChooser()) {
    chosen = TestChooser()(this, initial);
  } else {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Font"));
    if (ok) chosen = font;
  }
  if (!chosen) return;
  fonts_[row] = fonts_[row].WithFont(*chosen, LogicalDpi(this));
  ShowRow(row);
}

void CFontsDialog::OnDefaults() {
  const QMessageBox::StandardButton answer = MessageBox::Show(
      this, MessageBox::Kind::kWarning,
      QStringLiteral("You are about to reset all fonts to their default values.\nContinue ?"),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  fonts_ = defaults_;
  for (int row = 0; row < kRowCount; ++row)
    ShowRow(row);
}
