// The key grab against a real X server (run_under_xvfb.sh starts one): keys are pressed through
// XTEST by xdotool. Capturing the selection and a replaced hotkey are tried with the real
// program end to end (tests/e2e/desktop_e2e.sh).
#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>

#include "app/desktop/HotKey.h"
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

}  // namespace

TEST(X11HotKey, FiresWhateverLockState) {
  struct Case {
    const char* text;
    const char* keys;
    const char* locks;  // lock keys switched on while pressing, off again afterwards
  };
  const Case cases[] = {
      {"Ctrl+Alt+T", "ctrl+alt+t", "Caps_Lock"},  // each lock alone, then both
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

TEST(X11HotKey, CombinationHeldElsewhereFails) {
  X11HotKey holder;
  ASSERT_TRUE(holder.Register(HotKey{}));
  X11HotKey hotkey;
  EXPECT_FALSE(hotkey.Register(HotKey{}));
  QSignalSpy held(&holder, &X11HotKey::Activated);
  EXPECT_FALSE(Fires(hotkey, "ctrl+alt+t", kQuiet));
  EXPECT_EQ(held.count(), 1);
}
