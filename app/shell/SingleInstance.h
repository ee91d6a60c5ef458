// One running program per user. The first start listens on a local socket named after the
// program's identifier, "{49E4CD26-9489-4474-91B0-2A70F6C23097}", in the user's runtime
// folder; a later start connects, hands over its command line (at most 2,047 characters) and
// ends without a window. The running program receives the command line as a list of
// arguments (CommandLineReceived) and decides what to do with it (HandOverRouter).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QSocketNotifier;

class CSingleInstanceGuard : public QObject {
  Q_OBJECT

 public:
  static constexpr char kIdentifier[] = "{49E4CD26-9489-4474-91B0-2A70F6C23097}";
  static constexpr int kCommandLineLimit = 2047;  // characters handed over

  // $XDG_RUNTIME_DIR/<identifier>, else <temp>/<identifier>-<user id>: one name per user.
  static QString DefaultServerName();

  // The command line as handed over: the arguments, each ended by a NUL character, cut to
  // kCommandLineLimit characters (a last argument may be cut short), and back.
  static QByteArray EncodeCommandLine(const QStringList& arguments);
  static QStringList DecodeCommandLine(const QByteArray& bytes);

  explicit CSingleInstanceGuard(const QString& server_name = DefaultServerName(),
                                QObject* parent = nullptr);
  ~CSingleInstanceGuard() override;

  // True when this process is the first instance and now listens for later ones; false when
  // another instance runs and has been handed `arguments` (the command line without the
  // program's name). A socket left behind by a program that crashed is taken over.
  bool Claim(const QStringList& arguments);
  bool is_first_instance() const { return first_instance_; }

 signals:
  void CommandLineReceived(const QStringList& arguments);

 private:
  bool HandOver(const QStringList& arguments) const;
  // Binds and listens on the socket file; false when it exists or cannot be made.
  bool Listen();
  void OnNewConnection();
  // Reads what a later start sends; at its end, the command line is received.
  void ReadHandOver(int fd, QSocketNotifier* notifier, QByteArray* received);

  QString server_name_;
  int server_fd_ = -1;  // listening while >= 0
  QSocketNotifier* server_notifier_ = nullptr;
  bool claimed_ = false;
  bool first_instance_ = false;
};

// What a running program does with a command line handed over by a later start: each known
// option runs its handler with the values that follow it; a command line without any known
// option runs the default handler (bringing the window forward). Later commands register
// their option here without changing the hand-over itself.
class HandOverRouter {
 public:
  using Handler = std::function<void(const QStringList& values)>;

  // `option` (such as "--lookup") takes the `value_count` arguments after it; missing values
  // read as empty texts.
  void AddOption(const QString& option, int value_count, Handler handler);
  // An option that tells how the command line came rather than asking for something (the
  // desktop's proof that the user started the later program): its handler runs in order like
  // any option's, but a command line with nothing else still runs the default handler.
  void AddContextOption(const QString& option, int value_count, Handler handler);
  void SetDefault(std::function<void()> handler) { default_ = std::move(handler); }

  // Runs the handlers of the known options in command-line order; unknown arguments are
  // skipped. Without any known option, the default handler runs.
  void Dispatch(const QStringList& arguments) const;
  // The same without the default handler (the program's own command line at start-up); true
  // when an option ran.
  bool RunOptions(const QStringList& arguments) const;

 private:
  struct Option {
    int value_count;
    Handler handler;
    bool context = false;
  };
  std::map<QString, Option> options_;
  std::function<void()> default_;
};
