#include "ui/UrlOpener.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <memory>

namespace {

std::function<int(const QString&)>& Stub() {
  static std::function<int(const QString&)> stub;
  return stub;
}

struct FailureText {
  int code;
  const char* text;
};

constexpr FailureText kFailureTexts[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30,
     "The DDE transaction could not\nbe completed because other DDE transactions\nwere "
     "being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

// xdg-open's exit codes: 0 done, 1 bad arguments, 2 a file missing, 3 a needed tool missing,
// 4 the action failed (no program takes the address).
int ResultOfXdgOpen(int exit_code) {
  switch (exit_code) {
    case 0:
      return UrlOpener::kOpened;
    case 2:
      return UrlOpener::kFileNotFound;
    case 3:
    case 4:
      return UrlOpener::kNoApplication;
    default:
      return exit_code;
  }
}

// Runs xdg-open on the URL without waiting for it; `done` runs at most once. The process object
// has no parent: one still running when the program ends (a browser that xdg-open started in
// the foreground) is left running, not killed with the program.
void RunXdgOpen(const QUrl& url, QObject* context, std::function<void(int)> done) {
  auto* process = new QProcess;
  auto reported = std::make_shared<bool>(false);
  const bool has_context = context != nullptr;
  QPointer<QObject> guard(context);
  const auto report = [reported, has_context, guard, done = std::move(done)](int result) {
    if (*reported) return;
    *reported = true;
    if (!has_context || guard) done(result);
  };
  QObject::connect(process, &QProcess::finished, process,
                   [process, report](int exit_code, QProcess::ExitStatus status) {
                     report(status == QProcess::NormalExit ? ResultOfXdgOpen(exit_code)
                                                           : UrlOpener::kNoApplication);
                     process->deleteLater();
                   });
  QObject::connect(process, &QProcess::errorOccurred, process,
                   [process, report](QProcess::ProcessError error) {
                     if (error != QProcess::FailedToStart) return;
                     report(UrlOpener::kNoApplication);
                     process->deleteLater();
                   });
  // A handler that keeps running (a browser started in the foreground) has opened the target.
  QTimer::singleShot(UrlOpener::kXdgOpenPatience, process,
                     [report] { report(UrlOpener::kOpened); });
  process->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

}  // namespace

UrlOpener::Plan UrlOpener::PlanFor(const QString& target) {
  const QString text = target.trimmed();
  if (text.isEmpty()) return {kFileNotFound, {}};
  static const QRegularExpression kScheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  QString path = text;
  if (kScheme.match(text).hasMatch()) {
    const QUrl url(text);
    if (!url.isLocalFile()) return {0, url};
    path = url.toLocalFile();
  } else if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
    return {0, QUrl(QStringLiteral("https://") + text)};
  }
  const QFileInfo file(path);
  if (!file.exists()) return {file.absoluteDir().exists() ? kFileNotFound : kPathNotFound, {}};
  if (!file.isReadable()) return {kAccessDenied, {}};
  return {0, QUrl::fromLocalFile(file.absoluteFilePath())};
}

void UrlOpener::Open(const QString& target, QObject* context, std::function<void(int)> done) {
  if (Stub()) {
    const int result = Stub()(target);
    done(result);
    return;
  }
  const Plan plan = PlanFor(target);
  if (plan.failure != 0) {
    done(plan.failure);
  } else if (QDesktopServices::openUrl(plan.url)) {
    done(kOpened);
  } else {
    RunXdgOpen(plan.url, context, std::move(done));
  }
}

QString UrlOpener::FailureMessage(int result) {
  QString text = QStringLiteral("Unknown Error (%1) occurred.").arg(result);
  for (const FailureText& entry : kFailureTexts) {
    if (entry.code == result) text = QString::fromLatin1(entry.text);
  }
  return QStringLiteral("Unable to open hyperlink:\n\n") + text;
}

void UrlOpener::SetTestStub(std::function<int(const QString&)> stub) {
  Stub() = std::move(stub);
}
