// CSenseListView: the senses list of the main window, a CReportCtrl with four columns: a check
// box, the sense number ("No."), the word with the sense's definition ("Word") and the part of
// speech ("Type"). It shows the rows the lookup library built and reports what the user does
// with them; it holds no engine handle and runs no lookup.
//
// The word is drawn in the word colour and the definition after it in the definition colour,
// the type in the type colour, all in the senses font; the row height follows that font. Dark
// desktop themes: a colour too close to the list's background is drawn with its lightness
// turned round (ReadableTextColor), so the defaults (red, dark blue, black) stay readable.
//
// Showing the same word again with the same senses keeps the scroll position, the selection
// and the focus row and only updates the check boxes; another word starts from the top. The
// rows stay in the header's sort order when the user sorted them.
//
// Screen readers read each row as number, word with definition ("cat: Feline mammal ..."),
// and type, and the check box as a checkable cell.
#pragma once

#include <QColor>
#include <QFont>
#include <vector>

#include "app/lookup/senses.h"
#include "ui/ReportCtrl.h"

class SenseWordDelegate;

class CSenseListView : public CReportCtrl {
  Q_OBJECT

 public:
  enum Column { kCheckColumn = 0, kNumberColumn = 1, kWordColumn = 2, kTypeColumn = 3 };

  explicit CSenseListView(QWidget* parent = nullptr);

  // The senses of `word` (display form, "ice cream"), in the lookup library's order; row i of
  // `rows` is sense i of the CheckToggled signal.
  void SetRows(const QString& word, const std::vector<lookup::SenseRow>& rows);
  void Clear();
  int SenseCount() const { return Model()->RowCount(); }
  bool IsSenseChecked(int sense) const;

  // The "SenseFont" and the three sense colours.
  void SetSenseFont(const QFont& font);
  void SetColors(const QColor& word, const QColor& type, const QColor& definition);

  // Reads the column order from "Settings"/"ReportCtrl", or activates the four columns in
  // order when nothing fitting is stored. The order is written back at SaveColumnLayout().
  void RestoreColumns();

 signals:
  // The user turned the check box of sense `sense` (click or Space).
  void CheckToggled(int sense, bool checked);
  // The right-click menu's "Select All" and "Deselect All".
  void SelectAllRequested();
  void DeselectAllRequested();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  SenseWordDelegate* word_delegate_;
  QString word_;
};
