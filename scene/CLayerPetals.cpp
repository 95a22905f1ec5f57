#include "scene/CLayerPetals.h"

#include "core/CClock.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "scene/CPetals.h"
#include "scene/LayerKindMap.h"
#include "scene/PetalWorld.h"
#include "scene/RandomRange.h"

#include <algorithm>

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("Petals", &CLayerPetals::Make);

// Longest wait between two releases: an hour is already a pond without petals.
constexpr float kMaxPeriodSeconds = 3600.0f;

// A negative wait (or not a number) counts as no wait.
int32_t ToMilliseconds(float seconds)
{
    return SecondsToMs(std::min(seconds, kMaxPeriodSeconds));
}
} // namespace

CLayerPetals::CLayerPetals() : CLayer("CLayerPetals") {}

CRef<CLayer> CLayerPetals::Make()
{
    return MakeRef<CLayerPetals>();
}

void CLayerPetals::Load(CXmlNode& element)
{
    CLayer::Load(element);
    const Vector2<float> seconds = ReadFloatRange(element, "period", Vector2<float>(1.0f, 5.0f));
    m_period = Vector2<int32_t>(ToMilliseconds(seconds.x), ToMilliseconds(seconds.y));
    m_nextRelease = CClock::Now() + uint32_t(DrawIntRange(m_period));
    m_depth = ReadFloatRange(element, "depth", Vector2<float>(0.0f, 1.0f));

    m_petals.clear();
    for (CXmlNode* child = element.FindChild("petal"); child; child = child->NextSiblingNamed("petal"))
    {
        m_petals.emplace_back();
        m_petals.back().Load(*child);
    }
}

void CLayerPetals::Update(float dt)
{
    const CPetals::Hooks& hooks = CPetals::GetHooks();
    PetalWorld world;
    hooks.sense(world);
    world.now = hooks.now();

    const uint32_t now = CClock::Now();
    for (CPetal& petal : m_petals)
    {
        if (petal.IsActive())
        {
            if (petal.Update(dt, world))
                hooks.playSound("petal-waft");
        }
        else if (CClock::Difference(m_nextRelease, now) > 0)
        {
            petal.Launch(DrawFloatRange(m_depth), CPetal::kDrift, world);
            m_nextRelease += uint32_t(DrawIntRange(m_period));
        }
    }
    // No petal was free: the next release is a whole period from now.
    if (CClock::Difference(m_nextRelease, now) > 0)
        m_nextRelease = now + uint32_t(DrawIntRange(m_period));
}

void CLayerPetals::Draw()
{
    for (CPetal& petal : m_petals)
        if (petal.IsActive())
            petal.Draw();
}
