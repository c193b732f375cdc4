#include "gl_window.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app.h"
#include "scene_state.h"
#include "x_server.h"

// gcc announces AddressSanitizer with a macro, clang as a feature.
#if defined(__SANITIZE_ADDRESS__)
#define LEAK_CHECK_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LEAK_CHECK_BUILD 1
#endif
#endif
#ifdef LEAK_CHECK_BUILD
#include <sanitizer/lsan_interface.h>
#endif

namespace {

bool windowVisible = false;

void onWindowStatus(int state)
{
    windowVisible = (state == GLUT_FULLY_RETAINED || state == GLUT_PARTIALLY_RETAINED);
}

#ifdef LEAK_CHECK_BUILD
// freeglut closes the display at exit, and Mesa then unloads its driver with
// the context's memory still allocated; a leak check after that sees blocks
// from a vanished library that no suppression can name. Registered after
// glutInit, this runs first and checks while the driver is still loaded.
void checkLeaksWhileDisplayOpen()
{
    __lsan_do_leak_check();
}
#endif

}  // namespace

void pumpEvents(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        glutMainLoopEvent();
    } while (std::chrono::steady_clock::now() < end);
}

void openTestWindow()
{
    static bool open = false;
    if (open) return;
    ensureDisplay();
    static char name[] = "render-test";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    openWindow(&argc, argv);
#ifdef LEAK_CHECK_BUILD
    std::atexit(checkLeaksWhileDisplayOpen);
#endif
    initGlState();
    // Without a window manager the window sits at (-1, -1), one pixel off the
    // screen, and X cannot read it back; the tests place it fully on screen.
    glutPositionWindow(0, 0);
    glutWindowStatusFunc(onWindowStatus);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const auto placed = [] {
        return windowVisible && glutGet(GLUT_WINDOW_X) == 0 && glutGet(GLUT_WINDOW_Y) == 0;
    };
    while (!placed() && std::chrono::steady_clock::now() < deadline) {
        glutMainLoopEvent();
    }
    if (!placed()) {
        std::fprintf(stderr, "the test window was not mapped at the screen's corner within 10 s\n");
        std::exit(1);
    }
    open = true;
}

xdriver::Image readPixels(unsigned buffer)
{
    xdriver::Image image;
    image.width = glutGet(GLUT_WINDOW_WIDTH);
    image.height = glutGet(GLUT_WINDOW_HEIGHT);
    const auto rowBytes = static_cast<std::size_t>(image.width) * 3;
    std::vector<std::uint8_t> bottomUp(rowBytes * static_cast<std::size_t>(image.height));
    glFinish();
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    // OpenGL reads rows from the bottom up; X and the picture checks count from the top.
    image.rgb.resize(bottomUp.size());
    for (int row = 0; row < image.height; ++row) {
        const auto from = bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes) * (image.height - 1 - row);
        std::copy(from, from + static_cast<std::ptrdiff_t>(rowBytes),
                  image.rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes) * row);
    }
    return image;
}

xdriver::Image readWindowOnScreen()
{
    Display* display = glXGetCurrentDisplay();
    glFinish();
    XSync(display, False);
    xdriver::Image image;
    xdriver::readDrawable(display, glXGetCurrentDrawable(), 0, 0, glutGet(GLUT_WINDOW_WIDTH),
                          glutGet(GLUT_WINDOW_HEIGHT), image);
    return image;
}

void resetScene()
{
    initSceneState();
    initMeshes();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
