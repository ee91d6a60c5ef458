#include "app/shell/HelpWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/shell/Icons.h"

CHelpWindow::CHelpWindow(const QString& help_dir, QWidget* parent)
    : QWidget(parent, Qt::Window), help_dir_(help_dir), browser_(new QTextBrowser(this)) {
  setObjectName(QStringLiteral("helpWindow"));
  setWindowTitle(QStringLiteral("Verbarium Help"));
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  browser_->setAccessibleName(QStringLiteral("Help text"));
  browser_->setOpenExternalLinks(true);  // other sites in the browser
  browser_->setSearchPaths({help_dir_});

  const auto add_button = [this](const char* text, const char* icon, const char* own,
                                 QKeySequence key) {
    auto* button = new QPushButton(ThemedIcon(icon, own), QString::fromLatin1(text), this);
    button->setShortcut(key);
    button->setAutoDefault(false);
    return button;
  };
  QPushButton* back =
      add_button("&Back", "go-previous", ":/icons/last-word.svg", QKeySequence(QKeySequence::Back));
  QPushButton* forward = add_button("&Forward", "go-next", ":/icons/next-word.svg",
                                    QKeySequence(QKeySequence::Forward));
  QPushButton* contents =
      add_button("&Contents", "help-contents", ":/icons/help.svg", QKeySequence());
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents, &QPushButton::clicked, this,
          [this] { ShowPage(QStringLiteral("index.html")); });
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Verbarium Help")
                                   : title + QStringLiteral(" - Verbarium Help"));
  });

  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addWidget(contents);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  const QFontMetrics metrics = fontMetrics();
  resize(metrics.averageCharWidth() * 90, metrics.height() * 36);
}

QString CHelpWindow::CurrentPage() const {
  return QFileInfo(browser_->source().toLocalFile()).fileName();
}

void CHelpWindow::ShowPage(const QString& page) {
  const QString path = QDir(help_dir_).filePath(page);
  if (help_dir_.isEmpty() || !QFileInfo::exists(path)) {
    browser_->setHtml(QStringLiteral(
        "<h1>Help not found</h1><p>The help pages of Verbarium are not installed. They are "
        "in the folder <i>help</i> below the folder the program was started from, or in "
        "<i>share/verbarium/help</i> of its installation.</p>"));
  } else {
    browser_->setSource(QUrl::fromLocalFile(path));
  }
  show();
  raise();
  activateWindow();
}
