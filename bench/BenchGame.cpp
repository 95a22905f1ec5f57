#include "BenchGame.h"

#include "Graphics/CGraphics.h"
#include "core/CFileSystem.h"
#include "core/CSingletonBase.h"
#include "core/HashString.h"
#include "platform/CDirectJ.h"
#include "platform/CEglContext.h"
#include "platform/CGame.h"
#include "platform/CPlatformBackend.h"
#include "platform/CSdlBackend.h"
#include "wiring/GameWiring.h"

#include <GLES/gl.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <sstream>
#include <unistd.h>

namespace
{
Vector2<int> s_size(320, 480);
std::string s_appFolder;

double Seconds(clockid_t clock)
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

// The system as SDL's window on the display, as the game runs, with the same clock as above.
class WindowBackend : public CSdlBackend
{
  public:
    WindowBackend() : CSdlBackend(&CDirectJ::ReleaseGlObjectsHook) {}
    uint32_t GetTicks() override { return m_now; }
    void Delay(uint32_t milliseconds) override { m_now += milliseconds; }

  private:
    uint32_t m_now = 1000;
};

std::unique_ptr<CPlatformBackend> MakeBackend()
{
    if (BenchGame::InWindow())
        return std::make_unique<WindowBackend>();
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

CFileSystem::CallingPathProvider s_previousProvider = nullptr;
CDirectJ::BackendFactory s_previousFactory = nullptr;
} // namespace

BenchGame::BenchGame(Vector2<int> size)
{
    s_size = size;
    char folder[] = "/tmp/frogbench.XXXXXX";
    if (!mkdtemp(folder))
        return;
    std::error_code error;
    std::filesystem::copy(FROG_DATA_DIR, std::string(folder) + "/data", std::filesystem::copy_options::recursive,
                          error);
    if (!error)
        m_folder = std::string(folder) + "/";
}

BenchGame::~BenchGame()
{
    if (m_started)
    {
        CGame::Instance()->PopAllModes();
        CSingletonBase::StopScope(HashString("global"));
        CSingletonBase::StopScope(HashString("nuke"));
        GameWiring::Uninstall();
        CDirectJ::SetBackendFactory(s_previousFactory);
        CFileSystem::SetCallingPathProvider(s_previousProvider);
    }
    if (!m_folder.empty())
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
}

bool BenchGame::EditData(const std::string& relative, const std::string& pattern,
                         const std::string& replacement) const
{
    const std::string path = m_folder + "data/" + relative;
    std::ifstream in(path);
    if (m_folder.empty() || !in)
        return false;
    std::stringstream text;
    text << in.rdbuf();
    const std::string before = text.str();
    const std::regex expression(pattern);
    if (!std::regex_search(before, expression))
        return false;
    const std::string after =
        std::regex_replace(before, expression, replacement, std::regex_constants::format_first_only);
    std::ofstream(path, std::ios::trunc) << after;
    return true;
}

void BenchGame::WritePreferences(const std::string& text) const
{
    if (!m_folder.empty())
        std::ofstream(m_folder + "preferences.xml", std::ios::trunc) << text;
}

bool BenchGame::Start()
{
    if (m_folder.empty() || m_started)
        return false;
    s_appFolder = m_folder;
    s_previousProvider = CFileSystem::SetCallingPathProvider(&CallingPath);
    s_previousFactory = CDirectJ::SetBackendFactory(&MakeBackend);
    GameWiring::Install();
    CSingletonBase::StartScope(HashString("global"));
    m_started = true;
    return CDirectJ::Instance()->IsReady();
}

void BenchGame::Frame()
{
    CDirectJ* platform = CDirectJ::Instance();
    platform->Pump();
    CGame::Instance()->Update();
    CGame::Instance()->Draw();
}

void BenchGame::BareFrame()
{
    const CDirectJ* platform = CDirectJ::Instance();
    CGraphics::Instance()->Clear(platform->GetClearColour(), platform->GetClearDepth());
    platform->GetBackend()->SwapBuffers();
}

bool BenchGame::InWindow()
{
    const char* window = getenv("FROG_BENCH_WINDOW");
    return window && *window && getenv("DISPLAY");
}

double BenchGame::ProcessCpuSeconds()
{
    return Seconds(CLOCK_PROCESS_CPUTIME_ID);
}

double BenchGame::ThreadCpuSeconds()
{
    return Seconds(CLOCK_THREAD_CPUTIME_ID);
}

double BenchGame::WallSeconds()
{
    return Seconds(CLOCK_MONOTONIC);
}
