// The key grab and the selection against a real X server (run_under_xvfb.sh starts one): keys
// are pressed through XTEST by xdotool, selections are set by xclip, as another program would.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>

#include "app/desktop/HotKey.h"
#include "app/desktop/SelectionCapture.h"
#include "app/desktop/X11HotKey.h"

namespace {

constexpr int kWait = 5000;
constexpr int kQuiet = 400;  // how long a hotkey that must not fire is given to fire

void Press(const QString& keys) {
  ASSERT_EQ(QProcess::execute("xdotool", {"key", keys}), 0) << keys.toStdString();
}

// Presses `keys`; true when `hotkey` fired.
bool Fires(X11HotKey& hotkey, const QString& keys, int wait = kWait) {
  QSignalSpy activated(&hotkey, &X11HotKey::Activated);
  Press(keys);
  return activated.wait(wait) && activated.count() == 1;
}

bool StaysQuiet(X11HotKey& hotkey, const QString& keys) {
  return !Fires(hotkey, keys, kQuiet);
}

// Makes `text` the content of an X selection ("primary" or "clipboard"), held by xclip, and
// waits until this program's clipboard has seen the change.
void SetSelection(const char* selection, const QString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QSignalSpy changed(clipboard, qstrcmp(selection, "primary") == 0 ? &QClipboard::selectionChanged
                                                                   : &QClipboard::dataChanged);
  QProcess xclip;
  xclip.setStandardOutputFile(QProcess::nullDevice());
  xclip.setStandardErrorFile(QProcess::nullDevice());
  xclip.start("xclip", {"-selection", selection});
  xclip.write(text.toUtf8());
  xclip.closeWriteChannel();
  ASSERT_TRUE(xclip.waitForFinished(kWait));
  ASSERT_TRUE(changed.wait(kWait)) << selection;
}

}  // namespace

TEST(X11HotKey, FiresWhateverLockState) {
  struct Case {
    const char* text;
    const char* keys;
    const char* locks;  // lock keys switched on while pressing, off again afterwards
  };
  const Case cases[] = {
      {"Ctrl+Alt+T", "ctrl+alt+t", nullptr},
      {"Ctrl+Alt+t", "ctrl+alt+t", nullptr},
      {"Ctrl+Alt+T", "ctrl+alt+t", "Caps_Lock"},
      {"Ctrl+Alt+T", "ctrl+alt+t", "Num_Lock"},
      {"Ctrl+Alt+T", "ctrl+alt+t", "Caps_Lock Num_Lock"},
      {"Ctrl+5", "ctrl+5", nullptr},
      {"Ctrl+Alt+!", "ctrl+alt+exclam", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " " + (c.locks ? c.locks : ""));
    X11HotKey hotkey;
    ASSERT_TRUE(hotkey.Register(ParseHotKeyOrDefault(c.text)));
    const QStringList locks = QString(c.locks).split(' ', Qt::SkipEmptyParts);
    for (const QString& lock : locks)
      Press(lock);
    EXPECT_TRUE(Fires(hotkey, c.keys));
    for (const QString& lock : locks)
      Press(lock);
  }
}

TEST(X11HotKey, ReplacingReleasesOldCombination) {
  X11HotKey hotkey;
  ASSERT_TRUE(hotkey.Register(HotKey{}));
  ASSERT_TRUE(hotkey.Register(HotKey{false, U'Y'}));
  EXPECT_TRUE(StaysQuiet(hotkey, "ctrl+alt+t"));
  EXPECT_TRUE(Fires(hotkey, "ctrl+y"));
}

TEST(X11HotKey, CombinationHeldElsewhereFails) {
  X11HotKey holder;
  ASSERT_TRUE(holder.Register(HotKey{}));
  X11HotKey hotkey;
  EXPECT_FALSE(hotkey.Register(HotKey{}));
  QSignalSpy held(&holder, &X11HotKey::Activated);
  EXPECT_TRUE(StaysQuiet(hotkey, "ctrl+alt+t"));
  EXPECT_EQ(held.count(), 1);
}

TEST(X11HotKey, HotKeyCapturesSelectionThenClipboard) {
  struct Case {
    const char* primary;  // nullptr: left as it was
    const char* clipboard;
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, "dogs", "dogs"},  // nothing has been selected yet
      {"cats", nullptr, "cats"},
  };
  X11HotKey hotkey;
  ASSERT_TRUE(hotkey.Register(HotKey{}));
  QString captured;
  QObject::connect(&hotkey, &X11HotKey::Activated,
                   [&captured] { captured = CaptureText(ClipboardTextSource()); });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    if (c.primary) SetSelection("primary", c.primary);
    if (c.clipboard) SetSelection("clipboard", c.clipboard);
    captured.clear();
    ASSERT_TRUE(Fires(hotkey, "ctrl+alt+t"));
    EXPECT_EQ(captured, c.expected);
  }
}
