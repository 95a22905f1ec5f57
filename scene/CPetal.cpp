#include "scene/CPetal.h"

#include "Graphics/CMaterialSet.h"
#include "core/CXmlNode.h"
#include "core/MathConstants.h"
#include "core/ParseBool.h"
#include "core/Random.h"
#include "core/ReadColourAttribute.h"
#include "core/TextFields.h"
#include "scene/RandomRange.h"

#include <cmath>

namespace
{
CPetal::Physics s_physics;

const Vector4<float> kWholeTexture(0.0f, 0.0f, 1.0f, 1.0f);
// How far beyond the view a petal may stray before it counts as gone (view units).
constexpr float kMargin = 0.5f;
// Width of the strip along an edge that petals are launched from (view units).
constexpr float kStrip = 0.5f;

float Unit()
{
    return float(GlobalRandom().NextFraction());
}

float Uniform(float low, float high)
{
    return low + Unit() * (high - low);
}

// The view grown by the margin: (left, top, width, height).
Vector4<float> Arena(const PetalWorld& world)
{
    return Vector4<float>(world.view.x - kMargin, world.view.y - kMargin, world.view.z + 2.0f * kMargin,
                          world.view.w + 2.0f * kMargin);
}

// Entry strips along the arena's edges: a point within one and a velocity range.
struct Entry
{
    Vector2<float> low, high;   // the strip's corners
    Vector2<float> vLow, vHigh; // velocity ranges, units per second
};

Entry Bottom(const Vector4<float>& a, Vector2<float> vLow, Vector2<float> vHigh)
{
    return {{a.x, a.y + a.w - kStrip}, {a.x + a.z, a.y + a.w}, vLow, vHigh};
}
Entry Top(const Vector4<float>& a, Vector2<float> vLow, Vector2<float> vHigh)
{
    return {{a.x, a.y}, {a.x + a.z, a.y + kStrip}, vLow, vHigh};
}
Entry Left(const Vector4<float>& a, Vector2<float> vLow, Vector2<float> vHigh)
{
    return {{a.x, a.y}, {a.x + kStrip, a.y + a.w}, vLow, vHigh};
}
Entry Right(const Vector4<float>& a, Vector2<float> vLow, Vector2<float> vHigh)
{
    return {{a.x + a.z - kStrip, a.y}, {a.x + a.z, a.y + a.w}, vLow, vHigh};
}

Entry ChooseBurst(const Vector4<float>& a)
{
    switch (GlobalRandom().Next() & 3u)
    {
    case 0:
        return Bottom(a, {-4.0f, -20.0f}, {4.0f, -10.0f});
    case 1:
        return Left(a, {5.0f, -15.0f}, {15.0f, 0.0f});
    case 2:
        return Right(a, {-15.0f, -15.0f}, {-5.0f, 0.0f});
    default:
        return Top(a, {-4.0f, 2.0f}, {4.0f, 7.0f});
    }
}

// Drifting petals enter on the side gravity pulls away from, sideways in proportion to its x part.
Entry ChooseDrift(const Vector4<float>& a, const Vector2<float>& g)
{
    const float sum = std::fabs(g.x) + std::fabs(g.y);
    if (sum > 0.0f && std::fabs(g.x) > sum * Unit())
        return g.x <= 0.0f ? Right(a, {-2.0f, -1.0f}, {0.0f, 1.0f}) : Left(a, {0.0f, -1.0f}, {2.0f, 1.0f});
    return g.y < 0.0f ? Bottom(a, {-1.0f, -2.0f}, {1.0f, 0.0f}) : Top(a, {-1.0f, 0.0f}, {1.0f, 2.0f});
}
} // namespace

const CPetal::Physics& CPetal::GetPhysics()
{
    return s_physics;
}

void CPetal::SetPhysics(const Physics& physics)
{
    s_physics = physics;
}

void CPetal::Load(CXmlNode& element)
{
    const Vector4<float> rect(-1.0f, -1.0f, 1.0f, 1.0f);
    const Vector4<float> white(1.0f, 1.0f, 1.0f, 1.0f);
    CMaterialSet* materials = CMaterialSet::Instance();
    m_petal = QuadBatch(Vector3<float>(), rect, materials->Find(element.GetAttribute("material")), white,
                        ReadColourAttribute(&element, "uvs", kWholeTexture), 0.0f);
    m_glow = QuadBatch();
    const CString& glow = element.GetAttribute("glow");
    if (!glow.empty())
    {
        m_glow = QuadBatch(Vector3<float>(), rect, materials->Find(glow), white,
                           ReadColourAttribute(&element, "glowuvs", kWholeTexture), 0.0f);
        m_glowScale = element.HasAttribute("glowscale") ? float(ParseFloat(element.GetAttribute("glowscale").c_str()))
                                                        : 2.0f;
    }
    m_sizeRange = ReadFloatRange(element, "radius", Vector2<float>());

    const CXmlNode* interaction = element.GetRoot()->FindChild("interaction");
    const CString* mouse = interaction ? interaction->FindOwnAttribute("mouse") : nullptr;
    m_interactive = interaction && (!mouse || mouse->empty() || ParseBool(mouse->c_str()));
}

