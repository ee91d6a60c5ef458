// The desktop-portal hotkey against a fake portal on a private bus of the suite's own
// (dbus-daemon), the client and the portal each on a connection of their own.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/desktop/HotKey.h"
#include "app/desktop/PortalHotKey.h"
#include "ui/MessageBox.h"

namespace {

const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kShortcutId = QString::number(kHotKeyId);

// A bus that starts no services, so no real portal answers.
constexpr char kBusConfig[] = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>
<policy context="default"><allow send_destination="*" eavesdrop="true"/>
<allow eavesdrop="true"/><allow own="*"/></policy></busconfig>
)";

// Answers as the portal does: a request's reply is its object path, built from the caller's
// name and token, and a Response signal on that path follows.
class FakePortal : public QDBusVirtualObject {
 public:
  uint create_response = 0;  // 0 success, 1 cancelled, 2 refused
  uint bind_response = 0;
  QString app_id, session, bound_session, shortcut_id;
  QVariantMap shortcut;
  QStringList closed;

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& bus) override {
    const QString member = message.member();
    const QVariantList args = message.arguments();
    if (member == "Register") {
      app_id = args.value(0).toString();
      bus.send(message.createReply());
    } else if (member == "CreateSession" && message.interface() == kShortcuts) {
      const QVariantMap options = qdbus_cast<QVariantMap>(args.value(0));
      session = Handle(message, "session", options.value("session_handle_token"));
      Answer(message, bus, options, create_response, {{"session_handle", session}});
    } else if (member == "BindShortcuts" && message.interface() == kShortcuts) {
      bound_session = qvariant_cast<QDBusObjectPath>(args.value(0)).path();
      const QDBusArgument list = qvariant_cast<QDBusArgument>(args.value(1));
      list.beginArray();
      while (!list.atEnd()) {
        list.beginStructure();
        list >> shortcut_id >> shortcut;
        list.endStructure();
      }
      list.endArray();
      Answer(message, bus, qdbus_cast<QVariantMap>(args.value(3)), bind_response, {});
    } else if (member == "Close") {
      closed << message.path();
      bus.send(message.createReply());
    } else {
      return false;
    }
    return true;
  }

  QString introspect(const QString&) const override { return {}; }

  static void Activate(const QDBusConnection& bus, const QString& session_path, const QString& id,
                       const QString& token) {
    bus.send(QDBusMessage::createSignal(kPath, kShortcuts, "Activated")
             << QVariant::fromValue(QDBusObjectPath(session_path)) << id << qulonglong{42}
             << QVariantMap{{"activation_token", token}});
  }

 private:
  static QString Handle(const QDBusMessage& message, const char* kind, const QVariant& token) {
    return kPath + '/' + kind + '/' + message.service().mid(1).replace('.', '_') + '/' +
           token.toString();
  }

  void Answer(const QDBusMessage& message, const QDBusConnection& bus, const QVariantMap& options,
              uint response, const QVariantMap& results) {
    const QString request = Handle(message, "request", options.value("handle_token"));
    bus.send(message.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    bus.send(QDBusMessage::createSignal(request, "org.freedesktop.portal.Request", "Response")
             << response << results);
  }
};

class PortalHotKeyTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    QFile config(folder_.filePath("bus.conf"));
    if (!config.open(QIODevice::WriteOnly) || config.write(kBusConfig) < 0) return;
    config.close();
    daemon_ = new QProcess;
    daemon_->start("dbus-daemon",
                   {"--config-file=" + config.fileName(), "--nofork", "--print-address=1"});
    while (daemon_->waitForReadyRead(5000) && !daemon_->canReadLine()) {
    }
    address_ = QString::fromUtf8(daemon_->readLine()).trimmed();
  }

  static void TearDownTestSuite() {
    if (!daemon_) return;
    daemon_->kill();
    daemon_->waitForFinished();
    delete daemon_;
  }

  void SetUp() override {
    ASSERT_FALSE(address_.isEmpty()) << "dbus-daemon did not start";
    static int count = 0;
    portal_bus_ = QDBusConnection::connectToBus(address_, QString("portal%1").arg(++count));
    client_bus_ = QDBusConnection::connectToBus(address_, QString("client%1").arg(count));
    ASSERT_TRUE(portal_bus_.isConnected() && client_bus_.isConnected());
  }

  void TearDown() override {
    QDBusConnection::disconnectFromBus(portal_bus_.name());
    QDBusConnection::disconnectFromBus(client_bus_.name());
  }

  void StartPortal() {
    ASSERT_TRUE(portal_bus_.registerService("org.freedesktop.portal.Desktop"));
    ASSERT_TRUE(portal_bus_.registerVirtualObject(kPath, &portal_, QDBusConnection::SubPath));
  }

  // Registers `text` and waits for the outcome; true when the portal bound it.
  static bool Bind(PortalHotKey& hotkey, const char* text) {
    QSignalSpy bound(&hotkey, &PortalHotKey::Bound);
    QSignalSpy unavailable(&hotkey, &PortalHotKey::Unavailable);
    hotkey.Register(ParseHotKeyOrDefault(text));
    return QTest::qWaitFor([&] { return !bound.isEmpty() || !unavailable.isEmpty(); }) &&
           !bound.isEmpty() && unavailable.isEmpty();
  }

  static inline QTemporaryDir folder_;
  static inline QProcess* daemon_ = nullptr;
  static inline QString address_;
  QDBusConnection portal_bus_{QString()};
  QDBusConnection client_bus_{QString()};
  FakePortal portal_;
};

}  // namespace

