// What the hotkey does: take the selection, then the clipboard, then nothing; bring the window
// forward from wherever it is.
#include <gtest/gtest.h>

#include <QWidget>

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

TEST(BringForward, ShowsWindow) {
  for (const bool minimised : {false, true}) {
    SCOPED_TRACE(minimised);
    QWidget window;
    if (minimised) window.showMinimized();  // else hidden, as in the tray
    BringForward(&window, HotKeyActivation{});
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
  }
}
