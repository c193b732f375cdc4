// capture: runs the real program on a private Xvfb server, grabs frames of its
// window, and writes them as an animated GIF and one frame as a PNG. Ends the
// program with a right click and reports its exit status.
//
// Frames are taken under a frame lock (frame_lock.cpp, loaded with
// LD_PRELOAD): the program stops after each swap until the frame on screen is
// grabbed, so the GIF holds consecutive frames in the order the program drew
// them, none lost, whatever the program's frame rate. Each frame's place in
// the throw is checked from where the ball is.
#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "scene_picture.h"
#include "x_server.h"
#include "xdriver.h"

namespace {

const char* const windowTitle = "Bouncing ball 1   -by: VOLM-";
constexpr int throwSteps = 99;

struct Options {
    std::string program = BOUNCING_BALL_PATH;
    std::string frameLock = FRAME_LOCK_PATH;
    std::string gif = "animation.gif";
    std::string png = "screenshot.png";
    int frames = throwSteps;  // frames in the GIF
    int every = 1;            // grab one frame of every this many
    int delay = 3;            // GIF delay per frame, in hundredths of a second
    int startStep = 1;        // the GIF begins at this step of a throw
    int pngStep = 30;         // the PNG shows the frame of this step (when it is among the grabbed ones)
    bool quiet = false;
    std::vector<std::string> programArgs;
};

void usage()
{
    std::fprintf(stderr,
                 "usage: capture [options] [-- program arguments]\n"
                 "  --gif PATH        animated GIF to write (animation.gif)\n"
                 "  --png PATH        PNG of one frame to write (screenshot.png)\n"
                 "  --frames N        frames in the GIF (99: one whole throw)\n"
                 "  --every K         grab one of every K frames the program draws (1)\n"
                 "  --delay CS        GIF delay per frame in 1/100 s (3)\n"
                 "  --start-step S    begin at step S of a throw, 1..99 (1: the ball leaves the ledge)\n"
                 "  --png-step S      the PNG shows step S of the throw (30)\n"
                 "  --program PATH    the program to run (the bouncing-ball of this build)\n"
                 "  --quiet           print only the paths written\n");
}

bool parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        auto number = [&](int& out, int low, int high) {
            std::string text;
            if (!value(text)) return false;
            char* end = nullptr;
            const long n = std::strtol(text.c_str(), &end, 10);
            if (*end != '\0' || n < low || n > high) return false;
            out = static_cast<int>(n);
            return true;
        };
        bool ok = true;
        if (a == "--gif")
            ok = value(o.gif);
        else if (a == "--png")
            ok = value(o.png);
        else if (a == "--program")
            ok = value(o.program);
        else if (a == "--frames")
            ok = number(o.frames, 1, 10000);
        else if (a == "--every")
            ok = number(o.every, 1, 1000);
        else if (a == "--delay")
            ok = number(o.delay, 1, 1000);
        else if (a == "--start-step")
            ok = number(o.startStep, 1, throwSteps);
        else if (a == "--png-step")
            ok = number(o.pngStep, 1, throwSteps);
        else if (a == "--quiet")
            o.quiet = true;
        else if (a == "--help" || a == "-h") {
            usage();
            std::exit(0);
        } else if (a == "--") {
            o.programArgs.assign(argv + i + 1, argv + argc);
            break;
        } else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "capture: bad option or value: %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

struct Frame {
    xdriver::Image image;
    int step;
};

// Writes the frames as a looping GIF with one palette for all of them (median
// cut over every frame, by giflib); each frame after the first stores only
// the rectangle that changed.
bool writeGif(const std::string& path, const std::vector<Frame>& frames, int delay, std::string& error)
{
    const int width = frames.front().image.width, height = frames.front().image.height;
    const size_t framePixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    const size_t total = framePixels * frames.size();
    std::vector<GifByteType> red(total), green(total), blue(total), index(total);
    for (size_t f = 0; f < frames.size(); ++f) {
        const auto& rgb = frames[f].image.rgb;
        for (size_t i = 0; i < framePixels; ++i) {
            red[f * framePixels + i] = rgb[i * 3];
            green[f * framePixels + i] = rgb[i * 3 + 1];
            blue[f * framePixels + i] = rgb[i * 3 + 2];
        }
    }
    int colours = 256;
    GifColorType palette[256] = {};
    if (GifQuantizeBuffer(static_cast<unsigned>(width),
                          static_cast<unsigned>(height * static_cast<int>(frames.size())), &colours,
                          red.data(), green.data(), blue.data(), index.data(), palette) != GIF_OK) {
        error = "giflib could not reduce the frames to 256 colours";
        return false;
    }
    // giflib gives each colour the middle of its box of 5-bit levels (white comes
    // out as 248, 248, 248); the mean of the pixels that use it is truer.
    std::vector<double> sum(std::size_t{256} * 3, 0.0);
    std::vector<size_t> used(256, 0);
    for (size_t i = 0; i < total; ++i) {
        const size_t c = index[i];
        sum[c * 3] += red[i], sum[c * 3 + 1] += green[i], sum[c * 3 + 2] += blue[i];
        ++used[c];
    }
    for (size_t c = 0; c < 256; ++c) {
        if (used[c] == 0) continue;
        const double n = static_cast<double>(used[c]);
        palette[c].Red = static_cast<GifByteType>(std::lround(sum[c * 3] / n));
        palette[c].Green = static_cast<GifByteType>(std::lround(sum[c * 3 + 1] / n));
        palette[c].Blue = static_cast<GifByteType>(std::lround(sum[c * 3 + 2] / n));
    }
    int gifError = 0;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    GifFileType* gif = EGifOpenFileHandle(fd, &gifError);  // closes fd when it is closed
    if (gif == nullptr) {
        close(fd);
        error = "cannot write " + path + ": " + GifErrorString(gifError);
        return false;
    }
    ColorMapObject* map = GifMakeMapObject(256, palette);
    bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    // Loop forever (the NETSCAPE2.0 application extension).
    const unsigned char loop[] = {1, 0, 0};
    ok = ok && EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
         EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") == GIF_OK &&
         EGifPutExtensionBlock(gif, 3, loop) == GIF_OK && EGifPutExtensionTrailer(gif) == GIF_OK;
    for (size_t f = 0; ok && f < frames.size(); ++f) {
        const GifByteType* now = &index[f * framePixels];
        int left = 0, top = 0, right = width, bottom = height;
        if (f > 0) {
            const GifByteType* before = &index[(f - 1) * framePixels];
            left = width, top = height, right = 0, bottom = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const size_t i =
                        static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
                    if (now[i] == before[i]) continue;
                    left = std::min(left, x), right = std::max(right, x + 1);
                    top = std::min(top, y), bottom = std::max(bottom, y + 1);
                }
            }
            if (right == 0) left = 0, top = 0, right = 1, bottom = 1;  // no change: one pixel
        }
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;
        control.DelayTime = delay;
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
             EGifPutImageDesc(gif, left, top, right - left, bottom - top, false, nullptr) == GIF_OK;
        std::vector<GifByteType> line(static_cast<size_t>(right - left));
        for (int y = top; ok && y < bottom; ++y) {
            std::copy(now + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(left),
                      now + static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(right),
                      line.begin());
            ok = EGifPutLine(gif, line.data(), right - left) == GIF_OK;
        }
    }
    if (!ok) error = std::string("giflib failed to write ") + path + ": " + GifErrorString(gif->Error);
    if (EGifCloseFile(gif, &gifError) != GIF_OK && ok) {
        error = "cannot finish " + path + ": " + GifErrorString(gifError);
        ok = false;
    }
    return ok;
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "capture: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        usage();
        return 2;
    }
    auto say = [&](const std::string& line) {
        if (!o.quiet) std::fprintf(stderr, "capture: %s\n", line.c_str());
    };

    std::string error;
    PrivateXServer server;
    if (!server.start(error, "1280x1024")) return fail("cannot start Xvfb: " + error);
    say("private X server on display " + server.display());

    xdriver::FrameLock lock;
    if (!lock.open(o.frameLock, error)) return fail(error);

    // -geometry +0+0 (a GLUT option) puts the whole window on the screen: with
    // no window manager freeglut would leave it at (-1, -1).
    std::vector<std::string> args{"-geometry", "+0+0"};
    args.insert(args.end(), o.programArgs.begin(), o.programArgs.end());
    xdriver::Program program;
    if (!program.start(o.program, args, server.display(), error, lock.programEnvironment(),
                       {lock.programFd()})) {
        return fail("cannot start " + o.program + ": " + error);
    }
    lock.programStarted();

    xdriver::Connection x;
    if (!x.open(server.display(), error)) return fail(error);

    // The window; the program goes on drawing meanwhile.
    using Clock = std::chrono::steady_clock;
    Window window = 0;
    const auto windowDeadline = Clock::now() + std::chrono::seconds(15);
    while (window == 0) {
        if (lock.nextSwap(10)) lock.goOn();
        const Window w = x.findWindow(windowTitle);
        xdriver::Geometry g;
        if (w != 0 && x.geometry(w, g) && g.viewable) window = w;
        if (!program.running()) return fail("the program ended early: " + program.errorOutput());
        if (Clock::now() > windowDeadline) return fail("the program's window did not appear within 15 s");
    }

    // The program's own pace, with the lock answering at once.
    const int measured = 300;
    const auto t0 = Clock::now();
    for (int i = 0; i < measured; ++i) {
        if (!lock.nextSwap(5000)) return fail("the program stopped drawing");
        lock.goOn();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - t0).count();
    const double fps = measured / seconds;
    char line[200];
    std::snprintf(line, sizeof line,
                  "the program draws about %.0f frames per second here (one throw of 99 frames in %.2f s)",
                  fps, throwSteps / fps);
    say(line);

    // The scene without the ball: the median of frames 20 steps apart.
    std::vector<xdriver::Image> spread;
    for (int i = 0; i < 5 * 20; ++i) {
        if (!lock.nextSwap(5000)) return fail("the program stopped drawing");
        if (i % 20 == 0) {
            xdriver::Image image;
            if (!x.grab(window, image, error)) return fail(error);
            spread.push_back(std::move(image));
        }
        lock.goOn();
    }
    const xdriver::Image background = scene_picture::medianImage(spread);
    xdriver::Geometry g;
    x.geometry(window, g);  // 500 x 500 unless -geometry asked for another size
    const auto path = scene_picture::ballPath(g.width, g.height);
    const double radiusY = scene_picture::ballRadiusPixels * g.height / scene_picture::windowSize;

    // Frame by frame, from the chosen step of a throw on.
    std::vector<Frame> frames;
    int skipped = 0, sinceGrab = 0;
    int outOfOrder = 0;
    while (static_cast<int>(frames.size()) < o.frames) {
        if (!lock.nextSwap(5000)) return fail("the program stopped drawing");
        if (!frames.empty() && ++sinceGrab < o.every) {
            lock.goOn();
            continue;
        }
        Frame frame;
        if (!x.grab(window, frame.image, error)) return fail(error);
        lock.goOn();
        const auto ball = scene_picture::findBall(frame.image, background, radiusY);
        const auto match = scene_picture::nearestOnPath(path, ball.centre);
        if (!ball.found || match.distance > 4.0) return fail("a frame shows no ball on the throw's path");
        frame.step = match.step;
        if (frames.empty() && frame.step != o.startStep) {
            if (++skipped > 3 * throwSteps) return fail("the throw never reached the start step");
            continue;
        }
        if (!frames.empty()) {
            const int expected = (frames.back().step - 1 + o.every) % throwSteps + 1;
            if (frame.step != expected) ++outOfOrder;
        }
        sinceGrab = 0;
        frames.push_back(std::move(frame));
    }
    lock.release();

    // End the program as a user would: the right button.
    x.moveTo(window, g.width / 2, g.height / 2);
    x.press(3);
    x.release(3);
    const auto status = program.waitExit(5000);
    if (!status) {
        program.kill();
        return fail("the program did not end within 5 s of the right click; killed it");
    }
    say("after the right click the program ended with " + status->describe());

    const auto chosen =
        std::find_if(frames.begin(), frames.end(), [&](const Frame& f) { return f.step == o.pngStep; });
    const Frame* still = chosen != frames.end() ? &*chosen : &frames.front();
    if (!xdriver::writePng(o.png, still->image, error)) return fail(error);
    if (!writeGif(o.gif, frames, o.delay, error)) return fail(error);

    std::snprintf(
        line, sizeof line,
        "%zu frames, each %d frame(s) after the one before, steps %d to %d of the throw, %s; %.2f s at "
        "%d/100 s a frame",
        frames.size(), o.every, frames.front().step, frames.back().step,
        outOfOrder == 0 ? "all in drawing order" : "SOME NOT IN ORDER",
        static_cast<double>(frames.size()) * o.delay / 100.0, o.delay);
    say(line);
    std::printf("%s\n%s\n", o.png.c_str(), o.gif.c_str());
    if (outOfOrder != 0)
        return fail(std::to_string(outOfOrder) + " frames were not the next step of the throw");
    return status->exited && status->code == 0 ? 0 : 1;
}
