#include "ui/ViewColors.h"

#include <algorithm>
#include <cmath>

namespace {

// Text needs this contrast with its background to stay readable (the large-text level of the
// usual accessibility guidelines; the views' fonts are 12 to 16 pixels by default).
constexpr double kMinimumContrast = 3.0;

double Channel(double value) {
  value /= 255.0;
  return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
  return 0.2126 * Channel(colour.red()) + 0.7152 * Channel(colour.green()) +
         0.0722 * Channel(colour.blue());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

QColor ReadableTextColor(const QColor& text, const QColor& background) {
  if (!text.isValid() || !background.isValid()) return text;
  if (Contrast(text, background) >= kMinimumContrast) return text;
  const QColor hsl = text.toHsl();
  QColor turned = QColor::fromHsl(hsl.hslHue(), hsl.hslSaturation(), 255 - hsl.lightness());
  if (Contrast(turned, background) >= kMinimumContrast) return turned;
  return Luminance(background) > 0.5 ? QColor(Qt::black) : QColor(Qt::white);
}
