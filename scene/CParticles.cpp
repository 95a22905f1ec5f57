#include "scene/CParticles.h"

#include "Graphics/CMaterialSet.h"
#include "core/CFileSystem.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/HashString.h"
#include "core/Random.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "platform/CDrawings.h"
#include "platform/CGame.h"
#include "platform/CView.h"
#include "scene/RandomRange.h"

#include <algorithm>
#include <cmath>

namespace
{
// Milliseconds between updates of everything animated.
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs);

Vector2<float> s_gravity(0.0f, 1.0f);

const Vector4<float> kNothing(0.0f, 0.0f, 0.0f, 0.0f);

// 1000 / frequency truncated; 0 for a frequency of 0 or less (and for one beyond 1000 per second).
int32_t IntervalOf(float frequency)
{
    if (!(frequency > 0.0f))
        return 0;
    const double interval = 1000.0 / double(frequency);
    return interval < 2147483647.0 ? int32_t(interval) : 2147483647;
}

float Lerp(float a, float b, float t)
{
    return a + t * (b - a);
}
} // namespace

CRef<CParticles> CParticles::Create(const CString& name)
{
    return CreateIn(name, nullptr);
}

CRef<CParticles> CParticles::CreateIn(const CString& name, const char* scopeName)
{
    CRef<CParticles> system = CRef<CParticles>::Adopt(new CParticles(scopeName));
    system->Load(name);
    return system;
}

CParticles::CParticles(const char* scopeName) : m_scopeName(scopeName ? scopeName : "") {}

CParticles::~CParticles()
{
    if (!IsRegistered())
        return;
    if (CGame* game = CGame::Peek())
        if (CDrawings* drawings = game->GetScope(m_drawScopeId).PeekDrawings())
            drawings->Remove(this, m_drawPass.c_str());
}

void CParticles::Load(const CString& name)
{
    m_name = name;
    m_frames.clear();
    m_keys.clear();

    CXmlDocument document;
    document.Load("particles", CFileSystem::kInDataFolder);
    CXmlNode* element = document.IsLoaded() ? document.FindNode(name) : nullptr;
    if (!element)
        return;

    m_drawPass = element->HasAttribute("draw") ? element->GetAttribute("draw") : CString("ui");
    m_screenSpace = element->GetAttribute("space") == "screen";
    m_poolSize = element->HasAttribute("poolsize")
                     ? BoundCount(ParseInt(element->GetAttribute("poolsize").c_str()), 0, kMaxPoolSize,
                                  "particles.xml", name + "/poolsize")
                     : kDefaultPoolSize;
    // A pool made under an earlier, larger size keeps no slot beyond the new one.
    if (int32_t(m_pool.size()) > std::max(m_poolSize, 0))
    {
        m_pool.resize(size_t(std::max(m_poolSize, 0)));
        m_batch.SetQuadCount(uint32_t(m_pool.size()));
        m_firstFree = -1;
    }

    if (CXmlNode* spawn = element->FindChild("spawn"))
    {
        m_spawnRadiusRange = ReadFloatRange(*spawn, "radius", Vector2<float>(0.0f, 1.0f));
        const Vector2<float> frequency = ReadFloatRange(*spawn, "frequency", Vector2<float>(1.0f, 1.0f));
        // The first frequency gives the shortest wait: authors write the higher frequency first.
        m_spawnInterval = Vector2<int32_t>(IntervalOf(frequency.x), IntervalOf(frequency.y));
        m_speedRange = ReadFloatRange(*spawn, "velocity", Vector2<float>());
        m_angularSpeedRange = ReadFloatRange(*spawn, "rotvel", Vector2<float>());
    }
    if (CXmlNode* behaviour = element->FindChild("behaviour"))
        m_dragRange = ReadFloatRange(*behaviour, "drag", Vector2<float>());

    CXmlNode* appearance = element->FindChild("appearance");
    m_batch.SetMaterial(
        CMaterialSet::Instance()->Find(appearance ? appearance->GetAttribute("material") : CString()));
    if (appearance)
        for (CXmlNode* frame = appearance->FindChild("frame"); frame;
             frame = frame->NextSiblingNamed("frame"))
            m_frames.push_back(ReadColourAttribute(frame, "uvs", Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f)));

    if (CXmlNode* animation = element->FindChild("animation"))
        for (CXmlNode* node = animation->FindChild("key"); node; node = node->NextSiblingNamed("key"))
        {
            ParticleKey key;
            key.tick = ReadIntRange(*node, "tick", key.tick);
            // A key lasts at most a minute, so a life of them still fits the millisecond clock;
            // -1 (no tick: the values at once) is the shortest.
            for (int32_t* tick : {&key.tick.x, &key.tick.y})
                *tick = BoundCount(*tick, -1, kMaxKeyMs, "particles.xml", name + "/animation/key/tick");
            key.r = ReadFloatRange(*node, "r", key.r);
            key.g = ReadFloatRange(*node, "g", key.g);
            key.b = ReadFloatRange(*node, "b", key.b);
            key.a = ReadFloatRange(*node, "a", key.a);
            key.radius = ReadFloatRange(*node, "radius", key.radius);
            key.frame = ReadIntRange(*node, "frame", key.frame);
            m_keys.push_back(key);
        }

    if (!IsRegistered())
    {
        if (m_scopeName.empty())
        {
            CGame* game = CGame::Instance();
            m_drawScopeId = game->GetCurrentScopeId();
            RegisterInCurrentScope(m_drawPass.c_str());
        }
        else
        {
            m_drawScopeId = HashString(m_scopeName.c_str());
            Register(m_scopeName.c_str(), m_drawPass.c_str());
        }
    }
}

