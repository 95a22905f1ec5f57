#include "ui/CDaisy.h"

#include "Graphics/CMaterialSet.h"
#include "Graphics/LodBiasScope.h"
#include "core/CFileSystem.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/Colour.h"
#include "core/ContentLimits.h"
#include "core/MathConstants.h"
#include "core/Matrix3.h"
#include "core/TextFields.h"
#include "platform/PlatformHooks.h"
#include "puzzle/CScore.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr Vector4<float> kWholeTexture(0.0f, 0.0f, 1.0f, 1.0f);
// The shadow copy is drawn this blurred (texture LOD bias) at this share of each quad's alpha.
constexpr float kShadowLodBias = 2.0f;
constexpr float kShadowAlpha = 0.5f;
// A daisy drawn this many frames ago or longer counts as not drawn, and stands still.
constexpr int32_t kUndrawnFrames = 2;
// The pop's spring: damping and angular frequency (half turns) over the pop time.
constexpr float kPopDamping = 6.0f;
constexpr float kPopFrequency = 5.5f;
// The drop: the petal tumbles about a point this far out along it, and falls this many flower
// diameters (times t squared).
constexpr float kDropPivot = 0.25f;
constexpr float kDropFall = 0.01f;

float Number(const CXmlNode& element, const char* name, float def)
{
    const CString& text = element.GetAttribute(name);
    return text.empty() ? def : float(ParseFloat(text.c_str()));
}

int32_t Integer(const CXmlNode& element, const char* name, int32_t def)
{
    const CString& text = element.GetAttribute(name);
    return text.empty() ? def : ParseInt(text.c_str());
}

// An image's uv rectangle moved so that its centre is the origin: petals radiate from there.
Vector4<float> CentredRect(const Vector4<float>& uvs, const Vector2<float>& centre)
{
    return Vector4<float>(uvs.x - centre.x, uvs.y - centre.y, uvs.z - centre.x, uvs.w - centre.y);
}

// The share of an animation of the given seconds that has run after elapsed ms: 1 (done) at once
// for a time of 0, so that no content time is ever divided by.
float Progress(int32_t elapsed, float seconds)
{
    return seconds > 0.0f ? float(elapsed) / 1000.0f / seconds : 1.0f;
}

struct PetalImage
{
    Vector4<float> rect;
    Vector4<float> uvs;
};
} // namespace

CDaisy::CDaisy()
{
    Load();
}

void CDaisy::SetSize(float size)
{
    if (size == m_size)
        return;
    m_size = size;
    m_flower.scale = m_shadow.scale = Vector2<float>(size, size);
    m_shadow.translation = Vector3<float>(m_position.x + size * m_shadowOffset.x,
                                          m_position.y + size * m_shadowOffset.y, m_shadow.translation.z);
}

void CDaisy::SetPosition(const Vector2<float>& position)
{
    if (position == m_position)
        return;
    m_position = position;
    m_flower.translation = Vector3<float>(position.x, position.y, m_flower.translation.z);
    m_shadow.translation = Vector3<float>(position.x + m_size * m_shadowOffset.x,
                                          position.y + m_size * m_shadowOffset.y, m_shadow.translation.z);
}

void CDaisy::SetShadowOffset(const Vector2<float>& offset)
{
    if (offset == m_shadowOffset)
        return;
    m_shadowOffset = offset;
    RebuildShadow();
}

void CDaisy::SetHold(bool hold)
{
    if (hold)
    {
        m_level = ReadLevel(m_level);
        for (DaisyPetal& petal : m_petals)
        {
            if (m_level > petal.threshold)
            {
                PlaceQuad(petal, petal.rest);
                m_flower.SetQuadColour(petal.quad, petal.colour);
                petal.state = DaisyPetal::kShown;
            }
            else
            {
                m_flower.SetQuadRect(petal.quad, Vector4<float>());
                m_flower.SetQuadColour(petal.quad, petal.colour);
                petal.state = DaisyPetal::kGone;
            }
        }
        RebuildShadow();
    }
    m_hold = hold;
}

void CDaisy::Rearm()
{
    m_hold = false;
    m_level = 1.0f;
}

