#include "app/desktop/KeyboardMap.h"

#include <QChar>
#include <algorithm>

uint32_t KeysymOf(char32_t character) {
  if ((character >= 0x20 && character <= 0x7e) || (character >= 0xa0 && character <= 0xff))
    return character;
  return 0x01000000 | character;
}

std::optional<KeyGrab> FindKeyGrab(const KeyboardMap& map, const HotKey& hotkey) {
  const int per_keycode = map.keysyms_per_keycode;
  if (per_keycode <= 0) return std::nullopt;
  // A letter's key carries it in lower case, in upper case or both (a key that lists only the
  // upper case stands for both), so either names the key, and the hotkey never means Shift.
  const uint32_t lower = KeysymOf(QChar::toLower(hotkey.key));
  const uint32_t upper = KeysymOf(QChar::toUpper(hotkey.key));
  const bool letter = lower != upper;
  const uint16_t modifiers = kControlMask | (hotkey.alt ? kMod1Mask : 0);
  const size_t keycodes = map.keysyms.size() / per_keycode;
  for (int level = 0; level < per_keycode; ++level) {
    for (size_t k = 0; k < keycodes; ++k) {
      const uint32_t keysym = map.keysyms[k * per_keycode + level];
      if (keysym != lower && keysym != upper) continue;
      const bool shifted = !letter && level % 2 == 1;
      const auto keycode = static_cast<uint8_t>(map.min_keycode + k);
      return KeyGrab{keycode, static_cast<uint16_t>(modifiers | (shifted ? kShiftMask : 0))};
    }
  }
  return std::nullopt;
}

uint16_t NumLockMask(const KeyboardMap& map) {
  const int per_keycode = map.keysyms_per_keycode;
  const int per_modifier = map.keycodes_per_modifier;
  if (per_keycode <= 0 || per_modifier <= 0) return 0;
  const auto carries_num_lock = [&](uint8_t keycode) {
    if (keycode < map.min_keycode) return false;
    const size_t first = static_cast<size_t>(keycode - map.min_keycode) * per_keycode;
    if (first + per_keycode > map.keysyms.size()) return false;
    const auto begin = map.keysyms.begin() + first;
    return std::find(begin, begin + per_keycode, kNumLockKeysym) != begin + per_keycode;
  };
  for (size_t i = 0; i < map.modifier_keycodes.size() && i / per_modifier < 8; ++i) {
    if (carries_num_lock(map.modifier_keycodes[i])) return 1 << (i / per_modifier);
  }
  return 0;
}

std::vector<uint16_t> LockVariants(uint16_t modifiers, uint16_t num_lock_mask) {
  std::vector<uint16_t> variants;
  for (const uint16_t locks :
       {uint16_t{0}, kLockMask, num_lock_mask, static_cast<uint16_t>(kLockMask | num_lock_mask)}) {
    const auto variant = static_cast<uint16_t>(modifiers | locks);
    if (std::find(variants.begin(), variants.end(), variant) == variants.end())
      variants.push_back(variant);
  }
  return variants;
}
