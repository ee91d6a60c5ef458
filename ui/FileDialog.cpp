#include "ui/FileDialog.h"

#include <QFileDialog>
#include <QQueue>

namespace {

struct TestState {
  bool on = false;
  QQueue<QString> answers;
  QList<FileDialog::Asked> asked;
};

TestState& State() {
  static TestState state;
  return state;
}

// In test mode: records the call, gives the next answer and returns true; false otherwise.
bool Answered(const FileDialog::Asked& asked, QString* answer) {
  TestState& state = State();
  if (!state.on) return false;
  state.asked.append(asked);
  *answer = state.answers.isEmpty() ? QString() : state.answers.dequeue();
  return true;
}

}  // namespace

QString FileDialog::OpenFile(QWidget* parent, const QString& caption, const QString& suggested,
                             const QString& filter) {
  QString answer;
  if (Answered({false, caption, suggested, filter}, &answer)) return answer;
  return QFileDialog::getOpenFileName(parent, caption, suggested, filter);
}

QString FileDialog::SaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                             const QString& filter, const QString& default_suffix) {
  QString answer;
  if (Answered({true, caption, suggested, filter}, &answer)) return answer;
  QFileDialog dialog(parent, caption, suggested, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(default_suffix);
  // The caller asks about overwriting in its own words.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

void FileDialog::SetTestMode(bool on) {
  TestState& state = State();
  state.on = on;
  state.answers.clear();
  state.asked.clear();
}

void FileDialog::QueueAnswer(const QString& path) {
  State().answers.enqueue(path);
}

QList<FileDialog::Asked> FileDialog::TakeAsked() {
  QList<Asked> asked;
  asked.swap(State().asked);
  return asked;
}
