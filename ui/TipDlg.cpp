#include "ui/TipDlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFrame>
#include <QIcon>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <climits>

#include "ui/HtmlStatic.h"
#include "ui/ModalDialog.h"

namespace {

constexpr char kWelcome[] = "Welcome";
constexpr char kDidYouKnow[] = "Did you know...";
constexpr char kMissing[] = "Tips file missing:";
constexpr int kHeadingMargins[] = {10, 10};  // left, top
constexpr int kTipMargins[] = {10, 20};

QColor ShadowColour(const QWidget* widget) {
  return widget->palette().color(QPalette::Dark);
}

// The grey bar at the left of the tip with the bulb at its top.
class SideBar : public QWidget {
 public:
  explicit SideBar(QWidget* parent) : QWidget(parent) {
    const int line = fontMetrics().height();
    setFixedWidth(BulbSize() + line);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), ShadowColour(this));
    const int size = BulbSize();
    static const QIcon bulb(QStringLiteral(":/tips/tip-bulb.svg"));
    bulb.paint(&painter, QRect((width() - size) / 2, fontMetrics().height() / 2, size, size));
  }

 private:
  int BulbSize() const { return fontMetrics().height() * 5 / 2; }
};

// Text for the markup: drawn as it is, never broken at its spaces.
QString Literal(const QString& text) {
  QString markup = text;
  markup.replace(QLatin1Char('&'), QStringLiteral("&amp;"));
  markup.replace(QLatin1Char('<'), QStringLiteral("&lt;"));
  markup.replace(QLatin1Char('>'), QStringLiteral("&gt;"));
  markup.replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
  return markup;
}

}  // namespace

CTipDlg::CTipDlg(const QString& tips_path, const Values& stored, Store store, QWidget* parent)
    : QDialog(parent), path_(tips_path), values_(stored), store_(std::move(store)) {
  setObjectName(QStringLiteral("tipOfTheDay"));
  setWindowTitle(QStringLiteral("Tip of the Day"));
  show_ = stored.start_up;
  BuildControls();
  show_check_->setChecked(stored.tips);
  current_ = stored.tip_no > 0 ? std::min(stored.tip_no, INT_MAX - 1) + 1 : stored.tip_no;
  OpenFile(tips_path);
  resize(sizeHint());
  layout()->activate();
  if (!file_.IsOpen()) ShowMissingFile();  // the path fitted to the tip area's width
}

CTipDlg::~CTipDlg() {
  Save();
}