void CDaisy::Update(float dt)
{
    if (PlatformHooks::GetFrameCount() - m_drawnStamp >= kUndrawnFrames)
        dt = 0.0f;
    if (!m_hold)
        m_level = ReadLevel(m_level);
    m_clock += SecondsToMs(dt);

    bool changed = false;
    bool popStarted = false;
    bool busySeen = false;
    for (size_t i = 0; i < m_petals.size(); ++i)
    {
        DaisyPetal& petal = m_petals[i];
        switch (petal.state)
        {
        case DaisyPetal::kShown:
        {
            const DaisyPetal* next = i + 1 < m_petals.size() ? &m_petals[i + 1] : nullptr;
            const bool nextFallen = !next || next->state == DaisyPetal::kGone ||
                                    (next->state == DaisyPetal::kDropping && m_clock - next->start > m_dropDelay);
            if (m_level <= petal.threshold && m_clock > m_nextEvent && nextFallen)
            {
                petal.state = DaisyPetal::kDropping;
                petal.start = m_clock;
                m_nextEvent = m_clock + m_dropDelay;
                changed = busySeen = true;
            }
            break;
        }
        case DaisyPetal::kGone:
            if (!popStarted && !busySeen && m_level > petal.threshold && m_clock > m_nextEvent)
            {
                petal.state = DaisyPetal::kPopping;
                petal.start = m_clock;
                m_nextEvent = m_clock + m_popDelay;
                changed = popStarted = busySeen = true;
            }
            break;
        case DaisyPetal::kPopping:
        {
            busySeen = changed = true;
            const float t = Progress(m_clock - petal.start, m_popTime);
            if (t >= 1.0f)
            {
                PlaceQuad(petal, petal.rest);
                petal.state = DaisyPetal::kShown;
            }
            else if (t >= 0.0f)
            {
                Vector4<float> rect = petal.rest;
                const float spring = 1.0f - std::exp(-kPopDamping * t) * std::cos(kPopFrequency * 0.5f * kTwoPi * t);
                rect.z = rect.x + (petal.rest.z - rect.x) * spring;
                PlaceQuad(petal, rect);
            }
            break;
        }
        case DaisyPetal::kDropping:
        {
            busySeen = changed = true;
            const float t = Progress(m_clock - petal.start, m_dropTime);
            if (t >= 1.0f)
            {
                m_flower.SetQuadRect(petal.quad, Vector4<float>());
                m_flower.SetQuadColour(petal.quad, petal.colour);
                petal.state = DaisyPetal::kGone;
                break;
            }
            const float u = std::clamp((t * t - 0.5f) / 0.5f, 0.0f, 1.0f);
            Vector4<float> colour = petal.colour;
            colour.w *= 1.0f - u * u * (3.0f - 2.0f * u);
            m_flower.SetQuadColour(petal.quad, colour);
            Matrix3 tumble;
            tumble.Translate(Vector2<float>(-kDropPivot, 0.0f));
            tumble.Rotate(kTwoPi * t * (0.5f - petal.threshold));
            tumble.Translate(Vector2<float>(kDropPivot, 0.0f));
            tumble.Rotate(petal.angle);
            tumble.Translate(Vector2<float>(0.0f, t * t * m_size * kDropFall));
            m_flower.SetQuadRect(petal.quad, petal.rest);
            m_flower.TransformQuad(petal.quad, tumble);
            break;
        }
        default:
            break;
        }
    }
    if ((changed || m_shadow.GetQuadCount() != m_flower.GetQuadCount()) && m_shadowOffset != kZeroVector2f)
        RebuildShadow();
}

void CDaisy::Draw()
{
    m_drawnStamp = PlatformHooks::GetFrameCount();
    if (m_shadowOffset != kZeroVector2f)
    {
        LodBiasScope bias(kShadowLodBias);
        m_shadow.Draw();
    }
    m_flower.Draw();
}

float CDaisy::ReadLevel(float current)
{
    const CScore* score = CScore::Peek();
    return score ? score->GetScore() : current;
}

