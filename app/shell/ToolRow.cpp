#include "app/shell/ToolRow.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

#include "app/shell/HistoryCombo.h"
#include "app/shell/Icons.h"

namespace {

struct ButtonInfo {
  ToolRow::Button button;
  const char* object_name;
  const char* tooltip;
  const char* theme_icon;  // freedesktop name, or null for the program's own icon
  const char* own_icon;
  bool toggle;
};

constexpr ButtonInfo kButtons[] = {
    {ToolRow::kLookup, "lookupButton", "Lookup a word or phrase", "edit-find", ":/icons/lookup.svg",
     false},
    {ToolRow::kLastWord, "lastWordButton", "Last word", "go-previous", ":/icons/last-word.svg",
     false},
    {ToolRow::kNextWord, "nextWordButton", "Next word", "go-next", ":/icons/next-word.svg", false},
    {ToolRow::kShowUsage, "showUsageButton", "Show usage", nullptr, ":/icons/usage.svg", false},
    {ToolRow::kNouns, "nounsButton", "Show nouns only", nullptr, ":/icons/nouns.svg", true},
    {ToolRow::kVerbs, "verbsButton", "Show verbs only", nullptr, ":/icons/verbs.svg", true},
    {ToolRow::kAdjectives, "adjectivesButton", "Show adjectives only", nullptr,
     ":/icons/adjectives.svg", true},
    {ToolRow::kAdverbs, "adverbsButton", "Show adverbs only", nullptr, ":/icons/adverbs.svg", true},
    {ToolRow::kHelp, "helpButton", "Help", "help-contents", ":/icons/help.svg", false},
};
static_assert(std::size(kButtons) == ToolRow::kButtonCount, "one row per button");

// The buttons of the saved states, bit 0 first.
constexpr ToolRow::Button kSavedButtons[] = {
    ToolRow::kNextWord, ToolRow::kLastWord, ToolRow::kShowUsage,  ToolRow::kVerbs,
    ToolRow::kNouns,    ToolRow::kAdverbs,  ToolRow::kAdjectives,
};

}  // namespace

ToolRow::ToolRow(QWidget* parent) : QWidget(parent), lookup_box_(new CHistoryCombo(this)) {
  setObjectName(QStringLiteral("toolRow"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);

  lookup_box_->setObjectName(QStringLiteral("lookupBox"));
  lookup_box_->setAccessibleName(QStringLiteral("Lookup box"));
  lookup_box_->lineEdit()->setAccessibleName(QStringLiteral("Word or pattern"));
  lookup_box_->lineEdit()->setMaxLength(kLookupTextLimit);
  lookup_box_->lineEdit()->setPlaceholderText(QStringLiteral("Word, phrase or pattern"));
  // Room for a phrase of the box's length in the window's font.
  lookup_box_->setMinimumContentsLength(kLookupTextLimit / 2);
  lookup_box_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  layout->addWidget(lookup_box_);

  for (const ButtonInfo& info : kButtons) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(info.object_name));
    button->setToolTip(QString::fromLatin1(info.tooltip));
    button->setAccessibleName(QString::fromLatin1(info.tooltip));
    button->setIcon(ThemedIcon(info.theme_icon, info.own_icon));
    button->setCheckable(info.toggle);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    buttons_[info.button] = button;
    layout->addWidget(button);
    const Button id = info.button;
    connect(button, &QToolButton::clicked, this, [this, id] { emit Clicked(id); });
  }
  layout->addStretch(1);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ToolRow::DrawEnabledIcons() const {
  for (const QToolButton* button : buttons_) {
    for (const QIcon::State state : {QIcon::Off, QIcon::On})
      button->icon().pixmap(button->iconSize(), button->devicePixelRatio(), QIcon::Normal, state);
  }
}

void ToolRow::SetEnabled(Button button, bool enabled) {
  buttons_[button]->setEnabled(enabled);
}

bool ToolRow::IsEnabled(Button button) const {
  return buttons_[button]->isEnabled();
}

void ToolRow::SetToggle(Button button, bool on) {
  buttons_[button]->setChecked(on);
}

bool ToolRow::Toggle(Button button) const {
  return buttons_[button]->isChecked();
}

uint8_t ToolRow::SavedStates() const {
  uint8_t states = 0;
  for (size_t bit = 0; bit < std::size(kSavedButtons); ++bit)
    if (IsEnabled(kSavedButtons[bit])) states |= static_cast<uint8_t>(1u << bit);
  return states;
}

void ToolRow::RestoreStates(uint8_t states) {
  for (size_t bit = 0; bit < std::size(kSavedButtons); ++bit)
    SetEnabled(kSavedButtons[bit], (states >> bit) & 1u);
}
