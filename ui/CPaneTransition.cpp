#include "ui/CPaneTransition.h"

#include "core/CString.h"
#include "core/KindRegistry.h"

namespace
{
// Pane transitions by name, any case.
using Creators = KindRegistry<CPaneTransition::Creator>;

const bool s_registered = (CPaneTransition::Register("default", &CPaneTransition::Create), true);
} // namespace

void CPaneTransition::Apply(Vector4<float>& rect, float progress)
{
    const float s = 1.0f - progress;
    rect.y -= (rect.y + rect.w) * s * s * (3.0f - 2.0f * s);
}

CRef<CPaneTransition> CPaneTransition::Create()
{
    return MakeRef<CPaneTransition>();
}

void CPaneTransition::Register(const char* name, Creator creator)
{
    Creators::Register(MakeString(name), creator);
}

CPaneTransition::Creator CPaneTransition::FindCreator(const char* name)
{
    return name ? Creators::Find(name) : nullptr;
}