void CPetal::Launch(float depth, int mode, const PetalWorld& world)
{
    m_active = true;
    m_touched = false;
    const int32_t spread = int32_t(depth * 10000.0f);
    m_relaunch = spread > 0 ? int32_t(GlobalRandom().Next() % uint32_t(spread + 1)) : 0;

    m_colour.x = 0.75f + 0.25f * Unit();
    m_colour.y = 0.8f + 0.2f * Unit();
    m_colour.z = 0.75f + 0.25f * Unit();
    m_colour.w = 1.0f;
    m_size = DrawFloatRange(m_sizeRange);
    m_previousStep = world.frameDelta > 0.0f ? world.frameDelta : 0.001f;

    const Vector4<float> arena = Arena(world);
    const Entry entry = mode == kBurst ? ChooseBurst(arena) : ChooseDrift(arena, world.gravity);
    m_position.x = Uniform(entry.low.x, entry.high.x);
    m_position.y = Uniform(entry.low.y, entry.high.y);
    m_position.z = 1.15f * depth - 0.35f;
    Vector3<float> velocity;
    velocity.x = Uniform(entry.vLow.x, entry.vHigh.x);
    velocity.y = Uniform(entry.vLow.y, entry.vHigh.y);
    m_previousPosition = m_position - m_previousStep * velocity;

    m_angle = Uniform(0.0f, 360.0f);
    m_previousAngle = m_angle + m_previousStep * (200.0f * Unit() - 100.0f);
    m_phase = Uniform(0.0f, 360.0f);
    m_previousPhase = m_phase + m_previousStep * (600.0f * Unit() - 300.0f);
}

bool CPetal::Update(float dt, const PetalWorld& world)
{
    // A step of no time carries no velocity forward (it would divide by zero next time).
    if (!m_active || !(dt > 0.0f) || !(m_previousStep > 0.0f))
        return false;
    const Vector3<float> velocity = GetVelocity();
    m_previousPosition = m_position;

    const float spin = (m_angle - m_previousAngle) / m_previousStep;
    m_previousAngle = m_angle;
    m_angle += dt * spin;
    const float flutter = (m_phase - m_previousPhase) / m_previousStep;
    m_previousPhase = m_phase;
    m_phase += dt * flutter;
    m_previousStep = dt;

    // Nearer petals (larger z) fall faster: a crude parallax.
    const float nearness = m_position.z + 1.0f;
    const Vector3<float> gravity(s_physics.gravity * world.gravity.x, s_physics.gravity * world.gravity.y, 0.0f);
    m_position += dt * velocity + dt * dt * (nearness * gravity - s_physics.friction * velocity);

    bool wafted = false;
    const float reach = m_size * nearness;
    if (m_interactive && world.pointerMoved && reach > 0.0f)
    {
        const Vector2<float> away(m_position.x - world.pointer.x, m_position.y - world.pointer.y);
        const float distance = away.Length();
        if (distance < reach)
        {
            // A finger right on the centre pushes the petal down the screen.
            const Vector2<float> direction = distance > 0.0f ? away / distance : Vector2<float>(0.0f, 1.0f);
            m_position.x = world.pointer.x + direction.x * reach;
            m_position.y = world.pointer.y + direction.y * reach;
            m_touched = true;
            const Vector2<float> step(m_position.x - m_previousPosition.x, m_position.y - m_previousPosition.y);
            const float length = step.Length();
            const float cap = s_physics.maxNudge * dt;
            if (length > cap)
            {
                const float keep = cap / length;
                m_previousPosition.x = m_position.x - step.x * keep;
                m_previousPosition.y = m_position.y - step.y * keep;
                wafted = true;
            }
        }
    }

    const Vector4<float> arena = Arena(world);
    const bool inside = m_position.z > -1.0f && m_position.x >= arena.x && m_position.x < arena.x + arena.z &&
                        m_position.y >= arena.y && m_position.y < arena.y + arena.w;
    if (!inside)
    {
        m_active = false;
        m_relaunch = world.now + m_relaunch;
    }
    return wafted;
}

Vector4<float> CPetal::GetRect() const
{
    const float s = std::sin(m_phase * (kTwoPi / kFullTurnDegrees));
    const float half = (1.0f + m_position.z) * m_size;
    const float width = half * (0.75f + 0.125f * s);
    return Vector4<float>(-width, -half, width, half);
}

float CPetal::GetBrightness() const
{
    return 0.925f + 0.15f * std::fabs(std::sin(m_phase * (kTwoPi / kFullTurnDegrees)));
}

void CPetal::Draw()
{
    const Vector4<float> rect = GetRect();
    const float b = GetBrightness();
    const Vector4<float> lit(b * m_colour.x, b * m_colour.y, b * m_colour.z, m_colour.w);
    if (m_glow.material)
    {
        const float scale = m_glowScale;
        m_glow.translation = m_position;
        m_glow.rotation = m_angle;
        m_glow.SetQuadRect(0, Vector4<float>(rect.x * scale, rect.y * scale, rect.z * scale, rect.w * scale));
        m_glow.SetColour(Vector4<float>(lit.x * lit.x, lit.y * lit.y, lit.z * lit.z, 0.5f / b));
        m_glow.Draw();
    }
    m_petal.translation = m_position;
    m_petal.rotation = m_angle;
    m_petal.SetQuadRect(0, rect);
    m_petal.SetColour(lit);
    m_petal.Draw();
}

Vector3<float> CPetal::GetVelocity() const
{
    return (m_position - m_previousPosition) / m_previousStep;
}

void CPetal::Place(const Vector3<float>& position, const Vector3<float>& velocity, float step)
{
    m_active = true;
    m_previousStep = step > 0.0f ? step : 0.001f;
    m_position = position;
    m_previousPosition = position - m_previousStep * velocity;
    m_previousAngle = m_angle;
    m_previousPhase = m_phase;
}
