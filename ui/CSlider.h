#pragma once
// A horizontal value control: a track with a knob that is dragged along it, its value 0 to 1
// kept in a float preference, posted as a named command, or both. Its look comes from the
// template of the document "sliders" named by "type"; a slider without a template (or without
// its "knob") draws nothing and cannot be dragged. Lengths are in the units of its owner's
// view times the scale the owner sets each frame. Invariant: the value stays within 0..1.
#include "Graphics/CMaterial.h"
#include "core/CRef.h"
#include "core/CString.h"
#include "core/MathConstants.h"
#include "core/Vector2.h"
#include "core/Vector4.h"
#include "ui/SliderKnob.h"

#include <cstdint>
#include <vector>

class CXmlNode;

class CSlider
{
  public:
    // Reads "type", "action" and "preference" and the template; the value is then 0.5, or the
    // preference's (created as 0.5 when absent); without a preference an action is posted with
    // "query" so that the game can answer.
    void Load(const CXmlNode& element);
    // Clamps to 0..1; a change is written to the preference ("%f") and posted as the action.
    void SetValue(float value);
    // Takes the value its preference holds now, unless the knob is being dragged: the volumes
    // may change elsewhere (the mute switch, another pane's slider) while this pane lives.
    void FollowPreference();
    // With the left button held, a drag moves the value by the pointer's horizontal travel;
    // without, the hover state follows the pointer.
    void OnMotion(const Vector2<float>& point);
    // True (the drag is the slider's) when point is on the knob.
    bool OnDragBegin(const Vector2<float>& point);
    bool OnDragEnd(const Vector2<float>& point);
    bool OnDragCancel();
    void Draw();

    // The knob's centre and the index of the knob image the value shows.
    Vector2<float> GetKnobCentre() const;
    uint32_t GetImageIndex() const;
    // The two knob images a drag cross-fades between and the weight of the second.
    void GetCrossFade(uint32_t& first, uint32_t& second, float& weight) const;

    void SetPosition(const Vector2<float>& position) { m_position = position; }
    void SetScale(float scale) { m_scale = scale; }
    float GetValue() const { return m_value; }
    bool IsHover() const { return m_hover; }
    bool IsDragging() const { return m_pressPoint != kUnsetVector2f; }
    const Vector2<float>& GetSize() const { return m_size; }
    const std::vector<SliderKnob>& GetKnobs() const { return m_knobs; }
    const CString& GetAction() const { return m_action; }
    const CString& GetPreference() const { return m_preference; }

  private:
    // Whether point lies within the knob's radius times factor of its centre.
    bool OnKnob(const Vector2<float>& point, float factor) const;

    Vector2<float> m_position;                    // the track's top-left corner
    Vector2<float> m_size{256.0f, 32.0f};         // width, height
    float m_scale = 1.0f;
    CRef<CMaterial> m_trackMaterial;
    Vector4<float> m_trackUvs{0.0f, 0.0f, 1.0f, 1.0f};
    std::vector<SliderKnob> m_knobs;
    CString m_action;
    CString m_preference;
    float m_value = 0.0f;                         // 0..1
    float m_knobRadius = 0.5f;
    Vector2<float> m_knobOffset;
    Vector2<float> m_pressPoint = kUnsetVector2f; // set while the knob is dragged
    bool m_hover = false;
};
