#include "scene/CPond.h"

#include "Graphics/COpenGL.h"
#include "core/CClock.h"
#include "core/CFileSystem.h"
#include "core/CRule.h"
#include "core/CScheduler.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/ContentLimits.h"
#include "core/TextFields.h"
#include "platform/CDirectJ.h"
#include "platform/CDrawings.h"
#include "platform/CGame.h"
#include "scene/CLayer.h"
#include "scene/LayerKindMap.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace
{
constexpr const char* kPassName = "pond";

CRule<int> s_interval("interval/animation", CScheduler::kMinAnimationIntervalMs,
                      CScheduler::kMaxAnimationIntervalMs); // ms

bool DefaultCapsTest(const CString& list)
{
    if (const CDirectJ* platform = CDirectJ::Peek())
        return platform->CheckCaps(list);
    if (const COpenGL* openGl = COpenGL::Peek())
        return openGl->CheckCaps(list.c_str());
    // No graphics unit to ask: only the list that asks for nothing holds.
    return list.empty();
}

CPond::CapsTest s_capsTest = &DefaultCapsTest;
CPond::TargetsHook s_targetsHook = nullptr;
// Through the pond's CBase part: CDrawing keeps back-links of its own.
CLink<CBase> s_current;
Vector3<float> s_lightVector = CPond::kDefaultLightVector;
uint32_t s_layerClock = 0;
// A layer the pond cannot make because no kind has its "type": one line on standard error, once a
// run, though a pond is loaded for every puzzle.
void ReportUnknownKind(const CString& pond, const CString& kind)
{
    ReportContentOnce("pond/" + pond, "layer type \"" + kind + "\"",
                      "no layer kind of that type; the layer is left out");
}

// The current scope's game clock (ms); 0 when there is no scope.
uint32_t GameTime()
{
    const CScheduler* scheduler = CScheduler::Current();
    return scheduler ? uint32_t(scheduler->GetClock()) : 0u;
}
} // namespace

CPond::CapsTest CPond::SetCapsTest(CapsTest test)
{
    return std::exchange(s_capsTest, test ? test : &DefaultCapsTest);
}

bool CPond::NudgeOfCurrent(Vector2<float>& nudge)
{
    const CPond* pond = GetCurrent();
    if (!pond)
        return false;
    nudge = pond->GetNudge();
    return true;
}

CPond::TargetsHook CPond::SetTargetsHook(TargetsHook hook)
{
    return std::exchange(s_targetsHook, hook);
}

CRef<CPond> CPond::Create(const char* name)
{
    CRef<CPond> pond = MakeRef<CPond>();
    pond->Load(MakeString(name));
    SetCurrent(pond.Get());
    return pond;
}

CPond* CPond::GetCurrent()
{
    return static_cast<CPond*>(s_current.Get());
}

void CPond::SetCurrent(CPond* pond)
{
    if (GetCurrent() != pond)
        s_current.Set(pond);
}

const Vector3<float>& CPond::GetLightVector()
{
    return s_lightVector;
}

void CPond::SetLightVector(const Vector3<float>& light)
{
    s_lightVector = light;
}

uint32_t CPond::GetLayerClock()
{
    return s_layerClock;
}

Vector2<float> CPond::SwayAt(float seconds)
{
    const double radians = double(seconds) * M_PI / 180.0;
    return Vector2<float>(float(std::sin(55.0 * radians) * std::sin(43.0 * radians)),
                          float(std::sin(39.0 * radians) * std::sin(51.0 * radians)));
}

CPond::CPond()
{
    Scope& scope = CGame::Instance()->GetCurrentScope();
    m_scopeId = scope.GetId();
    scope.GetScheduler().Schedule(this, s_interval);
    scope.GetDrawings().Add(this, kPassName);
}

CPond::~CPond()
{
    m_layers.clear();
    if (CGame* game = CGame::Peek())
        if (CDrawings* drawings = game->GetScope(m_scopeId).PeekDrawings())
            drawings->Remove(this, kPassName);
}

