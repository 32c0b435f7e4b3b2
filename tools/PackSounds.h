#pragma once
#include "SoundSynth.h"
#include <string>

// The game's sounds, synthesised here. Every one starts from silence and fades
// to it, and stays below full scale.

// A shell leaving the barrel: a dull report under a whoosh that rises in pitch.
Samples makeLaunch();
// An explosion going off; `size` 0 to 3 for blast radius 4, 8, 16 and 32. The
// bigger the blast, the longer, louder and deeper the burst.
Samples makeBurst(int size);
// A cluster shell splitting: a pop and a crackle that thins out.
Samples makeSplit();
// A tank's death: a clank, a sputtering rumble and a tone that sinks.
Samples makeDeath();
// A game won: a rising brass fanfare ending on a held high note.
Samples makeWin();
// A game drawn: two soft, falling tones.
Samples makeDraw();

// Writes every sound as a mono 16-bit WAV file under `dataDir`/sounds/. False,
// with a line on standard error, when a file cannot be written.
bool writePackSounds(const std::string& dataDir);
