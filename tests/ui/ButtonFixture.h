#pragma once
// A button test's world: a fresh data folder with rules, texts and the button templates below, a
// hand-driven platform clock and frame counter, an ortho view of 10 x 15 units, and button
// services that record sounds, posts, cursors and tips and drive the game clock by hand.
#include "Graphics/CMaterialSet.h"
#include "Graphics/CTextureSet.h"
#include "Graphics/MaterialCaps.h"
#include "core/CRules.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "platform/CView.h"
#include "platform/PlatformHooks.h"
#include "support/AppFolder.h"
#include "support/FakeClock.h"
#include "ui/CButton.h"
#include "ui/CButtonServices.h"
#include "ui/CButtons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

// Each component within 1e-4.
inline void ExpectVector(const Vector4<float>& expected, const Vector4<float>& actual)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-4f);
    EXPECT_NEAR(expected.y, actual.y, 1e-4f);
    EXPECT_NEAR(expected.z, actual.z, 1e-4f);
    EXPECT_NEAR(expected.w, actual.w, 1e-4f);
}

class RecordingButtonServices : public CButtonServices
{
  public:
    struct Tip : CBase
    {
        CString text;
        Vector2<float> position;
        float size = 0.0f;
        int refreshes = 0;
        bool finished = false;
    };

    void PlaySound(const char* name) override { sounds.push_back(name); }
    void PostMessage(const char* name, const char* argument) override
    {
        posts.push_back(std::string(name) + "(" + argument + ")");
    }
    int32_t GetGameTime() override { return gameTime; }
    Vector2<float> GetPointerPosition() override { return pointer; }
    void SetCursor(const char* name, int32_t ms) override
    {
        cursors.push_back(std::string(name) + " " + std::to_string(ms));
    }
    CBase* ShowTip(const CString& text, const Vector2<float>& position, float size) override
    {
        CRef<Tip> tip = MakeRef<Tip>();
        tip->text = text, tip->position = position, tip->size = size;
        tips.push_back(tip);
        return tip.Get();
    }
    void RefreshTip(CBase* floater) override { ++static_cast<Tip*>(floater)->refreshes; }
    void FinishTip(CBase* floater) override { static_cast<Tip*>(floater)->finished = true; }

    std::vector<std::string> sounds, posts, cursors;
    std::vector<CRef<Tip>> tips;
    int32_t gameTime = 0;
    Vector2<float> pointer;
};

class ButtonTest : public testing::Test
{
  protected:
    // Frames of "round" run inactive, normal, hover, pressed, 100 ms each.
    static constexpr const char* kTemplates = R"(<buttons>
      <round radius="0.5">
        <frames>
          <f material="tiles" uvs="0,0,0.25,0.25" colour="1,1,1,0.5" duration="100"/>
          <f uvs="0.25,0,0.5,0.25" duration="100" colour1="1,0,0,1" colour2="0,0,1,1" throb="1"/>
          <f duration="100" colour="0,1,0,1"/>
          <f/>
        </frames>
        <state><active frame="1"/><hover frame="2" sound="hover"/><pressed frame="3" sound="click"/><inactive frame="0"/></state>
      </round>
      <plain radius="0.5"><frames><f/></frames><state><active/><pressed sound="click"/></state></plain>
      <toggle radius="0.5"><frames><off/><on/></frames>
        <state><active frame="0"/><hover frame="0"/></state><state><active frame="1"/><hover frame="1"/></state></toggle>
      <big radius="10"><frames><f/></frames></big>
      <sized radius="1,2" activeradius="3"><frames><f/></frames></sized>
      <frameless radius="2"/>
      <varied radius="1"><frames><f/></frames>
        <state><active frame="2" variance="3"/><hover frame="1" variance="0"/><pressed frame="1" variance="-2"/></state></varied>
    </buttons>)";

    ButtonTest() : m_view(Vector4<int32_t>(0, 0, 320, 480), Vector4<float>(0.0f, 0.0f, 10.0f, 15.0f))
    {
        m_caps.textureUnits = 2;
        MaterialCaps::SetOverride(&m_caps);
        m_previousServices = CButtonServices::Install(&m_services);
        PlatformHooks hooks;
        hooks.frameCount = &FrameCount;
        s_frames = 0;
        m_previousHooks = PlatformHooks::Install(hooks);
        m_folder.WriteData("rules.xml", R"(<rules><interval animation="20"/>
            <ui tooltipsize="0.4" tooltipdelay="1" growtransitionduration="0.5"/></rules>)");
        m_folder.WriteData("text.xml", "<text><texts><tip_undo>Undo it</tip_undo></texts></text>");
        m_folder.WriteData("buttons.xml", kTemplates);
        CRules::Instance()->Load();
    }
    ~ButtonTest() override
    {
        CButtons::Toggle(false);
        CMaterialSet::Toggle(false);
        CTextureSet::Toggle(false);
        PlatformHooks::Install(m_previousHooks);
        CButtonServices::Install(m_previousServices);
        MaterialCaps::SetOverride(nullptr);
    }

    // Loads the button from one "button" element's text.
    static void Load(CButton& button, const std::string& element)
    {
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(element, false)) << element;
        button.Load(*document.GetRoot());
    }
    // Moves the platform clock by ms, one frame at a time of at most step ms, updating the buttons
    // as owners do each frame.
    void Run(int32_t ms, std::initializer_list<CButton*> buttons, int32_t step = 10)
    {
        for (; ms > 0; ms -= step)
        {
            m_clock.Advance(uint32_t(std::min(ms, step)));
            ++s_frames;
            for (CButton* button : buttons)
            {
                button->MarkDrawn();
                button->Update();
            }
        }
    }
    static int32_t FrameCount() { return s_frames; }

    static inline int32_t s_frames = 0;
    FakeClock m_clock;
    AppFolder m_folder;
    MaterialCaps m_caps;
    CView m_view;
    RecordingButtonServices m_services;
    CButtonServices* m_previousServices = nullptr;
    PlatformHooks m_previousHooks;
};
