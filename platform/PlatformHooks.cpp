#include "platform/PlatformHooks.h"

#include <utility>

namespace
{
PlatformHooks s_hooks;
}

PlatformHooks PlatformHooks::Install(const PlatformHooks& hooks)
{
    return std::exchange(s_hooks, hooks);
}

const PlatformHooks& PlatformHooks::Installed()
{
    return s_hooks;
}

bool PlatformHooks::BeginFrame()
{
    return s_hooks.beginFrame && s_hooks.beginFrame();
}

void PlatformHooks::SwapBuffers()
{
    if (s_hooks.swapBuffers)
        s_hooks.swapBuffers();
}

void PlatformHooks::SetFrameMark()
{
    if (s_hooks.setFrameMark)
        s_hooks.setFrameMark();
}

int32_t PlatformHooks::GetFrameCount()
{
    return s_hooks.frameCount ? s_hooks.frameCount() : 0;
}
