// Frame lock for the capture tool, loaded into the unchanged program with
// LD_PRELOAD. It wraps glXSwapBuffers: after each swap it makes sure the X
// server has the new frame, tells the capture tool the swap's number, and
// waits for the tool's answer before the program may go on to its next frame:
//   'g'  go on; the next swap is reported again
//   'u'  and a 32-bit swap number N: go on without reports until swap N,
//        which is reported (long runs stop at chosen frames this way)
//   'f'  go on freely from now on (no more reports, no more waiting)
// The program draws exactly the frames it would draw alone, in the same order;
// it only cannot draw the next one before the current one has been grabbed.
// Without XDRIVER_FRAME_LOCK_FD, or once the tool is gone, it does nothing.
#include <GL/glx.h>
#include <dlfcn.h>
#include <sys/socket.h>

#include <cstdint>
#include <cstdlib>

namespace {

using SwapBuffers = void (*)(Display*, GLXDrawable);

int lockFd()
{
    static const int fd = [] {
        const char* value = std::getenv("XDRIVER_FRAME_LOCK_FD");
        return value != nullptr ? std::atoi(value) : -1;
    }();
    return fd;
}

bool locked = true;
std::uint32_t swaps = 0;
std::uint32_t reportAt = 1;  // the number of the next swap to report

}  // namespace

extern "C" __attribute__((visibility("default"))) void glXSwapBuffers(Display* display, GLXDrawable drawable)
{
    static const auto real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
    real(display, drawable);
    if (!locked || lockFd() < 0) return;
    if (++swaps < reportAt) return;
    XSync(display, False);  // the frame is on the server before it is reported
    char answer = 'f';
    if (send(lockFd(), &swaps, sizeof swaps, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof swaps) ||
        recv(lockFd(), &answer, 1, 0) != 1) {
        answer = 'f';
    }
    if (answer == 'g') {
        reportAt = swaps + 1;
    } else if (answer != 'u' || recv(lockFd(), &reportAt, sizeof reportAt, MSG_WAITALL) !=
                                    static_cast<ssize_t>(sizeof reportAt)) {
        locked = false;
    }
}
