#include "xdriver.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <png.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <iterator>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace xdriver {

namespace {

using Clock = std::chrono::steady_clock;

ExitStatus fromWaitStatus(int status)
{
    ExitStatus s;
    if (WIFEXITED(status)) {
        s.exited = true;
        s.code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        s.signal = WTERMSIG(status);
    }
    return s;
}

// Number of bits to shift a pixel right so that the mask's top byte lands in 0..255.
int shiftFor(unsigned long mask)
{
    int shift = 0;
    while (mask > 0xff) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

}  // namespace

void sleepMs(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string ExitStatus::describe() const
{
    if (exited) return "exit status " + std::to_string(code);
    return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
}

// ---------------------------------------------------------------- Program

Program::~Program()
{
    kill();
    if (errorFd_ >= 0) close(errorFd_);
}

namespace {

// XDRIVER_CHILD_PRELOAD names libraries to preload into every program the
// driver starts (the sanitizer test run keeps libraries loaded this way); they
// join whatever LD_PRELOAD the caller asked for.
void addChildPreload(std::vector<std::string>& env)
{
    const char* extra = std::getenv("XDRIVER_CHILD_PRELOAD");
    if (extra == nullptr || extra[0] == '\0') return;
    const auto preload = std::find_if(
        env.begin(), env.end(), [](const std::string& entry) { return entry.rfind("LD_PRELOAD=", 0) == 0; });
    if (preload == env.end()) {
        env.push_back(std::string("LD_PRELOAD=") + extra);
    } else {
        *preload += std::string(":") + extra;
    }
}

}  // namespace

bool Program::start(const std::string& path, const std::vector<std::string>& args, const std::string& display,
                    std::string& error, const std::vector<std::string>& extraEnv,
                    const std::vector<int>& keepFds)
{
    int errorPipe[2];
    if (pipe2(errorPipe, O_CLOEXEC) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    // Everything the child needs is built before fork: after it, only async-signal-safe calls.
    // The environment of this process, without DISPLAY and without what extraEnv sets anew.
    const auto setAnew = [&](const char* entry) {
        const char* equals = std::strchr(entry, '=');
        const std::size_t length = equals != nullptr ? static_cast<std::size_t>(equals - entry) + 1 : 0;
        return std::any_of(extraEnv.begin(), extraEnv.end(), [&](const std::string& e) {
            return length > 0 && e.compare(0, length, entry, length) == 0;
        });
    };
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "DISPLAY=", 8) != 0 && !setAnew(*e)) env.emplace_back(*e);
    }
    if (!display.empty()) env.push_back("DISPLAY=" + display);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    addChildPreload(env);
    std::vector<char*> envp, argv;
    const auto cString = [](std::string& text) { return text.data(); };
    std::transform(env.begin(), env.end(), std::back_inserter(envp), cString);
    envp.push_back(nullptr);
    std::vector<std::string> argStrings{path};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::transform(argStrings.begin(), argStrings.end(), std::back_inserter(argv), cString);
    argv.push_back(nullptr);
    const pid_t parent = getpid();

    const pid_t child = fork();
    if (child < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        close(errorPipe[0]);
        close(errorPipe[1]);
        return false;
    }
    if (child == 0) {
        // The child must not outlive the driver, also when the driver crashes.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);
        dup2(errorPipe[1], STDERR_FILENO);
        for (int fd : keepFds) {
            const int flags = fcntl(fd, F_GETFD);
            if (flags >= 0) fcntl(fd, F_SETFD, flags & ~FD_CLOEXEC);
        }
        execve(argv[0], argv.data(), envp.data());
        const char message[] = "xdriver: cannot execute the program\n";
        (void)!write(STDERR_FILENO, message, sizeof message - 1);
        _exit(127);
    }
    close(errorPipe[1]);
    errorFd_ = errorPipe[0];
    fcntl(errorFd_, F_SETFL, fcntl(errorFd_, F_GETFL) | O_NONBLOCK);
    pid_ = child;
    status_.reset();
    errorText_.clear();
    return true;
}

void Program::drainErrorOutput()
{
    if (errorFd_ < 0) return;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(errorFd_, buffer, sizeof buffer);
        if (n > 0) {
            errorText_.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) {  // the child and everything it started closed it
            close(errorFd_);
            errorFd_ = -1;
        }
        return;
    }
}

const std::string& Program::errorOutput()
{
    drainErrorOutput();
    return errorText_;
}

std::optional<ExitStatus> Program::waitExit(int timeoutMs)
{
    if (status_) return status_;
    if (pid_ <= 0) return std::nullopt;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        drainErrorOutput();
        int waitStatus = 0;
        const pid_t done = waitpid(pid_, &waitStatus, WNOHANG);
        if (done == pid_) {
            status_ = fromWaitStatus(waitStatus);
            pid_ = -1;
            drainErrorOutput();
            return status_;
        }
        if (done < 0 && errno != EINTR) return std::nullopt;
        if (Clock::now() >= deadline) return std::nullopt;
        sleepMs(5);
    }
}

