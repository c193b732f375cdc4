// Compares a frame with its reference, in three measures that tell what
// another rasterizer changes from what a fault changes (tools/frames sets
// their limits, from what was measured):
// - off: pixels of one image that match no pixel within one place of them in
//   the other (their 3 x 3 neighbourhood) within LEVELS in every channel,
//   counted in both images. An edge drawn one pixel over still matches, as
//   in VTK's image tests; a shape or a colour that changed does not.
// - moved: pixels that differ in place by more than EDGE levels in some
//   channel: where an edge or a shape moved, forgiven or not by the first.
// - drift: the largest, over the three channels, of the sum of the signed
//   differences of the other pixels. Shading noise of a level or two cancels
//   out in it; a colour a few levels off adds up over its whole area.
// Prints "OFF MOVED DRIFT", and writes DIFF: the pixels off in red and the
// others moved in orange, over a faded FRAME.
// (ImageMagick can tell off pixels with nine shifted differences, at 0.4 s a
// frame; its compare and OpenImageIO's idiff only compare pixels in the same place.)
// Usage: frame_diff FRAME REFERENCE LEVELS EDGE DIFF   binary PPM files, - for standard input
// Exit status: 0 when compared, 2 with a message when it could not compare.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ppm.h"

namespace {

// The largest difference of two pixels in any channel, in levels.
int largestDifference(const unsigned char* a, const unsigned char* b)
{
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

// Whether a pixel of `other` within one place of (x, y) is within `levels` of a's pixel there.
bool matches(const Image& a, const Image& other, int x, int y, int levels)
{
    const unsigned char* pixel = a.at(x, y);
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, a.height - 1); ++ny) {
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, a.width - 1); ++nx) {
            if (largestDifference(pixel, other.at(nx, ny)) <= levels) return true;
        }
    }
    return false;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "frame_diff: %s\n", message.c_str());
    return 2;
}

// A level argument: a whole number from 0 to 255, or -1 when it is not one.
long levelsOf(const char* text)
{
    char* end = nullptr;
    const long levels = std::strtol(text, &end, 10);
    return end == text || *end != '\0' || levels < 0 || levels > 255 ? -1 : levels;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 6) {
        return fail(
            "usage: frame_diff FRAME REFERENCE LEVELS EDGE DIFF  (binary PPM files, - for standard input)");
    }
    const long levels = levelsOf(argv[3]), edge = levelsOf(argv[4]);
    if (levels < 0) return fail(std::string("LEVELS is a whole number from 0 to 255, not '") + argv[3] + "'");
    if (edge < 0) return fail(std::string("EDGE is a whole number from 0 to 255, not '") + argv[4] + "'");
    Image frame, reference;
    std::string error;
    if (!readPpm(argv[1], frame, error) || !readPpm(argv[2], reference, error)) return fail(error);
    if (frame.width != reference.width || frame.height != reference.height) {
        return fail(std::string(argv[1]) + " is " + std::to_string(frame.width) + " x " +
                    std::to_string(frame.height) + " pixels, " + argv[2] + " is " +
                    std::to_string(reference.width) + " x " + std::to_string(reference.height));
    }
    // Only now, with both images read, is DIFF written: a failed call leaves no image behind.
    FILE* diff = std::fopen(argv[5], "wb");
    if (diff == nullptr) return fail(std::string(argv[5]) + ": " + std::strerror(errno));
    std::fprintf(diff, "P6\n%d %d\n255\n", frame.width, frame.height);
    long off = 0, moved = 0;
    long drift[3] = {0, 0, 0};
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const unsigned char* pixel = frame.at(x, y);
            const unsigned char* expected = reference.at(x, y);
            const int difference = largestDifference(pixel, expected);
            const bool match = matches(frame, reference, x, y, static_cast<int>(levels)) &&
                               matches(reference, frame, x, y, static_cast<int>(levels));
            off += match ? 0 : 1;
            moved += difference > edge ? 1 : 0;
            for (int c = 0; difference <= edge && c < 3; ++c) drift[c] += pixel[c] - expected[c];

            unsigned char shown[3] = {255, 0, 0};  // red where a pixel is off
            if (match && difference > edge) {
                shown[1] = 160;  // orange where it moved
            } else if (match) {
                for (int c = 0; c < 3; ++c) shown[c] = static_cast<unsigned char>((pixel[c] + 3 * 255) / 4);
            }
            std::fwrite(shown, 1, 3, diff);
        }
    }
    const bool written = std::ferror(diff) == 0;
    if (std::fclose(diff) != 0 || !written) return fail(std::string(argv[5]) + ": " + std::strerror(errno));
    std::printf("%ld %ld %ld\n", off, moved,
                std::max({std::labs(drift[0]), std::labs(drift[1]), std::labs(drift[2])}));
    return 0;
}