void CTipDlg::BuildControls() {
  auto* card = new QFrame(this);
  card->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* card_layout = new QHBoxLayout(card);
  card_layout->setContentsMargins(2, 2, 2, 2);
  card_layout->setSpacing(0);
  card_layout->addWidget(new SideBar(card));
  auto* text_column = new QVBoxLayout;
  text_column->setSpacing(0);
  heading_ = new CHtmlStatic(card);
  heading_->setObjectName(QStringLiteral("tipHeading"));
  heading_->SetMargins(kHeadingMargins[0], kHeadingMargins[1]);
  heading_->SetReadableColors(true);
  tip_ = new CHtmlStatic(card);
  tip_->setObjectName(QStringLiteral("tipText"));
  tip_->SetMargins(kTipMargins[0], kTipMargins[1]);
  tip_->SetReadableColors(true);
  QFont tip_font = font();
  // Two pixels taller than the dialog's text.
  tip_font.setPixelSize(QFontInfo(font()).pixelSize() + 2);
  tip_->setFont(tip_font);
  const QFontMetrics tip_metrics(tip_font);
  // Room for the longest tips without the dialog growing from tip to tip.
  tip_->setMinimumSize(tip_metrics.averageCharWidth() * 56,
                       kTipMargins[1] + tip_metrics.lineSpacing() * 12);
  text_column->addWidget(heading_);
  text_column->addWidget(tip_, 1);
  card_layout->addLayout(text_column, 1);

  show_check_ = new QCheckBox(QStringLiteral("&Show tips at startup"), this);
  show_check_->setObjectName(QStringLiteral("showTips"));
  QFont arrow_font = font();  // half as big again: the arrows read as arrows
  arrow_font.setPixelSize(QFontInfo(font()).pixelSize() * 3 / 2);
  previous_ = new QPushButton(QStringLiteral("\u21E6"), this);
  previous_->setObjectName(QStringLiteral("previousTip"));
  previous_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  previous_->setToolTip(QStringLiteral("Previous tip (Alt+Left)"));
  previous_->setAccessibleName(QStringLiteral("Previous tip"));
  next_ = new QPushButton(QStringLiteral("\u21E8"), this);
  next_->setObjectName(QStringLiteral("nextTip"));
  next_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  next_->setToolTip(QStringLiteral("Next tip (Alt+Right)"));
  next_->setAccessibleName(QStringLiteral("Next tip"));
  for (QPushButton* arrow : {previous_, next_}) {
    arrow->setFont(arrow_font);
    arrow->setAutoDefault(false);
  }
  auto* close = new QPushButton(QStringLiteral("&Close"), this);
  close->setObjectName(QStringLiteral("closeTips"));
  close->setDefault(true);
  connect(previous_, &QPushButton::clicked, this, &CTipDlg::Previous);
  connect(next_, &QPushButton::clicked, this, &CTipDlg::Next);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(show_check_);
  buttons->addStretch(1);
  buttons->addWidget(previous_);
  buttons->addWidget(next_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(card, 1);
  layout->addLayout(buttons);
  close->setFocus();
}

void CTipDlg::OpenFile(const QString& path) {
  if (!file_.Open(path)) {
    SetTitle(QString::fromLatin1(kWelcome));
    previous_->setEnabled(false);
    next_->setEnabled(false);
    ShowMissingFile();
    return;
  }
  const QString stamp = file_.TimeStamp();
  const QString stored = values_.time_stamp;
  values_.time_stamp = stamp;
  if (store_) store_(values_);
  const bool first_time = stored.isEmpty();
  if (first_time) {
    current_ = 0;
  } else if (stored != stamp) {
    current_ = 1;
  }
  highest_ = file_.CountTips() - 1;
  Fetch(current_, first_time);
  SetTitle(QString::fromLatin1(first_time ? kWelcome : kDidYouKnow));
}

void CTipDlg::Fetch(int number, bool welcome) {
  if (!welcome && number < 1) number = 1;
  TipFile::Found found = file_.ReadUpTo(number);
  if (found.number < number) {
    // Past the last tip: back to the first one after the welcome.
    number = 1;
    found = file_.ReadUpTo(number);
  }
  current_ = number;
  if (!found.text.isEmpty()) tip_->SetText(found.text);
}

void CTipDlg::Next() {
  if (!file_.IsOpen()) return;
  if (current_ == 0) SetTitle(QString::fromLatin1(kDidYouKnow));
  int number = current_ + 1;
  if (number > highest_) number = 0;  // which Fetch takes as the first tip after the welcome
  Fetch(number, false);
}

void CTipDlg::Previous() {
  if (!file_.IsOpen()) return;
  if (current_ == 0) SetTitle(QString::fromLatin1(kDidYouKnow));
  int number = current_ - 1;
  if (number < 1) number = highest_;
  Fetch(number, false);
}

QString CTipDlg::TipText() const {
  return tip_->Text();
}

void CTipDlg::SetTitle(const QString& title) {
  title_ = title;
  const QColor rule = ShadowColour(this);
  heading_->SetText(QStringLiteral("<br><b><font size=\"+8\" face=\"Times New Roman\">%1</font>"
                                   "</b><br><font color=\"%2,%3,%4\"><hr size=1></font>")
                        .arg(Literal(title))
                        .arg(rule.red())
                        .arg(rule.green())
                        .arg(rule.blue()));
}

void CTipDlg::ShowMissingFile() {
  // The path is shortened in its middle to fit the tip area.
  const int width = tip_->width() - kTipMargins[0] - 4;
  const QString path = tip_->fontMetrics().elidedText(path_, Qt::ElideMiddle, std::max(width, 1));
  tip_->SetText(QString::fromLatin1(kMissing) + QStringLiteral("<br><br>") + Literal(path));
}

void CTipDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (!file_.IsOpen()) ShowMissingFile();
}

void CTipDlg::Start() {
  if (!show_) {
    done(QDialog::Rejected);
    return;
  }
  ModalDialog::Open(this);
}

void CTipDlg::done(int result) {
  Save();
  QDialog::done(result);
}

void CTipDlg::Save() {
  if (saved_) return;
  saved_ = true;
  const bool checked = show_check_->isChecked();
  values_.tips = checked;
  show_ = checked;
  if (file_.IsOpen()) {
    values_.tip_no = current_;
    values_.start_up = checked;
  }
  if (store_) store_(values_);
}
