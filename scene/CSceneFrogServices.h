#pragma once
// The scene's connection with the frog, both ways: what puzzle play asks of the frog and the fly
// (its skeleton and species, the catch, placing the fly), on top of the pond's own share of the
// play services, and what the frog reads of the current pond (the "board" layer's offset, the light).
#include "creatures/CFrogServices.h"
#include "scene/CScenePlayServices.h"

class CSceneFrogServices : public CScenePlayServices, public CFrogServices
{
  public:
    // CPlayServices: the frog singleton, made on first use.
    CPlaySkeleton* GetFrogSkeleton() override;
    void LoadSpecies(const CString& species) override;
    void CatchFly() override;
    // Nothing when there is no frog to reset.
    void CancelCatch() override;
    // The fly singleton (made on first use) placed ahead of the goal pose, or put on its rest
    // point at once.
    void PlaceFlyForGoal() override;
    void FlyJumpToRest() override;
    // False when there is no fly.
    bool GetFlyPosition(Vector2<float>& position) override;

    // CFrogServices: the current pond.
    bool GetBoardOffset(Vector2<float>& offset) override;
    Vector3<float> GetLightVector() override;
};
