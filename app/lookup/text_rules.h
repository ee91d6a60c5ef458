// Text rules of the lookup box: how typed text is normalised, told apart (pattern, word,
// invalid text), turned into the engine's index form and back, and reduced to a base form.
// Plain functions over byte strings holding UTF-8; they never throw.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "engine/text_helpers.h"

namespace lookup {

// The message shown when the lookup text is neither a word nor a pattern.
inline constexpr char kInvalidCharactersMessage[] =
    "The entered text contains invalid characters. It must\nconsist purely of alphabetic "
    "letters (or spaces), or be\na pattern string. See the help for further details.";

// Lower-cases letters (ASCII, and the Latin, Greek and Cyrillic letters of UTF-8 text);
// bytes that are not valid UTF-8 pass through unchanged.
std::string LowerCase(std::string_view text);

// Upper-cases the first character when it is a letter with an upper-case form.
std::string UpperFirst(std::string_view text);

// Removes white space (space, tab, line breaks, vertical tab, form feed) at both ends.
std::string Trim(std::string_view text);

// True when `a` and `b` are equal once ASCII capitals are lower-cased.
using engine::EqualsIgnoringAsciiCase;

// What the lookup box hands to a lookup: lower-cased, then trimmed.
std::string NormaliseLookupText(std::string_view text);

// Index form for the engine and the custom database: spaces as "_", trimmed, lower-cased.
std::string ToIndexForm(std::string_view text);

// Display form: "_" shown as a space, trimmed.
std::string ToDisplayForm(std::string_view word);

// The code points of UTF-8 text, one per character; a byte that does not start a well-formed
// sequence becomes U+DC00 plus its value, which no letter equals.
std::u32string CodePoints(std::string_view text);

// True for a character that is neither a letter nor a space. Letters are those of
// LowerCase's alphabets (upper and lower case); bytes that are not valid UTF-8 are invalid.
bool HasInvalidCharacters(std::string_view text);

// The pattern test of the lookup box: not empty, at least one of "?*[]", and nothing but
// letters, spaces and those four.
bool IsLookupPattern(std::string_view text);

// Answers whether a word in index form is known (to the engine or the custom database).
using IsKnownFunction = std::function<bool(const std::string& index_form)>;

// The base-form rules over a normalised text T. Returns true and stores in *base the text to
// look up (T itself, or T reduced: cats to cat, baked to bake, walked to walk, making to
// make) when T or one of its reductions is known; false when none is. Rules, in order, each
// tried only while nothing was known: T itself; a final "s" dropped; for more than two
// characters ending in "ed", the "d" dropped, then the "ed"; for more than four characters
// ending in "ing", the "ing" dropped, then replaced by "e".
bool FindBaseForm(const std::string& text, const IsKnownFunction& is_known, std::string* base);

}  // namespace lookup
