// Compares a frame with its reference and forgives what another rasterizer's
// edge rule changes: a pixel of one image matches when a pixel within one
// place of it in the other (its 3 x 3 neighbourhood) is within LEVELS in every
// channel. An edge drawn one pixel over still matches; a colour, a shading or
// a shape that changed does not. Prints how many pixels, of either image,
// match nothing, and writes DIFF: those pixels red over a faded FRAME.
// (ImageMagick can say this with nine shifted differences, at 0.4 s a frame;
// its compare and OpenImageIO's idiff only compare pixels in the same place.)
// Usage: frame_diff FRAME REFERENCE LEVELS DIFF   binary PPM files, - for standard input
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Image {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[static_cast<std::size_t>(y * width + x) * 3]; }
};

// A binary PPM with 8-bit channels; no pixels when the file is not one.
Image readPpm(const char* path)
{
    Image image;
    FILE* file = std::strcmp(path, "-") == 0 ? stdin : std::fopen(path, "rb");
    // At most 16384 pixels a side, 768 MiB.
    if (file != nullptr && std::fscanf(file, "P6 %d %d 255%*c", &image.width, &image.height) == 2 &&
        std::min(image.width, image.height) > 0 && std::max(image.width, image.height) <= 16384) {
        image.rgb.resize(static_cast<std::size_t>(image.width * image.height) * 3);
        if (std::fread(image.rgb.data(), 1, image.rgb.size(), file) != image.rgb.size()) image.rgb.clear();
    }
    if (file != nullptr && file != stdin) std::fclose(file);
    return image;
}

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

}  // namespace

int main(int argc, char** argv)
{
    const Image frame = readPpm(argc == 5 ? argv[1] : ""), reference = readPpm(argc == 5 ? argv[2] : "");
    FILE* diff = argc == 5 ? std::fopen(argv[4], "wb") : nullptr;
    if (frame.rgb.empty() || reference.rgb.empty() || frame.width != reference.width ||
        frame.height != reference.height || diff == nullptr) {
        std::fprintf(stderr, "usage: frame_diff FRAME REFERENCE LEVELS DIFF  (binary PPM, of one size)\n");
        return 2;
    }
    const int levels = std::atoi(argv[3]);
    std::fprintf(diff, "P6\n%d %d\n255\n", frame.width, frame.height);
    long off = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            unsigned char shown[3] = {255, 0, 0};  // red where a pixel is off, the frame faded elsewhere
            const bool match =
                matches(frame, reference, x, y, levels) && matches(reference, frame, x, y, levels);
            for (int c = 0; match && c < 3; ++c)
                shown[c] = static_cast<unsigned char>((frame.at(x, y)[c] + 3 * 255) / 4);
            off += match ? 0 : 1;
            std::fwrite(shown, 1, 3, diff);
        }
    }
    std::printf("%ld\n", off);
    return std::fclose(diff) == 0 ? 0 : 2;
}
