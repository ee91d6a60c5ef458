#include "app/shell/SplashWnd.h"

#include <QApplication>
#include <QEvent>
#include <QPixmap>
#include <QTimer>

bool CSplashWnd::Show(const QString& path, int life_ms) {
  QPixmap pixmap;
  if (!pixmap.load(path)) return false;
  auto* splash = new CSplashWnd(pixmap);
  splash->show();
  QTimer::singleShot(life_ms, splash, &QWidget::close);
  return true;
}

CSplashWnd::CSplashWnd(const QPixmap& pixmap) : QSplashScreen(pixmap) {
  setObjectName(QStringLiteral("splash"));
  setAccessibleName(QStringLiteral("Verbarium"));
  setAttribute(Qt::WA_DeleteOnClose);
  // The main window keeps the keyboard; a key pressed anywhere in the program ends the splash.
  setAttribute(Qt::WA_ShowWithoutActivating);
  qApp->installEventFilter(this);
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
      close();
      break;
    default:
      break;
  }
  return QSplashScreen::eventFilter(watched, event);
}