TEST_F(PortalHotKeyTest, BindsHotKeyAsShortcut) {
  struct Case {
    const char* text;
    const char* trigger;  // nullptr: none offered
  };
  const Case cases[] = {
      {"Ctrl+Alt+T", "CTRL+ALT+t"}, {"Ctrl+5", "CTRL+5"}, {"Ctrl+Alt+!", nullptr}};
  StartPortal();
  QGuiApplication::setDesktopFileName("verbarium");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PortalHotKey hotkey(client_bus_);
    ASSERT_TRUE(Bind(hotkey, c.text));
    EXPECT_EQ(portal_.app_id, "verbarium");  // named before the first request
    EXPECT_EQ(portal_.bound_session, portal_.session);
    EXPECT_EQ(portal_.shortcut_id, kShortcutId);
    EXPECT_FALSE(portal_.shortcut.value("description").toString().isEmpty());
    EXPECT_EQ(portal_.shortcut.value("preferred_trigger"),
              c.trigger ? QVariant(c.trigger) : QVariant());
  }
  QGuiApplication::setDesktopFileName(QString());
}

TEST_F(PortalHotKeyTest, ActivatedForOwnShortcutOnly) {
  StartPortal();
  PortalHotKey hotkey(client_bus_);
  ASSERT_TRUE(Bind(hotkey, "Ctrl+Alt+T"));
  QSignalSpy activated(&hotkey, &PortalHotKey::Activated);
  FakePortal::Activate(portal_bus_, portal_.session + "x", kShortcutId, "other session");
  FakePortal::Activate(portal_bus_, portal_.session, "other", "other shortcut");
  FakePortal::Activate(portal_bus_, portal_.session, kShortcutId, "token");
  ASSERT_TRUE(activated.wait(5000));  // the signals arrive in the order they were sent
  ASSERT_EQ(activated.count(), 1);
  EXPECT_EQ(activated[0][0].value<HotKeyActivation>().activation_token, "token");
}

TEST_F(PortalHotKeyTest, MissingOrRefusingPortalMakesUnavailable) {
  {
    PortalHotKey hotkey(QDBusConnection::connectToBus("unix:path=/nonexistent", "none"));
    EXPECT_FALSE(Bind(hotkey, "Ctrl+Alt+T")) << "no session bus";
  }
  QDBusConnection::disconnectFromBus("none");
  {
    PortalHotKey hotkey(client_bus_);
    EXPECT_FALSE(Bind(hotkey, "Ctrl+Alt+T")) << "no portal";
  }
  StartPortal();
  for (const uint create_response : {2u, 0u}) {
    SCOPED_TRACE(create_response);
    portal_.create_response = create_response;
    portal_.bind_response = 1;
    portal_.closed.clear();
    PortalHotKey hotkey(client_bus_);
    EXPECT_FALSE(Bind(hotkey, "Ctrl+Alt+T"));
    // A session the portal opened is closed again.
    const qsizetype closes = create_response == 0 ? 1 : 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return portal_.closed.size() == closes; }));
  }
  EXPECT_TRUE(MessageBox::TakeShown().isEmpty());
}

TEST_F(PortalHotKeyTest, ReplacingHotKeyClosesOldSession) {
  StartPortal();
  PortalHotKey hotkey(client_bus_);
  ASSERT_TRUE(Bind(hotkey, "Ctrl+Alt+T"));
  const QString first = portal_.session;
  ASSERT_TRUE(Bind(hotkey, "Ctrl+Y"));
  EXPECT_NE(portal_.session, first);
  EXPECT_EQ(portal_.closed, QStringList{first});
}
