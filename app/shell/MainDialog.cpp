#include "app/shell/MainDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QUrl>
#include <QVBoxLayout>

#include "app/panes/HelpFormView.h"
#include "app/panes/HelpPaneView.h"
#include "app/panes/PanePickTreeCtrl.h"
#include "app/panes/PanesPropertyPage.h"
#include "app/panes/SenseListView.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/shell/AboutDialog.h"
#include "app/shell/ColorsDialog.h"
#include "app/shell/FontsDialog.h"
#include "app/shell/HelpWindow.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/Icons.h"
#include "app/shell/LookupController.h"
#include "app/shell/OptionsSheet.h"
#include "app/shell/PrintCommands.h"
#include "app/shell/TipOfTheDay.h"
#include "custom/custom_db.h"
#include "ui/MessageBox.h"

namespace {

constexpr int kMinimumWidth = 700;
constexpr int kMinimumHeight = 100;

constexpr Setting kFontSettings[] = {Setting::kSenseFont, Setting::kPaneFont, Setting::kUsageFont};
constexpr Setting kColorSettings[] = {Setting::kWordTextColor, Setting::kTypeTextColor,
                                      Setting::kDefTextColor, Setting::kPaneTextColor};

// Opens a dialog modal to the window without waiting for it; it deletes itself when closed.
void OpenDialog(QDialog* dialog) {
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

}  // namespace

CMainDialog::CMainDialog(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mainDialog"));
  setWindowTitle(QStringLiteral("Verbarium"));
  setWindowIcon(ApplicationIcon());
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  BuildViews();
  SetUpAnagrams();
  menus_ = new MainMenus(this);
  printing_ = new PrintCommands(this);
  connect(menus_, &MainMenus::Triggered, this, &CMainDialog::OnCommand);
  connect(menus_, &MainMenus::AboutToShow, this, &CMainDialog::UpdateCommandStates);
  connect(lookup_, &LookupController::StateChanged, this, &CMainDialog::UpdateCommandStates);
  connect(lookup_, &LookupController::AddToCustomRequested, this, &CMainDialog::AddEntryRequested);
  connect(tool_row_, &ToolRow::Clicked, this, [this](ToolRow::Button button) {
    if (button == ToolRow::kHelp) OnCommand(Command::kContents);
  });
  hand_over_.SetDefault([this] {
    // A minimised window comes back, a hidden one (in the tray) is shown; a visible one stays
    // as it is.
    if (isMinimized()) {
      setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    } else if (isVisible()) {
      return;
    }
    show();
    raise();
    activateWindow();
  });
  qApp->installEventFilter(this);
  resize(DefaultSize());
  UpdateCommandStates();
}

CMainDialog::~CMainDialog() {
  qApp->removeEventFilter(this);
  ShutDown();
}

QSize CMainDialog::DefaultSize() const {
  // The window's first size in dialog units: a quarter of the average character width across,
  // an eighth of the line height down.
  const QFontMetrics metrics = fontMetrics();
  return {std::max(kMinimumWidth, 460 * metrics.averageCharWidth() / 4),
          std::max(kMinimumHeight * 4, 316 * metrics.height() / 8)};
}

void CMainDialog::BuildViews() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  tool_row_ = new ToolRow(central);
  layout->addWidget(tool_row_);

  splitter_ = new QSplitter(Qt::Vertical, central);
  splitter_->setObjectName(QStringLiteral("splitter"));
  splitter_->setChildrenCollapsible(false);
  upper_ = new QStackedWidget(splitter_);
  upper_->setObjectName(QStringLiteral("upperView"));
  senses_ = new CSenseListView(upper_);
  pattern_list_ = new CHelpPaneView(upper_);
  help_form_ = new CHelpFormView(upper_);
  upper_->addWidget(senses_);
  upper_->addWidget(pattern_list_);
  upper_->addWidget(help_form_);
  frame_ = new CSplitterTabFrame(splitter_);
  splitter_->addWidget(upper_);
  splitter_->addWidget(frame_);
  splitter_->setStretchFactor(0, 2);
  splitter_->setStretchFactor(1, 3);
  layout->addWidget(splitter_, 1);
  setCentralWidget(central);
  statusBar()->setObjectName(QStringLiteral("status"));
  senses_->RestoreColumns();

