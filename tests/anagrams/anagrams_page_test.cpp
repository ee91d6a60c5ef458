// The "Anagrams" page: the Maximum Number's check as the user types, and which changes make
// the page modified, so that the sheet's Apply becomes available and stores them.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "app/anagrams/AnagramsPropertyPage.h"
#include "app/shell/MainMenus.h"
#include "app/shell/OptionsSheet.h"
#include "tests/shell/shell_test_util.h"

namespace {

TEST(AnagramsPageTest, MaximumNumberCheckCorrectsTheText) {
  const struct {
    bool append;  // typed after "1,000", else in its place
    const char* typed;
    const char* text;
    const char* message;
    bool modified;
  } cases[] = {
      {true, "a", "1000", anagram::kNumbersOnlyMessage, false},
      {false, "5a", "5", anagram::kNumbersOnlyMessage, true},
      {false, "12,000", "10,000", anagram::kMaximumAnagramsMessage, true},
      {true, "0", "1,0000", nullptr, true},
      {false, "", "", nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    CAnagramsPropertyPage page(AnagramOptions{});
    auto* edit =
        page.findChild<QSpinBox*>(QStringLiteral("anagramMaxNumber"))->findChild<QLineEdit*>();
    ASSERT_EQ(edit->text(), QStringLiteral("1,000"));
    if (c.append) {
      edit->end(false);
    } else {
      edit->selectAll();
      QTest::keyClick(edit, Qt::Key_Delete);
    }
    QTest::keyClicks(edit, QString::fromLatin1(c.typed));
    EXPECT_EQ(edit->text(), QString::fromLatin1(c.text));
    const QList<MessageBox::Shown> shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), c.message != nullptr ? 1 : 0);
    EXPECT_TRUE(c.message == nullptr || shown[0].text == QString::fromLatin1(c.message));
    EXPECT_EQ(page.modified(), c.modified);
  }
}

// Every control's change makes Apply available (the sort switch too); Apply stores the page.
TEST(AnagramsPageTest, ChangesMakeApplyAvailable) {
  shell_test::ResetSettings();
  auto dialog = shell_test::StartedDialog();
  const std::pair<const char*, std::function<void(QWidget*)>> changes[] = {
      {"anagramMinLength", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Up); }},
      {"anagramMaxLength", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Down); }},
      {"anagramMaxNumber", [](QWidget* box) { QTest::keyClick(box, Qt::Key_Down); }},
      {"anagramPermutations", [](QWidget* box) { static_cast<QCheckBox*>(box)->click(); }},
      {"anagramSort", [](QWidget* box) { static_cast<QCheckBox*>(box)->click(); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    dialog->menus()->Action(Command::kSettings)->trigger();
    std::unique_ptr<COptionsSheet> sheet(
        dialog->findChild<COptionsSheet*>(QStringLiteral("optionsSheet")));
    ASSERT_NE(sheet, nullptr);
    auto* page = sheet->findChild<CAnagramsPropertyPage*>(QStringLiteral("anagramsPage"));
    sheet->Tabs()->setCurrentWidget(page);
    QPushButton* apply = sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply);
    EXPECT_FALSE(apply->isEnabled());
    change(page->findChild<QWidget*>(QString::fromLatin1(name)));
    EXPECT_TRUE(apply->isEnabled());
    apply->click();
    EXPECT_FALSE(apply->isEnabled());
  }
  const Settings& settings = dialog->settings();
  EXPECT_EQ(settings.Number(Setting::kAgMin), 2u);
  EXPECT_EQ(settings.Number(Setting::kAgMax), 49u);
  EXPECT_EQ(settings.Number(Setting::kAgNum), 999u);
  EXPECT_EQ(settings.Number(Setting::kPermutations), 0u);
  EXPECT_EQ(settings.Number(Setting::kSortAnagrams), 0u);
}

}  // namespace
