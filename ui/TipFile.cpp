#include "ui/TipFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

namespace {

bool IsTipLine(const QByteArray& line) {
  switch (line.front()) {
    case ' ':
    case '\t':
    case '\n':
    case '\r':  // a blank line of a file written with "\r\n"
    case ';':
      return false;
    default:
      return true;
  }
}

QString Decode(QByteArray line) {
  if (line.endsWith("\r\n")) line.remove(line.size() - 2, 1);
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(line);
  return utf8.hasError() ? QString::fromLatin1(line) : text;
}

}  // namespace

bool TipFile::Open(const QString& path) {
  file_.setFileName(path);
  return file_.open(QIODevice::ReadOnly);
}

QString TipFile::TimeStamp() const {
  const QDateTime modified = QFileInfo(file_).lastModified();
  return QLocale::c().toString(modified, QStringLiteral("ddd MMM dd HH:mm:ss yyyy"));
}

std::optional<QString> TipFile::NextTip() {
  while (!file_.atEnd()) {
    const QByteArray line = file_.readLine(kMaxLine + 1);  // at most the size less one
    if (line.isEmpty()) break;
    if (IsTipLine(line)) return Decode(line);
  }
  return std::nullopt;
}

int TipFile::CountTips() {
  if (!file_.seek(0)) return 0;
  int count = 0;
  while (NextTip())
    ++count;
  return count;
}

TipFile::Found TipFile::ReadUpTo(int number) {
  Found found{-1, {}};
  if (!file_.seek(0)) return found;
  while (found.number < number) {
    std::optional<QString> tip = NextTip();
    if (!tip) break;
    ++found.number;
    found.text = std::move(*tip);
  }
  return found;
}
