#pragma once
#include "Canvas.h"
#include <string>

class FontFace;

// The painters of every picture in the pack. Each returns a canvas top row
// first; the caller writes it in the pixel format the game expects.

// 256 x 256 grey: 16 x 16 cells of 16 pixels, code c at column c % 16 and row
// c / 16 from the top, white glyphs on black.
Canvas makeFontAtlas(FontFace& mono);
// 128 x 128 tank skin: giraffe-like patches of military colours.
Canvas makeCamouflage();
// 256 x 256 tileable flames for the explosion fireball.
Canvas makeFire();
// 32 x 32, transparent centre: laid over the selected weapon's icon.
Canvas makeSelectionFrame();
// 1024 x 256 panorama wrapped once around the sky cylinder, tileable sideways.
Canvas makeSkyPanorama();
// 512 x 512 title picture, painted for a 4:3 window that stretches it.
Canvas makeSplashScreen(FontFace& titleFont, FontFace& textFont);

// The six weapon icons, 32 x 32.
enum class WeaponIcon { BabyMissile, Missile, BabyNuke, Nuke, Mirv, DeathsHead };
Canvas makeWeaponIcon(WeaponIcon icon);

// Terrain tiles, 128 x 128: band 0 sand, 1 grass, 2 rock. Kind 0 is the full
// tile; 1 to 4 are the transitions from the band to the one above it: 1 one
// corner, 2 one edge, 3 three corners, 4 two opposite corners of the lower band.
Canvas makeTerrainTile(int band, int kind);

// The application icon for desktop menus, 512 x 512 with transparent corners,
// to be shrunk to the sizes menus ask for. Not part of the game's data: the
// game never reads it.
Canvas makeAppIcon();
