#pragma once
// A front-end chooser that lays the puzzles of a numbered range out as buttons along an
// Archimedean spiral, coloured by number and, once solved, by the player's score, with a
// backdrop facing one side of the screen and a preview panel near the spiral's centre. It follows
// the pond's nudge and ignores touches while the pond is nudged. Nothing in the game makes one:
// an owner builds it, links the pond (SetPond), loads it, and calls Update, Draw and StartGrowIn.
// Invariant: puzzle buttons come after the fixed buttons, in collection order; a button that
// does not fit before the spiral ends is parked at (1000, 1000), outside every view.
#include "Graphics/QuadBatch.h"
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"
#include "core/CResizes.h"
#include "core/CString.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "platform/CControl.h"
#include "scene/CPond.h"
#include "scene/CPreview.h"
#include "ui/CButton.h"

#include <cstdint>
#include <memory>
#include <vector>

class CXmlNode;

class CVerge : public CControl, public CResizes
{
  public:
    // What the preview shows of a puzzle: its pond, its frog and how many hint steps it has.
    class CPuzzleData : public CBase
    {
      public:
        // Null when "puzzle/<name>" does not load.
        static CRef<CPuzzleData> Create(const CString& name);
        CString pondTemplate;
        CString species;
        int32_t hints = 0;
    };

    CVerge();
    ~CVerge() override;

    void SetPond(CPond* pond) { m_pond.Set(pond); }
    CPond* GetPond() const { return static_cast<CPond*>(m_pond.Get()); }
    // Reads the configuration (the element's attributes, "button" children and "puzzles"), lays
    // the chooser out and joins the control group "frontend" of the current scope. A "puzzles"
    // element without a "button" template places no puzzle buttons.
    void Load(CXmlNode& element);
    // Colours by progress, lays the spiral out and makes a new preview; on every display change.
    void Resize() override;
    // Each frame: the buttons' looks and tips; a puzzle button whose tip is due shows its puzzle
    // in the preview, and the preview empties when none is due.
    void Update();
    void Draw();
    // Grows the enabled buttons in, one after another.
    void StartGrowIn();

    bool AcceptsPress(const InputEvent& event) override { return true; }
    bool OnPress(const InputEvent& event) override;
    bool OnMove(const InputEvent& event) override;
    bool OnRelease(const InputEvent& event) override;

    size_t GetButtonCount() const { return m_buttons.size(); }
    CButton& GetButton(size_t i) { return *m_buttons[i]; }
    // A puzzle button's number: the name after "puzzle"; -1 for any other button.
    static int32_t PuzzleNumber(const CButton& button);
    const Vector2<float>& GetCentre() const { return m_centre; }
    CPreview* GetPreview() const { return m_preview.Get(); }
    const CString& GetShownPreview() const { return m_shownPreview; }
    const Vector4<float>& GetColourRange() const { return m_colourRange; }
    const QuadBatch& GetBackdrop() const { return m_backdrop; }
    // The spiral's layout over the view rectangle (x, y, w, h): every button placed or parked.
    void Layout(const Vector4<float>& view);

    static constexpr float kParked = 1000.0f;

  private:
    void ColourByProgress();
    // The event's point in view units, less the pond's nudge; false while no pond is linked or
    // the pond is nudging.
    bool PointOf(const InputEvent& event, Vector2<float>& point) const;
    Vector2<float> NudgeOffset() const;

    // Held through its CBase half: a pond has two kinds of back links.
    CLink<CBase> m_pond;
    CString m_name;
    Vector2<float> m_side;
    float m_height = 0.0f;
    QuadBatch m_backdrop;
    float m_buttonSpacing = 0.0f;
    float m_gapSpacing = 0.0f;
    float m_spiralSpacing = 0.0f;
    Vector2<float> m_previewSize;
    Vector2<float> m_centre;
    Vector2<float> m_origin;
    Vector4<float> m_colourRange{0.55f, 0.25f, 0.7f, 1.0f};
    std::vector<std::unique_ptr<CButton>> m_buttons;
    CRef<CPreview> m_preview;
    CString m_shownPreview;
};
