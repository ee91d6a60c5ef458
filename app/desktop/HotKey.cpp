#include "app/desktop/HotKey.h"

#include <QChar>
#include <QList>

namespace {

// The one character after `prefix`, or nothing when `text` is not `prefix` and one character.
// "+" is no key: the text's last "+" must be the one that ends the prefix.
std::optional<char32_t> KeyAfter(const QString& text, QLatin1StringView prefix) {
  if (!text.startsWith(prefix)) return std::nullopt;
  const QList<uint> rest = QStringView(text).mid(prefix.size()).toUcs4();
  if (rest.size() != 1 || rest[0] == U'+' || !QChar::isPrint(rest[0])) return std::nullopt;
  return static_cast<char32_t>(rest[0]);
}

}  // namespace

std::optional<HotKey> ParseHotKey(const QString& text) {
  const QString trimmed = text.trimmed();
  std::optional<HotKey> hotkey;
  if (const auto with_alt = KeyAfter(trimmed, QLatin1StringView("Ctrl+Alt+"))) {
    hotkey = HotKey{true, *with_alt};
  } else if (const auto ctrl_only = KeyAfter(trimmed, QLatin1StringView("Ctrl+"))) {
    hotkey = HotKey{false, *ctrl_only};
  }
  if (hotkey) hotkey->key = QChar::toUpper(hotkey->key);
  return hotkey;
}

HotKey ParseHotKeyOrDefault(const QString& text) {
  return ParseHotKey(text).value_or(HotKey{});
}
