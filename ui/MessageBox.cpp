#include "ui/MessageBox.h"

#include <QApplication>
#include <QQueue>

namespace {

struct TestState {
  bool on = false;
  QQueue<QMessageBox::StandardButton> answers;
  QList<MessageBox::Shown> shown;
};

TestState& State() {
  static TestState state;
  return state;
}

QMessageBox::Icon IconOf(MessageBox::Kind kind) {
  switch (kind) {
    case MessageBox::Kind::kError:
      return QMessageBox::Critical;
    case MessageBox::Kind::kWarning:
      return QMessageBox::Warning;
    case MessageBox::Kind::kInformation:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

QString MessageBox::Caption(Kind kind) {
  switch (kind) {
    case Kind::kError:
      return QStringLiteral("Error");
    case Kind::kWarning:
      return QStringLiteral("Warning");
    case Kind::kInformation:
      return QStringLiteral("Information");
  }
  return {};
}

void MessageBox::Error(QWidget* parent, const QString& text) {
  Show(parent, Kind::kError, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBox::Information(QWidget* parent, const QString& text) {
  Show(parent, Kind::kInformation, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBox::Question(QWidget* parent, const QString& text,
                          QMessageBox::StandardButton default_button) {
  return Show(parent, Kind::kWarning, text, QMessageBox::Yes | QMessageBox::No, default_button) ==
         QMessageBox::Yes;
}

QMessageBox::StandardButton MessageBox::Show(QWidget* parent, Kind kind, const QString& text,
                                             QMessageBox::StandardButtons buttons,
                                             QMessageBox::StandardButton default_button) {
  TestState& state = State();
  if (state.on) {
    state.shown.append({kind, text});
    return state.answers.isEmpty() ? default_button : state.answers.dequeue();
  }
  QMessageBox box(IconOf(kind), Caption(kind), text, buttons, parent);
  box.setWindowIcon(QApplication::windowIcon());
  box.setDefaultButton(default_button);
  const int result = box.exec();
  const auto chosen = static_cast<QMessageBox::StandardButton>(result);
  return buttons.testFlag(chosen) ? chosen : default_button;
}

void MessageBox::SetTestMode(bool on) {
  TestState& state = State();
  state.on = on;
  state.answers.clear();
  state.shown.clear();
}

bool MessageBox::TestMode() {
  return State().on;
}

void MessageBox::QueueAnswer(QMessageBox::StandardButton answer) {
  State().answers.enqueue(answer);
}

QList<MessageBox::Shown> MessageBox::TakeShown() {
  QList<Shown> shown;
  shown.swap(State().shown);
  return shown;
}
