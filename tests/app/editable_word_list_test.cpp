// The editable word list and its in-place edit, and the keyboard table of the entry dialogs.

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <functional>

#include "app/custom/CustomEntryDialogAdd.h"
#include "app/custom/CustomEntryDialogEdit.h"
#include "app/custom/CustomEntryTabCtrl.h"
#include "tests/app/custom_dialogs_util.h"

namespace custom_dialogs_test {
namespace {

class WordListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.resize(300, 200);
    Activate(&list_);
  }
  // Double-clicks item `row`, or the empty space below the items for -1.
  void DoubleClick(int row) {
    const QPoint at = row >= 0 ? list_.visualRect(list_.model()->index(row, 0)).center()
                               : QPoint(10, list_.viewport()->height() - 5);
    QTest::mouseDClick(list_.viewport(), Qt::LeftButton, {}, at);
  }
  CEditableWordList list_{"Related words"};
};

TEST_F(WordListTest, CommitRules) {
  const struct {
    const char* typed;
    QStringList after;
  } cases[] = {
      {"", {"b"}},                // empty: the item goes
      {"   ", {"a", "b"}},        // white space only: the item stays as it was
      {" x y ", {" x y ", "b"}},  // anything else as typed, untrimmed
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    list_.SetItems({"a", "b"});
    list_.StartEdit(0);
    list_.editor()->setText(c.typed);
    list_.FinishEditing();
    EXPECT_EQ(list_.Items(), c.after);
  }
}

TEST_F(WordListTest, EscapeDropsOnlyANewItem) {
  list_.SetItems({"a"});
  list_.StartEdit(0);
  QTest::keyClicks(list_.editor(), "changed");
  QTest::keyClick(list_.editor(), Qt::Key_Escape);
  EXPECT_EQ(list_.Items(), QStringList{"a"});  // an item the user had is not lost
  list_.StartNewItem();
  QTest::keyClicks(list_.editor(), "new");
  QTest::keyClick(list_.editor(), Qt::Key_Escape);
  EXPECT_EQ(list_.Items(), QStringList{"a"});
  EXPECT_EQ(list_.editor(), nullptr);
  EXPECT_TRUE(list_.hasFocus());
}

TEST_F(WordListTest, KeysMoveTheEdit) {
  const struct {
    int from;
    int key;
    Qt::KeyboardModifiers modifiers;
    int to;  // the item edited afterwards
  } cases[] = {
      {2, Qt::Key_Up, {}, 1},
      {0, Qt::Key_Up, {}, 0},
      {2, Qt::Key_Down, {}, 3},
      {4, Qt::Key_Down, {}, 4},
      {2, Qt::Key_Home, Qt::ControlModifier, 0},
      {2, Qt::Key_End, Qt::ControlModifier, 4},
      {1, Qt::Key_PageUp, {}, 0},
      {3, Qt::Key_PageDown, {}, 4},
      {1, Qt::Key_Return, {}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " key " << c.key);
    list_.SetItems({"a", "b", "c", "d", "e"});
    list_.StartEdit(c.from);
    QTest::keyClick(list_.editor(), static_cast<Qt::Key>(c.key), c.modifiers);
    ASSERT_NE(list_.editor(), nullptr);
    EXPECT_EQ(list_.editor()->row(), c.to);
    EXPECT_EQ(list_.Items(), (QStringList{"a", "b", "c", "d", "e"}));
  }
  // Enter on the last item goes on with a new one; Down on an emptied item stays.
  list_.StartEdit(4);
  QTest::keyClick(list_.editor(), Qt::Key_Return);
  EXPECT_EQ(list_.editor()->row(), 5);
  QTest::keyClick(list_.editor(), Qt::Key_Down);
  EXPECT_EQ(list_.editor()->row(), 5);
}

TEST_F(WordListTest, DeleteItemRemovesTheSelectedExamples) {
  list_.SetItems({"a", "b", "c", "d"});
  for (int row : {1, 3})
    list_.selectionModel()->select(list_.model()->index(row, 0), QItemSelectionModel::Select);
  list_.ContextMenu()->actions()[2]->trigger();
  EXPECT_EQ(list_.Items(), (QStringList{"a", "c"}));
}

