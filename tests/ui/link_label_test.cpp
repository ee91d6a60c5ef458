// CLinkLabel: its colours, underline and fitting as the mouse and the opener drive it, the
// failure message, and the add-entry mode. Targets go to a stubbed opener.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QEnterEvent>
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

  static void Enter(CLinkLabel& label) {
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(&label, &enter);
  }
  static void Leave(CLinkLabel& label) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&label, &leave);
  }

  QStringList opened_;
  int result_ = UrlOpener::kOpened;
};

TEST_F(LinkLabelTest, ColourFollowsHoverAndVisit) {
  CLinkLabel label("https://example.org");
  const CLinkLabel::Colors colours = label.CurrentColors();
  EXPECT_EQ(colours.link, QColor(0, 0, 238));  // on the light test palette
  const auto shown = [&] { return label.TextColor(); };
  EXPECT_EQ(shown(), colours.link);
  Enter(label);
  EXPECT_EQ(shown(), colours.hover);
  result_ = UrlOpener::kNoApplication;
  label.Activate();
  EXPECT_FALSE(label.Visited());
  EXPECT_EQ(shown(), colours.link);
  result_ = UrlOpener::kOpened;
  Enter(label);
  QTest::mouseClick(&label, Qt::LeftButton);
  EXPECT_EQ(shown(), colours.visited);
  Enter(label);
  Leave(label);
  EXPECT_EQ(shown(), colours.visited);
  EXPECT_EQ(opened_, (QStringList{"https://example.org", "https://example.org"}));

  QPalette dark;
  dark.setColor(QPalette::Window, QColor(40, 40, 40));
  label.setPalette(dark);
  EXPECT_GE(label.CurrentColors().visited.lightness(), 128);
}

TEST_F(LinkLabelTest, UnderlineModes) {
  const struct {
    CLinkLabel::Underline mode;
    bool resting, hovering, left;
  } cases[] = {
      {CLinkLabel::Underline::kWhileHovering, false, true, false},
      {CLinkLabel::Underline::kNever, false, false, false},
      {CLinkLabel::Underline::kAlways, true, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    CLinkLabel label("Homepage");
    label.SetUnderline(c.mode);
    EXPECT_EQ(label.Underlined(), c.resting);
    Enter(label);
    EXPECT_EQ(label.Underlined(), c.hovering);
    Leave(label);
    EXPECT_EQ(label.Underlined(), c.left);
  }
}

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

TEST_F(LinkLabelTest, FittingKeepsTheAlignedEdge) {
  // Placed at (100, 50) in 300 x 80; the fitted label of size w x h lands at these corners.
  const struct {
    Qt::Alignment alignment;
    QPoint (*corner)(QSize);
  } cases[] = {
      {Qt::AlignLeft | Qt::AlignTop, [](QSize) { return QPoint(100, 50); }},
      {Qt::AlignRight | Qt::AlignTop, [](QSize s) { return QPoint(400 - s.width(), 50); }},
      {Qt::AlignCenter,
       [](QSize s) { return QPoint(100 + (300 - s.width()) / 2, 50 + (80 - s.height()) / 2); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alignment));
    CLinkLabel label("Homepage");
    label.setAlignment(c.alignment);
    label.setGeometry(100, 50, 300, 80);
    label.FitToText();
    EXPECT_EQ(label.geometry(), QRect(c.corner(label.sizeHint()), label.sizeHint()));
  }
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
