// Binary PPM images with 8-bit channels, the form in which the frame dump
// writes frames, read by the frame comparison and the design tests.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;  // rows from the top, 3 bytes a pixel
    const unsigned char* at(int x, int y) const
    {
        return &rgb[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x)) *
                    3];
    }
};

// Reads a binary PPM ("P6") whose maximum value is 255, from a file or, for
// "-", from standard input. Anything else (another format, 16-bit channels,
// a size of 0 or over 16384 pixels a side, missing pixels) is refused: the
// result is false and `error` says why, naming the file.
bool readPpm(const char* path, Image& image, std::string& error);