void CParticles::SetEmitting(bool on)
{
    if (on == m_emitting)
        return;
    m_emitting = on;
    if (on)
    {
        StartUpdate();
        if (m_spawnInterval.y < 1)
        {
            for (ParticleSlot& slot : m_pool)
                slot.alive = false;
            m_firstFree = -1;
            // One pool's worth at most: a particle without keys dies as it is born and frees its
            // slot at once, which would otherwise burst for ever.
            for (int32_t n = 0; n < m_poolSize && Spawn(0); ++n)
            {
            }
            m_emitting = false;
        }
    }
    m_nextSpawnTime = Now();
}

bool CParticles::EmitAt(const Vector2<float>& point, float delaySeconds)
{
    StartUpdate();
    m_emitter = point;
    return Spawn(SignedSecondsToMs(delaySeconds));
}

void CParticles::SetTranslation(const Vector2<float>& translation)
{
    m_batch.translation.x = translation.x;
    m_batch.translation.y = translation.y;
}

void CParticles::Draw()
{
    if (m_screenSpace)
    {
        CView pixels(CView::kPixels);
        m_batch.Draw();
    }
    else
        m_batch.Draw();
}

void CParticles::Update(float dt)
{
    const int32_t now = Now();
    m_dt = dt;
    m_acceleration = s_gravity;
    m_lastLive = -1;
    for (ParticleSlot& slot : m_pool)
    {
        UpdateSlot(slot, now);
        if (!slot.alive)
        {
            if (m_firstFree == -1 || m_firstFree > slot.index)
                m_firstFree = slot.index;
        }
        else
            m_lastLive = slot.index;
    }

    while (m_emitting && now >= m_nextSpawnTime)
    {
        if (!Spawn(0))
        {
            // Full: the next spawn waits for a free slot rather than catching up in a burst.
            m_nextSpawnTime = std::max(m_nextSpawnTime, now);
            break;
        }
        m_nextSpawnTime += DrawIntRange(m_spawnInterval);
    }

    if (!m_emitting && m_lastLive == -1)
        Unschedule();
}

int32_t CParticles::CountAlive() const
{
    return int32_t(
        std::count_if(m_pool.begin(), m_pool.end(), [](const ParticleSlot& slot) { return slot.alive; }));
}

int32_t CParticles::Now() const
{
    CScheduler* scheduler = m_scheduler.Get();
    if (!scheduler)
        scheduler = m_scopeName.empty() ? CScheduler::Current() : CScheduler::ForScope(m_scopeName.c_str());
    return scheduler ? scheduler->GetClock() : 0;
}

const Vector2<float>& CParticles::GetGravity()
{
    return s_gravity;
}

void CParticles::SetGravity(const Vector2<float>& gravity)
{
    s_gravity = gravity;
}

void CParticles::StartUpdate()
{
    if (IsActive() && m_scheduler)
        return;
    CScheduler* scheduler = m_scopeName.empty() ? Schedule(s_animationInterval.Get())
                                                : ScheduleIn(m_scopeName.c_str(), s_animationInterval.Get());
    m_scheduler.Set(scheduler);
}

int32_t CParticles::FindFreeSlot()
{
    if (m_firstFree >= 0)
        return m_firstFree;
    for (const ParticleSlot& slot : m_pool)
        if (!slot.alive)
            return m_firstFree = slot.index;
    if (int32_t(m_pool.size()) >= m_poolSize)
        return -1;
    ParticleSlot slot;
    slot.index = int32_t(m_pool.size());
    m_pool.push_back(slot);
    HideQuad(slot.index);
    return m_firstFree = slot.index;
}

bool CParticles::Spawn(int32_t delayMs)
{
    const int32_t index = FindFreeSlot();
    if (index < 0)
        return false;
    ParticleSlot& slot = m_pool[size_t(index)];
    slot = ParticleSlot();
    slot.alive = true;
    slot.index = index;
    slot.drag = DrawFloatRange(m_dragRange);
    slot.segmentEnd = Now() + delayMs;

    const double angle = GlobalRandom().NextFraction() * 2.0 * M_PI;
    const float distance = DrawFloatRange(m_spawnRadiusRange);
    const float speed = DrawFloatRange(m_speedRange);
    const Vector2<float> direction(float(std::cos(angle)), float(std::sin(angle)));
    slot.position = m_emitter + direction * distance;
    slot.velocity = direction * speed;
    // A reused slot's quad shows nothing until the particle is born and first updated.
    HideQuad(index);

    EnterNextKey(slot);
    m_firstFree = -1;
    return true;
}

void CParticles::EnterNextKey(ParticleSlot& slot)
{
    if (slot.nextKey >= m_keys.size())
    {
        slot.alive = false;
        HideQuad(slot.index);
        return;
    }
    const ParticleKey& key = m_keys[slot.nextKey];
    slot.startColour = slot.targetColour;
    slot.startRadius = slot.targetRadius;
    slot.startFrame = slot.targetFrame;
    slot.segmentStart = slot.segmentEnd;
    slot.segmentEnd = slot.segmentStart + DrawIntRange(key.tick);

    if (key.r.x >= 0.0f)
        slot.targetColour.x = DrawFloatRange(key.r);
    if (key.g.x >= 0.0f)
        slot.targetColour.y = DrawFloatRange(key.g);
    if (key.b.x >= 0.0f)
        slot.targetColour.z = DrawFloatRange(key.b);
    if (key.a.x >= 0.0f)
        slot.targetColour.w = DrawFloatRange(key.a);
    if (key.radius.x >= 0.0f)
        slot.targetRadius = DrawFloatRange(key.radius);
    if (key.frame.x >= 0)
        slot.targetFrame = DrawIntRange(key.frame);
    ++slot.nextKey;
}

void CParticles::UpdateSlot(ParticleSlot& slot, int32_t now)
{
    if (!slot.alive || slot.segmentStart > now)
        return;
    while (now >= slot.segmentEnd)
    {
        EnterNextKey(slot);
        if (!slot.alive)
            return;
    }

    const float f = std::max(0.0f, 1.0f - slot.drag * m_dt);
    slot.velocity = slot.velocity * f + m_acceleration * m_dt;
    slot.position += slot.velocity * m_dt;

    // segmentStart <= now < segmentEnd here, so the span is positive.
    const float t = float(now - slot.segmentStart) / float(slot.segmentEnd - slot.segmentStart);
    const Vector4<float> colour(
        Lerp(slot.startColour.x, slot.targetColour.x, t), Lerp(slot.startColour.y, slot.targetColour.y, t),
        Lerp(slot.startColour.z, slot.targetColour.z, t), Lerp(slot.startColour.w, slot.targetColour.w, t));
    const float radius = Lerp(slot.startRadius, slot.targetRadius, t);
    const int32_t frame = slot.startFrame + int32_t(t * float(slot.targetFrame - slot.startFrame));

    const uint32_t quad = uint32_t(slot.index);
    m_batch.SetQuadColour(quad, colour);
    m_batch.SetQuadRect(quad, Vector4<float>(slot.position.x - radius, slot.position.y - radius,
                                             slot.position.x + radius, slot.position.y + radius));
    if (frame >= 0 && frame < int32_t(m_frames.size()))
        m_batch.SetQuadUv(quad, 0, m_frames[size_t(frame)]);
}

void CParticles::HideQuad(int32_t index)
{
    m_batch.SetQuadColour(uint32_t(index), kNothing);
    m_batch.SetQuadRect(uint32_t(index), kNothing);
}
