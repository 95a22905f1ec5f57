#include "creatures/CEntice.h"

#include "Graphics/CGraphics.h"
#include "Graphics/CMaterialSet.h"
#include "Graphics/MatrixScope.h"
#include "core/CRule.h"
#include "core/ContentLimits.h"
#include "core/CScheduler.h"
#include "core/HashString.h"
#include "creatures/CEnticeServices.h"
#include "creatures/CFrogServices.h"
#include "creatures/EnticeGlowColour.h"
#include "platform/CGame.h"

#include <GLES/gl.h>

#include <algorithm>
#include <optional>

REGISTER_SINGLETON(CEntice, "maingame", 50);

namespace
{
CRule<float> s_fadeTime("entice/fadein", 0.0f, kMaxContentSeconds);             // seconds, in and out
CRule<float> s_radiusOut("entice/radiusout");         // board cells, as the fade in starts
CRule<float> s_radiusIn("entice/radiusin");           // board cells, fully shown
// Outer, inner particles per target: up to 16 each, so that a held limb's dozen targets stay
// a few hundred particles.
CRule<Vector2<int>> s_count("entice/count", Vector2<int>(0, 0), Vector2<int>(16, 16));
CRule<int> s_animationInterval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                               CScheduler::kMaxAnimationIntervalMs); // ms

constexpr const char* kScope = "maingame";
constexpr const char* kOuterPass = "knobs";
constexpr const char* kInnerPass = "ui";

// How far one update of dt seconds moves the fade; a fade time of 0 or less is instant.
float FadeStep(float dt)
{
    const float time = s_fadeTime;
    return time > 0.0f ? dt / time : 1.0f;
}
} // namespace

CEntice::CEntice() : m_glowMaterial(CMaterialSet::Instance()->Find(MakeString("blob")))
{
    Register(kScope, kOuterPass);
    Register(kScope, kInnerPass);
    ScheduleIn(kScope, s_animationInterval);
}

CEntice::~CEntice()
{
    Unregister(kScope, kOuterPass);
    Unregister(kScope, kInnerPass);
}

void CEntice::SetTargets(const std::vector<Vector2<float>>& targets)
{
    m_outer.clear();
    m_inner.clear();
    if (targets.empty())
        return; // the glows stay and fade out

    m_glows.clear();
    m_fade = 0.0f;
    const Vector2<int>& count = s_count.Get();
    const bool glow = GetEnticeGlowColour().w > 0.0f;
    CEnticeServices& services = CEnticeServices::Get();
    for (const Vector2<float>& p : targets)
    {
        for (int i = 0; i < count.x; ++i)
            if (CRef<CBase> particle = services.MakeParticle(p))
                m_outer.push_back(std::move(particle));
        for (int i = 0; i < count.y; ++i)
            if (CRef<CBase> particle = services.MakeParticle(p))
                m_inner.push_back(std::move(particle));
        if (glow)
            m_glows.emplace_back(Vector3<float>(p.x, p.y, 1.0f), Vector4<float>(-1.0f, -1.0f, 1.0f, 1.0f),
                                 m_glowMaterial, Vector4<float>(0.0f, 0.0f, 0.0f, 0.0f),
                                 Vector4<float>(0.0f, 0.0f, 1.0f, 1.0f), 0.0f);
    }
}

void CEntice::Update(float dt)
{
    if (m_glows.empty())
        return;
    const float f = m_fade;
    const float s = f * f * (3.0f - 2.0f * f);
    float size;
    // No outer particles stands for a released limb, also when "entice/count" asks for none.
    if (m_outer.empty())
    {
        m_fade -= FadeStep(dt);
        if (m_fade <= 0.0f)
        {
            m_fade = 0.0f;
            m_glows.clear();
            return;
        }
        size = s * s_radiusIn;
    }
    else
    {
        m_fade = std::min(1.0f, m_fade + FadeStep(dt));
        size = s_radiusOut + s * (s_radiusIn - s_radiusOut);
    }
    const Vector4<float> colour = GetEnticeGlowColour() * s;
    for (QuadBatch& glow : m_glows)
    {
        glow.scale = Vector2<float>(size, size);
        glow.SetColour(colour);
    }
}

void CEntice::Draw()
{
    Vector2<float> offset;
    if (!CFrogServices::Get().GetBoardOffset(offset))
        offset = Vector2<float>();
    std::optional<MatrixScope> matrix;
    const CGraphics* graphics = CGraphics::Peek();
    if (graphics && graphics->IsLive())
    {
        matrix.emplace();
        glTranslatef(offset.x, offset.y, 0.0f);
    }

    CGame* game = CGame::Peek();
    const int32_t now = game ? game->GetTime() : 0;
    const uint32_t pass = GetPassId();
    if (pass == HashString(kOuterPass))
        DrawParticles(m_outer, now);
    else if (pass == HashString(kInnerPass))
    {
        DrawParticles(m_inner, now);
        for (QuadBatch& glow : m_glows)
            glow.Draw();
    }
}

void CEntice::DrawParticles(const std::vector<CRef<CBase>>& particles, int32_t now) const
{
    CEnticeServices& services = CEnticeServices::Get();
    for (const CRef<CBase>& particle : particles)
        services.DrawParticle(*particle, now);
}