  lookup_ = new LookupController(
      {tool_row_, upper_, senses_, pattern_list_, help_form_, frame_, statusBar()}, this);
  for (ToolRow::Button button :
       {ToolRow::kLastWord, ToolRow::kNextWord, ToolRow::kShowUsage, ToolRow::kNouns,
        ToolRow::kVerbs, ToolRow::kAdjectives, ToolRow::kAdverbs})
    tool_row_->SetEnabled(button, false);
  setTabOrder(tool_row_->LookupBox(), senses_);
  setTabOrder(senses_, frame_);
}

void CMainDialog::ApplyFonts() {
  senses_->SetSenseFont(settings_.Font(Setting::kSenseFont).ToFont());
  frame_->SetPaneFont(settings_.Font(Setting::kPaneFont).ToFont());
  lookup_->SetUsageFont(settings_.Font(Setting::kUsageFont).ToFont());
}

void CMainDialog::ApplyColors() {
  senses_->SetColors(ColorFromSetting(settings_.Number(Setting::kWordTextColor)),
                     ColorFromSetting(settings_.Number(Setting::kTypeTextColor)),
                     ColorFromSetting(settings_.Number(Setting::kDefTextColor)));
  frame_->SetPaneTextColor(ColorFromSetting(settings_.Number(Setting::kPaneTextColor)));
}

void CMainDialog::UpdateCommandStates() {
  CHistoryCombo* box = tool_row_->LookupBox();
  menus_->SetEnabled(Command::kPrintSenses, senses_->SenseCount() > 0);
  menus_->SetEnabled(Command::kPrintPane, frame_->count() > 0);
  menus_->SetEnabled(Command::kPreviewSenses, senses_->SenseCount() > 0);
  menus_->SetEnabled(Command::kPreviewPane, frame_->count() > 0);
  menus_->SetEnabled(Command::kClearHistory, box->count() > 0);
  menus_->SetEnabled(Command::kSelectAll, lookup_->HasUncheckedSense());
  menus_->SetEnabled(Command::kDeselectAll, lookup_->HasCheckedSense());
  const bool has_entries =
      *handles_.custom_handle() != nullptr && CustomDb_CountEntries(*handles_.custom_handle()) > 0;
  menus_->SetEnabled(Command::kEditEntries, has_entries);
  menus_->SetEnabled(Command::kBackup, has_entries);
  menus_->SetChecked(Command::kSystemTray, settings_.Number(Setting::kSystemTray) != 0);
  menus_->SetChecked(Command::kShowTips, settings_.Number(Setting::kTips) != 0);
}

void CMainDialog::OnCommand(Command command) {
  if (busy_ || IsPending(command)) return;
  switch (command) {
    case Command::kPrintSenses:
    case Command::kPreviewSenses:
      printing_->PrintSenses(command == Command::kPreviewSenses);
      break;
    case Command::kPrintPane:
    case Command::kPreviewPane:
      printing_->PrintPane(command == Command::kPreviewPane);
      break;
    case Command::kPrintSetup:
      printing_->PrintSetup();
      break;
    case Command::kClearHistory:
      ClearHistory();
      break;
    case Command::kExit:
      close();
      break;
    case Command::kSelectAll:
      lookup_->SetAllChecked(true);
      break;
    case Command::kDeselectAll:
      lookup_->SetAllChecked(false);
      break;
    case Command::kLookup:
      lookup_->OnLookup();
      break;
    case Command::kFont:
      ChooseFonts();
      break;
    case Command::kColors:
      ChooseColors();
      break;
    case Command::kShowTips:
      ToggleTipsAtStartUp(&settings_);
      break;
    case Command::kSettings:
      ShowOptions();
      break;
    case Command::kContents:
      ShowHelp(QStringLiteral("index.html"));
      break;
    case Command::kHomepage:
      OpenWebPage(WebPage::kHomepage);
      break;
    case Command::kForum:
      OpenWebPage(WebPage::kForum);
      break;
    case Command::kSupport:
      OpenWebPage(WebPage::kSupport);
      break;
    case Command::kAbout:
      ShowAbout();
      break;
    default:
      break;  // the pending commands
  }
  UpdateCommandStates();
}

