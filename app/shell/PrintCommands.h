// File > Print: the senses list and the current pane printed (or previewed) in the settings'
// "SenseFont" and "PaneFont", and the printer set-up. One printer serves the whole run, so
// what the user chose in the print and set-up dialogs stays chosen until the program ends.
#pragma once

#include <QObject>
#include <memory>

class CMainDialog;
class PrintDocument;
class QPrinter;

class PrintCommands : public QObject {
  Q_OBJECT

 public:
  explicit PrintCommands(CMainDialog* window);
  ~PrintCommands() override;

  // The rows of the senses list in the order shown; nothing when the list is empty.
  void PrintSenses(bool preview);
  // The words of the current pane or of the matches; nothing for the "Anagrams" tab.
  void PrintPane(bool preview);
  void PrintSetup();

  // The printer, made at its first use.
  QPrinter& printer();

 private:
  void Run(const PrintDocument& document, bool preview);

  CMainDialog* window_;
  std::unique_ptr<QPrinter> printer_;
};
