#include "scene/CPetals.h"

#include "Graphics/CGraphics.h"
#include "core/CFileSystem.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/Random.h"
#include "core/TextFields.h"
#include "platform/CAudio.h"
#include "platform/CDirectJ.h"
#include "platform/CGame.h"
#include "platform/CInput.h"
#include "platform/CView.h"
#include "scene/CParticles.h"

#include <algorithm>

REGISTER_SINGLETON(CPetals, "maingame", 50);

namespace
{
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms
CRule<float> s_thumpDelay("petals/thumpdelay", 0.0f, 60.0f);         // seconds from Fire to the throw
CRule<float> s_blurAmount("petals/bluramount");
CRule<float> s_blurDuration("petals/blurduration", 0.0f, kMaxContentSeconds); // seconds

constexpr const char* kScope = "maingame";
constexpr const char* kPass = "petals";
constexpr const char* kGroup = "modaloverlay";

// The shower is timed on the clock of the mode it celebrates, whichever mode is current when the
// global scheduler ticks it.
int32_t GameClock()
{
    const CScheduler* scheduler = CScheduler::ForScope(kScope);
    return scheduler ? scheduler->GetClock() : 0;
}

void SensePlatform(PetalWorld& world)
{
    world.view = CView::GetCurrent().GetRect();
    world.gravity = CParticles::GetGravity();
    if (const CDirectJ* platform = CDirectJ::Peek())
        world.frameDelta = std::clamp(platform->GetFrameDelta(), 0.001f, 0.1f);
    if (const CInput* input = CInput::Peek())
    {
        world.pointer = input->GetViewPosition();
        world.pointerMoved = input->HasMovedRecently();
    }
}

void PlayPlatformSound(const char* name)
{
    if (CAudio* audio = CAudio::Peek())
        audio->PlaySound(name);
}

void PostGameCommand(const char* name)
{
    CGame::Instance()->PostCommand(name);
}

// Without an installed overlay the shower runs over the sharp scene.
void NoOverlay(bool, float, float) {}

const CPetals::Hooks kDefaultHooks{&GameClock, &SensePlatform, &PlayPlatformSound, &PostGameCommand, &NoOverlay};
CPetals::Hooks s_hooks = kDefaultHooks;
} // namespace

const CPetals::Hooks& CPetals::GetDefaultHooks()
{
    return kDefaultHooks;
}

const CPetals::Hooks& CPetals::GetHooks()
{
    return s_hooks;
}

CPetals::Hooks CPetals::SetHooks(const Hooks& hooks)
{
    const Hooks previous = s_hooks;
    s_hooks = hooks;
    return previous;
}

void CPetals::Init()
{
    if (!m_registered)
    {
        m_registered = true;
        CDrawing::Register(kScope, kPass);
        ScheduleIn("global", s_animationInterval);
        CControl::Register(kScope, kGroup);
    }
    Load();
}

CPetals::~CPetals()
{
    Stop();
    CDrawing::Unregister(kScope, kPass);
    CControl::Unregister();
}

void CPetals::Load()
{
    CXmlDocument document;
    document.Load("petals", CFileSystem::kInDataFolder);
    CXmlNode* root = document.IsLoaded() ? document.GetRoot() : nullptr;
    const CXmlNode* shower = root ? root->FindChild("shower") : nullptr;
    auto number = [shower](const char* name) {
        return shower ? float(ParseFloat(shower->GetAttribute(name).c_str())) : 0.0f;
    };
    CPetal::Physics physics;
    physics.gravity = number("gravity");
    physics.friction = number("friction");
    physics.maxNudge = number("maxnudge");
    CPetal::SetPhysics(physics);

    // 0 without the document; a shower of more than a thousand petals would not be drawn in time.
    const int32_t count = shower ? BoundCount(ParseInt(shower->GetAttribute("count").c_str()), 0, 1000,
                                              "petals.xml", "shower/count")
                                 : 0;
    m_petals.assign(size_t(count), CPetal());
    size_t loaded = 0;
    if (root)
        for (CXmlNode* element = root->FindChild("petal"); element && loaded < m_petals.size();
             element = element->NextSiblingNamed("petal"))
            m_petals[loaded++].Load(*element);
    // The rest repeat the loaded looks at random.
    if (loaded > 0)
        for (size_t i = loaded; i < m_petals.size(); ++i)
            m_petals[i] = m_petals[GlobalRandom().Next() % loaded];
}

void CPetals::ShowImposter(bool shown, float blurAmount, float blurSeconds)
{
    CPetals* petals = Peek();
    if (!petals)
        return;
    if (!shown)
    {
        petals->m_imposter.Reset();
        return;
    }
    petals->m_imposter = CImposter::Create("overlays", "_imposter");
    petals->m_imposter->SetRecaptureOnRotation(true);
    petals->m_imposter->SetStaleOnRotation(true);
    if (blurAmount > 0.0f)
        petals->m_imposter->SetBlur(blurAmount, blurSeconds);
}

void CPetals::Fire()
{
    m_active = true;
    m_thrown = false;
    m_startTime = s_hooks.now() + SecondsToMs(s_thumpDelay);
    for (CPetal& petal : m_petals)
        petal.SetActive(false);
    s_hooks.playSound("petal-gun");
    const float blur = s_blurAmount;
    s_hooks.setOverlay(true, blur > 0.0f ? blur : 0.0f, blur > 0.0f ? float(s_blurDuration) : 0.0f);
    m_overlay = true;
}

void CPetals::Stop()
{
    m_active = false;
    if (m_overlay)
    {
        m_overlay = false;
        s_hooks.setOverlay(false, 0.0f, 0.0f);
    }
}

void CPetals::OnSchedule(float dt)
{
    if (!m_active)
        return;
    PetalWorld world = SenseWorld();
    if (!m_thrown)
    {
        if (world.now < m_startTime)
            return;
        Throw(world);
        return;
    }
    const float count = float(m_petals.size());
    for (size_t i = 0; i < m_petals.size(); ++i)
    {
        CPetal& petal = m_petals[i];
        if (!petal.IsActive())
        {
            if (world.now < petal.GetRelaunchTime())
                continue;
            petal.Launch(float(i) / count, CPetal::kDrift, world);
        }
        if (petal.Update(dt, world))
            s_hooks.playSound("petal-waft");
    }
}

bool CPetals::AcceptsPress(const InputEvent& event)
{
    return m_active || CControl::AcceptsPress(event);
}

bool CPetals::OnPress(const InputEvent& event)
{
    return m_active || CControl::OnPress(event);
}

bool CPetals::OnClick(const InputEvent& event)
{
    if (!m_active)
        return CControl::OnClick(event);
    s_hooks.postCommand("ingame");
    return true;
}

bool CPetals::OnRelease(const InputEvent& event)
{
    return m_active || CControl::OnRelease(event);
}

void CPetals::Draw()
{
    if (!m_active)
        return;
    if (CGraphics* graphics = CGraphics::Peek(); graphics && graphics->IsLive())
        graphics->ClearDepth(1.0f);
    for (CPetal& petal : m_petals)
        if (petal.IsActive())
            petal.Draw();
}

PetalWorld CPetals::SenseWorld() const
{
    PetalWorld world;
    s_hooks.sense(world);
    world.now = s_hooks.now();
    return world;
}

void CPetals::Throw(const PetalWorld& world)
{
    for (CPetal& petal : m_petals)
    {
        petal.SetActive(false);
        petal.Launch(0.2f + 0.3f * float(GlobalRandom().NextFraction()), CPetal::kBurst, world);
    }
    m_thrown = true;
    s_hooks.postCommand("petalsthrown");
}
