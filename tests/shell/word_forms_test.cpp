// The window's side of base forms and suggestions: the forms bar over the senses list, the
// suggestion links of the help form and the About box's line on the irregular forms, on the
// real main window and the compiled dictionary.
#include <QAction>
#include <QLabel>
#include <QSignalSpy>

#include "app/lookup/lookup.h"
#include "app/panes/HelpFormView.h"
#include "app/panes/SenseListView.h"
#include "app/panes/WordFormsBar.h"
#include "app/panes/WordLink.h"
#include "app/shell/AboutDialog.h"
#include "app/shell/LookupController.h"
#include "app/shell/MainMenus.h"
#include "tests/shell/shell_test_util.h"
#include "ui/LinkLabel.h"

namespace {

using shell_test::TypeLookup;

class WordFormsTest : public shell_test::WindowTest {
 protected:
  WordFormsBar* Bar() const { return dialog_->findChild<WordFormsBar*>("wordForms"); }
  CHelpFormView* HelpForm() const { return dialog_->findChild<CHelpFormView*>("helpForm"); }
  // The number of senses the lookup logic, with the window's irregular forms, gives `text`.
  size_t ReferenceSenses(const char* text) const {
    lookup::LookupSession session(dialog_->handles().engine(), dialog_->handles().custom_handle());
    session.set_irregular_forms(&dialog_->handles().irregular_forms());
    session.Lookup(text);
    return session.senses().size();
  }
  // The About box's line on the irregular forms.
  static QString AboutStatus(CMainDialog* dialog) {
    dialog->menus()->Action(Command::kAbout)->trigger();
    auto* about = dialog->findChild<CAboutDialog*>();
    EXPECT_NE(about, nullptr);
    if (about == nullptr) return {};
    const QString status = about->findChild<QLabel*>("dataStatus")->text();
    about->close();
    return status;
  }
};

TEST_F(WordFormsTest, BarSaysWhichFormWasLookedUp) {
  const struct {
    const char* text;
    const char* summary;  // empty: the bar is hidden
  } cases[] = {
      {"went", "go (from went)"},
      {"mice", "mouse (from mice)"},
      {"stopped", "stopped, also: stop"},  // an adjective of its own
      {"axes", "axe (from axes), also: ax, axis"},
      {"cat", ""},  // the word itself
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TypeLookup(dialog_.get(), QString::fromLatin1(c.text));
    EXPECT_EQ(UpperView(), QStringLiteral("senses"));
    EXPECT_EQ(static_cast<size_t>(dialog_->senses()->SenseCount()), ReferenceSenses(c.text));
    EXPECT_EQ(Bar()->isVisible(), *c.summary != '\0');
    if (*c.summary != '\0') {
      EXPECT_EQ(Bar()->Summary(), QString::fromLatin1(c.summary));
    }
  }
  // An unknown word hides it.
  TypeLookup(dialog_.get(), QStringLiteral("recieve"));
  EXPECT_FALSE(Bar()->isVisible());
}

TEST_F(WordFormsTest, OtherBaseFormIsLookedUpFromItsLink) {
  TypeLookup(dialog_.get(), QStringLiteral("leaves"));
  auto* leaf = Bar()->findChild<WordLink*>("alsoForm0");
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->text(), QStringLiteral("leaf"));
  QTest::mouseClick(leaf, Qt::LeftButton);
  EXPECT_EQ(Box()->currentText(), QStringLiteral("leaf"));
  EXPECT_EQ(Box()->itemText(0), QStringLiteral("leaf")) << "into the history as a typed word";
  EXPECT_EQ(static_cast<size_t>(dialog_->senses()->SenseCount()), ReferenceSenses("leaf"));
  EXPECT_FALSE(Bar()->isVisible());
}

