#pragma once
// A link: the words inside it are drawn pressed while a press that began on them is held, and a
// release over them, once the cursor has shown the press marker, posts "href" as a named command
// with "value" as its argument, or opens an "http://" or "https://" address in the browser.
// After firing, the link rests for "throttle" seconds (platform ticks), so a double tap fires once.
#include "ui/CDiv.h"

#include <cstdint>

class CDivA : public CDiv
{
  public:
    CDivA();
    static CRef<CDiv> Create();

    // The common attributes, then "href", "value" and "throttle" (seconds, 1 when empty); the
    // link may fire at once. Marks press, release and motion handled up to the root.
    void Load(CXmlNode* element) override;
    // Asks for the cursor's press marker at the press point while pressed; the words are drawn
    // by their line.
    void Draw() override;
    bool IsRaised() override;
    // Pressed, with a press point, enabled and not resting.
    bool IsPressed() override;
    // Follows whether the pointer is over the link; never takes the motion.
    bool OnMotion(const InputEvent& event) override;
    bool OnPress(const InputEvent& event) override;
    // True when released over the link, whether it fired or not; false while disabled,
    // inactive or resting.
    bool OnRelease(const InputEvent& event) override;

    // Whether href is an address for the browser rather than a command.
    static bool IsWebAddress(const CString& href);

    const CString& GetHref() const { return m_href; }
    const CString& GetValue() const { return m_value; }

  private:
    bool IsResting() const;

    bool m_pressed = false;
    Vector2<float> m_pressPoint = kUnsetVector2f; // screen pixels; unset without a press
    float m_throttle = 1.0f;                      // seconds
    uint32_t m_nextAllowed = 0;                   // platform tick, ms
    CString m_href;
    CString m_value;
};
