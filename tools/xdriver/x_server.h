// A private X server: starts Xvfb on a free display number (-displayfd), so GL
// tests, end-to-end tests and the capture tool run on a machine without a screen.
#pragma once

#include <sys/types.h>
#include <string>

struct XServer {
    pid_t pid = -1;       // the Xvfb process, or -1 when an existing display is used
    std::string display;  // for example ":3"
};

// Starts Xvfb with one screen of the given size and depth 24 and waits until it
// accepts connections. Returns false and fills error when it cannot start.
bool startXvfb(XServer& server, std::string& error, const char* screenSize = "1024x768");

// Stops a server started by startXvfb and waits for it to exit (SIGTERM, then
// SIGKILL when it has not ended within 5 s).
void stopXvfb(XServer& server);

// A server that stops when it goes out of scope (and, through PR_SET_PDEATHSIG,
// when the process that started it dies).
class PrivateXServer {
public:
    PrivateXServer() = default;
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;
    ~PrivateXServer() { stopXvfb(server_); }

    // Starts Xvfb; false with error filled when it cannot.
    bool start(std::string& error, const char* screenSize = "1024x768")
    {
        return startXvfb(server_, error, screenSize);
    }
    const std::string& display() const { return server_.display; }
    pid_t pid() const { return server_.pid; }

private:
    XServer server_;
};

// Uses DISPLAY when it is set; otherwise starts Xvfb and sets DISPLAY.
// On failure prints why and ends the process with status 1: tests that need
// a display fail, they never skip.
XServer& ensureDisplay();
