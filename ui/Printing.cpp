#include "ui/Printing.h"

#include <QFontMetrics>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/ModalDialog.h"

namespace {

class PrinterMeasurer : public printing::LineMeasurer {
 public:
  PrinterMeasurer(const QFont& font, const QPaintDevice& device) : metrics_(font, &device) {}
  int Width(const QString& text) const override { return metrics_.horizontalAdvance(text); }
  int Height() const override { return metrics_.height(); }

 private:
  QFontMetrics metrics_;
};

printing::PageSize PageSizeOf(const QPaintDevice& device) {
  return {device.width(), device.height()};
}

}  // namespace

PrintDocument PrintDocument::Senses(std::vector<printing::SenseEntry> rows,
                                    const QFont& screen_font) {
  PrintDocument document;
  document.senses_ = std::move(rows);
  document.is_senses_ = true;
  document.font_ = screen_font;
  return document;
}

PrintDocument PrintDocument::Words(QStringList words, const QFont& screen_font) {
  PrintDocument document;
  document.words_ = std::move(words);
  document.font_ = screen_font;
  return document;
}

std::vector<printing::PrintedPage> PrintDocument::Pages(const QPaintDevice& device) const {
  const PrinterMeasurer measurer(printing::PrinterFont(font_, device), device);
  return is_senses_ ? printing::LayOutSenses(senses_, PageSizeOf(device), measurer)
                    : printing::LayOutWords(words_, PageSizeOf(device), measurer);
}

bool PrintDocument::Print(QPrinter& printer) const {
  const std::vector<printing::PrintedPage> pages = Pages(printer);
  int first = 0;
  int last = static_cast<int>(pages.size()) - 1;
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    first = std::max(first, printer.fromPage() - 1);
    last = std::min(last, printer.toPage() - 1);
  }
  if (first > last) return true;

  printer.setDocName(QString::fromLatin1(printing::kDocumentName));
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QFont font = printing::PrinterFont(font_, printer);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const int ascent = QFontMetrics(font, &printer).ascent();
  const int margin = printing::Margin(PageSizeOf(printer));
  for (int page = first; page <= last; ++page) {
    if (page > first && !printer.newPage()) {
      printer.abort();
      return false;
    }
    for (const printing::PrintedLine& line : pages[page].lines)
      painter.drawText(QPoint(margin, line.y + ascent), line.text);
  }
  return painter.end();
}

namespace printing {

QFont PrinterFont(const QFont& screen_font, const QPaintDevice& device) {
  // The screen size is a number of pixels; the printer takes it as points.
  const double points =
      screen_font.pixelSize() > 0 ? screen_font.pixelSize() : screen_font.pointSizeF();
  QFont font(screen_font);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * device.logicalDpiY() / 72))));
  return font;
}

void PrintWithDialog(QPrinter& printer, const PrintDocument& document, QWidget* parent) {
  printer.setPrintRange(QPrinter::AllPages);
  QPrintDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("printDialog"));
  dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize |
                    QAbstractPrintDialog::PrintCollateCopies);
  if (ModalDialog::Exec(&dialog) == QDialog::Accepted) document.Print(printer);
}

void ShowPreview(QPrinter& printer, const PrintDocument& document, QWidget* parent) {
  printer.setPrintRange(QPrinter::AllPages);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("printPreview"));
  // Big enough to read a whole page.
  const QRect screen = dialog.screen()->availableGeometry();
  dialog.resize(dialog.sizeHint().expandedTo({screen.width() / 2, screen.height() * 4 / 5}));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&document](QPrinter* target) { document.Print(*target); });
  ModalDialog::Exec(&dialog);
}

void ShowPageSetup(QPrinter& printer, QWidget* parent) {
  QPageSetupDialog dialog(&printer, parent);
  dialog.setObjectName(QStringLiteral("pageSetup"));
  ModalDialog::Exec(&dialog);
}

}  // namespace printing
