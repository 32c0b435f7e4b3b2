#pragma once
#include <cstdint>
#include <vector>

// What the window asks of the X server directly, on the connection of the
// current GL context; freeglut offers neither. Kept apart from the window's
// source because X's headers name a type Display, as the game's drawing class
// is named.

// Asks the server to send a held key's repeats as presses alone, without the
// release that comes before each one otherwise (XKB's detectable auto-repeat).
// False where the server cannot do it or no connection is current.
bool requestDetectableAutoRepeat();

// The keyboard's layout: for each key of the keyboard (by X key code) the
// symbols it types at each of its shift levels. Empty when no connection is
// current.
struct KeyboardLayout {
    int firstKeyCode = 0;
    std::vector<std::vector<std::uint32_t>> symbols; // [key code - firstKeyCode][level]
};
KeyboardLayout readKeyboardLayout();

// Whether the keyboard's input goes to the window of the current GL context, as
// the server's input focus says. False where no connection or window is current.
bool windowHasInputFocus();
