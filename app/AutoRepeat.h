#pragma once

// Asks the X server to send a held key's repeats as presses alone, without the
// release that comes before each one otherwise (XKB's detectable auto-repeat), on
// the connection of the current GL context. False where the server cannot do it
// or no connection is current. Kept apart from the window's source because X's
// headers name a type Display, as the game's drawing class is named.
bool requestDetectableAutoRepeat();
