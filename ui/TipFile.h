// The tips file of the tip of the day: one tip a line, in the markup of CHtmlStatic.
//
// A line whose first character is a space, a tab, a line break or ';' is no tip (blank,
// indented and comment lines). Tips are numbered from 0 in file order; tip 0 is the welcome
// tip. Lines are read in pieces of at most kMaxLine characters, each piece counting as a
// line. A tip's text is its line with the line break ("\r\n" reads as "\n"). The text is
// UTF-8, or Latin-1 when it is not valid UTF-8.
#pragma once

#include <QFile>
#include <QString>
#include <optional>

class TipFile {
 public:
  static constexpr int kMaxLine = 9999;

  // Opens the file for reading; false when it cannot be read.
  bool Open(const QString& path);
  bool IsOpen() const { return file_.isOpen(); }

  // The file's modification time in the layout "Www Mmm dd hh:mm:ss yyyy" (local time).
  QString TimeStamp() const;
  // The number of tips.
  int CountTips();

  struct Found {
    int number;    // the number of the last tip read: `number` asked for, or less at the end
    QString text;  // that tip's text; empty when the file holds no tip
  };
  // Reads the tips from the first up to tip `number` and gives the last one read.
  Found ReadUpTo(int number);

 private:
  // The next tip's text, from the current position; nothing at the end of the file.
  std::optional<QString> NextTip();

  QFile file_;
};
