// The splash: Data/verbarium.bmp in a frameless window for half a second at start-up, closed
// sooner by any key or mouse button.
#pragma once

#include <QSplashScreen>

class CSplashWnd : public QSplashScreen {
  Q_OBJECT

 public:
  static constexpr int kLifeMs = 500;

  // Shows the bitmap at `path` for `life_ms`; the splash deletes itself when it closes. False
  // when the bitmap cannot be read (nothing is shown).
  static bool Show(const QString& path, int life_ms = kLifeMs);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit CSplashWnd(const QPixmap& pixmap);
};
