#include "creatures/CSkeletonServices.h"

#include "platform/CAudio.h"
#include "platform/CGesture.h"
#include "platform/CInput.h"
#include "platform/CView.h"

namespace
{
CSkeletonServices s_defaults;
CSkeletonServices* s_installed = nullptr;
} // namespace

CSkeletonServices& CSkeletonServices::Get()
{
    return s_installed ? *s_installed : s_defaults;
}

CSkeletonServices* CSkeletonServices::Install(CSkeletonServices* services)
{
    CSkeletonServices* previous = s_installed;
    s_installed = services;
    return previous;
}

void CSkeletonServices::PlaySound(const char* name)
{
    if (CAudio* audio = CAudio::Peek())
        audio->PlaySound(name);
}

bool CSkeletonServices::IsButtonDown(uint8_t mask)
{
    const CInput* input = CInput::Peek();
    return input && input->IsButtonDown(mask);
}

Vector2<float> CSkeletonServices::GetPointerViewPosition()
{
    const CInput* input = CInput::Peek();
    return input ? input->GetViewPosition() : Vector2<float>();
}

Vector2<float> CSkeletonServices::GetPointerScreenViewPosition()
{
    const CInput* input = CInput::Peek();
    return input ? CView::GetScreenView().ScreenToView(input->GetPosition()) : Vector2<float>();
}

void CSkeletonServices::GetScreenViewRect(float& x, float& y, float& width, float& height)
{
    const Vector4<float>& rect = CView::GetScreenView().GetRect();
    x = rect.x, y = rect.y, width = rect.z, height = rect.w;
}

void CSkeletonServices::CancelGesture()
{
    if (CGesture* gesture = CGesture::Peek())
        gesture->Cancel();
}

void CSkeletonServices::PlayGestureFeedback()
{
    if (CGesture* gesture = CGesture::Peek())
        gesture->PlayFeedback();
}
