#include "platform/CModeMainGame.h"

#include "platform/PlatformHooks.h"

namespace
{
CRef<CMode> MakeMainGame(const char* name)
{
    const CString lower = CString::ToLower(name);
    return MakeRef<CModeMainGame>(lower.c_str());
}

const bool s_registered = (CMode::RegisterFactory("MainGame", &MakeMainGame), true);
} // namespace

void CModeMainGame::Activate()
{
    PlatformHooks::SetFrameMark();
}
