#include "ui/QtTextMeasurer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPaintDevice>
#include <QString>
#include <QStringList>
#include <cmath>

QtTextMeasurer::QtTextMeasurer(const QFont& base, const QPaintDevice* device)
    : base_(base), device_(device) {}

html::RunFont QtTextMeasurer::BaseRunFont() const {
  html::RunFont font;
  font.face = base_.family().toStdString();
  if (base_.pixelSize() > 0) {
    font.pixel_height = base_.pixelSize();
  } else if (device_ != nullptr) {
    font.pixel_height =
        static_cast<int>(std::lround(base_.pointSizeF() * device_->logicalDpiY() / 72.0));
  } else {
    font.pixel_height = QFontInfo(base_).pixelSize();
  }
  return font;
}

QFont QtTextMeasurer::Font(const html::RunFont& run) const {
  QFont font = base_;
  const QString face = QString::fromStdString(run.face);
  if (run.fixed_pitch) {
    // The code face where it is installed, else the desktop's fixed-pitch font.
    font.setFamilies(
        QStringList{face, QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    font.setStyleHint(QFont::TypeWriter);
  } else if (face != base_.family()) {
    font.setFamilies(QStringList{face});
  }
  font.setPixelSize(run.pixel_height);
  font.setWeight(run.bold ? QFont::Bold : QFont::Normal);
  font.setItalic(run.italic);
  font.setUnderline(run.underline);
  font.setStrikeOut(run.strike_out);
  return font;
}

const QFontMetrics& QtTextMeasurer::MetricsOf(const html::RunFont& font) {
  for (const auto& [cached, metrics] : cache_) {
    if (cached == font) return metrics;
  }
  if (cache_.size() == kCachedFonts) cache_.erase(cache_.begin());
  cache_.emplace_back(font, QFontMetrics(Font(font), device_));
  return cache_.back().second;
}

int QtTextMeasurer::Width(const html::RunFont& font, std::string_view text) {
  return MetricsOf(font).horizontalAdvance(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

html::FontMetrics QtTextMeasurer::Metrics(const html::RunFont& font) {
  const QFontMetrics& metrics = MetricsOf(font);
  return {metrics.height(), metrics.ascent(), metrics.descent()};
}
