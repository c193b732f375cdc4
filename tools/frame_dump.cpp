// Frame dump: preloaded into the program (LD_PRELOAD), it writes frames the
// program shows, read back from the back buffer just before each swap, so
// every frame is caught in drawing order however fast the program draws.
//
//   FRAME_DUMP_DIR=DIR   turns it on. Writing a number N into DIR/request asks
//                        for the next N frames; each is written as a binary
//                        PPM, DIR/<swap number, 6 digits>.ppm, once complete.
//
// It also keeps shared libraries loaded until the process ends (dlclose does
// nothing), so that leak reports at exit name the libraries they come from.
#include <GL/gl.h>
#include <GL/glx.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

unsigned long swaps = 0;
unsigned long wanted = 0;  // frames still to write

// Takes a pending request: the number in DIR/request, which is then removed.
void takeRequest(const std::string& dir)
{
    const std::string request = dir + "/request";
    FILE* file = std::fopen(request.c_str(), "r");
    if (file == nullptr) return;
    if (std::fscanf(file, "%lu", &wanted) != 1) wanted = 0;
    std::fclose(file);
    std::remove(request.c_str());
}

// Writes the back buffer, the size of the viewport, with rows from the top as PPM has them.
void writeFrame(const std::string& dir)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> rgb(rowBytes * static_cast<std::size_t>(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());

    char name[32];
    std::snprintf(name, sizeof name, "/%06lu.ppm", swaps);
    const std::string path = dir + name, partial = path + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) return;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int row = height - 1; row >= 0; --row) {
        std::fwrite(&rgb[static_cast<std::size_t>(row) * rowBytes], 1, rowBytes, file);
    }
    if (std::fclose(file) == 0) std::rename(partial.c_str(), path.c_str());
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static const auto real =
        reinterpret_cast<void (*)(Display*, GLXDrawable)>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    static const char* const dir = std::getenv("FRAME_DUMP_DIR");
    ++swaps;
    if (dir != nullptr) {
        if (wanted == 0) takeRequest(dir);
        if (wanted > 0) {
            writeFrame(dir);
            --wanted;
        }
    }
    real(display, drawable);
}

extern "C" __attribute__((visibility("default"))) int dlclose(void* /*handle*/)
{
    return 0;
}
