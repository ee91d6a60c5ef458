#include "app/shell/ColorsDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/MessageBox.h"

namespace {

struct SlotInfo {
  const char* label;
  const char* object_name;
};
constexpr SlotInfo kSlots[] = {
    {"&Word Text :", "wordTextColor"},
    {"&Type Text :", "typeTextColor"},
    {"&Definition Text :", "defTextColor"},
    {"&Pane Text :", "paneTextColor"},
};
static_assert(std::size(kSlots) == CColorsDialog::kSlotCount, "one row per colour");

CColorsDialog::Chooser& TestChooser() {
  static CColorsDialog::Chooser chooser;
  return chooser;
}

}  // namespace

QColor ColorFromSetting(uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

uint32_t SettingFromColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<uint32_t>(rgb.red()) | (static_cast<uint32_t>(rgb.green()) << 8) |
         (static_cast<uint32_t>(rgb.blue()) << 16);
}

void CColorsDialog::SetChooserForTests(Chooser chooser) {
  TestChooser() = std::move(chooser);
}

CColorsDialog::CColorsDialog(const Colors& colors, const Colors& defaults, QWidget* parent)
    : QDialog(parent), colors_(colors), starting_(colors), defaults_(defaults) {
  setObjectName(QStringLiteral("colorsDialog"));
  setWindowTitle(QStringLiteral("Choose Colors"));

  auto* sense_group = new QGroupBox(QStringLiteral("Sense Window"), this);
  auto* pane_group = new QGroupBox(QStringLiteral("Output Panes"), this);
  auto* sense_form = new QFormLayout(sense_group);
  auto* pane_form = new QFormLayout(pane_group);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    auto* button = new QPushButton(this);
    button->setObjectName(QString::fromLatin1(kSlots[slot].object_name));
    button->setAccessibleName(QString::fromLatin1(kSlots[slot].label).remove(QLatin1Char('&')));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, slot] { Choose(slot); });
    buttons_[slot] = button;
    (slot == kPaneText ? pane_form : sense_form)
        ->addRow(QString::fromLatin1(kSlots[slot].label), button);
    ShowSlot(slot);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setEnabled(false);
  QPushButton* reset = buttons->addButton(QStringLiteral("&Reset"), QDialogButtonBox::ResetRole);
  reset->setObjectName(QStringLiteral("reset"));
  QPushButton* defaults_button =
      buttons->addButton(QStringLiteral("De&faults"), QDialogButtonBox::ResetRole);
  defaults_button->setObjectName(QStringLiteral("defaults"));
  connect(reset, &QPushButton::clicked, this, &CColorsDialog::OnReset);
  connect(defaults_button, &QPushButton::clicked, this, &CColorsDialog::OnDefaults);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sense_group);
  layout->addWidget(pane_group);
  layout->addWidget(buttons);
}

void CColorsDialog::ShowSlot(int slot) {
  const QColor color = ColorFromSetting(colors_[slot]);
  const int side = fontMetrics().height();
  QPixmap swatch(side * 3, side);
  swatch.fill(color);
  QPainter(&swatch).drawRect(swatch.rect().adjusted(0, 0, -1, -1));
  buttons_[slot]->setIcon(QIcon(swatch));
  buttons_[slot]->setIconSize(swatch.size());
  buttons_[slot]->setToolTip(color.name());
}

void CColorsDialog::MarkChanged() {
  changed_ = true;
  ok_->setEnabled(true);
}

void CColorsDialog::Choose(int slot) {
  const QColor initial = ColorFromSetting(colors_[slot]);
  const std::optional<QColor> chosen =
      TestChooser() ? TestChooser()(this, initial) : [&]() -> std::optional<QColor> {
    const QColor color = QColorDialog::getColor(initial, this);
    if (!color.isValid()) return std::nullopt;
    return color;
  }();
  if (!chosen) return;
  colors_[slot] = SettingFromColor(*chosen);
  ShowSlot(slot);
  MarkChanged();
}

void CColorsDialog::OnReset() {
  if (colors_ != starting_) MarkChanged();
  colors_ = starting_;
  for (int slot = 0; slot < kSlotCount; ++slot)
    ShowSlot(slot);
}

void CColorsDialog::OnDefaults() {
  const QMessageBox::StandardButton answer = MessageBox::Show(
      this, MessageBox::Kind::kWarning,
      QStringLiteral("You are about to reset all colors to their default values.\nContinue ?"),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  if (colors_ != defaults_) MarkChanged();
  colors_ = defaults_;
  for (int slot = 0; slot < kSlotCount; ++slot)
    ShowSlot(slot);
}
