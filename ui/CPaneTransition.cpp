#include "ui/CPaneTransition.h"

#include "core/CString.h"
#include "core/CaseInsensitiveLess.h"

#include <map>

namespace
{
using CreatorMap = std::map<CString, CPaneTransition::Creator, CaseInsensitiveLess>;

// Constant-initialised, so that registrations from any unit's static initialisers find it; made
// by the first registration and kept for the whole run.
CreatorMap* s_creators = nullptr;

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
    if (!s_creators)
        s_creators = new CreatorMap;
    (*s_creators)[MakeString(name)] = creator;
}

CPaneTransition::Creator CPaneTransition::FindCreator(const char* name)
{
    if (!s_creators || !name)
        return nullptr;
    const auto found = s_creators->find(std::string_view(name));
    return found != s_creators->end() ? found->second : nullptr;
}
