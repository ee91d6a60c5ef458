#include "app/shell/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A hand-over is at most kCommandLineLimit characters of UTF-8; anything longer is not ours.
constexpr qint64 kMaxHandOverBytes = 4 * (CSingleInstanceGuard::kCommandLineLimit + 1);

}  // namespace

QString CSingleInstanceGuard::DefaultServerName() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists())
    return QDir(runtime).filePath(QString::fromLatin1(kIdentifier));
  return QDir::temp().filePath(QString::fromLatin1(kIdentifier) + QLatin1Char('-') +
                               QString::number(getuid()));
}

QByteArray CSingleInstanceGuard::EncodeCommandLine(const QStringList& arguments) {
  QString line;
  for (const QString& argument : arguments)
    line += argument + QChar(0);
  // Never cut a surrogate pair in two.
  int length = std::min<int>(line.size(), kCommandLineLimit);
  if (length < line.size() && length > 0 && line.at(length - 1).isHighSurrogate()) --length;
  return line.left(length).toUtf8();
}

QStringList CSingleInstanceGuard::DecodeCommandLine(const QByteArray& bytes) {
  QString line = QString::fromUtf8(bytes).left(kCommandLineLimit);
  if (line.isEmpty()) return {};
  if (line.endsWith(QChar(0))) line.chop(1);
  return line.split(QChar(0));
}

CSingleInstanceGuard::CSingleInstanceGuard(const QString& server_name, QObject* parent)
    : QObject(parent), server_name_(server_name) {}

CSingleInstanceGuard::~CSingleInstanceGuard() {
  if (server_ != nullptr) server_->close();  // removes the socket file
}

bool CSingleInstanceGuard::HandOver(const QStringList& arguments) const {
  QLocalSocket socket;
  socket.connectToServer(server_name_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(EncodeCommandLine(arguments));
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState)
    socket.waitForDisconnected(kConnectTimeoutMs);
  return true;
}

bool CSingleInstanceGuard::Claim(const QStringList& arguments) {
  if (server_ != nullptr) return first_instance_;
  if (HandOver(arguments)) return false;
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(server_name_)) {
    // Another start may have begun listening just now; otherwise the socket is a crashed
    // program's and is taken over.
    if (HandOver(arguments)) {
      delete server_;
      server_ = nullptr;
      return false;
    }
    QLocalServer::removeServer(server_name_);
    server_->listen(server_name_);
  }
  // A program that cannot listen still runs; later starts then open windows of their own.
  first_instance_ = true;
  connect(server_, &QLocalServer::newConnection, this, &CSingleInstanceGuard::OnNewConnection);
  return true;
}

void CSingleInstanceGuard::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, socket, [socket] {
      if (socket->bytesAvailable() + socket->property("received").toByteArray().size() >
          kMaxHandOverBytes) {
        socket->abort();
        return;
      }
      socket->setProperty("received",
                          socket->property("received").toByteArray() + socket->readAll());
    });
    QPointer<CSingleInstanceGuard> self(this);
    connect(socket, &QLocalSocket::disconnected, socket, [self, socket] {
      const QByteArray received = socket->property("received").toByteArray() + socket->readAll();
      socket->deleteLater();
      if (self != nullptr) emit self->CommandLineReceived(DecodeCommandLine(received));
    });
  }
}

void HandOverRouter::AddOption(const QString& option, int value_count, Handler handler) {
  options_[option] = Option{value_count, std::move(handler)};
}

void HandOverRouter::Dispatch(const QStringList& arguments) const {
  bool handled = false;
  for (int i = 0; i < arguments.size(); ++i) {
    const auto found = options_.find(arguments[i]);
    if (found == options_.end()) continue;
    QStringList values;
    for (int v = 1; v <= found->second.value_count; ++v)
      values.append(i + v < arguments.size() ? arguments[i + v] : QString());
    i += found->second.value_count;
    found->second.handler(values);
    handled = true;
  }
  if (!handled && default_) default_();
}
