// A frame of the main game as the program draws it: the shipped data, the first puzzle in play in
// its pond, on Mesa's surfaceless ES 1.1 context at the phone's 320x480 and at 1024x768. The
// platform layer runs over a stand-in system whose window is a pbuffer and whose clock moves 25 ms
// a frame, so every frame does the game's whole work (pump, update, draw) and no waiting.
//
// Reported per frame: "game_ms", the main thread's CPU time in the pump, update and draw (the
// game's own work, with the driver's client-side command building that happens on that thread);
// "driver_ms", the rest of the process's CPU time over the frame, which is Mesa's rasterising
// threads finishing the frame (the swap waits for them).
#include "core/CFileSystem.h"
#include "core/CSingletonBase.h"
#include "core/HashString.h"
#include "platform/CDirectJ.h"
#include "platform/CEglContext.h"
#include "platform/CGame.h"
#include "platform/CPlatformBackend.h"
#include "wiring/GameWiring.h"

#include <GLES/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{
Vector2<int> s_size(320, 480);
std::string s_appFolder;

double CpuSeconds(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The system as a pbuffer: a window of the benchmark's size, a clock that moves only by the
// pacing's delays, no events, and a swap that waits for the frame to be drawn.
class PbufferBackend : public CPlatformBackend
{
  public:
    bool Start() override { return true; }
    void SetCaption(const char*) override {}
    void SetEventFilter(EventFilter) override {}
    bool SetVideoMode(Vector2<int>* size) override
    {
        if (!m_context.IsCreated() && !m_context.CreatePbuffer(s_size.x, s_size.y, CEglContext::Attributes()))
            return false;
        *size = s_size;
        return true;
    }
    bool HasGlContext() const override { return m_context.IsCreated(); }
    void SwapBuffers() override { glFinish(); }
    uint32_t GetTicks() override { return m_now; }
    void Delay(uint32_t milliseconds) override { m_now += milliseconds; }
    bool PollEvent(PlatformEvent*) override { return false; }
    bool IsAppActive() override { return true; }
    bool IsQuitRequested() const override { return false; }
    void Stop() override { m_context.Release(); }
    const char* GetFailure() const override { return m_context.GetFailure(); }

  private:
    CEglContext m_context;
    uint32_t m_now = 1000;
};

std::unique_ptr<CPlatformBackend> MakeBackend()
{
    return std::make_unique<PbufferBackend>();
}

int CallingPath(char* buffer, int size)
{
    if (int(s_appFolder.size()) >= size)
        return -1;
    s_appFolder.copy(buffer, s_appFolder.size());
    buffer[s_appFolder.size()] = '\0';
    return 0;
}

void BM_MainGameFrame(benchmark::State& state)
{
    s_size = Vector2<int>(int(state.range(0)), int(state.range(1)));
    // A fresh application folder whose data is the build's, so the preferences written go there.
    char folder[] = "/tmp/frogbench.XXXXXX";
    if (!mkdtemp(folder) || symlink(FROG_DATA_DIR, (std::string(folder) + "/data").c_str()) != 0)
    {
        state.SkipWithError("cannot make an application folder");
        return;
    }
    s_appFolder = std::string(folder) + "/";
    const CFileSystem::CallingPathProvider provider = CFileSystem::SetCallingPathProvider(&CallingPath);
    const CDirectJ::BackendFactory factory = CDirectJ::SetBackendFactory(&MakeBackend);
    GameWiring::Install();
    CSingletonBase::StartScope(HashString("global"));

    CDirectJ* platform = CDirectJ::Instance();
    if (!platform->IsReady())
        state.SkipWithError("no ES 1.1 pbuffer context");
    auto frame = [&] {
        platform->Pump();
        CGame::Instance()->Update();
        CGame::Instance()->Draw();
    };
    // The first puzzle's pond, frog and panes settle: grow-ins, the start pane's flip.
    for (int i = 0; platform->IsReady() && i < 200; ++i)
        frame();

    double game = 0.0, all = 0.0;
    for (auto _ : state)
    {
        const double thread0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        const double process0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        frame();
        game += CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - thread0;
        all += CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process0;
    }
    const double frames = double(state.iterations());
    state.counters["game_ms"] = game * 1000.0 / frames;
    state.counters["driver_ms"] = (all - game) * 1000.0 / frames;

    CGame::Instance()->PopAllModes();
    CSingletonBase::StopScope(HashString("global"));
    CSingletonBase::StopScope(HashString("nuke"));
    GameWiring::Uninstall();
    CDirectJ::SetBackendFactory(factory);
    CFileSystem::SetCallingPathProvider(provider);
    std::system((std::string("rm -rf ") + folder).c_str());
}
BENCHMARK(BM_MainGameFrame)->Args({320, 480})->Args({1024, 768})->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace
