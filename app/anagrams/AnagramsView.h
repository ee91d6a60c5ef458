// CAnagramsView: the "Anagrams" pane: a filter row ("Filter:", the filter box, "Refresh",
// "Use Filter") above the list of the anagrams of the word looked up.
//
// It generates when it becomes the frame's pane with an empty list, and on Refresh (the button,
// Enter in the view, a click on "Use Filter"); leaving the pane stops the work and empties the
// list, so coming back generates afresh. A request runs on an AnagramWorker (one per view, so
// at most one runs); the anagrams join the list in batches as they arrive, one batch per turn
// of the event loop, and the finished list is sorted when "SortAnagrams" is on. While a request
// runs the view is busy (BusyChanged): its filter row is disabled and the main window disables
// the rest. The status bar gets "Found %d anagram(s)" when a request ends.
//
// A filter is checked (anagram::ValidateFilter) before anything else happens; an invalid one
// gets its message, clears the status text and leaves the list as it was.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/anagrams/AnagramOptions.h"
#include "app/anagrams/AnagramWorker.h"

class CWordListCtrl;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QStatusBar;

class CAnagramsView : public QWidget {
  Q_OBJECT

 public:
  // What the view needs of the main window.
  struct Host {
    JumbleEngine* engine = nullptr;
    // The engine is still loading: requests wait, busy, until SetEngine hands it over.
    bool engine_pending = false;
    platform::NamedEvent* stop = nullptr;  // "StopAnagrams"
    // The text of the last lookup: the word the pane tabs were built for.
    std::function<QString()> looked_up_word;
    // The lookup box's text as it stands (Refresh).
    std::function<QString()> lookup_text;
    std::function<AnagramOptions()> options;   // read at every request
    std::function<void(bool)> set_use_filter;  // the "Filter" setting
    QStatusBar* status = nullptr;
  };

  explicit CAnagramsView(Host host, QWidget* parent = nullptr);
  ~CAnagramsView() override;

  // The pane frame's current kind changed (CSplitterTabFrame::CurrentKindChanged). Becoming
  // the pane with an empty list generates for the looked-up word; leaving stops and empties.
  // The kind staying the anagrams across a rebuild of the tabs counts as a fresh pane.
  void OnCurrentKindChanged(int kind, int previous_kind);

  // The engine that was pending; a request made meanwhile starts now.
  void SetEngine(JumbleEngine* engine);

  // Generates for the lookup box's text; a text that is blank after trimming starts nothing.
  void Refresh();
  // Stops a running request; the list keeps what arrived (Escape, shut-down).
  void StopRequest();
  // A request runs, or waits for the engine.
  bool generating() const { return worker_.active() || waiting_.has_value(); }

  CWordListCtrl* List() const { return list_; }

 signals:
  // A request started (true) or ended (false), whichever way.
  void BusyChanged(bool busy);
  // A double click (or Enter) on an anagram: it is to be looked up.
  void WordActivated(const QString& word);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Activate(bool fresh);
  void Leave();
  void StartRequest(const QString& word);
  void OnDelivery();
  void OnUseFilterClicked(bool on);
  void OnFilterEdited(const QString& text);
  void SetBusy(bool busy);

  Host host_;
  AnagramWorker worker_;
  std::optional<anagram::AnagramRequestArgs> waiting_;  // made before the engine was there
  QLineEdit* filter_;
  QPushButton* refresh_;
  QCheckBox* use_filter_;
  CWordListCtrl* list_;
  std::vector<std::string> phrases_;  // the list's items (UTF-8), sorted at the end
  bool sort_ = true;                  // of the running request
  bool busy_ = false;
  QString request_word_;  // the word of the last request: the filter box was typed for it
  // Where the focus was in the view when the request started (the filter box after a click on
  // "Use Filter" or Enter in it): it goes back there when the request ends, so typing goes on
  // where the user was typing.
  QPointer<QWidget> return_focus_;
};
