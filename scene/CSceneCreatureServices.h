#pragma once
// Connects the frog's effects to the scene for the game's whole run: the skeleton's target
// highlights go to the puzzle's pond and its tips become floaters kept on the screen; the pond
// hands targets to the entice effect, whose particles are the scene's "Entice" kind. A member of
// the group "global"; what it installed is put back when it ends.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "creatures/CEnticeServices.h"
#include "creatures/CSkeletonServices.h"
#include "scene/CPond.h"

class CSceneCreatureServices : public CBase,
                               public CSingleton<CSceneCreatureServices>,
                               public CSkeletonServices,
                               public CEnticeServices
{
  public:
    void Init() override;
    ~CSceneCreatureServices() override;

    // CSkeletonServices: CPond::SetTargets on the puzzle's pond, when it has one.
    void SetPondTargets(const std::vector<Vector2<float>>& cells) override;
    // A floater kept on the screen, left to fade by itself.
    void ShowTip(const CString& text, const Vector2<float>& position, float size) override;

    // CEnticeServices: particles of the kind "Entice".
    CRef<CBase> MakeParticle(const Vector2<float>& position) override;
    void DrawParticle(CBase& particle, int32_t now) override;

    // The pond's targets hook: the entice effect of a running game, none outside "maingame".
    static void SendTargetsToEntice(const std::vector<Vector2<float>>& cells);

  private:
    friend class CSingleton<CSceneCreatureServices>;
    CSceneCreatureServices() = default;

    CSkeletonServices* m_previousSkeleton = nullptr;
    CEnticeServices* m_previousEntice = nullptr;
    CPond::TargetsHook m_previousHook = nullptr;
    bool m_installed = false;
};
