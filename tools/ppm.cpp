// A reader of the one image format the tools exchange. (libnetpbm reads PPM,
// but reports a malformed file by ending the process, or by a longjmp that
// C++ objects do not survive; the tools and tests must report it instead.)
#include "ppm.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const int largestSide = 16384;  // pixels: at most 768 MiB of pixels

// Reads one header number, after white space and comments ("#" to the end of the line).
bool readNumber(FILE* file, long& value)
{
    int c = std::fgetc(file);
    while (c == '#' || std::isspace(c)) {
        if (c == '#') {
            while (c != '\n' && c != EOF) c = std::fgetc(file);
        }
        c = std::fgetc(file);
    }
    if (!std::isdigit(c)) return false;
    value = 0;
    for (; std::isdigit(c) && value <= largestSide * 8L; c = std::fgetc(file)) value = value * 10 + (c - '0');
    // One white-space character ends the number; after the maximum value, the pixels begin.
    return std::isspace(c);
}

bool readHeader(FILE* file, const std::string& name, Image& image, std::string& error)
{
    if (std::fgetc(file) != 'P' || std::fgetc(file) != '6') {
        error = name + ": not a binary PPM image (it does not begin with P6)";
        return false;
    }
    long width = 0, height = 0, maximum = 0;
    if (!readNumber(file, width) || !readNumber(file, height) || !readNumber(file, maximum)) {
        error = name + ": a PPM header without its width, height and maximum value";
        return false;
    }
    if (maximum != 255) {
        error = name + ": a PPM with maximum value " + std::to_string(maximum) +
                ", not 255: only 8-bit channels are read (ImageMagick writes them with -depth 8)";
        return false;
    }
    if (width < 1 || height < 1 || width > largestSide || height > largestSide) {
        error = name + ": a PPM of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels; 1 to " + std::to_string(largestSide) + " a side are read";
        return false;
    }
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    return true;
}

}  // namespace

bool readPpm(const char* path, Image& image, std::string& error)
{
    const bool standardInput = std::strcmp(path, "-") == 0;
    const std::string name = standardInput ? "standard input" : path;
    FILE* file = standardInput ? stdin : std::fopen(path, "rb");
    if (file == nullptr) {
        error = name + ": " + std::strerror(errno);
        return false;
    }
    image = Image{};
    bool read = readHeader(file, name, image, error);
    if (read) {
        image.rgb.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3);
        const std::size_t got = std::fread(image.rgb.data(), 1, image.rgb.size(), file);
        if (got != image.rgb.size()) {
            error = name + ": " + std::to_string(got) + " bytes of pixels, not the " +
                    std::to_string(image.rgb.size()) + " of " + std::to_string(image.width) + " x " +
                    std::to_string(image.height) + " pixels";
            read = false;
        }
    }
    if (!standardInput) std::fclose(file);
    if (!read) image = Image{};
    return read;
}
