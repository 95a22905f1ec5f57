// A frame of the main game as the program draws it: the shipped data, the first puzzle in play in
// its pond under its first tutorial's pane, at the phone's 320x480 and at 1024x768 (see
// BenchGame for the context and the clock).
//
// Reported per frame: "game_ms", the main thread's CPU time in the pump, update and draw (the
// game's own work, with the driver's client-side command building that happens on that thread);
// "driver_ms", the rest of the process's CPU time over the frame, which is Mesa's rasterising
// threads finishing the frame (the swap waits for them).
#include "BenchGame.h"

#include <benchmark/benchmark.h>

namespace
{
void BM_MainGameFrame(benchmark::State& state)
{
    BenchGame game(Vector2<int>(int(state.range(0)), int(state.range(1))));
    if (!game.Start())
    {
        state.SkipWithError("no ES 1.1 pbuffer context");
        return;
    }
    // The first puzzle's pond, frog and panes settle: grow-ins, the start pane's flip.
    for (int i = 0; i < 200; ++i)
        game.Frame();

    double thread = 0.0, all = 0.0;
    for (auto _ : state)
    {
        const double thread0 = BenchGame::ThreadCpuSeconds();
        const double process0 = BenchGame::ProcessCpuSeconds();
        game.Frame();
        thread += BenchGame::ThreadCpuSeconds() - thread0;
        all += BenchGame::ProcessCpuSeconds() - process0;
    }
    const double frames = double(state.iterations());
    state.counters["game_ms"] = thread * 1000.0 / frames;
    state.counters["driver_ms"] = (all - thread) * 1000.0 / frames;
}
BENCHMARK(BM_MainGameFrame)->Args({320, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
