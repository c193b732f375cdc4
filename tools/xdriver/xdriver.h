// A small X11 driver for a program under test: starts it as a child on a given
// display, finds its top-level window by title, sends real pointer events
// through XTest, grabs the window's pixels and writes them as PNG, and waits
// for the child's exit. Xlib and XTest only; no protocol written by hand.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace xdriver {

// How a child ended.
struct ExitStatus {
    bool exited = false;  // true: it called exit (code is valid); false: a signal ended it
    int code = 0;
    int signal = 0;
    std::string describe() const;  // "exit status 0", "killed by signal 9 (Killed)"
};

// A child process that never outlives its owner: the destructor kills and
// reaps it, and PR_SET_PDEATHSIG kills it when the owning process dies.
class Program {
public:
    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program();

    // Starts path with the arguments (argv[0] is path) and DISPLAY set to display;
    // an empty display removes DISPLAY from the child's environment. extraEnv
    // holds "NAME=value" entries, which replace this process's values of the
    // same names; keepFds are descriptors the child inherits.
    // The child's standard error is collected (errorOutput).
    bool start(const std::string& path, const std::vector<std::string>& args, const std::string& display,
               std::string& error, const std::vector<std::string>& extraEnv = {},
               const std::vector<int>& keepFds = {});

    // Waits up to timeoutMs for the child to end; nothing when it is still running.
    std::optional<ExitStatus> waitExit(int timeoutMs);

    // True while the child has not ended (reaps it when it has).
    bool running();

    // Kills the child (SIGKILL) and reaps it, when it is still running.
    void kill();

    pid_t pid() const { return pid_; }
    const std::optional<ExitStatus>& status() const { return status_; }

    // What the child wrote to its standard error so far.
    const std::string& errorOutput();

    // The child's resident memory (VmRSS) in KiB; -1 when it cannot be read.
    long residentKiB() const;

private:
    void drainErrorOutput();

    pid_t pid_ = -1;
    int errorFd_ = -1;
    std::string errorText_;
    std::optional<ExitStatus> status_;
};

// Pixels of a window, top row first, in the window's own coordinates: pixel
// (x, y) of the window is at(x, y) for x in [x0, x0 + width) and y in
// [y0, y0 + height). Only the part that is on the screen is grabbed, so x0 and
// y0 are 1 for a window at (-1, -1).
struct Image {
    int x0 = 0, y0 = 0;
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;

    bool contains(int x, int y) const { return x >= x0 && y >= y0 && x < x0 + width && y < y0 + height; }
    const std::uint8_t* at(int x, int y) const { return &rgb[offset(x, y)]; }
    std::uint8_t* at(int x, int y) { return &rgb[offset(x, y)]; }

private:
    std::size_t offset(int x, int y) const
    {
        return (static_cast<std::size_t>(y - y0) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x - x0)) *
               3;
    }
};

// Reads a width x height rectangle of a drawable, from (left, top), into an
// image (x0 and y0 stay the caller's). False when X cannot read it.
bool readDrawable(::Display* display, Drawable drawable, int left, int top, int width, int height,
                  Image& image);

// Writes an image as an 8-bit RGB PNG.
bool writePng(const std::string& path, const Image& image, std::string& error);

// Where a window is: its top-left corner in root coordinates, and its size.
struct Geometry {
    int x = 0, y = 0;
    int width = 0, height = 0;
    bool viewable = false;
};

// One connection to an X server, with the XTest extension.
class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Opens the display and checks that XTest is there.
    bool open(const std::string& display, std::string& error);
    ::Display* display() const { return display_; }

    // The window whose title (WM_NAME, or _NET_WM_NAME) is exactly title, searched
    // through the whole tree (a window manager reparents top-level windows); 0 when none.
    Window findWindow(const std::string& title);

    // The titles of every named window, for messages.
    std::vector<std::string> windowTitles();

    // Waits until a viewable window with the title exists. Fails when the
    // timeout passes or when program (if given) ends first.
    Window waitForWindow(const std::string& title, int timeoutMs, Program* program, std::string& error);

    bool geometry(Window window, Geometry& geometry);

    // Grabs the on-screen part of the window through the root window (a window
    // partly off the screen cannot be read with XGetImage on itself).
    bool grab(Window window, Image& image, std::string& error);

    // Pointer events through XTest; positions in the window's coordinates.
    void moveTo(Window window, int x, int y);
    void press(unsigned button);
    void release(unsigned button);
    // Moves to from, presses, moves to to in steps with pauseMs between, releases.
    void drag(Window window, unsigned button, int fromX, int fromY, int toX, int toY, int steps, int pauseMs);
    // Sends the events as a series of moves without pressing or releasing.
    void moveInSteps(Window window, int fromX, int fromY, int toX, int toY, int steps, int pauseMs);

    // What a window manager does to a top-level window: resize it, unmap and
    // map it, and close it (a WM_DELETE_WINDOW message of WM_PROTOCOLS, as
    // the close button of a title bar sends).
    void resize(Window window, unsigned width, unsigned height);
    void unmap(Window window);
    void map(Window window);
    void sendDeleteWindow(Window window);

private:
    ::Display* display_ = nullptr;
};

// The tool's side of the frame lock (frame_lock.cpp, preloaded into the
// program): the program stops after each reported swap until it is answered.
class FrameLock {
public:
    FrameLock() = default;
    FrameLock(const FrameLock&) = delete;
    FrameLock& operator=(const FrameLock&) = delete;
    ~FrameLock();

    // Makes the connection; libraryPath is the built frame_lock module.
    bool open(const std::string& libraryPath, std::string& error);
    // For Program::start: the environment entries and the descriptor the program needs.
    std::vector<std::string> programEnvironment() const;
    int programFd() const { return programFd_; }
    // Closes the program's end in this process, once the program has started.
    void programStarted();

    // The number of the next reported swap, once the program has made it;
    // nothing on timeout or when the program is gone.
    std::optional<std::uint32_t> nextSwap(int timeoutMs);
    void goOn();                        // the next swap is reported
    void runUntil(std::uint32_t swap);  // no report before swap number `swap`
    void release();                     // no more reports

private:
    int fd_ = -1, programFd_ = -1;
    std::string library_;
};

void sleepMs(int milliseconds);

}  // namespace xdriver
