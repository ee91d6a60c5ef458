// What the hotkey looks up: the text selected in whatever application (the PRIMARY selection,
// which X11 programs, and Wayland programs through the primary-selection protocol, fill when
// text is selected), or, when that is empty, the clipboard's text; trimmed at both ends.
#pragma once

#include <QString>

// Where the texts come from; tests stand in their own.
class TextSource {
 public:
  virtual ~TextSource() = default;
  virtual QString SelectionText() const = 0;
  virtual QString ClipboardText() const = 0;
};

// The application's clipboard (QClipboard's Selection and Clipboard modes). Where the platform
// has no selection, its text is empty.
class ClipboardTextSource : public TextSource {
 public:
  QString SelectionText() const override;
  QString ClipboardText() const override;
};

// The trimmed selection, else the trimmed clipboard text; empty when both are.
QString CaptureText(const TextSource& source);
