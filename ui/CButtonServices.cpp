#include "ui/CButtonServices.h"

#include "platform/CAudio.h"
#include "platform/CDirectJ.h"
#include "platform/CGame.h"
#include "platform/CInput.h"

namespace
{
CButtonServices s_defaults;
CButtonServices* s_installed = nullptr;
} // namespace

CButtonServices& CButtonServices::Get()
{
    return s_installed ? *s_installed : s_defaults;
}

CButtonServices* CButtonServices::Install(CButtonServices* services)
{
    CButtonServices* previous = s_installed;
    s_installed = services;
    return previous;
}

void CButtonServices::PlaySound(const char* name)
{
    if (CAudio* audio = CAudio::Peek())
        audio->PlaySound(name);
}

void CButtonServices::PostMessage(const char* name, const char* argument)
{
    CGame::Instance()->PostMessage(name, argument);
}

void CButtonServices::LaunchBrowser(const char* url)
{
    if (CDirectJ* platform = CDirectJ::Peek())
        platform->LaunchBrowser(url);
}

int32_t CButtonServices::GetGameTime()
{
    return CGame::Instance()->GetTime();
}

Vector2<float> CButtonServices::GetPointerPosition()
{
    const CInput* input = CInput::Peek();
    return input ? input->GetPosition() : Vector2<float>();
}
