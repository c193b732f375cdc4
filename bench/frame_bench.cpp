// What one frame costs in the program's own 500 x 500 window on a real X
// server (Xvfb when there is no display) with Mesa's software renderer:
//   wholeFrame        onIdle + drawScene + glFinish, as the frame loop runs them
//   rendererFloor     clear and finish only: what any frame costs at the least
//   displayListFrame  the same scene with the two grids compiled once into display
//                     lists: the cached bound for the immediate-mode frame
//   pairedFrames      one frame of each kind after the other in the same loop, each
//                     timed on its own: their ratio, with both under the same load
// The program's own work in a frame, without the driver, is in bench_scene.
// The first three also report the heap allocations made per frame, by any code
// and by the program's own code (see alloc_count.h).
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "alloc_count.h"
#include "app.h"
#include "draw.h"
#include "gl_window.h"
#include "scene_state.h"

namespace {

GLuint floorList = 0;
GLuint ledgeList = 0;

// The grids as drawScene draws them, recorded once; the lists keep the vertices and normals.
void compileGridLists()
{
    floorList = glGenLists(2);
    ledgeList = floorList + 1;
    glNewList(floorList, GL_COMPILE);
    drawGrid(scene.floorMesh, floorVertices - 1, floorVertices - 1);
    glEndList();
    glNewList(ledgeList, GL_COMPILE);
    drawGrid(scene.ledgeMesh, ledgeVertices - 1, ledgeVertices - 1);
    glEndList();
}

// drawScene with the grids taken from the lists; everything else is the same.
void drawSceneFromLists()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, floorAmbient);
    glCallList(floorList);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ledgeAmbient);
    glCallList(ledgeList);
    drawBall();
    glFlush();
}

// How far the two ways of drawing differ: pixels that differ, and the largest
// difference in one colour channel. The comparison is fair when the pictures match.
struct PictureDifference {
    long pixels = 0;
    int largest = 0;
};

PictureDifference compareWithLists()
{
    resetScene();
    drawScene();
    const xdriver::Image immediate = readPixels(GL_BACK);
    drawSceneFromLists();
    const xdriver::Image cached = readPixels(GL_BACK);
    PictureDifference difference;
    for (size_t i = 0; i < immediate.rgb.size(); i += 3) {
        bool differs = false;
        for (size_t channel = i; channel < i + 3; ++channel) {
            const int d = std::abs(int{immediate.rgb[channel]} - int{cached.rgb[channel]});
            if (d > 0) differs = true;
            if (d > difference.largest) difference.largest = d;
        }
        if (differs) ++difference.pixels;
    }
    return difference;
}

// Allocations per frame over the timed loop, from any code and from the program's own.
void reportAllocations(benchmark::State& state, const AllocationCount& before)
{
    const AllocationCount after = allocationsSoFar();
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(after.all - before.all), benchmark::Counter::kAvgIterations);
    state.counters["own_allocs"] = benchmark::Counter(
        static_cast<double>(after.fromOwnCode - before.fromOwnCode), benchmark::Counter::kAvgIterations);
    state.counters["fps"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

void wholeFrame(benchmark::State& state)
{
    resetScene();
    const AllocationCount before = allocationsSoFar();
    for (auto _ : state) {
        onIdle();
        drawScene();
        glFinish();
    }
    reportAllocations(state, before);
}
BENCHMARK(wholeFrame)->UseRealTime();

void rendererFloor(benchmark::State& state)
{
    resetScene();
    const AllocationCount before = allocationsSoFar();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    }
    reportAllocations(state, before);
}
BENCHMARK(rendererFloor)->UseRealTime();

void displayListFrame(benchmark::State& state)
{
    resetScene();
    const AllocationCount before = allocationsSoFar();
    for (auto _ : state) {
        onIdle();
        drawSceneFromLists();
        glFinish();
    }
    reportAllocations(state, before);
}
BENCHMARK(displayListFrame)->UseRealTime();

// On a shared machine the load can change between two benchmarks; frames taken
// turn about see the same load, so their ratio holds where separate runs drift.
void pairedFrames(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    resetScene();
    Clock::duration immediate{};
    Clock::duration cached{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        onIdle();
        drawScene();
        glFinish();
        const Clock::time_point between = Clock::now();
        onIdle();
        drawSceneFromLists();
        glFinish();
        const Clock::time_point end = Clock::now();
        immediate += between - start;
        cached += end - between;
    }
    const double frames = static_cast<double>(state.iterations());
    const double immediateSeconds = std::chrono::duration<double>(immediate).count();
    const double cachedSeconds = std::chrono::duration<double>(cached).count();
    state.counters["frame"] = immediateSeconds / frames;
    state.counters["list_frame"] = cachedSeconds / frames;
    state.counters["ratio"] = immediateSeconds / cachedSeconds;
}
BENCHMARK(pairedFrames)->UseRealTime();

std::string glString(GLenum name)
{
    const GLubyte* text = glGetString(name);
    return text == nullptr ? std::string("unknown") : std::string(reinterpret_cast<const char*>(text));
}

}  // namespace

int main(int argc, char** argv)
{
    initSceneState();
    initMeshes();
    openTestWindow();
    compileGridLists();

    benchmark::AddCustomContext("gl_renderer", glString(GL_RENDERER));
    benchmark::AddCustomContext("gl_version", glString(GL_VERSION));
    const PictureDifference difference = compareWithLists();
    benchmark::AddCustomContext("display_list_differing_pixels", std::to_string(difference.pixels));
    benchmark::AddCustomContext("display_list_largest_channel_difference",
                                std::to_string(difference.largest));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
