#include "app/desktop/PortalHotKey.h"

#include <QDBusAbstractInterface>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSessionInterface = QStringLiteral("org.freedesktop.portal.Session");
const QString kRegistryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString kDescription = QStringLiteral("Look up the selected text in Verbarium");

// One entry of BindShortcuts' a(sa{sv}): the shortcut's id and its properties.
struct PortalShortcut {
  QString id;
  QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
  argument.beginStructure();
  argument << shortcut.id << shortcut.properties;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
  argument.beginStructure();
  argument >> shortcut.id >> shortcut.properties;
  argument.endStructure();
  return argument;
}

}  // namespace

Q_DECLARE_METATYPE(PortalShortcut)

namespace {

// The portal's signals reach Qt signals through these interfaces (no service name: the
// request paths are this connection's own, and a path alone picks the signals).
class RequestSignals : public QDBusAbstractInterface {
  Q_OBJECT

 public:
  RequestSignals(const QString& path, const QDBusConnection& bus, QObject* parent)
      : QDBusAbstractInterface(QString(), path, "org.freedesktop.portal.Request", bus, parent) {}

 signals:
  void Response(uint response, const QVariantMap& results);
};

class ShortcutSignals : public QDBusAbstractInterface {
  Q_OBJECT

 public:
  ShortcutSignals(const QDBusConnection& bus, QObject* parent)
      : QDBusAbstractInterface(QString(), kPortalPath, "org.freedesktop.portal.GlobalShortcuts",
                               bus, parent) {}

 signals:
  void Activated(const QDBusObjectPath& session, const QString& shortcut_id, qulonglong timestamp,
                 const QVariantMap& options);
};

// A token for the handle of a request or session: unique within the process, as two hotkey
// objects may share a connection.
QString NextToken() {
  static int counter = 0;
  return QStringLiteral("verbarium%1").arg(++counter);
}

// The trigger the desktop is offered, in freedesktop.org's shortcut notation ("CTRL+ALT+t").
// Keys are named by keysym names, which for letters and digits are the characters themselves;
// other keys are left for the user to choose at the desktop.
QString PreferredTrigger(const HotKey& hotkey) {
  const char32_t key = QChar::toLower(hotkey.key);
  if (!((key >= U'a' && key <= U'z') || (key >= U'0' && key <= U'9'))) return {};
  return QString::fromLatin1(hotkey.alt ? "CTRL+ALT+" : "CTRL+") + QChar(char16_t(key));
}

QDBusMessage PortalCall(const QString& path, const QString& interface, const QString& method) {
  return QDBusMessage::createMethodCall(kPortalService, path, interface, method);
}

// The session handle in a CreateSession response: an object path, sent as text by some
// portal versions.
QString SessionHandle(const QVariantMap& results) {
  const QVariant handle = results.value(QStringLiteral("session_handle"));
  if (handle.metaType() == QMetaType::fromType<QDBusObjectPath>())
    return handle.value<QDBusObjectPath>().path();
  return handle.toString();
}

}  // namespace

PortalHotKey::PortalHotKey(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
  // The relay below finds its signal's parameter types by name; QtDBus names its own types
  // only when it first marshals one, so a relay made before that would never fire.
  qRegisterMetaType<QDBusObjectPath>();
  qDBusRegisterMetaType<PortalShortcut>();
  qDBusRegisterMetaType<QList<PortalShortcut>>();
  if (!bus_.isConnected()) return;
  auto* shortcuts = new ShortcutSignals(bus_, this);
  connect(
      shortcuts, &ShortcutSignals::Activated, this,
      [this](const QDBusObjectPath& session, const QString& shortcut_id, qulonglong,
             const QVariantMap& options) { OnActivated(session.path(), shortcut_id, options); });
}

PortalHotKey::~PortalHotKey() {
  CloseSession();
}

void PortalHotKey::Register(const HotKey& hotkey) {
  Unregister();
  hotkey_ = hotkey;
  if (!bus_.isConnected()) {
    emit Unavailable();
    return;
  }
  // A program started outside a sandbox names its application to the portal before its first
  // request; an older portal without the registry, or a second registration, answers with an
  // error that changes nothing.
  const QString app_id = QGuiApplication::desktopFileName();
  if (app_id.isEmpty()) {
    CreateSession();
    return;
  }
  QDBusMessage call = PortalCall(kPortalPath, kRegistryInterface, QStringLiteral("Register"));
  call << app_id << QVariantMap();
  Call(call, [this](const QDBusMessage&) { CreateSession(); });
}

void PortalHotKey::Unregister() {
  Drop();
  hotkey_.reset();
}

void PortalHotKey::CreateSession() {
  const QString token = NextToken();
  QDBusMessage call = PortalCall(kPortalPath, kShortcutsInterface, QStringLiteral("CreateSession"));
  call << QVariantMap{{QStringLiteral("handle_token"), token},
                      {QStringLiteral("session_handle_token"), token}};
  Request(call, token, [this](const QVariantMap& results) {
    session_ = SessionHandle(results);
    if (session_.isEmpty()) {
      Fail();
      return;
    }
    BindShortcut();
  });
}

void PortalHotKey::BindShortcut() {
  QVariantMap properties{{QStringLiteral("description"), kDescription}};
  const QString trigger = PreferredTrigger(*hotkey_);
  if (!trigger.isEmpty()) properties.insert(QStringLiteral("preferred_trigger"), trigger);
  const QList<PortalShortcut> shortcuts{{QString::number(kHotKeyId), properties}};
  const QString token = NextToken();
  QDBusMessage call = PortalCall(kPortalPath, kShortcutsInterface, QStringLiteral("BindShortcuts"));
  call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariant::fromValue(shortcuts)
       << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
  Request(call, token, [this](const QVariantMap&) {
    bound_ = true;
    emit Bound();
  });
}

void PortalHotKey::Fail() {
  Drop();
  emit Unavailable();
}

void PortalHotKey::Drop() {
  ++generation_;
  if (request_) {
    request_->deleteLater();  // it may be the sender of the signal being handled
    request_ = nullptr;
  }
  CloseSession();
}

void PortalHotKey::Call(const QDBusMessage& call, const ReplyHandler& on_reply) {
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  const int generation = generation_;
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation, on_reply] {
    watcher->deleteLater();
    if (generation == generation_) on_reply(watcher->reply());
  });
}

// The portal answers a request twice: the method's reply gives the request's object path, and
// a Response signal on that path gives the outcome. The path is known beforehand (it is built
// from the connection's name and the token), so the listener is in place before the call and
// no early Response is missed.
void PortalHotKey::Request(const QDBusMessage& call, const QString& token,
                           const ResultHandler& on_success) {
  Listen(RequestPath(token), on_success);
  Call(call, [this, on_success](const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
      Fail();
      return;
    }
    const QString path = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path();
    // A portal older than the handle tokens chooses a path of its own.
    if (request_ && path != request_path_) Listen(path, on_success);
  });
}

void PortalHotKey::Listen(const QString& request_path, const ResultHandler& on_success) {
  if (request_) request_->deleteLater();
  auto* request = new RequestSignals(request_path, bus_, this);
  request_ = request;
  request_path_ = request_path;
  connect(request, &RequestSignals::Response, this,
          [this, request, on_success](uint response, const QVariantMap& results) {
            request->deleteLater();
            if (request_ != request) return;
            request_ = nullptr;
            if (response != 0) {  // 1: the user cancelled, 2: the desktop refused
              Fail();
              return;
            }
            on_success(results);
          });
}

void PortalHotKey::CloseSession() {
  if (!session_.isEmpty()) {
    bus_.send(PortalCall(session_, kSessionInterface, QStringLiteral("Close")));
  }
  session_.clear();
  bound_ = false;
}

void PortalHotKey::OnActivated(const QString& session, const QString& shortcut_id,
                               const QVariantMap& options) {
  if (!bound_ || session != session_ || shortcut_id != QString::number(kHotKeyId)) return;
  emit Activated(HotKeyActivation{0, options.value(QStringLiteral("activation_token")).toString()});
}

QString PortalHotKey::RequestPath(const QString& token) const {
  // The connection's unique name without its ":" and with "_" for ".".
  QString sender = bus_.baseService().mid(1);
  sender.replace(QLatin1Char('.'), QLatin1Char('_'));
  return kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

#include "PortalHotKey.moc"
