#include "app/shell/LookupController.h"

#include <QAccessible>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStatusBar>

#include "app/lookup/lookup.h"
#include "app/panes/HelpFormView.h"
#include "app/panes/HelpPaneView.h"
#include "app/panes/SenseListView.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/panes/UsageDialog.h"
#include "app/panes/WordFormsBar.h"
#include "app/shell/HistoryCombo.h"
#include "engine/nymdex.h"
#include "ui/LinkLabel.h"
#include "ui/MessageBox.h"

namespace {

std::string Utf8(const QString& text) {
  return text.toStdString();
}

QStringList ToStringList(const std::vector<std::string>& words) {
  QStringList list;
  for (const std::string& word : words)
    list << QString::fromStdString(word);
  return list;
}

// The toggle buttons in the order of lookup::PosToggleStates (noun, verb, adjective, adverb),
// which is also the order of the part-of-speech codes 1 to 4.
constexpr ToolRow::Button kPosButtons[] = {ToolRow::kNouns, ToolRow::kVerbs, ToolRow::kAdjectives,
                                           ToolRow::kAdverbs};

}  // namespace

LookupController::LookupController(const Views& views, QWidget* dialog)
    : QObject(dialog), views_(views), dialog_(dialog) {
  connect(views_.tool_row, &ToolRow::Clicked, this, &LookupController::OnToolButton);
  QLineEdit* edit = Box()->lineEdit();
  connect(Box(), &CHistoryCombo::EnterPressed, this, &LookupController::OnLookup);
  connect(edit, &QLineEdit::textEdited, this, &LookupController::OnTextEdited);
  connect(Box(), &QComboBox::activated, this, &LookupController::OnListActivated);
  connect(views_.senses, &CSenseListView::CheckToggled, this, [this](int sense, bool checked) {
    if (!started()) return;
    session_->SetChecked(static_cast<size_t>(sense), checked);
    ChecksChanged();
  });
  connect(views_.senses, &CSenseListView::SelectAllRequested, this,
          [this] { SetAllChecked(true); });
  connect(views_.senses, &CSenseListView::DeselectAllRequested, this,
          [this] { SetAllChecked(false); });
  connect(views_.frame, &CSplitterTabFrame::CurrentTabChanged, this, [this](int index) {
    if (started()) session_->SelectTab(index);
  });
  connect(views_.frame, &CSplitterTabFrame::WordActivated, this,
          &LookupController::OnWordActivated);
  connect(views_.forms, &WordFormsBar::FormActivated, this, &LookupController::LookUpOffered);
}

LookupController::~LookupController() = default;

void LookupController::Start(const NymdexEngine* engine, CustomDatabase** custom,
                             JumbleEngine* jumble, uint32_t panes_mask) {
  session_ = std::make_unique<lookup::LookupSession>(engine, custom, jumble);
  session_->set_panes_mask(panes_mask);
}

void LookupController::SetIrregularForms(const lookup::IrregularForms* forms) {
  irregular_forms_ = forms;
  if (started()) session_->set_irregular_forms(forms);
}

CHistoryCombo* LookupController::Box() const {
  return views_.tool_row->LookupBox();
}

QString LookupController::BoxText() const {
  return Box()->currentText();
}

void LookupController::OnLookup() {
  if (!started()) return;
  const QString text = QString::fromStdString(lookup::NormaliseLookupText(Utf8(BoxText())));
  if (!text.isEmpty() && !Box()->HasEntryStartingWith(text)) Box()->AddEntry(text);
  Lookup(BoxText(), false);
  UpdateNavigationButtons();
}

void LookupController::Lookup(const QString& text, bool add_to_history) {
  if (!started()) return;
  const lookup::LookupResult result = session_->Lookup(Utf8(text));
  if (result.kind == lookup::InputKind::kInvalid) {
    // Nothing else changes: no history entry, the buttons as they were.
    MessageBox::Error(dialog_, QString::fromLatin1(lookup::kInvalidCharactersMessage));
    return;
  }
  shown_text_ = QString::fromStdString(result.text);
  for (ToolRow::Button button : kPosButtons) {
    views_.tool_row->SetEnabled(button, false);
    // Pressed only while senses of its part of speech are ticked (set again below).
    if (result.kind != lookup::InputKind::kWord) views_.tool_row->SetToggle(button, false);
  }
  if (!warming_up_) views_.status->clearMessage();
  if (result.kind != lookup::InputKind::kWord) views_.forms->Clear();
  switch (result.kind) {
    case lookup::InputKind::kPattern:
      ShowUpper(Upper::kPatternList);
      views_.senses->Clear();
      views_.frame->ShowMatches(result.matches);
      views_.status->showMessage(QString::fromStdString(result.matches.status));
      views_.tool_row->SetEnabled(ToolRow::kShowUsage, false);
      break;
    case lookup::InputKind::kWord:
      ShowUpper(Upper::kSenses);
      // A word whose senses could not be read leaves the list and tabs as they were.
      if (result.senses_built) {
        views_.forms->ShowForms(QString::fromStdString(session_->display_word()),
                                QString::fromStdString(result.from),
                                ToStringList(result.other_bases));
        ShowSenses();
        ShowTabs();
        views_.tool_row->SetEnabled(ToolRow::kShowUsage, session_->usage_available());
      }
      break;
    case lookup::InputKind::kUnknown:
      ShowUpper(Upper::kHelpForm);
      views_.senses->Clear();
      views_.frame->Clear();
      HelpForm()->SetSuggestions(ToStringList(result.suggestions));
      views_.tool_row->SetEnabled(ToolRow::kShowUsage, false);
      break;
    case lookup::InputKind::kInvalid:
      break;
  }
  if (add_to_history && !result.text.empty()) Box()->AddEntry(QString::fromStdString(result.text));
  UpdateNavigationButtons();
  if (!warming_up_) FocusLookupBox();
  emit StateChanged();
}

