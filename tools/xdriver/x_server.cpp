#include "x_server.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int startTimeoutMs = 15000;
const int stopTimeoutMs = 5000;

// Reads the display number that Xvfb writes to -displayfd once it is ready.
bool readDisplayNumber(int fd, std::string& number, std::string& error)
{
    char buffer[32];
    size_t used = 0;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        const int ready = poll(&p, 1, startTimeoutMs);
        if (ready == 0) {
            error = "Xvfb did not report a display within 15 s";
            return false;
        }
        if (ready < 0) {
            if (errno == EINTR) continue;
            error = std::string("poll: ") + std::strerror(errno);
            return false;
        }
        const ssize_t n = read(fd, buffer + used, sizeof buffer - 1 - used);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = "Xvfb exited before reporting a display (is the xvfb package installed?)";
            return false;
        }
        used += static_cast<size_t>(n);
        buffer[used] = '\0';
        if (std::strchr(buffer, '\n') != nullptr || used == sizeof buffer - 1) break;
    }
    number.assign(buffer, std::strcspn(buffer, "\n"));
    return !number.empty();
}

XServer sharedServer;
pid_t serverOwner = -1;

// Runs at exit; a forked child (a death test) must not stop its parent's server.
void stopSharedServer()
{
    if (getpid() == serverOwner) stopXvfb(sharedServer);
}

}  // namespace

bool startXvfb(XServer& server, std::string& error, const char* screenSize)
{
    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid == 0) {
        // The server must not outlive the test, also when the test crashes.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        const std::string screen = std::string(screenSize) + "x24";
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    const bool ok = readDisplayNumber(fds[0], number, error);
    close(fds[0]);
    if (!ok) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return false;
    }
    server.pid = pid;
    server.display = ":" + number;
    return true;
}

void stopXvfb(XServer& server)
{
    if (server.pid <= 0) return;
    // SIGTERM lets Xvfb remove its lock file and socket; one that has not
    // ended after a while is killed, so that stopping never hangs.
    kill(server.pid, SIGTERM);
    for (int waitedMs = 0; waitedMs < stopTimeoutMs; waitedMs += 10) {
        const pid_t done = waitpid(server.pid, nullptr, WNOHANG);
        if (done == server.pid || (done < 0 && errno != EINTR)) {
            server.pid = -1;
            return;
        }
        usleep(10'000);
    }
    std::fprintf(stderr, "Xvfb %s did not end %d s after SIGTERM; killing it\n", server.display.c_str(),
                 stopTimeoutMs / 1000);
    kill(server.pid, SIGKILL);
    while (waitpid(server.pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    server.pid = -1;
}

XServer& ensureDisplay()
{
    static bool ready = false;
    if (ready) return sharedServer;
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && display[0] != '\0') {
        sharedServer.display = display;
    } else {
        std::string error;
        if (!startXvfb(sharedServer, error)) {
            std::fprintf(stderr, "cannot start a private X server: %s\n", error.c_str());
            std::exit(1);
        }
        setenv("DISPLAY", sharedServer.display.c_str(), 1);
        serverOwner = getpid();
        std::atexit(stopSharedServer);
    }
    // Mesa's software renderer: the same pixels on every machine.
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    ready = true;
    return sharedServer;
}
