#include "wiring/GameButtonServices.h"

#include "creatures/CFloater.h"

CBase* GameButtonServices::ShowTip(const CString& text, const Vector2<float>& position, float size)
{
    // The floater holds itself until it has faded; the button keeps only a weak link.
    return CFloater::Create(text, position.x, position.y, size).Get();
}

void GameButtonServices::RefreshTip(CBase* floater)
{
    if (CFloater* tip = dynamic_cast<CFloater*>(floater))
        tip->Refresh();
}

void GameButtonServices::FinishTip(CBase* floater)
{
    if (CFloater* tip = dynamic_cast<CFloater*>(floater))
        tip->Finish();
}
