#pragma once

// Texture coordinates (s, t) that a cell's tile gives its corners A = (i, j),
// B = (i, j + 1), C = (i + 1, j + 1) and D = (i + 1, j) in each of the four
// orientations. Each step turns the picture a quarter turn: texture corner (0, 0)
// lies at D, C, B and A in turn, which is where the tile assignment puts the
// lower band's part of a transition tile. The drawing and the pack's preview of
// the tiles both lay tiles by this table.
constexpr float tileCorners[4][4][2] = {
    {{1, 0}, {1, 1}, {0, 1}, {0, 0}},
    {{1, 1}, {0, 1}, {0, 0}, {1, 0}},
    {{0, 1}, {0, 0}, {1, 0}, {1, 1}},
    {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
};
