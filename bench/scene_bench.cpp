// The program's own costs, without a window or a driver: the ball's step over
// whole throws, the one-time mesh generation, the face normal of one quad, and
// all of the program's own CPU work in one frame. This binary links stand-ins
// for the GL calls of drawGrid (gl_stand_ins.cpp), so the real drawGrid runs
// its loops and normals with no GL behind it.
#include <benchmark/benchmark.h>

#include "alloc_count.h"
#include "ball_motion.h"
#include "draw.h"
#include "input.h"
#include "scene_state.h"

namespace {

// One iteration is one whole throw of 99 steps, so the bounces and the wrap to
// the next throw are in every iteration; the "step" counter is the time per step.
void stepBallPerThrow(benchmark::State& state)
{
    initSceneState();
    for (auto _ : state) {
        for (int i = 0; i < throwSteps; ++i) stepBall();
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * throwSteps);
    state.counters["step"] =
        benchmark::Counter(static_cast<double>(throwSteps),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(stepBallPerThrow);

// cppcheck-suppress constParameterCallback ; Google Benchmark hands every benchmark a mutable State
void initMeshesOnce(benchmark::State& state)
{
    initSceneState();
    for (auto _ : state) {
        initMeshes();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(initMeshesOnce);

// The first floor quad's three corners, as drawGrid passes them.
// cppcheck-suppress constParameterCallback ; Google Benchmark hands every benchmark a mutable State
void faceNormalOfAQuad(benchmark::State& state)
{
    initSceneState();
    initMeshes();
    const GridMesh& floor = scene.floorMesh;
    Vec3 p00{floor.x[0][0], floor.y[0][0], floor.z[0][0]};
    Vec3 p10{floor.x[1][0], floor.y[1][0], floor.z[1][0]};
    Vec3 p01{floor.x[0][1], floor.y[0][1], floor.z[0][1]};
    for (auto _ : state) {
        benchmark::DoNotOptimize(p00);
        benchmark::DoNotOptimize(p10);
        benchmark::DoNotOptimize(p01);
        Vec3 n = faceNormal(p00, p10, p01);
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(faceNormalOfAQuad);

// What onIdle and drawScene compute themselves in one frame: the step, the view
// turn (none: the pointer does not move), both grids with their normals, and
// the ball's place. The "allocs" counter is heap allocations per frame.
void ownWorkPerFrame(benchmark::State& state)
{
    initSceneState();
    initMeshes();
    const AllocationCount before = allocationsSoFar();
    for (auto _ : state) {
        stepBall();
        applyViewRotation();
        drawGrid(scene.floorMesh, floorVertices - 1, floorVertices - 1);
        drawGrid(scene.ledgeMesh, ledgeVertices - 1, ledgeVertices - 1);
        float ballZ = heightToViewZ(scene.height);
        benchmark::DoNotOptimize(ballZ);
    }
    const AllocationCount after = allocationsSoFar();
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(after.all - before.all), benchmark::Counter::kAvgIterations);
}
BENCHMARK(ownWorkPerFrame);

}  // namespace

BENCHMARK_MAIN();
