#pragma once
// A platform layer on a stand-in system for unit tests: FakeBackend drives the clock and the
// event queue by hand; PlatformTest gives each test a data folder of its own (rules.xml with a
// clear colour, text.xml with the caption) and ends every singleton afterwards.
#include "core/CClock.h"
#include "core/CFileSystem.h"
#include "core/CSingletonBase.h"
#include "core/HashString.h"
#include "platform/CDirectJ.h"
#include "platform/PlatformHooks.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

// The system as the layer sees it, driven by hand: a clock that moves only when told (or by a
// delay), a queue of events, and a record of delays and swaps.
class FakeBackend : public CPlatformBackend
{
  public:
    bool Start() override { return startWorks; }
    void SetCaption(const char* text) override { caption = text; }
    void SetEventFilter(EventFilter filter) override { this->filter = filter; }
    bool SetVideoMode(Vector2<int>* size) override
    {
        ++modeSets;
        if (!modeWorks)
            return false;
        *size = nativeSize;
        return true;
    }
    bool HasGlContext() const override { return false; }
    void SwapBuffers() override { ++swaps; }
    uint32_t GetTicks() override { return now; }
    void Delay(uint32_t milliseconds) override
    {
        delays.push_back(milliseconds);
        now += milliseconds;
    }
    bool PollEvent(PlatformEvent* event) override
    {
        if (events.empty())
            return false;
        *event = events.front();
        events.pop_front();
        return true;
    }
    bool IsAppActive() override { return true; }
    bool IsQuitRequested() const override { return quitRequested; }
    void Stop() override { ++s_stops; }
    const char* GetFailure() const override { return "cannot start SDL: no display"; }

    bool startWorks = true;
    bool modeWorks = true;
    bool quitRequested = false;
    Vector2<int> nativeSize = Vector2<int>(320, 480);
    uint32_t now = 0;
    std::vector<uint32_t> delays;
    std::deque<PlatformEvent> events;
    std::string caption;
    EventFilter filter = nullptr;
    int modeSets = 0;
    int swaps = 0;
    static inline int s_stops = 0;
};

inline FakeBackend* s_backend = nullptr;
inline bool s_startWorks = true;
inline std::string s_callingPath;

inline std::unique_ptr<CPlatformBackend> MakeFake()
{
    auto backend = std::make_unique<FakeBackend>();
    backend->startWorks = s_startWorks;
    s_backend = backend.get();
    return backend;
}

inline int FakeCallingPath(char* buffer, int size)
{
    if (int(s_callingPath.size()) >= size)
        return -1;
    s_callingPath.copy(buffer, s_callingPath.size());
    buffer[s_callingPath.size()] = '\0';
    return 0;
}

// A layer on the fake system, with its data folder in a fresh folder; every singleton it made is
// gone afterwards.
class PlatformTest : public testing::Test
{
  protected:
    void SetUp() override
    {
        s_startWorks = true;
        m_folder.MakeFolder("data");
        m_folder.WriteFile("data/rules.xml", "<rules><ui clearcolour=\"0.2,0.4,0.6,1\" cleardepth=\"0.5\"/></rules>");
        m_folder.WriteFile("data/text.xml", "<text><texts><app_name>Frog Pond</app_name></texts></text>");
        s_callingPath = m_folder.Path() + "/";
        m_provider = CFileSystem::SetCallingPathProvider(&FakeCallingPath);
        m_factory = CDirectJ::SetBackendFactory(&MakeFake);
        m_clock = CClock::GetSource();
        m_hooks = PlatformHooks::Installed();
    }
    void TearDown() override
    {
        CSingletonBase::StopScope(HashString("nuke"));
        CDirectJ::SetBackendFactory(m_factory);
        CFileSystem::SetCallingPathProvider(m_provider);
        CClock::SetSource(m_clock);
        PlatformHooks::Install(m_hooks);
        s_backend = nullptr;
    }

    CDirectJ* Layer() { return CDirectJ::Instance(); }

    TempFolder m_folder;
    CFileSystem::CallingPathProvider m_provider = nullptr;
    CDirectJ::BackendFactory m_factory = nullptr;
    CClock::Source m_clock = nullptr;
    PlatformHooks m_hooks;
};
