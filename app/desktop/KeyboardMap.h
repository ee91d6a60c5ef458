// The X server's core keyboard and modifier mappings, as GetKeyboardMapping and
// GetModifierMapping report them, and the rules that turn a hotkey into key grabs on the root
// window: which keycode, and which modifier masks (Ctrl is Control, Alt is Mod1).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "app/desktop/HotKey.h"

// Modifier masks of the core protocol.
inline constexpr uint16_t kShiftMask = 1 << 0;
inline constexpr uint16_t kLockMask = 1 << 1;
inline constexpr uint16_t kControlMask = 1 << 2;
inline constexpr uint16_t kMod1Mask = 1 << 3;

// The keysym of Num Lock.
inline constexpr uint32_t kNumLockKeysym = 0xff7f;

struct KeyboardMap {
  uint8_t min_keycode = 8;
  int keysyms_per_keycode = 0;
  std::vector<uint32_t> keysyms;  // keysyms_per_keycode for each keycode from min_keycode on
  int keycodes_per_modifier = 0;
  // Eight rows of keycodes_per_modifier keycodes (0 for none): Shift, Lock, Control, Mod1 to
  // Mod5.
  std::vector<uint8_t> modifier_keycodes;
};

struct KeyGrab {
  uint8_t keycode = 0;
  uint16_t modifiers = 0;

  friend bool operator==(const KeyGrab&, const KeyGrab&) = default;
};

// The keysym that stands for a character: Latin-1 characters are their own keysyms, the
// others are Unicode keysyms.
uint32_t KeysymOf(char32_t character);

// The key and modifiers that press `hotkey`: Control, Mod1 when it has Alt, and the key that
// carries its character. A letter is found in either case and never adds Shift; any other
// character adds Shift when only a shifted level of its key carries it. The lowest level wins
// when several keys carry the character. Nothing when no key does.
std::optional<KeyGrab> FindKeyGrab(const KeyboardMap& map, const HotKey& hotkey);

// The modifier mask that Num Lock sets (the modifier whose keys carry Num_Lock), or 0.
uint16_t NumLockMask(const KeyboardMap& map);

// The modifier sets to grab so that `modifiers` fire whatever the state of Caps Lock and Num
// Lock: with and without each (no repeats when there is no Num Lock modifier).
std::vector<uint16_t> LockVariants(uint16_t modifiers, uint16_t num_lock_mask);
