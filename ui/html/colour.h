// Colour texts of the markup: "r,g,b", "#rrggbb" or one of the 140 colour names.
#pragma once

#include <cstdint>
#include <string_view>

namespace html {

struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  friend bool operator==(const Colour&, const Colour&) = default;
};

// Reads a colour text; surrounding spaces are ignored. What cannot be read gives black.
//  - With a ",": three decimal numbers red, green, blue, each taken modulo 256; a missing
//    number counts as 0.
//  - Otherwise with a "#": exactly "#" and six hexadecimal digits, two each for red, green and
//    blue; any other length gives black.
//  - Otherwise a colour name, any case, from AliceBlue to YellowGreen.
Colour ParseColour(std::string_view text);

}  // namespace html
