// Printing the senses list and a pane: the print dialog, the page set-up, the print preview,
// and the pages drawn on a QPrinter (the layout rules are in ui/PrintLayout.h).
//
// Printer fonts: the screen font with its pixel size taken as a size in points at the
// printer's vertical resolution, so 16 pixels on screen print as 16 points (133 pixels at 600
// dots per inch). Text is drawn in black.
//
// A printer that cannot start the document, or a page that cannot be begun, aborts the
// document; nothing is reported (the print system shows its own errors).
#pragma once

#include <QFont>
#include <QStringList>
#include <vector>

#include "ui/PrintLayout.h"

class QPaintDevice;
class QPrinter;
class QWidget;

class PrintDocument {
 public:
  // The rows of the senses list, in list order (position i prints as i + 1).
  static PrintDocument Senses(std::vector<printing::SenseEntry> rows, const QFont& screen_font);
  // The words of a pane, in order.
  static PrintDocument Words(QStringList words, const QFont& screen_font);

  // The pages as `device` prints them.
  std::vector<printing::PrintedPage> Pages(const QPaintDevice& device) const;
  // Prints the pages on `printer` as the document "Verbarium" (the page range when the
  // printer has one, else all); a document without pages prints nothing. False when the
  // document was aborted.
  bool Print(QPrinter& printer) const;

 private:
  std::vector<printing::SenseEntry> senses_;
  QStringList words_;
  bool is_senses_ = false;
  QFont font_;
};

namespace printing {

inline constexpr char kDocumentName[] = "Verbarium";

QFont PrinterFont(const QFont& screen_font, const QPaintDevice& device);

// The print dialog (all pages: no selection or page range); prints when the user confirms.
void PrintWithDialog(QPrinter& printer, const PrintDocument& document, QWidget* parent);
// The print preview, from which the user may print.
void ShowPreview(QPrinter& printer, const PrintDocument& document, QWidget* parent);
// The page set-up dialog: paper, orientation and margins of `printer`.
void ShowPageSetup(QPrinter& printer, QWidget* parent);

}  // namespace printing