void CMainDialog::ClearHistory() {
  const QMessageBox::StandardButton answer =
      MessageBox::Show(this, MessageBox::Kind::kWarning,
                       QStringLiteral("You are about to clear the lookup history.\nContinue?"),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  tool_row_->LookupBox()->Clear(/*delete_stored=*/true);
  lookup_->UpdateNavigationButtons();
}

void CMainDialog::ChooseFonts() {
  CFontsDialog::Fonts fonts;
  CFontsDialog::Fonts defaults;
  for (size_t i = 0; i < fonts.size(); ++i) {
    fonts[i] = settings_.Font(kFontSettings[i]);
    defaults[i] =
        FontSpec::Parse(QString::fromLatin1(Settings::Info(kFontSettings[i]).default_text));
  }
  auto* dialog = new CFontsDialog(fonts, defaults, this);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    for (size_t i = 0; i < dialog->fonts().size(); ++i)
      settings_.SetFont(kFontSettings[i], dialog->fonts()[i]);
    ApplyFonts();
  });
  OpenDialog(dialog);
}

void CMainDialog::ChooseColors() {
  CColorsDialog::Colors colors;
  CColorsDialog::Colors defaults;
  for (size_t i = 0; i < colors.size(); ++i) {
    colors[i] = settings_.Number(kColorSettings[i]);
    defaults[i] = Settings::Info(kColorSettings[i]).default_number;
  }
  auto* dialog = new CColorsDialog(colors, defaults, this);
  connect(dialog, &QDialog::accepted, this, [this, dialog] {
    for (size_t i = 0; i < dialog->colors().size(); ++i)
      settings_.SetNumber(kColorSettings[i], dialog->colors()[i]);
    ApplyColors();
    lookup_->OnLookup();  // drawn again in the new colours
  });
  OpenDialog(dialog);
}

void CMainDialog::ShowOptions() {
  auto* sheet = new COptionsSheet(this);
  auto* panes = new CPanesPropertyPage(settings_.Number(Setting::kPanes));
  sheet->AddPage(panes, QStringLiteral("Panes"), [this, panes] {
    settings_.SetNumber(Setting::kPanes, panes->Mask());
    lookup_->SetPanesMask(panes->Mask());
    lookup_->RefreshFromBox();
  });
  connect(panes->Tree(), &QTreeWidget::itemChanged, sheet, [sheet] { sheet->SetModified(true); });
  AddAnagramsPage(sheet);
  OpenDialog(sheet);
}

void CMainDialog::ShowAbout() {
  auto* about = new CAboutDialog(this);
  connect(about, &CAboutDialog::HelpPageRequested, this, &CMainDialog::ShowHelp);
  OpenDialog(about);
}

void CMainDialog::ShowHelp(const QString& page) {
  if (help_window_ == nullptr) {
    help_window_ = new CHelpWindow(help_dir_, this);
    help_window_->setAttribute(Qt::WA_DeleteOnClose);
  }
  help_window_->ShowPage(page);
}

void CMainDialog::OpenWebPage(WebPage page) {
  const QString address = QString::fromLatin1(WebPageAddress(page));
  const QUrl url(address);
  if (url.scheme().isEmpty()) {
    ShowHelp(address);
  } else if (!QDesktopServices::openUrl(url)) {
    QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
  }
}

void CMainDialog::EnterBusy() {
  if (busy_) return;
  busy_ = true;
  saved_buttons_ = tool_row_->SavedStates();
  tool_row_->LookupBox()->setEnabled(false);
  for (int b = 0; b < ToolRow::kButtonCount; ++b)
    tool_row_->SetEnabled(static_cast<ToolRow::Button>(b), false);
  menus_->SetMenusEnabled(false);
  upper_->setEnabled(false);
  frame_->setEnabled(false);
}

void CMainDialog::LeaveBusy() {
  if (!busy_) return;
  busy_ = false;
  menus_->SetMenusEnabled(true);
  upper_->setEnabled(true);
  frame_->setEnabled(true);
  tool_row_->RestoreStates(saved_buttons_);
  tool_row_->LookupBox()->setEnabled(true);
  tool_row_->SetEnabled(ToolRow::kLookup, true);
  tool_row_->SetEnabled(ToolRow::kHelp, true);
  lookup_->FocusLookupBox();
}

void CMainDialog::OnHandOver(const QStringList& arguments) {
  hand_over_.Dispatch(arguments);
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event) {
  // Ctrl+Left and Ctrl+Right walk the history wherever the focus is in the window, the
  // lookup box included (before it would move its cursor by a word).
  if (event->type() == QEvent::KeyPress && !busy_ && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier &&
        (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right)) {
      if (key->key() == Qt::Key_Left) {
        lookup_->LastWord();
      } else {
        lookup_->NextWord();
      }
      UpdateCommandStates();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}
