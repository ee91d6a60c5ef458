#include "app/desktop/GlobalHotKey.h"

#include <QDBusConnection>
#include <QGuiApplication>

#include "app/desktop/PortalHotKey.h"
#include "app/desktop/X11HotKey.h"

namespace {

GlobalHotKey::Route PlatformRoute() {
  return QGuiApplication::platformName() == QLatin1StringView("xcb") ? GlobalHotKey::Route::kX11
                                                                     : GlobalHotKey::Route::kPortal;
}

}  // namespace

GlobalHotKey::GlobalHotKey(QObject* parent) : GlobalHotKey(PlatformRoute(), parent) {}

GlobalHotKey::GlobalHotKey(Route route, QObject* parent) : QObject(parent) {
  if (route == Route::kX11) {
    x11_ = new X11HotKey(this);
    connect(x11_, &X11HotKey::Activated, this, &GlobalHotKey::Activated);
  } else {
    portal_ = new PortalHotKey(QDBusConnection::sessionBus(), this);
    connect(portal_, &PortalHotKey::Activated, this, &GlobalHotKey::Activated);
  }
}

void GlobalHotKey::Register(const QString& text) {
  const HotKey hotkey = ParseHotKeyOrDefault(text);
  if (x11_) x11_->Register(hotkey);
  if (portal_) portal_->Register(hotkey);
}

void GlobalHotKey::Unregister() {
  if (x11_) x11_->Unregister();
  if (portal_) portal_->Unregister();
}
