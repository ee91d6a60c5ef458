// "Choose Colors": the colours of the senses list (word, type, definition) and of the panes'
// text. A colour button opens the desktop's colour chooser; "Reset" gives back the colours the
// dialog opened with, "Defaults" (after a question) the default colours. OK is enabled once
// something changed. Colours are kept as the settings keep them, 0x00BBGGRR.
#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QPushButton;

// 0x00BBGGRR and back.
QColor ColorFromSetting(uint32_t value);
uint32_t SettingFromColor(const QColor& color);

class CColorsDialog : public QDialog {
  Q_OBJECT

 public:
  enum Slot { kWordText, kTypeText, kDefinitionText, kPaneText, kSlotCount };
  using Colors = std::array<uint32_t, kSlotCount>;
  using Chooser = std::function<std::optional<QColor>(QWidget* parent, const QColor& initial)>;

  CColorsDialog(const Colors& colors, const Colors& defaults, QWidget* parent = nullptr);

  const Colors& colors() const { return colors_; }
  bool changed() const { return changed_; }

  // Test hook: the chooser every colour button uses (null: the desktop's colour dialog).
  static void SetChooserForTests(Chooser chooser);

 private:
  void ShowSlot(int slot);
  void Choose(int slot);
  void MarkChanged();
  void OnReset();
  void OnDefaults();

  Colors colors_;
  Colors starting_;
  Colors defaults_;
  bool changed_ = false;
  std::array<QPushButton*, kSlotCount> buttons_{};
  QPushButton* ok_ = nullptr;
};
