// The hotkey of the whole desktop, held the way the desktop offers one: an X11 key grab when
// the window runs on X11, otherwise the desktop portal's global shortcuts (Wayland). Failing
// to register is silent, as a combination held by another program is on X11: the program
// works on without the hotkey, and `verbarium --lookup-selection` bound to a key at the
// desktop stands in for it.
#pragma once

#include <QObject>
#include <QString>

#include "app/desktop/HotKey.h"

class PortalHotKey;
class X11HotKey;

class GlobalHotKey : public QObject {
  Q_OBJECT

 public:
  enum class Route { kX11, kPortal };

  // The route of the platform the application runs on.
  explicit GlobalHotKey(QObject* parent = nullptr);
  GlobalHotKey(Route route, QObject* parent);

  // Releases the hotkey held so far and registers the one `text` names (Ctrl+Alt+T when the
  // text names none).
  void Register(const QString& text);
  void Unregister();

 signals:
  void Activated(const HotKeyActivation& activation);

 private:
  X11HotKey* x11_ = nullptr;
  PortalHotKey* portal_ = nullptr;
};
