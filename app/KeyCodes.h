#pragma once

// The game's one 8-bit key space: ASCII as typed, plus 128 to 133 for the arrow
// and page keys, which GLUT reports apart from the others. Letters are keys of
// their own in each case: 'a' and 'A' differ.
namespace keys {
constexpr unsigned char backspace = 8;
constexpr unsigned char tab = 9;
constexpr unsigned char lineFeed = 10;
constexpr unsigned char enter = 13;
constexpr unsigned char escape = 27;
constexpr unsigned char space = 32;
constexpr unsigned char backquote = 96;
constexpr unsigned char left = 128;
constexpr unsigned char right = 129;
constexpr unsigned char up = 130;
constexpr unsigned char down = 131;
constexpr unsigned char pageUp = 132;
constexpr unsigned char pageDown = 133;
} // namespace keys