TEST_F(WordListTest, DoubleClickRules) {
  const struct {
    int row;     // -1: below the items
    int edited;  // -1: no edit starts
  } cases[] = {{-1, 4}, {0, 0}, {1, 1}, {2, -1}, {3, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    list_.SetItems({"a", "", "", "d"});  // empty items as white space only edits leave them
    DoubleClick(c.row);
    EXPECT_EQ(list_.editor() != nullptr ? list_.editor()->row() : -1, c.edited);
  }
}

// The keyboard table, sent to whatever has the focus, ahead of its own bindings.
class DialogKeysTest : public CustomDbFixture {};

TEST_F(DialogKeysTest, KeysReachTheirControls) {
  CCustomEntryDialogAdd add(store_, "zorb");
  CustomEntryToEdit entry;
  entry.word = "zorb";
  entry.definition = "a ball";
  CCustomEntryDialogEdit edit(store_, entry);
  using Check = std::function<bool(CustomEntryDialog&)>;
  constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
  constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
  const struct {
    const char* name;
    CustomEntryDialog* dialog;
    std::function<void(CustomEntryDialog&)> start;
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    Check check;
  } cases[] = {
      {"Esc", &add, [](auto& d) { d.definition_edit()->setFocus(); }, kNone, Qt::Key_Escape,
       [](auto& d) { return d.word_edit()->hasFocus(); }},
      {"Ctrl+Y", &add, [](auto& d) { d.word_edit()->setFocus(); }, kCtrl, Qt::Key_Y,
       [](auto& d) { return d.type_combo()->hasFocus(); }},
      {"Ctrl+D over the box's delete", &add, [](auto& d) { d.word_edit()->setFocus(); }, kCtrl,
       Qt::Key_D,
       [](auto& d) { return d.definition_edit()->hasFocus() && d.word_edit()->text() == "zorb"; }},
      {"Ctrl+A over select all", &add, [](auto& d) { d.word_edit()->setFocus(); }, kCtrl, Qt::Key_A,
       [](auto& d) { return d.commit_button()->hasFocus(); }},
      {"Ctrl+U", &add, [](auto& d) { d.word_edit()->setFocus(); }, kCtrl, Qt::Key_U,
       [](auto& d) { return d.examples()->editor() != nullptr; }},
      {"Ctrl+T", &add, [](auto& d) { d.tabs()->setCurrentIndex(2); }, kCtrl, Qt::Key_T,
       [](auto& d) { return d.tabs()->tabBar()->hasFocus() && d.tabs()->currentIndex() == 0; }},
      {"Ctrl+E", &add, [](auto& d) { d.tabs()->setCurrentIndex(1); }, kCtrl, Qt::Key_E,
       [](auto& d) { return d.tabs()->list(1)->editor() != nullptr; }},
      {"Ctrl+U in a related list", &add, [](auto& d) { d.tabs()->list(0)->setFocus(); }, kCtrl,
       Qt::Key_U,
       [](auto& d) { return d.examples()->hasFocus() && d.examples()->editor() == nullptr; }},
      {"Esc in an in-place edit", &add, [](auto& d) { d.examples()->StartNewItem(); }, kNone,
       Qt::Key_Escape, [](auto& d) { return d.examples()->hasFocus(); }},
      {"Ctrl+O", &edit, [](auto& d) { d.word_edit()->setFocus(); }, kCtrl, Qt::Key_O,
       [](auto& d) { return d.commit_button()->hasFocus(); }},
      {"Ctrl+N in a related list", &edit, [](auto& d) { d.tabs()->list(0)->setFocus(); }, kCtrl,
       Qt::Key_N, [](auto& d) { return d.commit_button()->hasFocus(); }},
      {"Ctrl+A in the edit dialog", &edit, [](auto& d) { d.word_edit()->setFocus(); }, kCtrl,
       Qt::Key_A, [](auto& d) { return d.word_edit()->hasFocus(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Activate(c.dialog);
    c.start(*c.dialog);
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, c.key, c.modifiers);
    EXPECT_TRUE(c.check(*c.dialog));
    EXPECT_TRUE(c.dialog->isVisible());
  }
}

}  // namespace
}  // namespace custom_dialogs_test
