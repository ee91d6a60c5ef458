// The markup and layout of the HTML-subset renderer over random text. Input: one byte for the
// width (times 4 pixels), then the markup. A fake measurer makes each character 7 pixels wide.
#include <cstdint>
#include <string>

#include "ui/html/colour.h"
#include "ui/html/layout.h"
#include "ui/html/markup.h"

namespace {

class FixedMeasurer : public html::TextMeasurer {
 public:
  int Width(const html::RunFont& font, std::string_view text) override {
    return static_cast<int>(text.size()) * (font.bold ? 8 : 7);
  }
  html::FontMetrics Metrics(const html::RunFont& font) override {
    return {font.pixel_height + 3, font.pixel_height, 3};
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > 65536) return 0;
  const std::string markup(reinterpret_cast<const char*>(data) + 1, size - 1);
  html::LayoutStyle style;
  style.base_font = {"Sans", 13};
  style.width = data[0] * 4;
  style.left_margin = data[0] % 7;
  style.top_margin = data[0] % 5;
  FixedMeasurer measurer;
  const html::Layout layout = html::LayOut(markup, style, measurer);

  // Every marker becomes its character; nothing is drawn above the text's first line but
  // superscripts; link areas are real rectangles.
  for (const html::TextPiece& piece : layout.pieces) {
    if (piece.text.empty() || piece.text.find(html::kEntityMarker) != std::string::npos) {
      __builtin_trap();
    }
    if (piece.font.pixel_height < 1 || piece.font.pixel_height > html::kMaxPixelHeight) {
      __builtin_trap();
    }
    if (piece.y + piece.height < style.top_margin - html::kMaxPixelHeight) __builtin_trap();
  }
  for (const html::LinkArea& link : layout.links) {
    if (link.right < link.left || link.bottom < link.top) __builtin_trap();
  }
  if (layout.bottom < style.top_margin) __builtin_trap();
  if (html::PlainText(markup).find(html::kEntityMarker) != std::string::npos) __builtin_trap();
  html::ParseColour(markup);
  html::AppCommandName(markup);
  return 0;
}
