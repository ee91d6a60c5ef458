#include "app/desktop/SelectionCapture.h"

#include <QClipboard>
#include <QGuiApplication>

QString ClipboardTextSource::SelectionText() const {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : QString();
}

QString ClipboardTextSource::ClipboardText() const {
  return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

QString CaptureText(const TextSource& source) {
  const QString selection = source.SelectionText().trimmed();
  return selection.isEmpty() ? source.ClipboardText().trimmed() : selection;
}
