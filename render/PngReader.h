#pragma once

struct Image;

// Grey, RGB and RGBA PNG files, any bit depth, as 8 bits per channel; palette
// and grey-with-alpha files are refused. libpng's own handlers report its errors.
bool readPng(const char* fileName, Image& image);
