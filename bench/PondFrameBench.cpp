// A frame of play in each pond, and of the front end, with no pane over the scene: a puzzle
// resumed in the pond (no start pane, no tutorial), or the board of puzzles of a player who has
// solved the first one, at 320x480, 1024x768 and 1920x1080 (see BenchGame for the context and the
// clock; bench/pond-frames.sh runs it in a window on a display of each size). Each iteration draws
// one frame of the game and then one bare frame (the platform's clear and the swap, nothing else)
// on the same context, so the two share the machine's load.
//
// Reported: "start_ms", the wall time of the start and the first frame (the loading screen, the
// mode group "global", the scene's loading and the first drawing of its textures). Per frame of the game: "cpu_ms", the process's CPU
// time (the game's thread and Mesa's rasterising threads); "game_ms", the part of it on the game's
// thread (its own work and the driver's command building); "bare_ms", cpu_ms of the bare frame;
// "x_bare", their ratio; "fps", the frames a second the wall time of a game frame allows; "fill",
// the pixels its draws cover, in screens (FrameFill: its overdraw); "clears", the same for its
// colour clears; "draws", its draw calls. FROG_BENCH_SHOTS=folder writes the last frame of each
// case there as a PPM picture.
#include "BenchGame.h"
#include "platform/CDirectJ.h"
#include "support/FrameFill.h"

#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace
{
constexpr int kSettleFrames = 120;
constexpr int kFillFrames = 10;

// The puzzle resumed in play, its pond replaced by the one measured.
constexpr const char* kPuzzle = "puzzle1003";

bool Prepare(BenchGame& game, const std::string& pond)
{
    if (!game.EditData("rules.xml", "startpane=\"[^\"]*\"", "startpane=\"\""))
        return false;
    if (pond.empty())
    {
        game.WritePreferences(R"(<preferences currentpuzzle="" currenthistory="" puzzle1000="3,1.000000,5.0,0,0"/>)");
        return true;
    }
    game.WritePreferences(std::string("<preferences currentpuzzle=\"") + kPuzzle +
                          R"(" currenthistory="" puzzle1000="3,1.000000,5.0,0,0"/>)");
    return game.EditData(std::string("puzzle/") + kPuzzle + ".xml", "template=\"[^\"]*\"",
                         "template=\"" + pond + "\"");
}

void WriteShot(const std::string& name, int width, int height)
{
    const char* folder = getenv("FROG_BENCH_SHOTS");
    if (!folder)
        return;
    std::vector<uint8_t> rgba(size_t(width) * size_t(height) * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::ofstream out(std::string(folder) + "/" + name + "-" + std::to_string(width) + "x" +
                          std::to_string(height) + ".ppm",
                      std::ios::binary);
    out << "P6\n" << width << " " << height << "\n255\n";
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            out.write(reinterpret_cast<const char*>(&rgba[(size_t(y) * size_t(width) + size_t(x)) * 4]), 3);
}

// pond: a pond's name, or empty for the front end.
void BM_PondFrame(benchmark::State& state, const std::string& pond)
{
    const int width = int(state.range(0));
    const int height = int(state.range(1));
    BenchGame game(Vector2<int>(width, height));
    if (!Prepare(game, pond))
    {
        state.SkipWithError("cannot prepare the data");
        return;
    }
    const double start0 = BenchGame::WallSeconds();
    if (!game.Start())
    {
        state.SkipWithError("no ES 1.1 context");
        return;
    }
    game.Frame();
    const double startSeconds = BenchGame::WallSeconds() - start0;
    if (CDirectJ::Instance()->GetLogicalSize() != Vector2<int>(width, height))
    {
        const Vector2<int> got = CDirectJ::Instance()->GetLogicalSize();
        const std::string message = "the window is " + std::to_string(got.x) + "x" + std::to_string(got.y) +
                                    ", not of the size asked for (a display of another size)";
        state.SkipWithError(message.c_str());
        return;
    }
    for (int i = 0; i < kSettleFrames; ++i)
        game.Frame();

    double cpu = 0.0, thread = 0.0, bare = 0.0, wall = 0.0;
    for (auto _ : state)
    {
        const double cpu0 = BenchGame::ProcessCpuSeconds();
        const double thread0 = BenchGame::ThreadCpuSeconds();
        const double wall0 = BenchGame::WallSeconds();
        game.Frame();
        const double wall1 = BenchGame::WallSeconds();
        thread += BenchGame::ThreadCpuSeconds() - thread0;
        const double cpu1 = BenchGame::ProcessCpuSeconds();
        game.BareFrame();
        const double cpu2 = BenchGame::ProcessCpuSeconds();
        state.SetIterationTime(wall1 - wall0);
        cpu += cpu1 - cpu0;
        bare += cpu2 - cpu1;
        wall += wall1 - wall0;
    }
    const double frames = double(state.iterations());

    FrameFill::Start();
    for (int i = 0; i < kFillFrames; ++i)
        game.Frame();
    FrameFill::Stop();
    WriteShot(pond.empty() ? "frontend" : pond, width, height);

    const double screen = double(width) * double(height);
    state.counters["cpu_ms"] = cpu * 1000.0 / frames;
    state.counters["start_ms"] = startSeconds * 1000.0;
    state.counters["game_ms"] = thread * 1000.0 / frames;
    state.counters["bare_ms"] = bare * 1000.0 / frames;
    state.counters["x_bare"] = bare > 0.0 ? cpu / bare : 0.0;
    state.counters["fps"] = wall > 0.0 ? frames / wall : 0.0;
    state.counters["fill"] = FrameFill::DrawnPixels() / screen / kFillFrames;
    state.counters["clears"] = FrameFill::ClearedPixels() / screen / kFillFrames;
    state.counters["draws"] = double(FrameFill::DrawCount()) / kFillFrames;
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Args({320, 480})->Args({1024, 768})->Args({1920, 1080});
    benchmark->Unit(benchmark::kMillisecond)->UseManualTime();
}

BENCHMARK_CAPTURE(BM_PondFrame, frontend, std::string())->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PondFrame, morning, std::string("morning"))->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PondFrame, reeds, std::string("reeds"))->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PondFrame, blossom, std::string("blossom"))->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PondFrame, rain, std::string("rain"))->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PondFrame, dusk, std::string("dusk"))->Apply(Sizes);
BENCHMARK_CAPTURE(BM_PondFrame, night, std::string("night"))->Apply(Sizes);
} // namespace
