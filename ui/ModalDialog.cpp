#include "ui/ModalDialog.h"

#include <QDialog>
#include <QQueue>
#include <utility>

namespace {

struct TestState {
  bool on = false;
  QQueue<int> answers;
  QStringList shown;
};

TestState& State() {
  static TestState state;
  return state;
}

}  // namespace

int ModalDialog::Exec(QDialog* dialog) {
  TestState& state = State();
  if (state.on) {
    state.shown.append(dialog->objectName());
    return state.answers.isEmpty() ? QDialog::Rejected : state.answers.dequeue();
  }
  return dialog->exec();
}

void ModalDialog::Open(QDialog* dialog) {
  TestState& state = State();
  if (state.on) {
    state.shown.append(dialog->objectName());
    return;
  }
  dialog->open();
}

void ModalDialog::SetTestMode(bool on) {
  TestState& state = State();
  state.on = on;
  state.answers.clear();
  state.shown.clear();
}

bool ModalDialog::TestMode() {
  return State().on;
}

void ModalDialog::QueueAnswer(int result) {
  State().answers.enqueue(result);
}

QStringList ModalDialog::TakeShown() {
  return std::exchange(State().shown, {});
}
