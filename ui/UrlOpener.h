// Opens the targets of hyperlinks (web and mail addresses, files) for CLinkLabel and
// CHtmlStatic: first through QDesktopServices::openUrl, then by running xdg-open. The result is
// a code as the link controls know it: above 32 the target opened; otherwise the closest failure
// (kFileNotFound, kPathNotFound, kAccessDenied, kNoApplication, or xdg-open's own exit code).
//
// Nothing here blocks: a target that xdg-open has to handle reports when xdg-open ends, or as
// opened when it is still running a program for the target after kXdgOpenPatience.
//
// Tests install a stub: every target then goes to the stub, whose result is reported at once,
// and nothing is started.
#pragma once

#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>

class QObject;

class UrlOpener {
 public:
  static constexpr int kOpened = 33;
  static constexpr int kFileNotFound = 2;
  static constexpr int kPathNotFound = 3;
  static constexpr int kAccessDenied = 5;
  static constexpr int kNoApplication = 31;
  static constexpr std::chrono::milliseconds kXdgOpenPatience{3000};

  static bool Succeeded(int result) { return result > 32; }

  // Opens `target` and calls `done` once with the result, unless `context` (when given) is
  // destroyed first. `done` may run before Open returns.
  static void Open(const QString& target, QObject* context, std::function<void(int)> done);

  // What Open tries for a target: a failure found before trying (an empty target, a file or
  // folder that is missing or unreadable), or the URL to open. Web addresses with a scheme
  // ("https:", "mailto:", ...) are opened as they are, "www." names as web addresses; anything
  // else is a file path, relative to the current directory.
  struct Plan {
    int failure = 0;  // 0: open `url`
    QUrl url;
  };
  static Plan PlanFor(const QString& target);

  // "Unable to open hyperlink:\n\n" and the text of the result code.
  static QString FailureMessage(int result);

  // Test hook: `stub` receives every target and gives the result; an empty stub removes it.
  static void SetTestStub(std::function<int(const QString&)> stub);
};
