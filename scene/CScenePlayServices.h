#pragma once
// The scene's share of what puzzle play asks through CPlayServices: making the puzzle's pond,
// starting its music, placing its layers again, its particle effects and floating labels, the
// petal shower of a win, the enabled flags of the buttons its layers and panes show, and the
// screen flip that shows the in-game panes.
#include "puzzle/CPlayServices.h"

class CScenePlayServices : public CPlayServices
{
  public:
    // The pond "pond/<name>", made current; never null.
    CRef<CBase> CreatePond(const CString& name) override;
    // The pond's music, or none for a null pond (or one that is not a CPond).
    void PlayPondMusic(CBase* pond) override;
    // Places every layer of the current pond again.
    void PlacePondLayers() override;
    // A floater centred on the middle of the whole-screen view.
    void ShowFloatingText(const CString& text, float size) override;
    // A particle system of the current scope; null for anything that is not one.
    CRef<CBase> CreateParticles(const char* effect) override;
    void StartParticlesAt(CBase* particles, const Vector2<float>& position) override;
    // The "maingame" petal shower, when that group is running (nothing otherwise).
    void FirePetals() override;
    void StopPetals() override;
    // The flag of that action for every button (CButtons).
    void SetButtonEnabled(const char* action, bool enabled) override;
    // The screen flip and its pane (CScreenFlip, made on first use).
    void BeginFlip(const char* pane, CRef<CCallback> loader) override;
    void FlipToGame() override;
    void SetFlipNodeActive(const char* id, bool active) override;
    void SetFlipSideList(int side, const std::vector<float>& spots) override;
    // The flip pane's node "daisy", when it is a daisy, follows the score again.
    void RearmFlipDaisy() override;
    // The spots of the pane of the current pond's layer "overlay" (the puzzle's controls).
    void AppendOverlayEmboss(std::vector<float>& spots) override;

    // The same operations for the front end's menu hooks.
    static CRef<CBase> MakePond(const char* name);
    static void PlayMusicOf(CBase* pond);
};
