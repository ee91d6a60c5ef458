// The "Anagrams" page: the Maximum Number's check as the user types, which changes make the
// page (and so the sheet's Apply) modified, and what OK and Apply store.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>

#include "app/anagrams/AnagramsPropertyPage.h"
#include "app/shell/MainMenus.h"
#include "app/shell/OptionsSheet.h"
#include "tests/shell/shell_test_util.h"

namespace {

QLineEdit* EditOf(QSpinBox* box) {
  return box->findChild<QLineEdit*>();
}

TEST(AnagramsPageTest, MaximumNumberCheckCorrectsTheText) {
  const struct {
    const char* typed;  // after the text "1,000" is selected (a leading '+': appended instead)
    const char* text;
    const char* message;
    bool modified;
  } cases[] = {
      {"+a", "1000", anagram::kNumbersOnlyMessage, false},
      {"5a", "5", anagram::kNumbersOnlyMessage, true},
      {"12,000", "10,000", anagram::kMaximumAnagramsMessage, true},
      {"+0", "1,0000", nullptr, true},
      {"", "", nullptr, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    CAnagramsPropertyPage page(AnagramOptions{});
    auto* box = page.findChild<QSpinBox*>(QStringLiteral("anagramMaxNumber"));
    QLineEdit* edit = EditOf(box);
    ASSERT_EQ(edit->text(), QStringLiteral("1,000"));
    QString typed = QString::fromLatin1(c.typed);
    if (typed.startsWith(QLatin1Char('+'))) {
      edit->end(false);
      typed.remove(0, 1);
    } else {
      edit->selectAll();
      QTest::keyClick(edit, Qt::Key_Delete);
    }
    QTest::keyClicks(edit, typed);
    EXPECT_EQ(edit->text(), QString::fromLatin1(c.text));
    const QList<MessageBox::Shown> shown = MessageBox::TakeShown();
    ASSERT_EQ(shown.size(), c.message != nullptr ? 1 : 0);
    if (c.message != nullptr) {
      EXPECT_EQ(shown[0].text, QString::fromLatin1(c.message));
    }
    EXPECT_EQ(page.modified(), c.modified);
  }
}

// Each control's change makes the page modified; the sheet's Apply is available from then until
// it has stored the page.
TEST(AnagramsPageTest, ChangesMakeApplyAvailable) {
  shell_test::ResetSettings();
  auto dialog = shell_test::StartedDialog();
  const std::function<void(QWidget*)> changes[] = {
      [](QWidget* page) {
        QTest::keyClick(page->findChild<QSpinBox*>("anagramMinLength"), Qt::Key_Up);
      },
      [](QWidget* page) {
        QTest::keyClick(page->findChild<QSpinBox*>("anagramMaxLength"), Qt::Key_Down);
      },
      [](QWidget* page) {
        QTest::keyClick(page->findChild<QSpinBox*>("anagramMaxNumber"), Qt::Key_Down);
      },
      [](QWidget* page) { page->findChild<QCheckBox*>("anagramPermutations")->click(); },
      [](QWidget* page) { page->findChild<QCheckBox*>("anagramSort")->click(); },
  };
  for (size_t i = 0; i < std::size(changes); ++i) {
    SCOPED_TRACE(i);
    dialog->menus()->Action(Command::kSettings)->trigger();
    auto* sheet = dialog->findChild<COptionsSheet*>(QStringLiteral("optionsSheet"));
    ASSERT_NE(sheet, nullptr);
    auto* page = sheet->findChild<CAnagramsPropertyPage*>(QStringLiteral("anagramsPage"));
    QPushButton* apply = sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply);
    sheet->Tabs()->setCurrentWidget(page);
    EXPECT_FALSE(apply->isEnabled());
    changes[i](page);
    EXPECT_TRUE(apply->isEnabled());
    const AnagramOptions shown = page->Options();
    apply->click();
    EXPECT_FALSE(apply->isEnabled());
    const Settings& settings = dialog->settings();
    EXPECT_EQ(settings.Number(Setting::kAgMin), static_cast<uint32_t>(shown.request.min_length));
    EXPECT_EQ(settings.Number(Setting::kAgMax), static_cast<uint32_t>(shown.request.max_length));
    EXPECT_EQ(settings.Number(Setting::kAgNum), static_cast<uint32_t>(shown.request.max_anagrams));
    EXPECT_EQ(settings.Number(Setting::kPermutations) != 0, shown.request.permutations);
    EXPECT_EQ(settings.Number(Setting::kSortAnagrams) != 0, shown.sort);
    sheet->reject();
    delete sheet;
  }
  EXPECT_EQ(dialog->settings().Number(Setting::kAgMin), 2u);
  EXPECT_EQ(dialog->settings().Number(Setting::kAgNum), 999u);
  EXPECT_EQ(dialog->settings().Number(Setting::kSortAnagrams), 0u);
}

}  // namespace
