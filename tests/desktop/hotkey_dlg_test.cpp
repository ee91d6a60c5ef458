// "Set Hotkey": a valid text is accepted trimmed; an invalid one shows its message and leaves
// the dialog unaccepted, so the window keeps the old hotkey.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/desktop/HotKey.h"
#include "app/desktop/HotKeyDlg.h"
#include "ui/MessageBox.h"

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
