// The test hooks answer boxes and dialogs in order and fall back to the default (or a cancelled
// dialog) when no answer is queued, so a test that forgets an answer never blocks.
#include <gtest/gtest.h>

#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

TEST(MessageHooks, QueuedAnswersThenDefault) {
  MessageBox::QueueAnswer(QMessageBox::Yes);
  EXPECT_TRUE(MessageBox::Question(nullptr, "Clear?"));
  EXPECT_FALSE(MessageBox::Question(nullptr, "Again?"));  // default No
  MessageBox::Error(nullptr, "Oops");
  const auto shown = MessageBox::TakeShown();
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(MessageBox::Caption(shown[0].kind), "Warning");
  EXPECT_EQ(MessageBox::Caption(shown[2].kind), "Error");
  EXPECT_EQ(shown[2].text, "Oops");
  EXPECT_TRUE(MessageBox::TakeShown().isEmpty());
}

TEST(FileHooks, QueuedPathThenCancel) {
  FileDialog::QueueAnswer("/tmp/a.dbk");
  EXPECT_EQ(FileDialog::SaveFile(nullptr, "Backup", "x.dbk", "*.dbk", "dbk"), "/tmp/a.dbk");
  EXPECT_TRUE(FileDialog::OpenFile(nullptr, "Restore", "", "*.dbk").isEmpty());
  const auto asked = FileDialog::TakeAsked();
  ASSERT_EQ(asked.size(), 2);
  EXPECT_TRUE(asked[0].save);
  EXPECT_FALSE(asked[1].save);
}
