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

#include "app/custom/CustomDatabaseCommands.h"
#include "app/panes/HelpPaneView.h"
#include "app/panes/PanePickTreeCtrl.h"
#include "app/panes/PanesPropertyPage.h"
#include "app/panes/SenseListView.h"
#include "app/panes/SplitterTabFrame.h"
#include "app/panes/WordFormsBar.h"
#include "app/shell/AboutDialog.h"
#include "app/shell/ColorsDialog.h"
#include "app/shell/DesktopIntegration.h"
#include "app/shell/FindByMeaningCommand.h"
#include "app/shell/FontsDialog.h"
#include "app/shell/HelpWindow.h"
#include "app/shell/HistoryCombo.h"
#include "app/shell/LookupController.h"
#include "app/shell/OptionsSheet.h"
#include "app/shell/PrintCommands.h"
#include "app/shell/TipOfTheDay.h"
#include "ui/MessageBox.h"

namespace {

constexpr int kMinimumWidth = 700;
constexpr int kMinimumHeight = 100;

constexpr Setting kFontSettings[] = {Setting::kSenseFont, Setting::kPaneFont, Setting::kUsageFont};
constexpr Setting kColorSettings[] = {Setting::kWordTextColor, Setting::kTypeTextColor,
                                      Setting::kDefTextColor, Setting::kPaneTextColor};

// Where each custom-entry dialog keeps its size.
Setting SizeSetting(CustomDialog dialog) {
  switch (dialog) {
    case CustomDialog::kAdd:
      return Setting::kAddEntryDialogSize;
    case CustomDialog::kDatabase:
      return Setting::kCustomDatabaseDialogSize;
    case CustomDialog::kEdit:
      break;
  }
  return Setting::kEditEntryDialogSize;
}

// A size as the settings keep it: "WIDTHxHEIGHT"; anything else is no size.
QSize ParseSize(const QString& text) {
  const QStringList parts = text.split(QLatin1Char('x'));
  bool width_ok = false;
  bool height_ok = false;
  const QSize size(parts.value(0).toInt(&width_ok), parts.value(1).toInt(&height_ok));
  return parts.size() == 2 && width_ok && height_ok && !size.isEmpty() ? size : QSize();
}

QString FormatSize(QSize size) {
  return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

// Opens a dialog modal to the window without waiting for it; it deletes itself when closed.
void OpenDialog(QDialog* dialog) {
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->open();
}

}  // namespace

CMainDialog::CMainDialog(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("mainDialog"));
  setWindowTitle(QStringLiteral("Verbarium"));
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  BuildViews();
  SetUpAnagrams();
  menus_ = new MainMenus(this);
  desktop_ = new DesktopIntegration(this);
  printing_ = new PrintCommands(this);
  find_by_meaning_ = new FindByMeaningCommand(this);
  connect(menus_, &MainMenus::Triggered, this, &CMainDialog::OnCommand);
  connect(menus_, &MainMenus::AboutToShow, this, &CMainDialog::UpdateCommandStates);
  connect(lookup_, &LookupController::StateChanged, this, &CMainDialog::UpdateCommandStates);
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
  delete help_window_;
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
  // The upper area: the forms bar over the senses list, the pattern list or the help form.
  auto* upper_area = new QWidget(splitter_);
  auto* upper_column = new QVBoxLayout(upper_area);
  upper_column->setContentsMargins(0, 0, 0, 0);
  upper_column->setSpacing(0);
  forms_bar_ = new WordFormsBar(upper_area);
  upper_ = new QStackedWidget(upper_area);
  upper_->setObjectName(QStringLiteral("upperView"));
  upper_column->addWidget(forms_bar_);
  upper_column->addWidget(upper_, 1);
  senses_ = new CSenseListView(upper_);
  pattern_list_ = new CHelpPaneView(upper_);
  upper_->addWidget(senses_);
  upper_->addWidget(pattern_list_);
  frame_ = new CSplitterTabFrame(splitter_);
  splitter_->addWidget(upper_area);
  splitter_->addWidget(frame_);
  splitter_->setStretchFactor(0, 2);
  splitter_->setStretchFactor(1, 3);
  layout->addWidget(splitter_, 1);
  setCentralWidget(central);
  statusBar()->setObjectName(QStringLiteral("status"));
  senses_->RestoreColumns();

