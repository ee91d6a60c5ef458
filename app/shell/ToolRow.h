// The tool row along the top of the main window: the lookup box followed by nine icon
// buttons (Lookup, Last word, Next word, Show usage, the four part-of-speech toggles, Help).
// It keeps its natural width: a wider window leaves room after the Help button.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

class CHistoryCombo;
class QToolButton;

class ToolRow : public QWidget {
  Q_OBJECT

 public:
  enum Button {
    kLookup,
    kLastWord,
    kNextWord,
    kShowUsage,
    kNouns,
    kVerbs,
    kAdjectives,
    kAdverbs,
    kHelp,
    kButtonCount
  };
  static constexpr int kLookupTextLimit = 50;  // characters of the lookup box

  explicit ToolRow(QWidget* parent = nullptr);

  CHistoryCombo* LookupBox() const { return lookup_box_; }
  QToolButton* ButtonOf(Button button) const { return buttons_[button]; }

  void SetEnabled(Button button, bool enabled);
  bool IsEnabled(Button button) const;
  // The on/off state of a part-of-speech toggle.
  void SetToggle(Button button, bool on);
  bool Toggle(Button button) const;

  // Draws each button's icon as an enabled button shows it, off and on (kept in the icons'
  // cache): the first lookup, which enables the buttons, then finds them drawn.
  void DrawEnabledIcons() const;

  // The enabled states of the seven buttons a busy spell disables and gives back: Next word
  // (bit 0), Last word (1), Show usage (2), verbs (3), nouns (4), adverbs (5), adjectives (6).
  uint8_t SavedStates() const;
  void RestoreStates(uint8_t states);

 signals:
  void Clicked(ToolRow::Button button);

 private:
  CHistoryCombo* lookup_box_;
  std::array<QToolButton*, kButtonCount> buttons_{};
};
