#include "scene/CLayerText.h"

#include "core/CXmlNode.h"
#include "scene/LayerKindMap.h"

namespace
{
[[maybe_unused]] const bool s_registered = LayerKindMap::Register("Text", &CLayerText::Create);
}

CLayerText::CLayerText() : CLayer("CLayerText") {}

CRef<CLayer> CLayerText::Create()
{
    return MakeRef<CLayerText>();
}

void CLayerText::Load(CXmlNode& element)
{
    CLayer::Load(element);
    const CString& source = element.GetAttribute("source");
    m_pane = source.empty() ? CDivPane::CreateFromXml(&element) : CDivPane::CreateByName(source.c_str());
    if (m_pane)
        m_pane->RegisterInCurrentScope("frontend");
}

void CLayerText::Draw()
{
    if (IsShown() && m_pane)
        m_pane->Render();
}
