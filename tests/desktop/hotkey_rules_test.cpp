// The hotkey text rules, "Set Hotkey" (an invalid text shows its message and leaves the dialog
// unaccepted, so the window keeps the old hotkey), and the mapping of a hotkey to the key grabs
// of an X server, over a small keyboard of known keysyms.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/desktop/HotKey.h"
#include "app/desktop/HotKeyDlg.h"
#include "app/desktop/KeyboardMap.h"
#include "ui/MessageBox.h"

namespace {

constexpr uint16_t kCtrlAlt = kControlMask | kMod1Mask;
constexpr uint16_t kMod3Mask = 1 << 5;

// Four levels per key (two groups of plain and shifted), keycodes from 8 on.
KeyboardMap TestKeyboard() {
  KeyboardMap map;
  map.min_keycode = 8;
  map.keysyms_per_keycode = 4;
  map.keysyms = {
      't',    'T',  't', 'T',  // 8
      '1',    '!',  '1', '!',  // 9
      0xff7f, 0,    0,   0,    // 10 Num_Lock
      0xffe5, 0,    0,   0,    // 11 Caps_Lock
      'Q',    0,    0,   0,    // 12 a letter listed in upper case only
      0xe4,   0xc4, 0,   0,    // 13 a with diaeresis
      '-',    '_',  0,   0,    // 14
      '!',    0,    0,   0,    // 15 a key of its own for "!"
  };
  map.keycodes_per_modifier = 2;
  map.modifier_keycodes = {0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0};  // Num Lock on Mod3
  return map;
}

}  // namespace

TEST(HotKeyText, Parse) {
  struct Case {
    const char* text;
    std::optional<HotKey> expected;
  };
  const Case cases[] = {
      {"Ctrl+Alt+T", HotKey{true, U'T'}},
      {"Ctrl+T", HotKey{false, U'T'}},
      {" \tCtrl+Alt+T \n", HotKey{true, U'T'}},
      {"Ctrl+Alt+t", HotKey{true, U'T'}},  // a letter names its key whatever its case
      {"Ctrl+\u00e4", HotKey{false, U'\u00c4'}},
      {"Ctrl+Alt+5", HotKey{true, U'5'}},
      {"Ctrl+Alt+!", HotKey{true, U'!'}},
      {"Alt+T", std::nullopt},
      {"Ctrl+Alt+", std::nullopt},
      {"Ctrl+Alt+TT", std::nullopt},
      {"Ctrl+Alt+ T", std::nullopt},
      {"Ctrl++", std::nullopt},
      {"Shift+Ctrl+T", std::nullopt},
      {"ctrl+alt+t", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseHotKey(QString::fromUtf8(c.text)), c.expected);
  }
  EXPECT_EQ(ParseHotKeyOrDefault("Alt+T"), (HotKey{true, U'T'}));
}

TEST(HotKeyDlg, Ok) {
  struct Case {
    const char* typed;
    const char* accepted;  // nullptr: not accepted, with the invalid-text message
  };
  const Case cases[] = {
      {"Ctrl+Y", "Ctrl+Y"},
      {"  Ctrl+Alt+t ", "Ctrl+Alt+t"},
      {"Alt+T", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    CHotKeyDlg dialog("Ctrl+Alt+T");
    dialog.findChild<QLineEdit*>("HotKeyField")->setText(c.typed);
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    const QList<MessageBox::Shown> shown = MessageBox::TakeShown();
    if (c.accepted) {
      EXPECT_EQ(dialog.result(), QDialog::Accepted);
      EXPECT_EQ(dialog.HotKeyText(), c.accepted);
      EXPECT_TRUE(shown.isEmpty());
    } else {
      EXPECT_EQ(dialog.result(), QDialog::Rejected);
      EXPECT_TRUE(dialog.HotKeyText().isEmpty());
      ASSERT_EQ(shown.size(), 1);
      EXPECT_EQ(shown[0].kind, MessageBox::Kind::kError);
      EXPECT_EQ(shown[0].text, kInvalidHotKeyMessage);
    }
  }
}

TEST(KeyboardMap, FindKeyGrab) {
  struct Case {
    HotKey hotkey;
    std::optional<KeyGrab> expected;
  };
  const Case cases[] = {
      {{true, U'T'}, KeyGrab{8, kCtrlAlt}},
      {{false, U'T'}, KeyGrab{8, kControlMask}},
      {{true, U'Q'}, KeyGrab{12, kCtrlAlt}},
      {{true, U'\u00c4'}, KeyGrab{13, kCtrlAlt}},
      {{true, U'1'}, KeyGrab{9, kCtrlAlt}},
      {{true, U'_'}, KeyGrab{14, kCtrlAlt | kShiftMask}},  // only a shifted level carries it
      {{true, U'!'}, KeyGrab{15, kCtrlAlt}},               // a plain level wins over a shifted one
      {{true, U'\u0416'}, std::nullopt},                   // no key carries it
  };
  const KeyboardMap map = TestKeyboard();
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.hotkey.key));
    EXPECT_EQ(FindKeyGrab(map, c.hotkey), c.expected);
  }
  EXPECT_EQ(FindKeyGrab(KeyboardMap{}, HotKey{}), std::nullopt);
}

TEST(KeyboardMap, NumLockMaskFromModifierMapping) {
  KeyboardMap map = TestKeyboard();
  EXPECT_EQ(NumLockMask(map), kMod3Mask);
  map.modifier_keycodes.assign(16, 0);
  EXPECT_EQ(NumLockMask(map), 0);
}