void CPond::Load(const CString& name)
{
    m_name = name;
    m_music.clear();
    m_layers.clear();

    CXmlDocument document("pond/" + name, CFileSystem::kInDataFolder);
    if (!document.IsLoaded())
        return;
    CXmlNode* root = document.GetRoot();
    if (const CXmlNode* audio = root->FindChild("audio"))
        m_music = audio->GetAttribute("music");

    CXmlNode* treatment = nullptr;
    for (CXmlNode* child = root->FirstChild(); child && !treatment; child = child->NextSibling())
        if (child->GetName() == "treatment" && s_capsTest(child->GetAttribute("caps")))
            treatment = child;
    if (!treatment)
        return;

    Vector3<float> light = kDefaultLightVector;
    const CString& lightText = treatment->GetAttribute("lightvector");
    if (!lightText.empty())
    {
        float values[3] = {0.0f, 0.0f, 0.0f};
        ParseFloatFields(lightText.c_str(), values, 3);
        light = Vector3<float>(values[0], values[1], values[2]);
    }
    // A zero vector stays as it is rather than becoming NaN.
    const float squared = Dot(light, light);
    if (squared > 1e-8f)
        light *= 1.0f / std::sqrt(squared);
    s_lightVector = light;

    for (CXmlNode* child = treatment->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() != "layer")
            continue;
        if (CRef<CLayer> layer = CLayer::Create(this, *child))
            m_layers.push_back(std::move(layer));
        else if (!LayerKindMap::Find(child->GetAttribute("type")))
            ReportUnknownKind(m_name, child->GetAttribute("type"));
    }
}

CLayer* CPond::FindLayer(const char* name) const
{
    if (!name)
        return nullptr;
    for (const CRef<CLayer>& layer : m_layers)
        if (strcmp(layer->GetName().c_str(), name) == 0)
            return layer.Get();
    return nullptr;
}

void CPond::PlaceLayers()
{
    for (size_t i = 0; i < m_layers.size(); ++i)
        CRef<CLayer>(m_layers[i])->Place();
}

void CPond::SetNudge(const Vector2<float>& nudge)
{
    if (nudge == m_nudge)
        return;
    m_nudgeTime = CClock::Now();
    m_nudge = nudge;
    for (size_t i = 0; i < m_layers.size(); ++i)
    {
        const CRef<CLayer> layer = m_layers[i];
        layer->SetOffset(layer->GetHeight() * nudge);
    }
}

bool CPond::IsNudging() const
{
    return CClock::Since(m_nudgeTime) < kNudgeSettleMs;
}

void CPond::SetTargets(const std::vector<Vector2<float>>& cells)
{
    if (s_targetsHook)
        s_targetsHook(cells);
    for (size_t i = 0; i < m_layers.size(); ++i)
    {
        const CRef<CLayer> layer = m_layers[i];
        if (layer->GetClassName() == "CLayerBoard")
            layer->SetTargets(cells);
    }
}

void CPond::OnSchedule(float dt)
{
    m_time += dt;
    m_sway = SwayAt(m_time);
    // By index, holding each layer: a layer's update may reload or release the pond's layers.
    for (size_t i = 0; i < m_layers.size(); ++i)
        CRef<CLayer>(m_layers[i])->Update(dt);
}

void CPond::Draw()
{
    SetCurrent(this);
    const uint32_t now = GameTime();
    for (size_t i = 0; i < m_layers.size(); ++i)
    {
        s_layerClock = now;
        CRef<CLayer>(m_layers[i])->Animate();
    }
    // Layers with a pass of their own ("order") are drawn by that pass instead.
    for (size_t i = 0; i < m_layers.size(); ++i)
    {
        const CRef<CLayer> layer = m_layers[i];
        if (!layer->IsRegistered())
            layer->Draw();
    }
    for (size_t i = 0; i < m_layers.size(); ++i)
        CRef<CLayer>(m_layers[i])->AfterDraw();
}
