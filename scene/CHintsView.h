#pragma once
// The drawn and touched half of the hints (CHints): the round hint button in the pass
// "overlays", the ghost picture of the frog standing in the hinted pose, rendered into the
// texture "_hint" and drawn by the board layer under the frog's shadow, and the clicks and named
// commands of the group "puzzle", handed to CHints in button space. A singleton of the group
// "maingame". Invariant: the ghost picture holds the frog without the board's offset, so that
// drawing it at the board's current offset keeps it on the knobs while the board moves.
#include "Graphics/CTexture.h"
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/CSingleton.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "platform/CControl.h"
#include "platform/CDrawing.h"
#include "puzzle/CHintServices.h"
#include "puzzle/Pose.h"

#include <vector>

class CHintsView : public CBase, public CControl, public CDrawing, public CSingleton<CHintsView>
{
  public:
    // What the hints ask of the scene, the frog and the renderer; the program installs one.
    class Services : public CHintServices
    {
      public:
        // The frog's limb joints as drawn, in button space of the current view.
        void GetLimbPoints(std::vector<Vector2<float>>& points) override;
        // Renders the ghost while "maingame" runs.
        void ShowHint(Pose pose) override;
        // The screen flip's prepared turn (its pane turns away; nothing without a pane up).
        void StartFlip() override;
    };

    // The board layer's hint drawer: the ghost, when the hints have one to show.
    static void DrawHintOnBoard();

    // Control in ("maingame", "puzzle"); drawing in ("maingame", "predraw") and ("maingame",
    // "overlays"); lays out the button with the material "hint".
    void Init() override;
    ~CHintsView() override;

    bool OnClick(const InputEvent& event) override;
    bool OnMessage(const InputEvent& event) override;
    // The button, in the pass "overlays" (nothing in "predraw").
    void Draw() override;

    // Renders the frog standing in pose into "_hint" (made on first use at half the viewport).
    void RenderGhost(Pose pose);
    // The ghost at the board's offset, while a hint is shown and its texture lives.
    void DrawOnBoard();

    // A point of the screen (logical pixels) in button space of viewport (x, y, width, height).
    static Vector2<float> ToButtonSpace(const Vector2<float>& screen, const Vector4<int32_t>& viewport);

    const QuadBatch& GetButton() const { return m_button; }
    const QuadBatch& GetPicture() const { return m_picture; }

  private:
    friend class CSingleton<CHintsView>;
    CHintsView() = default;

    // Draw caches, rebuilt at will.
    CRef<CTexture> m_texture; // "_hint"; null until the first ghost
    QuadBatch m_picture;
    QuadBatch m_button;
};