TEST_F(WordFormsTest, SuggestionsOfAnUnknownWordAreLinks) {
  TypeLookup(dialog_.get(), QStringLiteral("recieve"));
  EXPECT_EQ(UpperView(), QStringLiteral("helpForm"));
  const QStringList suggestions = HelpForm()->Suggestions();
  ASSERT_FALSE(suggestions.isEmpty());
  EXPECT_EQ(suggestions.front(), QStringLiteral("receive"));
  EXPECT_LE(suggestions.size(), 10);
  EXPECT_TRUE(HelpForm()->findChild<QWidget*>("suggestions")->isVisible());

  // Tab goes from "Add to custom dictionary" to the first suggestion; Space looks it up.
  HelpForm()->Link()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  auto* first = HelpForm()->findChild<WordLink*>("suggestion0");
  ASSERT_EQ(QApplication::focusWidget(), first);
  EXPECT_EQ(first->accessibleName(), QStringLiteral("Did you mean receive"));
  const int entries = Box()->count();
  QTest::keyClick(first, Qt::Key_Space);
  EXPECT_EQ(UpperView(), QStringLiteral("senses"));
  EXPECT_EQ(Box()->currentText(), QStringLiteral("receive"));
  EXPECT_EQ(Box()->count(), entries + 1);
  EXPECT_EQ(static_cast<size_t>(dialog_->senses()->SenseCount()), ReferenceSenses("receive"));

  // Text too short for suggestions leaves the line hidden.
  TypeLookup(dialog_.get(), QStringLiteral("qx"));
  EXPECT_TRUE(HelpForm()->Suggestions().isEmpty());
  EXPECT_FALSE(HelpForm()->findChild<QWidget*>("suggestions")->isVisible());
}

// The help form is made at the first unknown word when the window has not made it yet: Tab
// from the lookup box reaches its link, and Space on it asks to add the word.
TEST_F(WordFormsTest, HelpFormMadeAtTheFirstUnknownWordIsReachedByTab) {
  dialog_.reset();
  dialog_ = std::make_unique<CMainDialog>();
  ASSERT_TRUE(dialog_->StartUp(shell_test::Options(QStringLiteral(VERBARIUM_BINARY_DIR))));
  ASSERT_EQ(HelpForm(), nullptr) << "not made before the window is painted";
  TypeLookup(dialog_.get(), QStringLiteral("Zorbix"));
  ASSERT_EQ(UpperView(), QStringLiteral("helpForm"));
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  QSignalSpy add(dialog_->lookup(), &LookupController::AddToCustomRequested);
  for (int tab = 0; tab < 20 && QApplication::focusWidget() != HelpForm()->Link(); ++tab)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), HelpForm()->Link());
  QTest::keyClick(HelpForm()->Link(), Qt::Key_Space);
  ASSERT_EQ(add.count(), 1);
  EXPECT_EQ(add.front().front().toString(), Box()->currentText());
}

TEST_F(WordFormsTest, AboutBoxSaysWhetherIrregularFormsAreOn) {
  const QString status = AboutStatus(dialog_.get());
  EXPECT_TRUE(status.startsWith(QStringLiteral("Irregular forms: "))) << status.toStdString();
  EXPECT_TRUE(status.endsWith(QStringLiteral(" forms from 1001E.dat"))) << status.toStdString();
}

TEST_F(WordFormsTest, MissingFormsFileLeavesTheRestWorking) {
  dialog_.reset();
  const shell_test::DataFolder data;  // without 1001E.dat
  dialog_ = std::make_unique<CMainDialog>();
  ASSERT_TRUE(dialog_->StartUp(shell_test::Options(data.path())));
  TypeLookup(dialog_.get(), QStringLiteral("cats"));
  EXPECT_GT(dialog_->senses()->SenseCount(), 0) << "the text's own rules still apply";
  TypeLookup(dialog_.get(), QStringLiteral("went"));
  EXPECT_EQ(UpperView(), QStringLiteral("helpForm"));
  EXPECT_EQ(AboutStatus(dialog_.get()),
            QStringLiteral("Irregular forms: off (1001E.dat is missing)"));
  dialog_.reset();  // before its folder goes
}

}  // namespace
