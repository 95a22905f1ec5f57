#include "wiring/GameButtonServices.h"

#include "creatures/CFloater.h"
#include "platform/CCursor.h"
#include "platform/CView.h"

CBase* GameButtonServices::ShowTip(const CString& text, const Vector2<float>& position, float size)
{
    // The button gives its place in the view it is drawn in (a pane's pixels, for one in a pane);
    // floaters are placed on the whole-screen view.
    const Vector2<float> screen = CView::GetCurrent().ViewToScreen(position);
    const Vector2<float> at = CView::GetScreenView().ScreenToView(screen);
    // The floater holds itself until it has faded; the button keeps only a weak link. A tip
    // beside a button at the screen's edge is moved in, so that it can be read.
    CRef<CFloater> tip = CFloater::Create(text, at.x, at.y, size);
    tip->SetKeepOnScreen(true);
    return tip.Get();
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

bool GameButtonServices::IsMarkerShown()
{
    const CCursor* cursor = CCursor::Peek();
    return !cursor || !cursor->CDrawing::IsRegistered() || cursor->IsMarkerShown();
}
