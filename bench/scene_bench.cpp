// The scene model's own costs, without a window: the ball's step over whole
// throws, the one-time mesh generation, and the face normal of one quad.
#include <benchmark/benchmark.h>

#include "ball_motion.h"
#include "draw.h"
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

}  // namespace

BENCHMARK_MAIN();
