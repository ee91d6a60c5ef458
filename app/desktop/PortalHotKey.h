// The global hotkey through the XDG desktop portal (org.freedesktop.portal.GlobalShortcuts),
// for desktops where no X11 key grab sees every key press (Wayland). The portal binds
// shortcuts in a session: Register opens a session and binds the hotkey in it as shortcut
// kHotKeyId, offering the hotkey as the preferred trigger (the desktop may let the user
// confirm it or choose another key); the portal's Activated signal for that session then
// emits Activated.
//
// Every call is asynchronous, so nothing waits on the portal. Bound follows a binding the
// desktop accepted; Unavailable a missing bus, a missing portal or a refusal, after which the
// hotkey stays silent. Nothing is shown to the user either way.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "app/desktop/HotKey.h"

class QDBusMessage;

class PortalHotKey : public QObject {
  Q_OBJECT

 public:
  explicit PortalHotKey(const QDBusConnection& bus, QObject* parent = nullptr);
  ~PortalHotKey() override;

  // Closes the session of the hotkey bound so far and binds `hotkey` in a new one.
  void Register(const HotKey& hotkey);
  // Closes the session; a request still under way is dropped.
  void Unregister();

 signals:
  void Bound();
  void Unavailable();
  void Activated(const HotKeyActivation& activation);

 private:
  using ReplyHandler = std::function<void(const QDBusMessage& reply)>;
  using ResultHandler = std::function<void(const QVariantMap& results)>;

  void CreateSession();
  void BindShortcut();
  void Fail();
  void Drop();
  void Call(const QDBusMessage& call, const ReplyHandler& on_reply);
  void Request(const QDBusMessage& call, const QString& token, const ResultHandler& on_success);
  void Listen(const QString& request_path, const ResultHandler& on_success);
  void CloseSession();
  void OnActivated(const QString& session, const QString& shortcut_id, const QVariantMap& options);
  QString RequestPath(const QString& token) const;

  QDBusConnection bus_;
  std::optional<HotKey> hotkey_;
  int generation_ = 0;          // counts Register and Unregister calls; older replies are dropped
  QObject* request_ = nullptr;  // the Response listener of the request under way
  QString request_path_;        // the object path it listens on
  QString session_;             // the session's object path once the portal opened it
  bool bound_ = false;
};
