#include "ui/CDivTransform.h"

#include "core/CXmlNode.h"
#include "core/TextFields.h"
#include "platform/InputEvent.h"
#include "ui/CDivPane.h"

namespace
{
const bool s_registered = (CDiv::RegisterTag("Transform", &CDivTransform::Create), true);
} // namespace

CDivTransform::CDivTransform() : CDiv("transform")
{
    m_box = false;
}

CRef<CDiv> CDivTransform::Create()
{
    return MakeRef<CDivTransform>();
}

void CDivTransform::Load(CXmlNode* element)
{
    m_keyframes.clear();
    // Loaded again, it would otherwise be offered every command twice.
    Unregister();
    if (!element)
        return;
    for (CXmlNode* child = element->FirstChild(); child; child = child->NextSibling())
    {
        if (child->GetName() == CXmlNode::kContentName)
            continue;
        Keyframe& keyframe = m_keyframes[std::string(child->GetName().c_str())];
        keyframe.pan = ParseFloatPair(child->GetAttribute("pan").c_str(), kZeroVector2f);
        const CString& zoom = child->GetAttribute("zoom");
        keyframe.zoom = zoom.empty() ? 1.0f : float(ParseFloat(zoom.c_str()));
        keyframe.time = float(ParseFloat(child->GetAttribute("time").c_str()));
    }
    if (m_keyframes.empty())
        return;
    RegisterInCurrentScope("ui");
    // Also through the pane's own commands: a pane opened before its mode is entered (the start
    // pane) would otherwise never see the commands of that mode.
    AddHandlerBits(kHandlesEvent);
}

bool CDivTransform::OnEvent(const InputEvent& event)
{
    const auto found = m_keyframes.find(event.name);
    if (found == m_keyframes.end())
        return false;
    CDiv* root = GetRoot().Get();
    if (root && root->GetClassName() == "pane")
    {
        const Keyframe& keyframe = found->second;
        static_cast<CDivPane*>(root)->AnimateTo(keyframe.pan, keyframe.zoom, keyframe.time);
    }
    return false;
}

bool CDivTransform::OnMessage(const InputEvent& event)
{
    return OnEvent(event);
}
