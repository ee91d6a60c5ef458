// What the hotkey does: take the selection, then the clipboard, then nothing; bring the window
// forward with the activation its caller handed over (the window coming forward from the tray
// or minimised is tried in tests/shell and end to end).
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/desktop/BringForward.h"
#include "app/desktop/SelectionCapture.h"

namespace {

class FakeSource : public TextSource {
 public:
  FakeSource(const char* selection, const char* clipboard)
      : selection_(selection), clipboard_(clipboard) {}
  QString SelectionText() const override { return selection_; }
  QString ClipboardText() const override { return clipboard_; }

 private:
  QString selection_;
  QString clipboard_;
};

}  // namespace

TEST(Capture, SelectionThenClipboard) {
  struct Case {
    const char* selection;
    const char* clipboard;
    const char* expected;
  };
  const Case cases[] = {
      {"cats", "dogs", "cats"},           {"", "dogs", "dogs"},
      {" \n\t", " dogs\n", "dogs"},  // a selection of white space counts as none
      {"  ice cream\n", "", "ice cream"}, {"", " ", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.selection) + "|" + c.clipboard);
    EXPECT_EQ(CaptureText(FakeSource(c.selection, c.clipboard)), c.expected);
  }
}

TEST(BringForward, ActivationFromEnvironment) {
  struct Case {
    const char* token;       // XDG_ACTIVATION_TOKEN, nullptr: unset
    const char* startup_id;  // DESKTOP_STARTUP_ID, nullptr: unset
    const char* expected_token;
    quint32 expected_time;
  };
  const Case cases[] = {
      {nullptr, nullptr, "", 0},
      {"kwin-42", nullptr, "kwin-42", 0},
      {nullptr, "launcher-123-host-verbarium-0_TIME4711", "", 4711},
      {nullptr, "launcher_TIME12_TIME34", "", 34},  // the last stamp counts
      {nullptr, "launcher-without-time", "", 0},
      {nullptr, "launcher_TIME", "", 0},
      {nullptr, "launcher_TIMEsoon", "", 0},
      {nullptr, "launcher_TIME99999999999", "", 0},  // beyond an X server time
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.token ? c.token : "-") + "|" + (c.startup_id ? c.startup_id : "-"));
    c.token ? setenv("XDG_ACTIVATION_TOKEN", c.token, 1) : unsetenv("XDG_ACTIVATION_TOKEN");
    c.startup_id ? setenv("DESKTOP_STARTUP_ID", c.startup_id, 1) : unsetenv("DESKTOP_STARTUP_ID");
    const HotKeyActivation activation = ActivationFromEnvironment();
    EXPECT_EQ(activation.activation_token, c.expected_token);
    EXPECT_EQ(activation.x11_time, c.expected_time);
  }
  unsetenv("XDG_ACTIVATION_TOKEN");
  unsetenv("DESKTOP_STARTUP_ID");
}
