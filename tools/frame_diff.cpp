// Compares a frame with its reference and forgives what another rasterizer's
// edge rule changes: a pixel of one image matches when a pixel within one
// place of it in the other (its 3 x 3 neighbourhood) is within LEVELS in every
// channel. An edge drawn one pixel over still matches; a colour, a shading or
// a shape that changed does not. Prints how many pixels, of either image,
// match nothing, and writes DIFF: those pixels red over a faded FRAME.
// (ImageMagick can say this with nine shifted differences, at 0.4 s a frame;
// its compare and OpenImageIO's idiff only compare pixels in the same place.)
// Usage: frame_diff FRAME REFERENCE LEVELS DIFF   binary PPM files, - for standard input
// Exit status: 0 when compared, 2 with a message when it could not compare.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ppm.h"

namespace {

// Whether a pixel of `other` within one place of (x, y) is within `levels` of a's pixel there.
bool matches(const Image& a, const Image& other, int x, int y, int levels)
{
    const unsigned char* pixel = a.at(x, y);
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, a.height - 1); ++ny) {
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, a.width - 1); ++nx) {
            const unsigned char* near = other.at(nx, ny);
            const int farthest = std::max(
                {std::abs(pixel[0] - near[0]), std::abs(pixel[1] - near[1]), std::abs(pixel[2] - near[2])});
            if (farthest <= levels) return true;
        }
    }
    return false;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "frame_diff: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5)
        return fail(
            "usage: frame_diff FRAME REFERENCE LEVELS DIFF  (binary PPM files, - for standard input)");
    char* end = nullptr;
    const long levels = std::strtol(argv[3], &end, 10);
    if (end == argv[3] || *end != '\0' || levels < 0 || levels > 255)
        return fail(std::string("LEVELS is a whole number from 0 to 255, not '") + argv[3] + "'");
    Image frame, reference;
    std::string error;
    if (!readPpm(argv[1], frame, error) || !readPpm(argv[2], reference, error)) return fail(error);
    if (frame.width != reference.width || frame.height != reference.height) {
        return fail(std::string(argv[1]) + " is " + std::to_string(frame.width) + " x " +
                    std::to_string(frame.height) + " pixels, " + argv[2] + " is " +
                    std::to_string(reference.width) + " x " + std::to_string(reference.height));
    }
    // Only now, with both images read, is DIFF written: a failed call leaves no image behind.
    FILE* diff = std::fopen(argv[4], "wb");
    if (diff == nullptr) return fail(std::string(argv[4]) + ": " + std::strerror(errno));
    std::fprintf(diff, "P6\n%d %d\n255\n", frame.width, frame.height);
    long off = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            unsigned char shown[3] = {255, 0, 0};  // red where a pixel is off, the frame faded elsewhere
            const bool match = matches(frame, reference, x, y, static_cast<int>(levels)) &&
                               matches(reference, frame, x, y, static_cast<int>(levels));
            for (int c = 0; match && c < 3; ++c)
                shown[c] = static_cast<unsigned char>((frame.at(x, y)[c] + 3 * 255) / 4);
            off += match ? 0 : 1;
            std::fwrite(shown, 1, 3, diff);
        }
    }
    const bool written = std::ferror(diff) == 0;
    if (std::fclose(diff) != 0 || !written) return fail(std::string(argv[4]) + ": " + std::strerror(errno));
    std::printf("%ld\n", off);
    return 0;
}
