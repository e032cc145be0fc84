// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace vantrel {

// Colours as the program stores them: red in the low byte, then green, then blue.
// A value with the top bit set names a system colour by index (0x8000000F: button face).
using Colour = std::uint32_t;

namespace colour {
inline constexpr Colour green = 65280;
inline constexpr Colour red = 255;
inline constexpr Colour yellow = 65535;
inline constexpr Colour cyan = 16776960;
inline constexpr Colour white = 16777215;
inline constexpr Colour black = 0;
inline constexpr Colour buttonFace = 2147483663u;
inline constexpr Colour windowBackground = 2147483653u;  // system colour 5
inline constexpr Colour sheetGrey = 13420735;            // the default skin

constexpr bool isSystem(Colour c) {
  return (c & 0x80000000u) != 0;
}
constexpr int redOf(Colour c) {
  return static_cast<int>(c & 0xFF);
}
constexpr int greenOf(Colour c) {
  return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int blueOf(Colour c) {
  return static_cast<int>((c >> 16) & 0xFF);
}
constexpr Colour rgb(int r, int g, int b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
}  // namespace colour

}  // namespace vantrel
