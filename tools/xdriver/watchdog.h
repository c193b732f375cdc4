// A watchdog for the tests that drive real processes. A call into an X server
// that never answers, or a child that never ends, would otherwise block until
// CTest's timeout kills the test without a word. The watchdog ends such a test
// earlier and says where it was stuck: the test's name, its stack, and the
// state of the program and the X server it started.
#pragma once

#include <execinfo.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

#include "x_server.h"
#include "xdriver.h"

namespace xdriver {

class Watchdog {
public:
    Watchdog() = default;
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() { disarm(); }

    // Aborts the process after seconds unless disarmed first. testName is
    // copied; the program and the server are looked at when the time is up.
    void arm(unsigned seconds, const char* testName, const Program& program, const PrivateXServer& server)
    {
        std::strncpy(watchedTest, testName, sizeof watchedTest - 1);
        watchedProgram = &program;
        watchedServer = &server;
        void* frame = nullptr;
        backtrace(&frame, 1);  // loads what backtrace needs now, not in the signal handler
        struct sigaction action {};
        action.sa_handler = onTimeUp;
        sigaction(SIGALRM, &action, nullptr);
        alarm(seconds);
    }

    void disarm() { alarm(0); }

private:
    static void say(const char* text) { (void)!write(STDERR_FILENO, text, std::strlen(text)); }

    // Writes a positive number's digits at p and moves p past them.
    static void putNumber(char*& p, long number)
    {
        char digits[24];
        int length = 0;
        for (; number > 0; number /= 10) digits[length++] = static_cast<char>('0' + number % 10);
        while (length > 0) *p++ = digits[--length];
    }

    // Copies /proc/<pid>/<entry> to standard error, up to its first line.
    static void sayProcEntry(pid_t pid, const char* entry)
    {
        char path[64] = "/proc/";
        char* p = path + std::strlen(path);
        putNumber(p, pid);
        *p++ = '/';
        std::strcpy(p, entry);
        const int fd = open(path, O_RDONLY);
        if (fd < 0) {
            say("(gone)");
            return;
        }
        char text[512];
        const ssize_t n = read(fd, text, sizeof text - 1);
        close(fd);
        text[n > 0 ? n : 0] = '\0';
        text[std::strcspn(text, "\n")] = '\0';
        // Of stat, only "pid (name) state".
        char* state = std::strrchr(text, ')');
        if (state != nullptr && state[1] == ' ' && state[2] != '\0') state[3] = '\0';
        say(text);
    }

    static void sayProcess(const char* role, pid_t pid)
    {
        if (pid <= 0) return;
        say(role);
        say(": ");
        sayProcEntry(pid, "stat");
        say("; waiting in ");
        sayProcEntry(pid, "wchan");
        say("\n");
    }

    static void onTimeUp(int)
    {
        say("\nwatchdog: ");
        say(watchedTest);
        say(" still runs when its watchdog's time is up; its stack:\n");
        void* frames[64];
        backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
        if (watchedProgram != nullptr) sayProcess("the program", watchedProgram->pid());
        if (watchedServer != nullptr) sayProcess("its X server", watchedServer->pid());
        std::abort();  // the children die with this process (PR_SET_PDEATHSIG)
    }

    static inline char watchedTest[256] = {};
    static inline const Program* watchedProgram = nullptr;
    static inline const PrivateXServer* watchedServer = nullptr;
};

}  // namespace xdriver