  lookup_ = new LookupController(
      {tool_row_, upper_, senses_, forms_bar_, pattern_list_, frame_, statusBar()}, this);
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
  if (custom_ != nullptr) {
    custom_->UpdateMenu(menus_->Action(Command::kEditEntries), menus_->Action(Command::kBackup));
  } else {
    menus_->SetEnabled(Command::kEditEntries, false);
    menus_->SetEnabled(Command::kBackup, false);
  }
  menus_->SetChecked(Command::kSystemTray, InTrayMode());
  menus_->SetChecked(Command::kShowTips, settings_.Number(Setting::kTips) != 0);
}

void CMainDialog::OnCommand(Command command) {
  if (busy_) return;
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
    case Command::kAddEntry:
    case Command::kEditEntries:
    case Command::kBackup:
    case Command::kRestore:
      RunCustomCommand(command);
      break;
    case Command::kFindByMeaning:
      find_by_meaning_->Open();
      break;
    case Command::kFont:
      ChooseFonts();
      break;
    case Command::kColors:
      ChooseColors();
      break;
    case Command::kSetHotkey:
      desktop_->SetHotKey();
      break;
    case Command::kSystemTray:
      desktop_->ToggleTrayMode();
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

void CMainDialog::WireCustomEntries() {
  custom_ = new CustomDatabaseCommands(handles_.custom_store(), this);
  custom_->set_dialog_sizes(
      {[this](CustomDialog dialog) { return ParseSize(settings_.Text(SizeSetting(dialog))); },
       [this](CustomDialog dialog, QSize size) {
         settings_.SetText(SizeSetting(dialog), FormatSize(size));
       }});
  connect(lookup_, &LookupController::AddToCustomRequested, custom_,
          &CustomDatabaseCommands::AddEntry);
  connect(custom_, &CustomDatabaseCommands::HelpRequested, this,
          [this] { ShowHelp(QStringLiteral("custom.html")); });
  // Added, edited, deleted or restored entries show at once.
  connect(custom_, &CustomDatabaseCommands::DatabaseChanged, this, [this] {
    lookup_->LookupAgain();
    UpdateCommandStates();
  });
}

void CMainDialog::RunCustomCommand(Command command) {
  if (custom_ == nullptr) return;  // before start-up opened the database
  switch (command) {
    case Command::kAddEntry:
      custom_->AddEntry();
      break;
    case Command::kEditEntries:
      custom_->EditEntries();
      break;
    case Command::kBackup:
      custom_->Backup();
      break;
    case Command::kRestore:
      custom_->Restore();
      break;
    default:
      break;
  }
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
  about->SetDataStatus(QString::fromStdString(lookup::FormsStatusText(handles_.irregular_forms())));
  connect(about, &CAboutDialog::HelpPageRequested, this, &CMainDialog::ShowHelp);
  OpenDialog(about);
}

void CMainDialog::ShowHelp(const QString& page) {
  if (help_window_ == nullptr) {
    // A window of its own, as a help viewer is: a dialog modal to the main window (F1 in the
    // custom-entry dialogs) leaves it usable. It never keeps the program running.
    help_window_ = new CHelpWindow(help_dir_);
    help_window_->setAttribute(Qt::WA_DeleteOnClose);
    help_window_->setAttribute(Qt::WA_QuitOnClose, false);
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
  upper_->parentWidget()->setEnabled(false);  // the forms bar too
  frame_->setEnabled(false);
}

void CMainDialog::LeaveBusy() {
  if (!busy_) return;
  busy_ = false;
  menus_->SetMenusEnabled(true);
  upper_->parentWidget()->setEnabled(true);
  frame_->setEnabled(true);
  tool_row_->RestoreStates(saved_buttons_);
  tool_row_->LookupBox()->setEnabled(true);
  tool_row_->SetEnabled(ToolRow::kLookup, true);
  tool_row_->SetEnabled(ToolRow::kHelp, true);
  lookup_->FocusLookupBox();
}

bool CMainDialog::InTrayMode() const {
  return desktop_->InTrayMode();
}

void CMainDialog::OnHandOver(const QStringList& arguments) {
  hand_over_.Dispatch(arguments);
}

bool CMainDialog::eventFilter(QObject* watched, QEvent* event) {
  // Coming back to the window (the database may have changed meanwhile, from the command
  // line): the shortcuts follow the menus' states as they are now.
  if (watched == this && event->type() == QEvent::WindowActivate) UpdateCommandStates();
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
