// The fonts and colours dialogs of the real main window: their rows, Defaults and Reset with
// their questions, and what OK changes in the window.
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/panes/SenseListView.h"
#include "app/panes/UsageDialog.h"
#include "app/shell/ColorsDialog.h"
#include "app/shell/FontsDialog.h"
#include "tests/shell/shell_test_util.h"

namespace {

class DialogsTest : public shell_test::WindowTest {
 protected:
  void TearDown() override {
    CFontsDialog::SetChooserForTests(nullptr);
    CColorsDialog::SetChooserForTests(nullptr);
  }
  template <typename Dialog>
  Dialog* Open(Command command, const char* name) {
    Action(command)->trigger();
    return dialog_->findChild<Dialog*>(QString::fromLatin1(name));
  }
  template <typename Dialog>
  static void Click(Dialog* dialog, const char* name) {
    dialog->template findChild<QPushButton*>(QString::fromLatin1(name))->click();
  }
  static QPushButton* Ok(QDialog* dialog) {
    return dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
  }
};

TEST_F(DialogsTest, FontsDialogShowsItsRowsAndOkAppliesThem) {
  auto* fonts = Open<CFontsDialog>(Command::kFont, "fontsDialog");
  ASSERT_NE(fonts, nullptr);
  CFontsDialog::SetChooserForTests([](QWidget*, const QFont& initial) {
    QFont chosen = initial;
    chosen.setFamilies({QStringLiteral("DejaVu Serif")});
    chosen.setPixelSize(20);
    chosen.setBold(true);
    return std::optional<QFont>(chosen);
  });
  Click(fonts, "senseFont:choose");
  EXPECT_EQ(fonts->findChild<QLineEdit*>(QStringLiteral("senseFont:style"))->text(),
            QStringLiteral("Bold"));
  Ok(fonts)->click();
  const FontSpec stored = dialog_->settings().Font(Setting::kSenseFont);
  EXPECT_EQ(stored.face, QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(stored.height, -20);
  EXPECT_EQ(stored.quality, 2) << "the other fields stay";
  EXPECT_EQ(dialog_->senses()->font().pixelSize(), 20) << "the senses list takes the font";
}

TEST_F(DialogsTest, FontsDefaultsAskFirst) {
  dialog_->settings().SetText(Setting::kPaneFont,
                              QStringLiteral("-30,0,0,0,700,1,0,0,0,0,0,2,18,Serif,0"));
  for (QMessageBox::StandardButton answer :
       {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Yes}) {
    auto* fonts = Open<CFontsDialog>(Command::kFont, "fontsDialog");
    MessageBox::QueueAnswer(answer);
    Click(fonts, "defaults");
    Ok(fonts)->click();
    EXPECT_EQ(shell_test::TakeMessages(),
              QStringList{"Warning: You are about to reset all fonts to their default "
                          "values.\nContinue ?"});
    EXPECT_EQ(dialog_->settings().Font(Setting::kPaneFont).height,
              answer == QMessageBox::Yes ? -16 : -30);
    QApplication::processEvents();  // the closed dialog goes
  }
}

TEST_F(DialogsTest, ColorsResetAndDefaultsEnableOkOnlyForAChange) {
  auto* colors = Open<CColorsDialog>(Command::kColors, "colorsDialog");
  ASSERT_NE(colors, nullptr);
  EXPECT_FALSE(Ok(colors)->isEnabled());
  MessageBox::QueueAnswer(QMessageBox::Yes);
  Click(colors, "defaults");  // already the defaults: nothing changed
  EXPECT_FALSE(Ok(colors)->isEnabled());

  CColorsDialog::SetChooserForTests(
      [](QWidget*, const QColor&) { return std::optional<QColor>(QColor(0, 128, 0)); });
  Click(colors, "wordTextColor");
  EXPECT_TRUE(Ok(colors)->isEnabled());
  EXPECT_EQ(colors->colors()[CColorsDialog::kWordText], 0x008000u);
  Click(colors, "reset");
  EXPECT_EQ(colors->colors()[CColorsDialog::kWordText], 0x0000FFu) << "the opening colours";
  EXPECT_TRUE(Ok(colors)->isEnabled());
  Click(colors, "paneTextColor");
  Ok(colors)->click();
  EXPECT_EQ(dialog_->settings().Number(Setting::kPaneTextColor), 0x008000u);
  EXPECT_EQ(dialog_->settings().Number(Setting::kWordTextColor), 0x0000FFu);
}

TEST_F(DialogsTest, ShowUsageOpensTheExamplesOfTheWord) {
  shell_test::TypeLookup(dialog_.get(), QStringLiteral("cat"));
  ASSERT_TRUE(dialog_->tool_row()->ButtonOf(ToolRow::kShowUsage)->isEnabled());
  dialog_->tool_row()->ButtonOf(ToolRow::kShowUsage)->click();
  auto* usage = dialog_->findChild<CUsageDialog*>(QStringLiteral("usageWindow"));
  ASSERT_NE(usage, nullptr);
  EXPECT_TRUE(usage->isVisible());
  EXPECT_TRUE(usage->isModal());
  usage->close();
}

}  // namespace
