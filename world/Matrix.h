#include "assets/TraceSink.h"
#pragma once
#include <cstdint>
#include <vector>

// A width x height grid stored row after row: element (x, y) lives at y * width + x.
// Every access is bounds-tested; an index outside the grid is reported on standard
// error and answered with a spare element so nothing outside the array is touched.
template <typename T> class Matrix {
public:
    Matrix(std::uint32_t width, std::uint32_t height)
        : elements(static_cast<std::size_t>(width) * height), w(width), h(height) {}

    std::uint32_t width() const { return w; }
    std::uint32_t height() const { return h; }

    T& at(std::uint32_t x, std::uint32_t y) {
        if (x >= w || y >= h)
            return outOfBounds(x, y);
        return elements[static_cast<std::size_t>(y) * w + x];
    }
    const T& at(std::uint32_t x, std::uint32_t y) const {
        if (x >= w || y >= h)
            return outOfBounds(x, y);
        return elements[static_cast<std::size_t>(y) * w + x];
    }

private:
    T& outOfBounds(std::uint32_t x, std::uint32_t y) const {
        ErrorLine() << "Referenced matrix out of bounds, you shmuck! (" << x << " / " << w << ", "
                    << y << " / " << h << ")";
        spare = T{};
        return spare;
    }

    std::vector<T> elements;
    std::uint32_t w;
    std::uint32_t h;
    // Answers an access outside the grid, reset each time: nothing a caller
    // writes there survives, and a reader of a const grid may be handed it too.
    mutable T spare{};
};
