#include "app/meaning_ui/FindByMeaningDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "app/lookup/senses.h"
#include "app/meaning/meaning_search.h"
#include "app/meaning_ui/MeaningSearchRunner.h"

namespace {

enum Column { kWordColumn, kPosColumn, kDefinitionColumn };

}  // namespace

FindByMeaningDialog::FindByMeaningDialog(const NymdexEngine* engine, CustomDatabase* const* custom,
                                         const QString& index_path, QWidget* parent)
    : QDialog(parent), custom_(custom), engine_(engine) {
  setWindowTitle(QStringLiteral("Find by Meaning"));
  setModal(false);
  runner_ = new MeaningSearchRunner(engine, index_path.toStdString(), this);

  auto* prompt = new QLabel(QStringLiteral("&Describe the word:"), this);
  description_ = new QLineEdit(this);
  description_->setAccessibleName(QStringLiteral("Description"));
  description_->setPlaceholderText(QStringLiteral("a person who bakes bread"));
  description_->setClearButtonEnabled(true);
  prompt->setBuddy(description_);
  find_ = new QPushButton(QStringLiteral("&Find"), this);
  find_->setAccessibleName(QStringLiteral("Find"));
  // Enter belongs to the box and to the list (a row's activation), never to a default button.
  find_->setAutoDefault(false);

  results_ = new QTreeWidget(this);
  results_->setColumnCount(3);
  results_->setHeaderLabels(
      {QStringLiteral("Word"), QStringLiteral("Part of speech"), QStringLiteral("Definition")});
  results_->setAccessibleName(QStringLiteral("Words found"));
  results_->setRootIsDecorated(false);
  results_->setUniformRowHeights(true);
  results_->setAllColumnsShowFocus(true);
  results_->setAlternatingRowColors(true);
  results_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  results_->header()->setStretchLastSection(true);
  status_ = new QLabel(this);
  status_->setAccessibleName(QStringLiteral("Search status"));
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(description_, 1);
  row->addWidget(find_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt);
  layout->addLayout(row);
  layout->addWidget(results_, 1);
  layout->addWidget(status_);
  layout->addWidget(buttons);

  connect(description_, &QLineEdit::returnPressed, this, &FindByMeaningDialog::Find);
  connect(find_, &QPushButton::clicked, this, &FindByMeaningDialog::Find);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // Enter on a row and a double click both activate it.
  connect(results_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) emit WordChosen(item->text(kWordColumn));
  });
  connect(runner_, &MeaningSearchRunner::Finished, this,
          [this](int, const meaning::MeaningResult& result) { ShowResult(result); });

  const QFontMetrics metrics = fontMetrics();
  resize(metrics.averageCharWidth() * 100, metrics.lineSpacing() * 28);
}

FindByMeaningDialog::~FindByMeaningDialog() {
  StopSearches();
}

void FindByMeaningDialog::Find() {
  // The entries as they are now, read here on the thread that owns the database.
  auto custom = std::make_shared<meaning::CustomEntries>();
  if (custom_ != nullptr) custom->Read(*custom_, engine_);  // unreadable entries take no part
  status_->setText(QStringLiteral("Searching..."));
  runner_->Start(description_->text(), std::move(custom), kListedWords);
}

void FindByMeaningDialog::StopSearches() {
  runner_->Wait();
}

void FindByMeaningDialog::ShowResult(const meaning::MeaningResult& result) {
  results_->clear();
  if (result.status != meaning::MeaningStatus::kFound) {
    status_->setText(QString::fromStdString(result.message));
    emit ResultShown();
    return;
  }
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(result.rows.size()));
  for (const meaning::MeaningRow& found : result.rows) {
    const QString word = QString::fromStdString(found.word);
    const QString pos = QString::fromLatin1(lookup::PosName(found.pos));
    const QString definition = QString::fromStdString(found.definition);
    auto* item = new QTreeWidgetItem(QStringList{word, pos, definition});
    item->setToolTip(kDefinitionColumn, definition);
    items.append(item);
  }
  results_->addTopLevelItems(items);
  results_->resizeColumnToContents(kWordColumn);
  results_->resizeColumnToContents(kPosColumn);
  results_->setCurrentItem(results_->topLevelItem(0));
  status_->setText(QStringLiteral("Found %1 words").arg(result.rows.size()));
  emit ResultShown();
}
