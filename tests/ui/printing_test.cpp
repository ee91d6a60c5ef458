// Printing to PDF files, read back with poppler's pdfinfo and pdftotext.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>
#include <map>
#include <memory>

#include "ui/Printing.h"

namespace {

constexpr int kDpi = 600;

std::unique_ptr<QPrinter> PdfPrinter(const QString& file, QSizeF page_points) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(file);
  printer->setResolution(kDpi);
  printer->setPageSize(QPageSize(page_points, QPageSize::Point, QString(), QPageSize::ExactMatch));
  printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
  return printer;
}

// A fixed-pitch face, so that pdftotext gives back the spaces in front of a line.
QFont ScreenFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setPixelSize(16);
  return font;
}

// The width of a space in the printer font of ScreenFont(), in printer pixels.
double SpaceAdvance(QPrinter& printer) {
  return QFontMetricsF(printing::PrinterFont(ScreenFont(), printer), &printer)
      .horizontalAdvance(' ');
}

QString Run(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString();
  EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfInfo(const QString& file, const char* field) {
  for (const QString& line : Run("pdfinfo", {file}).split('\n'))
    if (line.startsWith(QLatin1String(field) + ':')) return line.section(':', 1).trimmed();
  return {};
}

// The lines of a page of a PDF printed in a fixed-pitch face: each word put at its column,
// counted in `advance` (printer pixels) from the left margin `margin` (printer pixels).
QStringList PdfLines(const QString& file, int page, double margin, double advance) {
  const double to_points = 72.0 / kDpi;
  std::map<int, QString> lines;  // by top, in points
  const QString number = QString::number(page);
  const QStringList rows =
      Run("pdftotext", {"-tsv", "-f", number, "-l", number, file, "-"}).split('\n');
  for (const QString& row : rows.mid(1)) {
    const QStringList fields = row.split('\t');
    if (fields.size() < 12 || fields[0] != "5") continue;  // words only
    const int column = static_cast<int>(
        std::lround((fields[6].toDouble() - margin * to_points) / (advance * to_points)));
    QString& line = lines[static_cast<int>(std::lround(fields[7].toDouble()))];
    line = line.leftJustified(column, ' ') + fields[11];
  }
  QStringList texts;
  for (const auto& [top, line] : lines)
    texts << line;
  return texts;
}

TEST(PrintingTest, PrinterFontTakesScreenPixelsAsPoints) {
  struct Case {
    int screen_pixels;
    int dpi;
    int printer_pixels;
  };
  const Case cases[] = {{16, 600, 133}, {12, 600, 100}, {16, 300, 67}, {16, 72, 16}};
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("font.pdf"));
    printer.setResolution(c.dpi);
    QFont screen;
    screen.setPixelSize(c.screen_pixels);
    EXPECT_EQ(printing::PrinterFont(screen, printer).pixelSize(), c.printer_pixels);
  }
}

TEST(PrintingTest, PaneOfTwoHundredWordsPrintsFortyToAPage) {
  QTemporaryDir dir;
  const QString file = dir.filePath("pane.pdf");
  // A page 4 inches wide (margins of 240 pixels) and tall enough for 40 lines, not 41.
  auto printer = PdfPrinter(file, {288, 288});
  const int height =
      QFontMetrics(printing::PrinterFont(ScreenFont(), *printer), printer.get()).height();
  const int step = height * 3 / 2;
  const double pixels = 2 * 240 + 39 * step + height + step / 2;
  printer->setPageSize(QPageSize(QSizeF(288, std::round(pixels * 72 / kDpi)), QPageSize::Point,
                                 QString(), QPageSize::ExactMatch));

  QStringList words;
  for (int i = 1; i <= 200; ++i)
    words << QStringLiteral("word%1").arg(i) << QString();  // empty items take no line
  ASSERT_TRUE(PrintDocument::Words(words, ScreenFont()).Print(*printer));

  EXPECT_EQ(PdfInfo(file, "Pages"), "5");
  EXPECT_EQ(PdfInfo(file, "Title"), "Verbarium");
  for (int page = 1; page <= 5; ++page) {
    SCOPED_TRACE(page);
    const QStringList lines = PdfLines(file, page, 240, SpaceAdvance(*printer));
    ASSERT_EQ(lines.size(), 40);
    EXPECT_EQ(lines.front(), QStringLiteral("word%1").arg(40 * page - 39));
  }
}

}  // namespace
