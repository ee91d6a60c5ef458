#include "app/shell/FontSpec.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The leading decimal number of a field, as the C library's atoi reads it: white space, a
// sign and digits; 0 when there is none. Values out of range saturate.
long long LeadingNumber(const QString& field) {
  const QByteArray bytes = field.toLatin1();
  return std::strtoll(bytes.constData(), nullptr, 10);
}

int32_t Signed32(const QString& field) {
  return static_cast<int32_t>(std::clamp<long long>(LeadingNumber(field), INT32_MIN, INT32_MAX));
}

// Byte fields keep the low eight bits, as storing an int in a byte does.
uint8_t Byte(const QString& field) {
  return static_cast<uint8_t>(LeadingNumber(field) & 0xFF);
}

}  // namespace

FontSpec FontSpec::Parse(const QString& text) {
  // The first 13 commas end the numeric fields and the 14th the face name; everything after
  // it is the last number, so a face can never take a later field's text.
  QStringList fields = text.split(QLatin1Char(','));
  while (fields.size() < 15)
    fields.append(QString());
  FontSpec spec;
  spec.height = Signed32(fields[0]);
  spec.width = Signed32(fields[1]);
  spec.escapement = Signed32(fields[2]);
  spec.orientation = Signed32(fields[3]);
  spec.weight = Signed32(fields[4]);
  spec.italic = Byte(fields[5]);
  spec.underline = Byte(fields[6]);
  spec.strike_out = Byte(fields[7]);
  spec.char_set = Byte(fields[8]);
  spec.out_precision = Byte(fields[9]);
  spec.clip_precision = Byte(fields[10]);
  spec.quality = Byte(fields[11]);
  spec.pitch_and_family = Byte(fields[12]);
  spec.face = fields[13].left(kFaceLimit);
  const QString rest = QStringList(fields.mid(14)).join(QLatin1Char(','));
  spec.extra = static_cast<uint32_t>(LeadingNumber(rest));
  return spec;
}

QString FontSpec::Format() const {
  const QStringList fields = {QString::number(height),
                              QString::number(width),
                              QString::number(escapement),
                              QString::number(orientation),
                              QString::number(weight),
                              QString::number(italic),
                              QString::number(underline),
                              QString::number(strike_out),
                              QString::number(char_set),
                              QString::number(out_precision),
                              QString::number(clip_precision),
                              QString::number(quality),
                              QString::number(pitch_and_family),
                              face,
                              QString::number(extra)};
  return fields.join(QLatin1Char(','));
}

QFont FontSpec::ToFont() const {
  QFont font;
  if (!face.isEmpty()) font.setFamilies({face});
  // A cell height holds the internal leading too; about an eighth of it for common faces.
  int pixels = height < 0 ? -height : static_cast<int>(std::lround(height * 0.875));
  if (height == INT32_MIN) pixels = 1024;
  if (pixels > 0) font.setPixelSize(std::clamp(pixels, 1, 1024));
  if (weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
  font.setItalic(italic != 0);
  font.setUnderline(underline != 0);
  font.setStrikeOut(strike_out != 0);
  return font;
}

FontSpec FontSpec::WithFont(const QFont& font, double logical_dpi) const {
  FontSpec spec = *this;
  // A comma would end the face field early.
  spec.face = font.family().remove(QLatin1Char(',')).left(kFaceLimit);
  if (font.pixelSize() > 0) {
    spec.height = -font.pixelSize();
  } else {
    spec.height = -static_cast<int32_t>(std::lround(font.pointSizeF() * logical_dpi / 72.0));
  }
  spec.weight = font.weight();
  spec.italic = font.italic() ? 1 : 0;
  spec.underline = font.underline() ? 1 : 0;
  spec.strike_out = font.strikeOut() ? 1 : 0;
  return spec;
}

int FontSpec::PointSize(double logical_dpi) const {
  if (logical_dpi <= 0) return 0;
  return static_cast<int>(std::lround(std::abs(static_cast<double>(height)) * 72.0 / logical_dpi));
}

QString FontSpec::StyleName() const {
  const bool bold = weight == 700;
  if (italic != 0) return bold ? QStringLiteral("Italic Bold") : QStringLiteral("Italic");
  return bold ? QStringLiteral("Bold") : QStringLiteral("Normal");
}