bool Program::running()
{
    if (pid_ <= 0) return false;
    return !waitExit(0).has_value();
}

void Program::kill()
{
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    int waitStatus = 0;
    while (waitpid(pid_, &waitStatus, 0) < 0 && errno == EINTR) {
    }
    status_ = fromWaitStatus(waitStatus);
    pid_ = -1;
    drainErrorOutput();
}

long Program::residentKiB() const
{
    if (pid_ <= 0) return -1;
    FILE* file = std::fopen(("/proc/" + std::to_string(pid_) + "/status").c_str(), "r");
    if (file == nullptr) return -1;
    long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, file) != nullptr) {
        if (std::sscanf(line, "VmRSS: %ld kB", &kib) == 1) break;
    }
    std::fclose(file);
    return kib;
}

// ---------------------------------------------------------------- frame lock

FrameLock::~FrameLock()
{
    if (fd_ >= 0) close(fd_);
    programStarted();
}

bool FrameLock::open(const std::string& libraryPath, std::string& error)
{
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        error = std::string("socketpair: ") + std::strerror(errno);
        return false;
    }
    fd_ = pair[0];
    programFd_ = pair[1];
    library_ = libraryPath;
    return true;
}

std::vector<std::string> FrameLock::programEnvironment() const
{
    return {"LD_PRELOAD=" + library_, "XDRIVER_FRAME_LOCK_FD=" + std::to_string(programFd_)};
}

void FrameLock::programStarted()
{
    if (programFd_ >= 0) close(programFd_);
    programFd_ = -1;
}

std::optional<std::uint32_t> FrameLock::nextSwap(int timeoutMs)
{
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
    std::uint32_t swap = 0;
    if (recv(fd_, &swap, sizeof swap, MSG_WAITALL) != static_cast<ssize_t>(sizeof swap)) return std::nullopt;
    return swap;
}

void FrameLock::goOn()
{
    (void)send(fd_, "g", 1, MSG_NOSIGNAL);
}

void FrameLock::runUntil(std::uint32_t swap)
{
    char message[1 + sizeof swap] = {'u'};
    std::memcpy(message + 1, &swap, sizeof swap);
    (void)send(fd_, message, sizeof message, MSG_NOSIGNAL);
}

void FrameLock::release()
{
    (void)send(fd_, "f", 1, MSG_NOSIGNAL);
}

// ---------------------------------------------------------------- PNG

bool writePng(const std::string& path, const Image& image, std::string& error)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        error = "libpng could not start";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "libpng failed to write " + path;
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int row = 0; row < image.height; ++row) {
        png_write_row(png, &image.rgb[static_cast<size_t>(row) * static_cast<size_t>(image.width) * 3]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- Connection

Connection::~Connection()
{
    if (display_ != nullptr) XCloseDisplay(display_);
}

bool Connection::open(const std::string& display, std::string& error)
{
    display_ = XOpenDisplay(display.c_str());
    if (display_ == nullptr) {
        error = "cannot open display " + display;
        return false;
    }
    int eventBase, errorBase, major, minor;
    if (!XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor)) {
        error = "the X server at " + display + " has no XTest extension";
        XCloseDisplay(display_);
        display_ = nullptr;
        return false;
    }
    return true;
}

namespace {

std::optional<std::string> titleOf(::Display* display, Window window)
{
    // _NET_WM_NAME (UTF-8) first, then the classic WM_NAME.
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && type == utf8 && format == 8) {
        std::string title(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    if (data != nullptr) XFree(data);
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        std::string title(name);
        XFree(name);
        return title;
    }
    return std::nullopt;
}

template <typename Visit>
void walkTree(::Display* display, Window window, const Visit& visit)
{
    visit(window);
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return;
    for (unsigned i = 0; i < count; ++i) walkTree(display, children[i], visit);
    if (children != nullptr) XFree(children);
}

// Windows may vanish while they are looked at; such errors are not failures here.
int ignoreErrors(::Display*, XErrorEvent*)
{
    return 0;
}

}  // namespace

Window Connection::findWindow(const std::string& title)
{
    Window found = 0;
    auto* previous = XSetErrorHandler(ignoreErrors);
    XGrabServer(display_);  // a consistent tree while it is walked
    walkTree(display_, DefaultRootWindow(display_), [&](Window w) {
        if (found == 0) {
            const auto name = titleOf(display_, w);
            if (name && *name == title) found = w;
        }
    });
    XUngrabServer(display_);
    XSync(display_, False);
    XSetErrorHandler(previous);
    return found;
}

std::vector<std::string> Connection::windowTitles()
{
    std::vector<std::string> titles;
    auto* previous = XSetErrorHandler(ignoreErrors);
    walkTree(display_, DefaultRootWindow(display_), [&](Window w) {
        if (const auto name = titleOf(display_, w)) titles.push_back(*name);
    });
    XSync(display_, False);
    XSetErrorHandler(previous);
    return titles;
}

bool Connection::geometry(Window window, Geometry& geometry)
{
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window, &attributes) == 0) return false;
    Window child;
    int x = 0, y = 0;
    XTranslateCoordinates(display_, window, attributes.root, 0, 0, &x, &y, &child);
    geometry.x = x;
    geometry.y = y;
    geometry.width = attributes.width;
    geometry.height = attributes.height;
    geometry.viewable = attributes.map_state == IsViewable;
    return true;
}