void LookupController::LookupAgain() {
  if (!shown_text_.isEmpty()) Lookup(shown_text_, false);
}

bool LookupController::WarmUp(const QString& word, const std::function<void()>& render) {
  if (!started() || !shown_text_.isEmpty() || views_.senses->SenseCount() > 0 ||
      views_.frame->count() > 0)
    return false;
  // The menus, the anagrams view (which searches when its tab turns current) and a screen
  // reader hear nothing of it.
  const QSignalBlocker quiet_controller(this);
  const QSignalBlocker quiet_frame(views_.frame);
  const QAccessible::UpdateHandler reader =
      QAccessible::installUpdateHandler([](QAccessibleEvent*) {});
  QWidget* const upper = views_.upper->currentWidget();
  const uint8_t enabled = views_.tool_row->SavedStates();
  std::array<bool, std::size(kPosButtons)> toggles{};
  for (size_t i = 0; i < toggles.size(); ++i)
    toggles[i] = views_.tool_row->Toggle(kPosButtons[i]);

  // A session of its own, so that the window's (its word, checks and chosen tab) is untouched.
  auto session = std::make_unique<lookup::LookupSession>(
      session_->engine(), session_->custom_handle(), session_->jumble());
  session->set_panes_mask(session_->panes_mask());
  session->set_irregular_forms(irregular_forms_);
  session_.swap(session);
  warming_up_ = true;
  Lookup(word, false);
  warming_up_ = false;
  render();
  session_.swap(session);

  shown_text_.clear();
  views_.forms->Clear();
  views_.senses->Clear();
  views_.frame->Clear();
  views_.upper->setCurrentWidget(upper);
  views_.tool_row->RestoreStates(enabled);
  for (size_t i = 0; i < toggles.size(); ++i)
    views_.tool_row->SetToggle(kPosButtons[i], toggles[i]);
  QAccessible::installUpdateHandler(reader);
  return true;
}

void LookupController::ShowUpper(Upper upper) {
  QWidget* view = upper == Upper::kSenses        ? static_cast<QWidget*>(views_.senses)
                  : upper == Upper::kPatternList ? static_cast<QWidget*>(views_.pattern_list)
                                                 : static_cast<QWidget*>(HelpForm());
  views_.upper->setCurrentWidget(view);
}

CHelpFormView* LookupController::HelpForm() {
  if (help_form_ != nullptr) return help_form_;
  help_form_ = new CHelpFormView(views_.upper);
  views_.upper->addWidget(help_form_);
  // Tab reaches its first link where the upper views are, after the pattern list.
  QWidget::setTabOrder(views_.pattern_list, help_form_->Link());
  connect(help_form_, &CHelpFormView::AddToCustomRequested, this,
          [this] { emit AddToCustomRequested(BoxText()); });
  connect(help_form_, &CHelpFormView::SuggestionActivated, this, &LookupController::LookUpOffered);
  return help_form_;
}

void LookupController::ShowSenses() {
  const std::vector<lookup::SenseRow>& rows = session_->senses();
  views_.senses->SetRows(QString::fromStdString(session_->display_word()), rows);
  // The toggles of the parts of speech the word has.
  for (const lookup::SenseRow& row : rows)
    if (row.pos >= kNoun && row.pos <= kAdverb)
      views_.tool_row->SetEnabled(kPosButtons[row.pos - kNoun], true);
}

void LookupController::ShowTabs() {
  views_.frame->SetTabs(session_->tabs(), session_->selected_tab());
  const std::array<bool, 4> on = lookup::PosToggleStates(session_->selection_code());
  for (size_t i = 0; i < on.size(); ++i)
    views_.tool_row->SetToggle(kPosButtons[i], on[i]);
}

