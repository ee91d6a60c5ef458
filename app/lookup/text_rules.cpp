#include "app/lookup/text_rules.h"

#include <cstdint>

#include "engine/text_helpers.h"

namespace lookup {

namespace {

using engine::DecodeUtf8;
using engine::Utf8Char;

void Encode(int32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Latin Extended-A pairs an upper-case letter with the next code point, starting at an even
// code point in most of the block and at an odd one in two runs.
bool IsLatinExtendedAUpper(int32_t cp) {
  if (cp < 0x100 || cp > 0x17E || cp == 0x130 || cp == 0x131 || cp == 0x138 || cp == 0x149 ||
      cp == 0x178) {
    return false;
  }
  if ((cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E)) return cp % 2 == 1;
  return cp % 2 == 0;
}

int32_t ToLower(int32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp < 0x80) return cp;
  if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
  if (IsLatinExtendedAUpper(cp)) return cp + 1;
  if (cp == 0x130) return 'i';
  if (cp == 0x178) return 0xFF;
  if (cp >= 0x391 && cp <= 0x3AB && cp != 0x3A2) return cp + 0x20;
  if (cp >= 0x410 && cp <= 0x42F) return cp + 0x20;
  if (cp >= 0x400 && cp <= 0x40F) return cp + 0x50;
  return cp;
}

int32_t ToUpper(int32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 32;
  if (cp < 0x80) return cp;
  if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 0x20;
  if (cp == 0xFF) return 0x178;
  if (cp > 0x100 && IsLatinExtendedAUpper(cp - 1)) return cp - 1;
  if (cp >= 0x3B1 && cp <= 0x3CB && cp != 0x3C2) return cp - 0x20;
  if (cp >= 0x430 && cp <= 0x44F) return cp - 0x20;
  if (cp >= 0x450 && cp <= 0x45F) return cp - 0x50;
  return cp;
}

bool IsLetter(int32_t cp) {
  if (cp < 0x80) return engine::IsAsciiLetter(static_cast<char>(cp));
  if (cp == 0xAA || cp == 0xB5 || cp == 0xBA) return true;
  if (cp >= 0xC0 && cp <= 0x24F) return cp != 0xD7 && cp != 0xF7;
  if (cp >= 0x386 && cp <= 0x3FF) return cp != 0x387;
  return cp >= 0x400 && cp <= 0x52F && !(cp >= 0x482 && cp <= 0x489);
}

template <typename Map>
std::string MapCharacters(std::string_view text, size_t count, Map map) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  for (size_t mapped = 0; i < text.size() && mapped < count; ++mapped) {
    const Utf8Char d = DecodeUtf8(text, i);
    if (d.code_point < 0) {
      out.push_back(text[i]);
    } else {
      Encode(map(d.code_point), &out);
    }
    i += d.length;
  }
  out.append(text.substr(i));
  return out;
}

bool EndsWith(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

std::string LowerCase(std::string_view text) {
  return MapCharacters(text, text.size(), ToLower);
}

std::string UpperFirst(std::string_view text) {
  return MapCharacters(text, 1, ToUpper);
}

std::string Trim(std::string_view text) {
  return std::string(engine::TrimWhiteSpace(text));
}

std::string NormaliseLookupText(std::string_view text) {
  return Trim(LowerCase(text));
}

std::string ToIndexForm(std::string_view text) {
  std::string out = LowerCase(Trim(text));
  for (char& c : out) {
    if (c == ' ') c = '_';
  }
  return out;
}

std::string ToDisplayForm(std::string_view word) {
  std::string out(word);
  for (char& c : out) {
    if (c == '_') c = ' ';
  }
  return Trim(out);
}

std::u32string CodePoints(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const Utf8Char d = DecodeUtf8(text, i);
    out.push_back(d.code_point >= 0 ? static_cast<char32_t>(d.code_point)
                                    : 0xDC00 + static_cast<unsigned char>(text[i]));
    i += d.length;
  }
  return out;
}

bool HasInvalidCharacters(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const Utf8Char d = DecodeUtf8(text, i);
    if (d.code_point != ' ' && !IsLetter(d.code_point)) return true;
    i += d.length;
  }
  return false;
}

bool IsLookupPattern(std::string_view text) {
  bool wildcard = false;
  for (size_t i = 0; i < text.size();) {
    const Utf8Char d = DecodeUtf8(text, i);
    const int32_t cp = d.code_point;
    if (cp == '?' || cp == '*' || cp == '[' || cp == ']') {
      wildcard = true;
    } else if (cp != ' ' && !IsLetter(cp)) {
      return false;
    }
    i += d.length;
  }
  return wildcard;
}

bool FindBaseForm(const std::string& typed, const IsKnownFunction& is_known, std::string* base) {
  const std::string text = NormaliseLookupText(typed);
  const std::string w = ToIndexForm(text);
  const size_t n = w.size();
  const auto drop = [&](size_t count) { *base = text.substr(0, text.size() - count); };
  if (is_known(w)) {
    *base = text;
    return true;
  }
  if (EndsWith(w, "s") && is_known(w.substr(0, n - 1))) {
    drop(1);
    return true;
  }
  if (n > 2 && EndsWith(w, "ed")) {
    if (is_known(w.substr(0, n - 1))) {
      drop(1);
      return true;
    }
    if (is_known(w.substr(0, n - 2))) {
      drop(2);
      return true;
    }
  }
  if (n > 4 && EndsWith(w, "ing")) {
    if (is_known(w.substr(0, n - 3))) {
      drop(3);
      return true;
    }
    std::string with_e = w.substr(0, n - 3) + "e";
    if (is_known(with_e)) {
      *base = std::move(with_e);
      return true;
    }
  }
  return false;
}

}  // namespace lookup
