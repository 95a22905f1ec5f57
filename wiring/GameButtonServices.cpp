#include "wiring/GameButtonServices.h"

#include "creatures/CFloater.h"
#include "platform/CCursor.h"

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

void GameButtonServices::SetCursor(const char* name, int32_t ms)
{
    if (CCursor* cursor = CCursor::Peek())
        cursor->SetCursor(name, ms);
}

void GameButtonServices::SetMarkerPosition(const Vector2<float>& point)
{
    if (CCursor* cursor = CCursor::Peek())
        cursor->SetMarkerPosition(point);
}
