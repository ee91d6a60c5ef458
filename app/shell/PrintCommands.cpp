#include "app/shell/PrintCommands.h"

#include <QPrinter>

#include "app/lookup/lookup.h"
#include "app/lookup/panes.h"
#include "app/panes/SenseListView.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/shell/LookupController.h"
#include "app/shell/MainDialog.h"
#include "ui/Printing.h"

namespace {

// The screen font of a setting; its height counts as points on paper, whichever its sign.
QFont PaperFont(const Settings& settings, Setting key) {
  FontSpec spec = settings.Font(key);
  if (spec.height > 0) spec.height = -spec.height;
  return spec.ToFont();
}

}  // namespace

PrintCommands::PrintCommands(CMainDialog* window) : QObject(window), window_(window) {}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::printer() {
  if (printer_ == nullptr) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // Also the name the print dialog offers for a PDF file.
    printer_->setDocName(QString::fromLatin1(printing::kDocumentName));
  }
  return *printer_;
}

void PrintCommands::PrintSenses(bool preview) {
  const lookup::LookupSession* session = window_->lookup()->session();
  const ReportModel* model = window_->senses()->Model();
  if (session == nullptr || model->RowCount() == 0) return;
  const std::vector<lookup::SenseRow>& senses = session->senses();
  std::vector<printing::SenseEntry> rows;
  for (int row = 0; row < model->RowCount(); ++row) {
    const qint64 sense = model->RowData(row);
    printing::SenseEntry& entry = rows.emplace_back();
    if (sense < 0 || sense >= static_cast<qint64>(senses.size())) continue;  // left out
    entry.type = model->Cell(row, CSenseListView::kTypeColumn).text;
    entry.definition = QString::fromStdString(senses[sense].definition);
  }
  Run(PrintDocument::Senses(std::move(rows), PaperFont(window_->settings(), Setting::kSenseFont)),
      preview);
}

void PrintCommands::PrintPane(bool preview) {
  const CSplitterTabFrame* frame = window_->frame();
  if (frame->count() == 0 || frame->CurrentKind() == lookup::kAnagramsPane) return;
  Run(PrintDocument::Words(frame->CurrentWords(),
                           PaperFont(window_->settings(), Setting::kPaneFont)),
      preview);
}

void PrintCommands::PrintSetup() {
  printing::ShowPageSetup(printer(), window_);
}

void PrintCommands::Run(const PrintDocument& document, bool preview) {
  if (preview) {
    printing::ShowPreview(printer(), document, window_);
  } else {
    printing::PrintWithDialog(printer(), document, window_);
  }
}
