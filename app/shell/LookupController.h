// The lookup flow of the main window: from the lookup box to the senses list and the panes.
// It runs lookup::LookupSession (which holds every rule: normalising, patterns, base forms,
// merged senses, check states, pane choice) and shows its results in the views: the upper
// row (senses list, pattern list or the help form of an unknown word, made when first needed), the
// pane frame, the part-of-speech toggles, Show usage, Last word and Next word, and the status text
// of a pattern search. It also keeps the lookup history in step.
#pragma once

#include <QFont>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "app/shell/ToolRow.h"

class CHelpFormView;
class CHelpPaneView;
class CHistoryCombo;
class CSenseListView;
class CSplitterTabFrame;
class WordFormsBar;
class QStackedWidget;
class QStatusBar;
struct CustomDatabase;
struct JumbleEngine;
struct NymdexEngine;
namespace lookup {
class IrregularForms;
class LookupSession;
}  // namespace lookup

class LookupController : public QObject {
  Q_OBJECT

 public:
  struct Views {
    ToolRow* tool_row;
    QStackedWidget* upper;  // holds the senses, the pattern list and the help form
    CSenseListView* senses;
    WordFormsBar* forms;  // above the upper views, shown with the senses
    CHelpPaneView* pattern_list;
    CSplitterTabFrame* frame;
    QStatusBar* status;
  };

  LookupController(const Views& views, QWidget* dialog);
  ~LookupController() override;

  // Lookups run once the engines are started; before, every operation does nothing.
  void Start(const NymdexEngine* engine, CustomDatabase** custom, JumbleEngine* jumble,
             uint32_t panes_mask);
  bool started() const { return session_ != nullptr; }
  // The irregular forms the lookups use (kept by the caller while the window lives); call after
  // Start.
  void SetIrregularForms(const lookup::IrregularForms* forms);
  const lookup::LookupSession* session() const { return session_.get(); }

  // The Lookup button: the lookup box's text goes into the history unless an entry already
  // begins with it, then is looked up.
  void OnLookup();
  // Every lookup goes through here: shows what `text` gives; `add_to_history` adds the
  // normalised text to the history (double clicks in a pane ask for it).
  void Lookup(const QString& text, bool add_to_history);
  // Looks the lookup box's text up again (after the Panes page or the colours changed).
  void RefreshFromBox() { Lookup(BoxText(), false); }
  // Looks up again what the views show (the custom database changed under it): a word just
  // added then shows its senses. Nothing before the first lookup.
  void LookupAgain();
  // While the views show nothing yet: shows what `word` gives in them as a lookup would, has
  // `render` draw the window, then puts everything back as it was. What a session's first
  // lookup would pay once (the views' first layouts with rows and tabs, the forms bar's first
  // show, the glyphs drawn, the code run for the first time) is paid then. Nothing the user
  // sees, hears or keeps changes: no signal, no accessibility event, no history entry; the
  // session, the status text, the buttons, the lookup box's text, selection and focus stay as
  // they were. Returns false, doing nothing, once a lookup has been shown.
  bool WarmUp(const QString& word, const std::function<void()>& render);
  // Makes the help form of an unknown word in the upper views, unless made already; the first
  // unknown word makes it otherwise. Nothing that the window's first frame needs.
  CHelpFormView* HelpForm();

  // Walk the history (buttons, Ctrl+Left, Ctrl+Right).
  void LastWord();
  void NextWord();
  // Select All / Deselect All: every sense checked or unchecked, the panes follow.
  void SetAllChecked(bool checked);
  // The "Usage" window of the current word, modal to the main window.
  void ShowUsage();
  void SetPanesMask(uint32_t mask);
  void SetUsageFont(const QFont& font) { usage_font_ = font; }

  // Menu rules: a sense is unchecked / checked.
  bool HasUncheckedSense() const;
  bool HasCheckedSense() const;
  // Enables Last word and Next word for the history's selection.
  void UpdateNavigationButtons();
  // Puts the focus in the lookup box with its text selected.
  void FocusLookupBox();

 signals:
  // Something the menus' enabled states depend on changed.
  void StateChanged();
  // The help form's "Add to custom dictionary" was clicked with this lookup box text.
  void AddToCustomRequested(const QString& word);

 private:
  enum class Upper { kSenses, kPatternList, kHelpForm };

  QString BoxText() const;
  CHistoryCombo* Box() const;
  void ShowUpper(Upper upper);
  // The senses and tabs of the session, as they are now, in the views.
  void ShowSenses();
  void ShowTabs();
  // The panes follow the check boxes after one of them changed.
  void ChecksChanged();
  void OnToolButton(ToolRow::Button button);
  void OnToggle(ToolRow::Button button);
  void OnTextEdited(const QString& text);
  void OnListActivated(int index);
  void OnWordActivated(const QString& word);
  // A suggestion or another base form was chosen: it goes into the lookup box and is looked up
  // as the Lookup button would.
  void LookUpOffered(const QString& word);

  Views views_;
  QWidget* dialog_;
  std::unique_ptr<lookup::LookupSession> session_;
  const lookup::IrregularForms* irregular_forms_ = nullptr;
  CHelpFormView* help_form_ = nullptr;
  bool warming_up_ = false;  // WarmUp's lookup: the focus and the status text are left alone
  QFont usage_font_;
  QString shown_text_;  // the text of the last lookup the views show (invalid text shows none)
};
