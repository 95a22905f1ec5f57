#include "scene/CLayerButtons.h"

#include "Graphics/MatrixScope.h"
#include "core/CXmlNode.h"
#include "platform/CView.h"
#include "platform/InputEvent.h"
#include "scene/CPond.h"
#include "scene/LayerKindMap.h"

#include <GLES/gl.h>

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("Buttons", &CLayerButtons::Create);
}

CLayerButtons::CLayerButtons() : CLayer("CLayerButtons")
{
    CControl::RegisterInCurrentScope("frontend");
}

CLayerButtons::~CLayerButtons()
{
    m_buttons.clear();
    CControl::Unregister();
}

CRef<CLayer> CLayerButtons::Create()
{
    return MakeRef<CLayerButtons>();
}

void CLayerButtons::Load(CXmlNode& element)
{
    CLayer::Load(element);
    m_buttons.clear();
    size_t children = 0;
    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
        ++children;
    m_buttons.reserve(children);
    for (CXmlNode* child = element.FirstChild(); child; child = child->NextSibling())
        if (child->GetName() == "button")
        {
            m_buttons.push_back(std::make_unique<CButton>());
            m_buttons.back()->Load(*child);
        }
}

bool CLayerButtons::IsPondNudging() const
{
    const CPond* pond = GetPond();
    return pond && pond->IsNudging();
}

Vector2<float> CLayerButtons::ToLayer(const InputEvent& event) const
{
    return CView::GetScreenView().ScreenToView(event.position) - GetNudgeOffset();
}

void CLayerButtons::Update(float)
{
    if (IsPondNudging())
        return;
    for (const std::unique_ptr<CButton>& button : m_buttons)
        button->Update();
}

void CLayerButtons::Draw()
{
    const MatrixScope matrix;
    const Vector2<float>& offset = GetNudgeOffset();
    glTranslatef(offset.x, offset.y, 0.0f);
    for (const std::unique_ptr<CButton>& button : m_buttons)
        button->Draw();
}

bool CLayerButtons::AcceptsPress(const InputEvent&)
{
    return true;
}

bool CLayerButtons::OnMove(const InputEvent& event)
{
    if (IsPondNudging())
        return false;
    const Vector2<float> point = ToLayer(event);
    const bool held = (event.held & InputEvent::kLeft) != 0;
    for (const std::unique_ptr<CButton>& button : m_buttons)
        button->OnMotion(point, held);
    return false;
}

bool CLayerButtons::OnPress(const InputEvent& event)
{
    if (IsPondNudging())
        return false;
    const Vector2<float> point = ToLayer(event);
    for (const std::unique_ptr<CButton>& button : m_buttons)
        if (button->OnPress(point))
            return true;
    return false;
}

bool CLayerButtons::OnRelease(const InputEvent& event)
{
    if (IsPondNudging())
        return false;
    const Vector2<float> point = ToLayer(event);
    for (const std::unique_ptr<CButton>& button : m_buttons)
        button->OnRelease(point);
    return false;
}