void CDaisy::Load()
{
    CXmlDocument document(MakeString("daisy"), CFileSystem::kInDataFolder);
    CXmlNode* root = document.GetRoot();
    if (!root)
        return;
    m_flower.SetMaterial(CSingleton<CMaterialSet>::Instance()->Find(root->GetAttribute("material")));
    m_popTime = float(BoundSeconds(Number(*root, "poptime", 1.0f), "daisy.xml", "poptime"));
    m_dropTime = float(BoundSeconds(Number(*root, "droptime", 1.0f), "daisy.xml", "droptime"));
    m_popDelay = SecondsToMs(BoundSeconds(Number(*root, "popdelay", 0.1f), "daisy.xml", "popdelay"));
    m_dropDelay = SecondsToMs(BoundSeconds(Number(*root, "dropdelay", 0.1f), "daisy.xml", "dropdelay"));

    std::vector<PetalImage> images;
    int32_t perLayer = 12;
    int32_t layers = 3;
    float offset = 105.0f;
    Vector4<float> dimmest = kWhite;
    if (CXmlNode* petals = root->FindChild("petals"))
    {
        perLayer = Integer(*petals, "perlayer", 12);
        layers = Integer(*petals, "layers", 3);
        offset = Number(*petals, "offset", 105.0f);
        dimmest = ParseColourText(petals->GetAttribute("dimmest").c_str(), kWhite);
        for (CXmlNode* image = petals->FirstChild(); image; image = image->NextSibling())
        {
            if (image->GetName() == CXmlNode::kContentName)
                continue;
            const Vector4<float> uvs = ParseColourText(image->GetAttribute("uvs").c_str(), kWholeTexture);
            images.push_back({CentredRect(uvs, ParseFloatPair(image->GetAttribute("centre").c_str(), Vector2<float>(0.5f, 0.5f))), uvs});
        }
    }
    // Counts from a document are bounded, so that a typing slip cannot ask for millions of quads.
    perLayer = BoundCount(perLayer, 0, 256, "daisy.xml", "petals/perlayer");
    layers = BoundCount(layers, 0, 16, "daisy.xml", "petals/layers");

    m_flower.SetQuadCount(0);
    m_petals.clear();
    if (!images.empty() && perLayer > 0 && layers > 0)
    {
        const int32_t count = perLayer * layers;
        m_flower.Reserve(uint32_t(count + 1));
        const float step = kTwoPi / float(perLayer);
        for (int32_t k = 0; k < layers; ++k)
        {
            const float ramp = float(k) / float(std::max(layers - 1, 1));
            const Vector4<float> colour = dimmest + (kWhite - dimmest) * ramp;
            const float start = float(k) * offset * kTwoPi / kFullTurnDegrees;
            for (int32_t i = 0; i < perLayer; ++i)
            {
                const PetalImage& image = images[size_t(k * perLayer + i) % images.size()];
                DaisyPetal& petal = m_petals.emplace_back();
                petal.quad = m_flower.GetQuadCount();
                petal.angle = start + float(i) * step;
                petal.rest = image.rect;
                petal.colour = colour;
                const float wrapped = std::fmod(std::fmod(petal.angle + kTwoPi * 0.25f, kTwoPi) + kTwoPi, kTwoPi);
                petal.threshold = wrapped / (kTwoPi + kTwoPi / float(count));
                m_flower.AddQuad(image.rect, image.uvs, colour);
                PlaceQuad(petal, petal.rest);
            }
        }
        std::stable_sort(m_petals.begin(), m_petals.end(),
                         [](const DaisyPetal& a, const DaisyPetal& b) { return a.threshold < b.threshold; });
    }

    if (CXmlNode* pollen = root->FindChild("pollen"))
    {
        const Vector4<float> uvs = ParseColourText(pollen->GetAttribute("uvs").c_str(), kWholeTexture);
        const float scale = Number(*pollen, "scale", 1.0f);
        m_flower.AddQuad(CentredRect(uvs, ParseFloatPair(pollen->GetAttribute("centre").c_str(), Vector2<float>(0.5f, 0.5f))) * scale, uvs, kWhite);
        RebuildShadow();
    }
    m_clock = 0;
}

void CDaisy::RebuildShadow()
{
    if (m_shadowOffset == kZeroVector2f)
        return;
    m_shadow = m_flower;
    m_shadow.translation = Vector3<float>(m_position.x + m_size * m_shadowOffset.x,
                                          m_position.y + m_size * m_shadowOffset.y, m_flower.translation.z);
    m_shadow.scale = Vector2<float>(m_size, m_size);
    for (uint32_t i = 0; i < m_flower.GetQuadCount(); ++i)
        m_shadow.SetQuadColour(i, Vector4<float>(0.0f, 0.0f, 0.0f, kShadowAlpha * m_flower.GetQuadColour(i).w));
}

void CDaisy::PlaceQuad(const DaisyPetal& petal, const Vector4<float>& rect)
{
    m_flower.SetQuadRect(petal.quad, rect);
    m_flower.TransformQuad(petal.quad, Matrix3::Rotation(petal.angle));
}
