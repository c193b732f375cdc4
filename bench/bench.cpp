// What the program's work costs: one step of the ball, and a whole frame in the
// program's own window as the frame loop makes it (onIdle, drawScene, glFinish)
// against the same frame with the floor and the ledge replayed from display
// lists compiled once, the cost of the same scene with its geometry cached.
// Needs an X server; scripts/bench runs it on a private Xvfb.
#include <benchmark/benchmark.h>

#include <GL/freeglut.h>

#include "app.h"
#include "ball_motion.h"
#include "draw.h"
#include "scene_state.h"

namespace {

// cppcheck-suppress constParameterCallback ; Google Benchmark hands every benchmark a mutable State
void ballStep(benchmark::State& state)
{
    initSceneState();
    initMeshes();  // for the frames timed after this
    for (auto _ : state) {
        stepBall();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(ballStep);

// cppcheck-suppress constParameterCallback ; Google Benchmark hands every benchmark a mutable State
void frame(benchmark::State& state)
{
    for (auto _ : state) {
        onIdle();
        drawScene();
        glFinish();
    }
}
BENCHMARK(frame)->UseRealTime();

// The floor's list; the ledge's is the next one.
GLuint gridLists = 0;
bool windowVisible = false;

// cppcheck-suppress constParameterCallback ; Google Benchmark hands every benchmark a mutable State
void displayListFrame(benchmark::State& state)
{
    for (auto _ : state) {
        onIdle();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, floorAmbient);
        glCallList(gridLists);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ledgeAmbient);
        glCallList(gridLists + 1);
        drawBall();
        glFlush();
        glFinish();
    }
}
BENCHMARK(displayListFrame)->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    initSceneState();
    initMeshes();
    openWindow(&argc, argv);
    initGlState();
    // Frames cost what they cost on the screen only once the window is mapped.
    glutVisibilityFunc([](int state) { windowVisible = state == GLUT_VISIBLE; });
    while (!windowVisible) glutMainLoopEvent();

    gridLists = glGenLists(2);
    glNewList(gridLists, GL_COMPILE);
    drawGrid(scene.floorMesh, floorVertices - 1, floorVertices - 1);
    glEndList();
    glNewList(gridLists + 1, GL_COMPILE);
    drawGrid(scene.ledgeMesh, ledgeVertices - 1, ledgeVertices - 1);
    glEndList();

    // The first frames of each kind compile llvmpipe's shaders, which is not what a frame costs.
    for (int i = 0; i < 100; ++i) {
        onIdle();
        drawScene();
        glCallList(gridLists);
        glFinish();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
