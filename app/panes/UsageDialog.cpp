#include "app/panes/UsageDialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

CUsageDialog::CUsageDialog(const std::vector<lookup::UsageRow>& rows, const QFont& font,
                           QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this)) {
  setObjectName("usageWindow");
  setWindowTitle("Usage");
  list_->setObjectName("usageList");
  list_->setAccessibleName("Examples of usage");
  list_->setFont(font);
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setTextElideMode(Qt::ElideRight);
  QFont heading_font = font;
  heading_font.setBold(true);
  const QFontMetrics heading_metrics(heading_font);
  const QFontMetrics metrics(font);
  int widest = 0;
  for (const lookup::UsageRow& row : rows) {
    auto* item = new QListWidgetItem(QString::fromStdString(row.text), list_);
    if (row.heading) item->setFont(heading_font);
    widest =
        std::max(widest, (row.heading ? heading_metrics : metrics).horizontalAdvance(item->text()));
  }

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* done = buttons->addButton("Done", QDialogButtonBox::AcceptRole);
  done->setObjectName("done");
  done->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);

  // Wide enough for the longest example where the screen allows, and some rows high.
  const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
  const QSize room =
      screen != nullptr ? screen->availableGeometry().size() * 3 / 4 : QSize(800, 600);
  const int chars = metrics.averageCharWidth();
  const int width =
      std::clamp(widest + 6 * chars, std::min(40 * chars, room.width()), room.width());
  const int lines = static_cast<int>(rows.size()) + 4;
  const int height = std::clamp(lines * metrics.lineSpacing(),
                                std::min(12 * metrics.lineSpacing(), room.height()), room.height());
  resize(width, height);
}
