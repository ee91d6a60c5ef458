// The global hotkey's text and what it names. The setting "Hotkey" holds one of
//   "Ctrl+Alt+" followed by exactly one character (modifiers Ctrl and Alt), or
//   "Ctrl+" followed by exactly one character (modifier Ctrl),
// with white space allowed at both ends. The character names a key: a letter names its key
// whatever its case ("Ctrl+Alt+t" and "Ctrl+Alt+T" are the same hotkey); any other character
// names the key that types it. Text of any other form is not a hotkey: start-up and the
// handlers then use Ctrl+Alt+T, and the "Set Hotkey" dialog shows kInvalidHotKeyMessage.
#pragma once

#include <QMetaType>
#include <QString>
#include <optional>

// The identifier the hotkey is registered under (also its shortcut id at the desktop portal).
inline constexpr int kHotKeyId = 1097;
inline constexpr char kDefaultHotKeyText[] = "Ctrl+Alt+T";
// The longest text the "Set Hotkey" field takes.
inline constexpr int kHotKeyTextMaxLength = 50;
inline constexpr char kInvalidHotKeyMessage[] =
    "Invalid hotkey - please see help for valid hotkeys";

struct HotKey {
  bool alt = true;      // Ctrl+Alt; false: Ctrl alone
  char32_t key = U'T';  // the character, letters in upper case

  friend bool operator==(const HotKey&, const HotKey&) = default;
};

// The hotkey a text names, or nothing when the text is not of the form above.
std::optional<HotKey> ParseHotKey(const QString& text);

// The hotkey a text names, Ctrl+Alt+T when it names none.
HotKey ParseHotKeyOrDefault(const QString& text);

// What a fired hotkey tells the window so that the desktop lets it come to the front: the X
// server time of the key press (X11), or an activation token (a Wayland desktop's portal).
struct HotKeyActivation {
  quint32 x11_time = 0;
  QString activation_token;
};
Q_DECLARE_METATYPE(HotKeyActivation)
