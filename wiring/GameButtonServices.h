#pragma once
// Buttons' tips as floating labels (CFloater), which own themselves, and the game's cursor and
// its touch marker; every other button service keeps the platform defaults of CButtonServices.
#include "ui/CButtonServices.h"

class GameButtonServices : public CButtonServices
{
  public:
    CBase* ShowTip(const CString& text, const Vector2<float>& position, float size) override;
    void RefreshTip(CBase* floater) override;
    void FinishTip(CBase* floater) override;
    void SetCursor(const char* name, int32_t ms) override;
    void SetMarkerPosition(const Vector2<float>& point) override;
    // The cursor's answer; true without a cursor that draws, which would never show a marker.
    bool IsMarkerShown() override;
};
