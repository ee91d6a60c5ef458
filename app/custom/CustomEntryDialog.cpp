#include "app/custom/CustomEntryDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include "app/custom/CustomEntryTabCtrl.h"
#include "app/custom/CustomTabPanel.h"
#include "app/custom/EditableWordList.h"
#include "ui/MessageBox.h"

namespace {

QLabel* BuddyLabel(const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

// True when `widget` is a related-word list or lies inside one (its in-place edit).
bool InRelatedList(const QWidget* widget) {
  for (; widget != nullptr; widget = widget->parentWidget()) {
    if (qobject_cast<const CCustomTabPanel*>(widget) != nullptr) return true;
  }
  return false;
}

}  // namespace

CustomEntryDialog::CustomEntryDialog(const CustomStore& store, lookup::EntryDialog kind,
                                     QWidget* parent)
    : QDialog(parent),
      store_(store),
      kind_(kind),
      word_edit_(new QLineEdit(this)),
      type_combo_(new QComboBox(this)),
      definition_edit_(new QLineEdit(this)),
      examples_(new CEditableWordList(QString(), this)),
      tabs_(new CCustomEntryTabCtrl(this)),
      buttons_(new QDialogButtonBox(this)) {
  word_edit_->setObjectName(QStringLiteral("wordEdit"));
  word_edit_->setAccessibleName(tr("Word or phrase"));
  word_edit_->setMaxLength(static_cast<int>(lookup::kWordLimit));
  type_combo_->setObjectName(QStringLiteral("typeCombo"));
  type_combo_->setAccessibleName(tr("Type"));
  for (int i = 0; i < kCustomTypeCount; ++i)
    type_combo_->insertItem(i, QString::fromUtf8(kCustomTypes[i].display_name));
  definition_edit_->setObjectName(QStringLiteral("definitionEdit"));
  definition_edit_->setAccessibleName(tr("Definition"));
  definition_edit_->setMaxLength(static_cast<int>(lookup::kDefinitionLimit));
  examples_->setObjectName(QStringLiteral("examplesList"));
  examples_->setAccessibleName(tr("Examples of usage"));
  tabs_->setObjectName(QStringLiteral("relatedTabs"));
  tabs_->setAccessibleName(tr("Related words"));
  buttons_->setObjectName(QStringLiteral("buttons"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(BuddyLabel(tr("&Word or phrase:"), word_edit_, this), 0, 0);
  grid->addWidget(word_edit_, 0, 1);
  grid->addWidget(BuddyLabel(tr("T&ype:"), type_combo_, this), 0, 2);
  grid->addWidget(type_combo_, 0, 3);
  grid->addWidget(BuddyLabel(tr("&Definition:"), definition_edit_, this), 1, 0);
  grid->addWidget(definition_edit_, 1, 1, 1, 3);
  grid->addWidget(BuddyLabel(tr("Examples of &usage:"), examples_, this), 2, 0, 1, 4);
  grid->addWidget(examples_, 3, 0, 1, 4);
  grid->addWidget(BuddyLabel(tr("R&elated words:"), tabs_, this), 4, 0, 1, 4);
  grid->addWidget(tabs_, 5, 0, 1, 4);
  grid->addWidget(buttons_, 6, 0, 1, 4);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 2);
  grid->setRowStretch(5, 3);

  // Wide enough for a few tabs, tall enough for several examples and related words.
  resize(sizeHint().expandedTo(
      QSize(fontMetrics().averageCharWidth() * 72, fontMetrics().lineSpacing() * 32)));
  SetType(0);
  connect(type_combo_, &QComboBox::currentIndexChanged, tabs_, &CCustomEntryTabCtrl::SetType);
  qApp->installEventFilter(this);
  word_edit_->setFocus(Qt::OtherFocusReason);
}

CustomEntryDialog::~CustomEntryDialog() {
  qApp->removeEventFilter(this);
}

QPushButton* CustomEntryDialog::AddButton(const QString& text, const char* object_name) {
  const bool first = commit_button_ == nullptr;
  QPushButton* button = buttons_->addButton(
      text, first ? QDialogButtonBox::AcceptRole : QDialogButtonBox::RejectRole);
  button->setObjectName(QString::fromLatin1(object_name));
  button->setAutoDefault(false);
  if (first) {
    commit_button_ = button;
    button->setDefault(true);
  }
  return button;
}

void CustomEntryDialog::SetType(int type_index) {
  const QSignalBlocker blocker(type_combo_);
  type_combo_->setCurrentIndex(type_index >= 0 && type_index < kCustomTypeCount ? type_index : 0);
  tabs_->SetType(type_combo_->currentIndex());
}

void CustomEntryDialog::SetExamples(const QStringList& examples) {
  examples_->SetItems(examples);
}

lookup::CustomEntryForm CustomEntryDialog::ReadForm() const {
  lookup::CustomEntryForm form;
  form.word = word_edit_->text().toStdString();
  form.definition = definition_edit_->text().toStdString();
  form.type_index = type_combo_->currentIndex();
  for (const QString& example : examples_->Items())
    form.examples.push_back(example.toStdString());
  for (int slot = 0; slot < kCustomRelationCount; ++slot) {
    for (const QString& word : tabs_->list(slot)->Items())
      form.related[slot].push_back(word.toStdString());
  }
  return form;
}

bool CustomEntryDialog::CheckForm(lookup::CustomEntryValues* values) {
  examples_->FinishEditing();
  tabs_->FinishEditing();
  const lookup::EntryCheck check = lookup::ValidateCustomEntry(ReadForm(), kind_, values);
  if (check.ok()) return true;
  MessageBox::Error(this, QString::fromStdString(check.message));
  switch (check.clear) {
    case lookup::EntryField::kWord:
      word_edit_->clear();
      word_edit_->setFocus(Qt::OtherFocusReason);
      break;
    case lookup::EntryField::kDefinition:
      definition_edit_->clear();
      definition_edit_->setFocus(Qt::OtherFocusReason);
      break;
    // An example or a related word the record cannot hold: the lists keep what was typed, so
    // that one character can be mended rather than every line typed again.
    case lookup::EntryField::kExamples:
      examples_->setFocus(Qt::OtherFocusReason);
      break;
    case lookup::EntryField::kRelated:
      tabs_->setFocus(Qt::OtherFocusReason);
      break;
    case lookup::EntryField::kNone:
      break;
  }
  return false;
}

CustomEntryDialog::KeyAction CustomEntryDialog::ActionFor(const QKeyEvent& key) const {
  const QWidget* focus = QApplication::focusWidget();
  const Qt::KeyboardModifiers modifiers =
      key.modifiers() &
      (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
  const bool in_edit = qobject_cast<const CInPlaceEdit*>(focus) != nullptr;
  if (modifiers == Qt::NoModifier) {
    return key.key() == Qt::Key_Escape && !in_edit ? KeyAction::kWord : KeyAction::kNone;
  }
  if (modifiers != Qt::ControlModifier) return KeyAction::kNone;
  const bool in_list = InRelatedList(focus);
  const bool edit_dialog = kind_ == lookup::EntryDialog::kEdit;
  switch (key.key()) {
    case Qt::Key_W:
      return KeyAction::kWord;
    case Qt::Key_Y:
      return KeyAction::kType;
    case Qt::Key_D:
      return KeyAction::kDefinition;
    case Qt::Key_U:
      return in_list ? KeyAction::kExamples : KeyAction::kNewExample;
    case Qt::Key_T:
      return KeyAction::kTabs;
    case Qt::Key_E:
      return KeyAction::kNewRelated;
    case Qt::Key_A:
      return edit_dialog ? KeyAction::kNone : KeyAction::kCommitButton;
    case Qt::Key_O:
      return edit_dialog ? KeyAction::kCommitButton : KeyAction::kNone;
    case Qt::Key_N:
      return edit_dialog && in_list ? KeyAction::kCommitButton : KeyAction::kNone;
    default:
      return KeyAction::kNone;
  }
}

void CustomEntryDialog::Perform(KeyAction action) {
  switch (action) {
    case KeyAction::kNone:
      break;
    case KeyAction::kWord:
      word_edit_->setFocus(Qt::ShortcutFocusReason);
      break;
    case KeyAction::kType:
      type_combo_->setFocus(Qt::ShortcutFocusReason);
      break;
    case KeyAction::kDefinition:
      definition_edit_->setFocus(Qt::ShortcutFocusReason);
      break;
    case KeyAction::kNewExample:
      examples_->StartNewItem();
      break;
    case KeyAction::kExamples:
      examples_->setFocus(Qt::ShortcutFocusReason);
      break;
    case KeyAction::kTabs:
      tabs_->setCurrentIndex(0);
      tabs_->tabBar()->setFocus(Qt::ShortcutFocusReason);
      break;
    case KeyAction::kNewRelated:
      if (CEditableWordList* list = tabs_->CurrentList()) list->StartNewItem();
      break;
    case KeyAction::kCommitButton:
      commit_button_->setFocus(Qt::ShortcutFocusReason);
      break;
  }
}

bool CustomEntryDialog::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  // Only keys meant for this dialog's own controls (not a message box or a pop-up list).
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this) return false;
  const KeyAction action = ActionFor(*static_cast<QKeyEvent*>(event));
  if (action == KeyAction::kNone) return false;
  // The key press comes here before the focused control sees it (so Ctrl+A does not select
  // all, Ctrl+D does not delete); claiming the override too keeps any shortcut from taking it.
  event->accept();
  if (type == QEvent::KeyPress) Perform(action);
  return true;
}

void CustomEntryDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    emit HelpRequested();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}
