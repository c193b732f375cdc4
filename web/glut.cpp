// GLUT over the page: the window is the page's canvas (id "canvas"), its GL
// context a WebGL 1 one, and the main loop the browser's frames. Each frame
// (requestAnimationFrame) calls the idle callback once and then the display
// callback, as a desktop GLUT does at each frame of a screen with vertical
// sync; the first frame is the window's first exposure, with no idle call
// before it. Pointer events come from web/glut.js.
#include <GL/glut.h>
#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct GlutState {
    unsigned int displayMode = 0;
    int width = 300, height = 300;  // canvas pixels; GLUT's default window size
    void (*display)() = nullptr;
    void (*idle)() = nullptr;
    void (*mouse)(int button, int state, int x, int y) = nullptr;
    void (*motion)(int x, int y) = nullptr;
    bool redisplay = false;
    bool exposed = false;  // the first frame has been shown
};

GlutState glut;

}  // namespace

// In web/glut.js.
extern "C" void webSetTitle(const char* title);
extern "C" void webStartLoop();

// The page's side of the loop and the pointer, called by web/glut.js.
extern "C" EMSCRIPTEN_KEEPALIVE void webFrame()
{
    if (glut.exposed && glut.idle != nullptr) glut.idle();
    glut.exposed = true;
    if (glut.redisplay && glut.display != nullptr) {
        glut.redisplay = false;
        glut.display();
    }
}

extern "C" EMSCRIPTEN_KEEPALIVE void webMouse(int button, int state, int x, int y)
{
    if (glut.mouse != nullptr) glut.mouse(button, state, x, y);
}

extern "C" EMSCRIPTEN_KEEPALIVE void webMotion(int x, int y)
{
    if (glut.motion != nullptr) glut.motion(x, y);
}

void glutInit(int* /*argc*/, char** /*argv*/) {}  // a page has no command line

void glutInitDisplayMode(unsigned int mode)
{
    glut.displayMode = mode;
}

void glutInitWindowSize(int width, int height)
{
    glut.width = width;
    glut.height = height;
}

int glutCreateWindow(const char* title)
{
    webSetTitle(title);
    emscripten_set_canvas_element_size("#canvas", glut.width, glut.height);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;  // GLUT_RGB: the page shows through no pixel
    attributes.depth = (glut.displayMode & GLUT_DEPTH) != 0 ? EM_TRUE : EM_FALSE;
    attributes.antialias = EM_FALSE;  // as a GLUT window without GLUT_MULTISAMPLE
    attributes.majorVersion = 1;
    const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context("#canvas", &attributes);
    if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        // As a desktop GLUT without a display: a message and status 1.
        std::fprintf(stderr,
                     "bouncing-ball: this browser gives the page no WebGL, which the program draws with\n");
        std::exit(1);
    }
    glut.redisplay = true;  // a new window is drawn once it shows
    return 1;
}

void glutDisplayFunc(void (*callback)())
{
    glut.display = callback;
}

void glutMouseFunc(void (*callback)(int button, int state, int x, int y))
{
    glut.mouse = callback;
}

void glutMotionFunc(void (*callback)(int x, int y))
{
    glut.motion = callback;
}

void glutIdleFunc(void (*callback)())
{
    glut.idle = callback;
}

void glutMainLoop()
{
    webStartLoop();
    // Back to the browser, which calls the loop from now on; main never returns.
    emscripten_unwind_to_js_event_loop();
}

// WebGL shows the drawing buffer when the frame's callback returns.
void glutSwapBuffers() {}

void glutPostRedisplay()
{
    glut.redisplay = true;
}
