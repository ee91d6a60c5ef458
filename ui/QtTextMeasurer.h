// Measures the runs of the HTML-subset layout with Qt's fonts on a paint device (the widget,
// or a printer), and turns the layout's fonts into QFonts for drawing.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <utility>
#include <vector>

#include "ui/html/layout.h"

class QPaintDevice;

class QtTextMeasurer : public html::TextMeasurer {
 public:
  // Runs are drawn in `base` with the layout's changes; `device` (null: the screen) gives the
  // resolution.
  explicit QtTextMeasurer(const QFont& base, const QPaintDevice* device = nullptr);

  // The layout's base font: `base`'s family and character height in pixels of the device.
  html::RunFont BaseRunFont() const;
  QFont Font(const html::RunFont& font) const;

  int Width(const html::RunFont& font, std::string_view text) override;
  html::FontMetrics Metrics(const html::RunFont& font) override;

 private:
  const QFontMetrics& MetricsOf(const html::RunFont& font);

  QFont base_;
  const QPaintDevice* device_;
  // A text uses a handful of fonts, in turn: their metrics are kept (up to kCachedFonts).
  static constexpr size_t kCachedFonts = 16;
  std::vector<std::pair<html::RunFont, QFontMetrics>> cache_;
};
