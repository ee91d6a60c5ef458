// "Find by Meaning": a window beside the main one where the user describes a word in their
// own words and picks it from the words the search by meaning names. The description box
// takes the text (Enter or Find searches), the list shows word, part of speech and the
// definition that matched, best first, and the line below it the count or the search's
// message. Searches run off the interface thread (MeaningSearchRunner), so typing never
// waits. Enter or a double click on a row asks the main window to look the word up.
#pragma once

#include <QDialog>
#include <QString>

struct CustomDatabase;
struct NymdexEngine;
class MeaningSearchRunner;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
namespace meaning {
struct MeaningResult;
}

class FindByMeaningDialog : public QDialog {
  Q_OBJECT

 public:
  // The most words a search lists.
  static constexpr size_t kListedWords = 100;

  // `custom` is the address of the window's custom database handle, whose entries are read
  // at each search (an entry added a moment ago is found). Engine and handle must stay up
  // until StopSearches returns or the dialog is destroyed.
  FindByMeaningDialog(const NymdexEngine* engine, CustomDatabase* const* custom,
                      const QString& index_path, QWidget* parent = nullptr);
  ~FindByMeaningDialog() override;

  // The Find button: searches for the description box's text.
  void Find();
  // Waits for a running search and delivers none after it (shut-down).
  void StopSearches();

  QLineEdit* description_box() const { return description_; }
  QTreeWidget* results() const { return results_; }
  QLabel* status_line() const { return status_; }

 signals:
  // A row was activated: the main window looks this word up.
  void WordChosen(const QString& word);
  // A search's result is on the screen.
  void ResultShown();

 private:
  void ShowResult(const meaning::MeaningResult& result);

  CustomDatabase* const* custom_;
  const NymdexEngine* engine_;
  MeaningSearchRunner* runner_ = nullptr;
  QLineEdit* description_ = nullptr;
  QPushButton* find_ = nullptr;
  QTreeWidget* results_ = nullptr;
  QLabel* status_ = nullptr;
};
