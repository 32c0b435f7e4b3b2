#pragma once
#include "Canvas.h"
#include <string>

// What the game expects of a picture: 8-bit grey (the font, turned into an alpha
// texture), RGB, or RGBA (pictures with holes, such as the selection frame).
enum class PixelFormat { Grey, Rgb, Rgba };

// Writes the canvas top row first, as PNG files store it, with 8 bits a channel.
// No time stamp or other varying chunk is written, so equal canvases give equal
// files. Creates missing parent folders. Returns false, with a line on standard
// error, when the file cannot be written.
bool writePng(const std::string& path, const Canvas& canvas, PixelFormat format);
