#pragma once
// Named camera keyframes of the pane a node belongs to: a named command that names a keyframe
// pans and zooms the pane smoothly to it. It draws and lays out nothing; its child elements are
// keyframes, whose tag names are the command names (13 characters at most, no leading "_").
// It never consumes a command, so the command goes on to its other receivers.
#include "core/Vector2.h"
#include "platform/CControl.h"
#include "ui/CDiv.h"

#include <map>
#include <string>

class CDivTransform : public CDiv, public CControl
{
  public:
    struct Keyframe
    {
        Vector2<float> pan;  // in screen sizes times the pane scale, as the pane pans
        float zoom = 1.0f;
        float time = 0.0f;   // seconds the move takes
    };

    CDivTransform();
    static CRef<CDiv> Create();

    // In place of the node load: only the keyframes ("pan", "zoom", "time"; a later element of
    // the same tag replaces an earlier one). With any keyframe the node joins the control group
    // "ui" of the current scope, so that the mode's named commands reach it, and its pane
    // hands it the commands the pane is given.
    void Load(CXmlNode* element) override;
    // A command that names a keyframe animates the tree's root, when it is a pane. Always false.
    bool OnEvent(const InputEvent& event) override;
    bool OnMessage(const InputEvent& event) override;

    const std::map<std::string, Keyframe>& GetKeyframes() const { return m_keyframes; }

  private:
    std::map<std::string, Keyframe> m_keyframes;
};
