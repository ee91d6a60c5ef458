#include "app/shell/SingleInstance.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <memory>

// The socket is a plain Unix-domain stream socket driven by the event loop: the program then
// needs no network library at start-up.

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A hand-over is at most kCommandLineLimit characters of UTF-8; anything longer is not ours.
constexpr qint64 kMaxHandOverBytes = 4 * (CSingleInstanceGuard::kCommandLineLimit + 1);
constexpr int kBacklog = 16;

// The socket address of a file name; false when the name does not fit.
bool MakeAddress(const QString& name, sockaddr_un* address) {
  const QByteArray path = QFile::encodeName(name);
  *address = {};
  address->sun_family = AF_UNIX;
  if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof(address->sun_path)) return false;
  std::memcpy(address->sun_path, path.constData(), static_cast<size_t>(path.size()));
  return true;
}

sockaddr* AsSocketAddress(sockaddr_un* address) {
  return reinterpret_cast<sockaddr*>(address);
}

// Sends all of `bytes`; false when the peer went away or a write waited too long.
bool SendAll(int fd, const QByteArray& bytes) {
  qint64 sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent),
                             MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += n;
  }
  return true;
}

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
  // Hand-overs still arriving are dropped.
  for (QSocketNotifier* notifier : findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly)) {
    if (notifier != server_notifier_) ::close(static_cast<int>(notifier->socket()));
  }
  if (server_fd_ < 0) return;
  delete server_notifier_;
  ::close(server_fd_);
  ::unlink(QFile::encodeName(server_name_).constData());  // the next start listens afresh
}

bool CSingleInstanceGuard::HandOver(const QStringList& arguments) const {
  sockaddr_un address;
  if (!MakeAddress(server_name_, &address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  // Connecting and writing wait at most this long for a program that does not answer.
  const timeval timeout = {kConnectTimeoutMs / 1000, (kConnectTimeoutMs % 1000) * 1000};
  ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
  int result = 0;
  do {
    result = ::connect(fd, AsSocketAddress(&address), sizeof(address));
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    ::close(fd);
    return false;
  }
  // The running program has the command line once the connection ends.
  SendAll(fd, EncodeCommandLine(arguments));
  ::close(fd);
  return true;
}

bool CSingleInstanceGuard::Listen() {
  sockaddr_un address;
  if (!MakeAddress(server_name_, &address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return false;
  // The socket file is made with the socket's own mode: only the user may connect.
  ::fchmod(fd, S_IRWXU);
  if (::bind(fd, AsSocketAddress(&address), sizeof(address)) != 0 || ::listen(fd, kBacklog) != 0) {
    ::close(fd);
    return false;
  }
  server_fd_ = fd;
  server_notifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
  connect(server_notifier_, &QSocketNotifier::activated, this,
          &CSingleInstanceGuard::OnNewConnection);
  return true;
}

bool CSingleInstanceGuard::Claim(const QStringList& arguments) {
  if (claimed_) return first_instance_;
  if (HandOver(arguments)) return false;
  claimed_ = true;
  if (!Listen()) {
    // Another start may have begun listening just now; otherwise the socket is a crashed
    // program's and is taken over.
    if (HandOver(arguments)) {
      claimed_ = false;
      return false;
    }
    ::unlink(QFile::encodeName(server_name_).constData());
    Listen();
  }
  // A program that cannot listen still runs; later starts then open windows of their own.
  first_instance_ = true;
  return true;
}

void CSingleInstanceGuard::OnNewConnection() {
  for (;;) {
    const int fd = ::accept4(server_fd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR) continue;
      return;  // none waiting any more
    }
    auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    auto received = std::make_shared<QByteArray>();
    connect(notifier, &QSocketNotifier::activated, this,
            [this, fd, notifier, received] { ReadHandOver(fd, notifier, received.get()); });
  }
}

void CSingleInstanceGuard::ReadHandOver(int fd, QSocketNotifier* notifier, QByteArray* received) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof(buffer));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;  // more to come
    const bool too_long = n > 0 && received->size() + n > kMaxHandOverBytes;
    if (n > 0 && !too_long) {
      received->append(buffer, n);
      continue;
    }
    // The end of the hand-over (or a broken or oversized one, which is dropped).
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(fd);
    if (n == 0) emit CommandLineReceived(DecodeCommandLine(*received));
    return;
  }
}

void HandOverRouter::AddOption(const QString& option, int value_count, Handler handler) {
  options_[option] = Option{value_count, std::move(handler)};
}

void HandOverRouter::AddContextOption(const QString& option, int value_count, Handler handler) {
  options_[option] = Option{value_count, std::move(handler), /*context=*/true};
}

void HandOverRouter::Dispatch(const QStringList& arguments) const {
  if (!RunOptions(arguments) && default_) default_();
}

bool HandOverRouter::RunOptions(const QStringList& arguments) const {
  bool handled = false;
  for (int i = 0; i < arguments.size(); ++i) {
    const auto found = options_.find(arguments[i]);
    if (found == options_.end()) continue;
    QStringList values;
    for (int v = 1; v <= found->second.value_count; ++v)
      values.append(i + v < arguments.size() ? arguments[i + v] : QString());
    i += found->second.value_count;
    found->second.handler(values);
    if (!found->second.context) handled = true;
  }
  return handled;
}
