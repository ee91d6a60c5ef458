// A font as the settings keep it: one text of 15 comma-separated fields (height, width,
// escapement, orientation, weight, italic, underline, strike-out, character set, output
// precision, clip precision, quality, pitch and family, face name, and one number kept with
// the font), e.g. "-16,0,0,0,400,0,0,0,0,0,0,2,18,Arial,0" for 16-pixel Arial.
//
// A negative height is the character height in pixels, a positive one the cell height (the
// character height plus the internal leading); weight 400 is normal, 700 bold. Fields the
// window cannot use (escapement, precision, quality, ...) are kept as read and written back.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>

struct FontSpec {
  static constexpr int kFaceLimit = 31;  // characters of the face name

  int32_t height = 0;
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strike_out = 0;
  uint8_t char_set = 0;
  uint8_t out_precision = 0;
  uint8_t clip_precision = 0;
  uint8_t quality = 0;
  uint8_t pitch_and_family = 0;
  QString face;
  uint32_t extra = 0;

  // Reads the text: numeric fields as decimal integers (text that is no number reads as 0,
  // like the leading digits of "12px" read 12; missing fields read 0), the face cut to 31
  // characters, everything after the 14th comma as the last number.
  static FontSpec Parse(const QString& text);
  QString Format() const;

  // The Qt font: family, pixel size (a positive cell height loses an estimated internal
  // leading), weight, italic, underline and strike-out.
  QFont ToFont() const;
  // This spec with the face, height, weight, italic, underline and strike-out of `font` (its
  // pixel size, or its point size at `logical_dpi`); the other fields stay.
  FontSpec WithFont(const QFont& font, double logical_dpi) const;

  // What the "Choose fonts" dialog shows: the size in points at `logical_dpi`, rounded, and
  // "Normal", "Italic", "Bold" or "Italic Bold" (bold: weight 700).
  int PointSize(double logical_dpi) const;
  QString StyleName() const;

  bool operator==(const FontSpec&) const = default;
};