void LookupController::ChecksChanged() {
  session_->RebuildPanes();
  views_.senses->SetRows(QString::fromStdString(session_->display_word()), session_->senses());
  ShowTabs();
  emit StateChanged();
}

void LookupController::SetAllChecked(bool checked) {
  if (!started() || session_->senses().empty()) return;
  session_->SetAllChecked(checked);
  ChecksChanged();
}

void LookupController::OnToggle(ToolRow::Button button) {
  const bool on = views_.tool_row->Toggle(button);
  if (!started() || session_->senses().empty()) return;
  for (size_t i = 0; i < std::size(kPosButtons); ++i)
    if (kPosButtons[i] == button) session_->SetCheckedByPos(static_cast<uint32_t>(kNoun + i), on);
  ChecksChanged();
  views_.tool_row->SetToggle(button, on);
}

void LookupController::OnToolButton(ToolRow::Button button) {
  switch (button) {
    case ToolRow::kLookup:
      OnLookup();
      break;
    case ToolRow::kLastWord:
      LastWord();
      break;
    case ToolRow::kNextWord:
      NextWord();
      break;
    case ToolRow::kShowUsage:
      ShowUsage();
      break;
    case ToolRow::kNouns:
    case ToolRow::kVerbs:
    case ToolRow::kAdjectives:
    case ToolRow::kAdverbs:
      OnToggle(button);
      break;
    case ToolRow::kHelp:
    case ToolRow::kButtonCount:
      break;  // the main window opens the help
  }
}

void LookupController::LastWord() {
  const int selected = Box()->currentIndex();
  // Nothing older than the last entry.
  if (Box()->count() > 1 && selected < Box()->count() - 1) {
    Box()->setCurrentIndex(selected + 1);
    Lookup(Box()->itemText(selected + 1), false);
  }
  UpdateNavigationButtons();
  FocusLookupBox();
}

void LookupController::NextWord() {
  const int selected = Box()->currentIndex();
  if (selected > 0 && Box()->count() > 1) {
    Box()->setCurrentIndex(selected - 1);
    Lookup(Box()->itemText(selected - 1), false);
  }
  UpdateNavigationButtons();
  FocusLookupBox();
}

void LookupController::UpdateNavigationButtons() {
  const int count = Box()->count();
  const int selected = Box()->currentIndex();
  bool last = false;
  bool next = false;
  if (count >= 2) {
    last = selected != count - 1;
    next = selected > 0;
  }
  views_.tool_row->SetEnabled(ToolRow::kLastWord, last);
  views_.tool_row->SetEnabled(ToolRow::kNextWord, next);
}

void LookupController::FocusLookupBox() {
  Box()->lineEdit()->selectAll();
  Box()->setFocus(Qt::OtherFocusReason);
}

void LookupController::ShowUsage() {
  if (!started()) return;
  // Modal to the window without blocking here, so nothing waits on it.
  auto* usage = new CUsageDialog(session_->UsageRows(), usage_font_, dialog_);
  usage->setAttribute(Qt::WA_DeleteOnClose);
  usage->open();
}

void LookupController::SetPanesMask(uint32_t mask) {
  if (started()) session_->set_panes_mask(mask);
}

bool LookupController::HasUncheckedSense() const {
  if (!started()) return false;
  for (const lookup::SenseRow& row : session_->senses())
    if (!row.checked) return true;
  return false;
}

bool LookupController::HasCheckedSense() const {
  if (!started()) return false;
  for (const lookup::SenseRow& row : session_->senses())
    if (row.checked) return true;
  return false;
}

void LookupController::OnTextEdited(const QString& text) {
  if (!started()) return;
  views_.tool_row->SetEnabled(ToolRow::kShowUsage, session_->UsageForTypedText(Utf8(text)));
}

void LookupController::OnListActivated(int index) {
  if (!started() || index < 0) return;
  const QString entry = Box()->itemText(index);
  // Qt also activates the entry equal to the typed text when the box loses the focus (as it
  // does when the anagram view's busy state disables it): that word is shown already, and
  // looking it up again would replace the tabs under the running request.
  if (lookup::NormaliseLookupText(Utf8(entry)) == session_->current_word()) return;
  views_.tool_row->SetEnabled(ToolRow::kShowUsage, session_->UsageForListEntry(Utf8(entry)));
  Lookup(entry, false);
}

void LookupController::OnWordActivated(const QString& word) {
  QString text = word;
  while (!text.isEmpty() && text.front().isSpace())
    text.remove(0, 1);
  if (!started() || text.isEmpty()) return;
  Box()->setEditText(text);
  Lookup(text, true);
}

void LookupController::LookUpOffered(const QString& word) {
  if (!started() || word.isEmpty()) return;
  Box()->setEditText(word);
  OnLookup();
}
