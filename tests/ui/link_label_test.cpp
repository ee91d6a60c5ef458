// CLinkLabel: the failure message, what a screen reader meets, and the add-entry mode (the one
// the help form uses). Targets go to a stubbed opener.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QSignalSpy>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "ui/LinkLabel.h"
#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"

namespace {

class LinkLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UrlOpener::SetTestStub([this](const QString& target) {
      opened_.append(target);
      return result_;
    });
  }
  void TearDown() override {
    UrlOpener::SetTestStub({});
    MessageBox::TakeShown();
  }

  QStringList opened_;
  int result_ = UrlOpener::kOpened;
};

TEST_F(LinkLabelTest, FailureShowsTheReason) {
  const struct {
    int result;
    const char* reason;
  } cases[] = {
      {26, "A sharing violation occurred. "},
      {UrlOpener::kNoApplication,
       "There is no application associated\nwith the given filename extension."},
      {UrlOpener::kFileNotFound, "The specified file was not found."},
      {UrlOpener::kPathNotFound, "The specified path was not found."},
      {4, "Unknown Error (4) occurred."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.result);
    result_ = c.result;
    CLinkLabel label("Forum");
    label.SetTarget("help/forum.html");
    QTest::keyClick(&label, Qt::Key_Return);
    const auto shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].kind, MessageBox::Kind::kError);
    EXPECT_EQ(shown[0].text, QString("Unable to open hyperlink:\n\n") + c.reason);
    EXPECT_FALSE(label.Visited());
  }
  EXPECT_EQ(opened_.size(), 5);
  EXPECT_EQ(opened_.front(), "help/forum.html");
}

TEST_F(LinkLabelTest, TargetAndTextStandInForEachOther) {
  CLinkLabel label;
  label.SetTarget("mailto:support@example.org");
  EXPECT_EQ(label.text(), "mailto:support@example.org");
  EXPECT_EQ(label.toolTip(), "mailto:support@example.org");
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&label);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::Link);
  accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(opened_, QStringList{"mailto:support@example.org"});
}

TEST_F(LinkLabelTest, AddEntryModeAsksTheOwner) {
  CLinkLabel label("Add to custom dictionary");
  label.SetAddEntryMode(true);
  QSignalSpy asked(&label, &CLinkLabel::AddEntryRequested);
  QTest::mouseClick(&label, Qt::LeftButton);
  EXPECT_EQ(asked.count(), 1);
  EXPECT_TRUE(opened_.isEmpty());
  EXPECT_TRUE(label.Underlined());
  label.setPalette(QPalette(Qt::black));
  EXPECT_EQ(label.grab().toImage().pixelColor(0, 0), QColor(Qt::white));
}

TEST(UrlOpenerPlan, FailuresFoundBeforeOpening) {
  QTemporaryDir folder;
  const QString file = folder.filePath("page.html");
  QFile(file).open(QIODevice::WriteOnly);
  const struct {
    QString target;
    int failure;
    QString url;
  } cases[] = {
      {"", UrlOpener::kFileNotFound, ""},
      {folder.filePath("missing.html"), UrlOpener::kFileNotFound, ""},
      {folder.filePath("no/such/page.html"), UrlOpener::kPathNotFound, ""},
      {"file://" + folder.filePath("no/page.html"), UrlOpener::kPathNotFound, ""},
      {" " + file + " ", 0, "file://" + file},
      {"https://example.org/a?b=1", 0, "https://example.org/a?b=1"},
      {"www.example.org", 0, "https://www.example.org"},
      {"mailto:me@example.org", 0, "mailto:me@example.org"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target.toStdString());
    const UrlOpener::Plan plan = UrlOpener::PlanFor(c.target);
    EXPECT_EQ(plan.failure, c.failure);
    EXPECT_EQ(plan.url.toString(), c.url);
  }
}

}  // namespace