Window Connection::waitForWindow(const std::string& title, int timeoutMs, Program* program,
                                 std::string& error)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const Window window = findWindow(title);
        Geometry g;
        if (window != 0 && geometry(window, g) && g.viewable) return window;
        if (program != nullptr && !program->running()) {
            error = "the program ended (" + (program->status() ? program->status()->describe() : "?") +
                    ") before its window \"" + title + "\" appeared; it wrote: " + program->errorOutput();
            return 0;
        }
        if (Clock::now() >= deadline) {
            error = "no viewable window titled \"" + title + "\" within " + std::to_string(timeoutMs) +
                    " ms; titled windows:";
            for (const auto& t : windowTitles()) error += " \"" + t + "\"";
            return 0;
        }
        sleepMs(10);
    }
}

bool Connection::grab(Window window, Image& image, std::string& error)
{
    Geometry g;
    if (!geometry(window, g)) {
        error = "the window is gone";
        return false;
    }
    const int screenWidth = DisplayWidth(display_, DefaultScreen(display_));
    const int screenHeight = DisplayHeight(display_, DefaultScreen(display_));
    const int left = std::max(g.x, 0), top = std::max(g.y, 0);
    const int right = std::min(g.x + g.width, screenWidth), bottom = std::min(g.y + g.height, screenHeight);
    if (right <= left || bottom <= top) {
        error = "the window is not on the screen";
        return false;
    }
    if (!readDrawable(display_, DefaultRootWindow(display_), left, top, right - left, bottom - top, image)) {
        error = "XGetImage failed";
        return false;
    }
    image.x0 = left - g.x;
    image.y0 = top - g.y;
    return true;
}

bool readDrawable(::Display* display, Drawable drawable, int left, int top, int width, int height,
                  Image& image)
{
    XImage* x = XGetImage(display, drawable, left, top, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (x == nullptr) return false;
    image.width = width;
    image.height = height;
    image.rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const int redShift = shiftFor(x->red_mask), greenShift = shiftFor(x->green_mask),
              blueShift = shiftFor(x->blue_mask);
    std::uint8_t* out = image.rgb.data();
    for (int row = 0; row < image.height; ++row) {
        for (int col = 0; col < image.width; ++col) {
            const unsigned long pixel = XGetPixel(x, col, row);
            *out++ = static_cast<std::uint8_t>((pixel & x->red_mask) >> redShift);
            *out++ = static_cast<std::uint8_t>((pixel & x->green_mask) >> greenShift);
            *out++ = static_cast<std::uint8_t>((pixel & x->blue_mask) >> blueShift);
        }
    }
    XDestroyImage(x);
    return true;
}

void Connection::moveTo(Window window, int x, int y)
{
    Geometry g;
    geometry(window, g);
    XTestFakeMotionEvent(display_, -1, g.x + x, g.y + y, CurrentTime);
    XSync(display_, False);
}

void Connection::press(unsigned button)
{
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XSync(display_, False);
}

void Connection::release(unsigned button)
{
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XSync(display_, False);
}

void Connection::resize(Window window, unsigned width, unsigned height)
{
    XResizeWindow(display_, window, width, height);
    XSync(display_, False);
}

void Connection::unmap(Window window)
{
    XUnmapWindow(display_, window);
    XSync(display_, False);
}

void Connection::map(Window window)
{
    XMapWindow(display_, window);
    XSync(display_, False);
}

void Connection::sendDeleteWindow(Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window, False, NoEventMask, &event);
    XSync(display_, False);
}

void Connection::moveInSteps(Window window, int fromX, int fromY, int toX, int toY, int steps, int pauseMs)
{
    for (int i = 1; i <= steps; ++i) {
        moveTo(window, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
        sleepMs(pauseMs);
    }
}

void Connection::drag(Window window, unsigned button, int fromX, int fromY, int toX, int toY, int steps,
                      int pauseMs)
{
    moveTo(window, fromX, fromY);
    sleepMs(pauseMs);
    press(button);
    sleepMs(pauseMs);
    moveInSteps(window, fromX, fromY, toX, toY, steps, pauseMs);
    release(button);
    sleepMs(pauseMs);
}

}  // namespace xdriver
