#pragma once

struct Image;

// Uncompressed true-colour TGA, 24 or 32 bits, without identification field or
// colour map. Rows are kept in file order (lower-left origin assumed).
bool readTga(const char* fileName, Image& image);
