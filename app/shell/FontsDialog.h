// "Choose fonts": the fonts of the senses list, the panes and the usage window. Each row shows
// the face, the style and the size in points, and its "..." button opens the desktop's font
// chooser; "Defaults" (after a question) gives every row its default font. The fonts the
// dialog ends with are read after it was accepted.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "app/shell/FontSpec.h"

class QLineEdit;

class CFontsDialog : public QDialog {
  Q_OBJECT

 public:
  enum Row { kSenseRow, kPaneRow, kUsageRow, kRowCount };
  using Fonts = std::array<FontSpec, kRowCount>;
  // Picks a font, starting from the given one; nothing when the user cancelled.
  using Chooser = std::function<std::optional<QFont>(QWidget* parent, const QFont& initial)>;

  CFontsDialog(const Fonts& fonts, const Fonts& defaults, QWidget* parent = nullptr);

  const Fonts& fonts() const { return fonts_; }

  // Test hook: the chooser every "..." button uses (null: the desktop's font dialog).
  static void SetChooserForTests(Chooser chooser);

 private:
  void ShowRow(int row);
  void Choose(int row);
  void OnDefaults();

  Fonts fonts_;
  Fonts defaults_;
  std::array<std::array<QLineEdit*, 3>, kRowCount> fields_{};
};
