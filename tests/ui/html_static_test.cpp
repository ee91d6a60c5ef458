// CHtmlStatic as its owner and its user meet it: links clicked and reached by the keyboard,
// commands, repaints, what a screen reader reads. Targets go to a stubbed opener.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QStringList>
#include <QTest>
#include <memory>

#include "ui/HtmlStatic.h"
#include "ui/MessageBox.h"
#include "ui/UrlOpener.h"

namespace {

class HtmlStaticTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UrlOpener::SetTestStub([this](const QString& target) {
      opened_.append(target);
      return result_;
    });
    control_.resize(400, 200);
    control_.show();
  }
  void TearDown() override { UrlOpener::SetTestStub({}); }

  QPoint CentreOfLink(int area) {
    control_.repaint();
    const html::LinkArea& link = control_.CurrentLayout().links.at(area);
    return {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
  }

  CHtmlStatic control_;
  QStringList opened_;
  int result_ = UrlOpener::kOpened;
};

TEST_F(HtmlStaticTest, ClickOpensByTargetKind) {
  QString ran;
  auto gone = std::make_unique<QObject>();
  control_.AddCommand("Next", &control_, [&] { ran = "Next"; });
  control_.AddCommand("Gone", gone.get(), [&] { ran = "Gone"; });
  gone.reset();
  const struct {
    const char* target;
    const char* command;  // the command that runs, "" for none
    const char* opened;   // what the opener receives, "" for nothing
  } cases[] = {
      {"APP:Next", "Next", ""},
      {"\"app:NEXT\"", "Next", ""},
      {"APP:Unknown", "", ""},
      {"APP:Gone", "", ""},
      {"\"https://example.org/a b\"", "", "https://example.org/a b"},
      {"help/missing.html", "", "help/missing.html"},
  };
  result_ = UrlOpener::kFileNotFound;  // a failed open shows nothing
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    ran.clear();
    opened_.clear();
    control_.SetText(QStringLiteral("Go <A HREF=%1>there</A> now").arg(c.target));
    QTest::mouseClick(&control_, Qt::LeftButton, {}, CentreOfLink(0));
    EXPECT_EQ(ran, c.command);
    EXPECT_EQ(opened_.join(""), c.opened);
    EXPECT_TRUE(MessageBox::TakeShown().isEmpty());
  }
}

TEST_F(HtmlStaticTest, EachPaintStartsFromTheText) {
  control_.SetText("a <B>b <A HREF=x>c");
  for (int paint = 0; paint < 3; ++paint) {
    control_.repaint();
    const html::Layout& layout = control_.CurrentLayout();
    EXPECT_FALSE(layout.pieces.at(0).font.bold);
    EXPECT_EQ(layout.links.size(), 1u);
  }
}

TEST_F(HtmlStaticTest, KeyboardOpensTheFocusedLink) {
  control_.SetText("<A HREF=one>first</A> and <A HREF=two>second link</A>");
  ASSERT_EQ(control_.focusPolicy(), Qt::TabFocus);
  control_.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&control_));
  control_.setFocus(Qt::TabFocusReason);
  QTest::keyClick(&control_, Qt::Key_Return);
  QTest::keyClick(&control_, Qt::Key_Tab);
  QTest::keyClick(&control_, Qt::Key_Space);
  EXPECT_EQ(opened_, (QStringList{"one", "two"}));
}

TEST_F(HtmlStaticTest, ScreenReadersReadThePlainText) {
  control_.SetText("<b>Bold</b> &amp; <i>it</i>");
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&control_);
  ASSERT_NE(accessible, nullptr);
  EXPECT_EQ(accessible->role(), QAccessible::StaticText);
  EXPECT_EQ(accessible->text(QAccessible::Name), "Bold & it");
}

}  // namespace
