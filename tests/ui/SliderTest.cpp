// Sliders: a drag maps the pointer's travel to the value and the preference, stops at both ends,
// and takes effect again only once the finger is back where it left the track.
#include "core/CPreferences.h"
#include "core/CXmlDocument.h"
#include "platform/CInput.h"
#include "platform/InputEvent.h"
#include "support/AppFolder.h"
#include "ui/ButtonFixture.h"
#include "ui/CSlider.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
class SliderTest : public testing::Test
{
  protected:
    SliderTest()
    {
        m_previous = CButtonServices::Install(&m_services);
        // A track of 100 x 20 at scale 1: the knob travels 80 pixels from x 10 to x 90.
        m_folder.WriteData("sliders.xml", R"(<sliders><volume size="100,20" material="slider">
            <knob radius="10"><a/><b/><c/></knob></volume><bare size="100,20"/></sliders>)");
    }
    ~SliderTest() override
    {
        CInput::Toggle(false);
        CButtonServices::Install(m_previous);
    }

    static void Load(CSlider& slider, const char* element)
    {
        CXmlDocument document;
        ASSERT_TRUE(document.Parse(element, false));
        slider.Load(*document.GetRoot());
    }
    static void Hold(bool held) { CInput::Instance()->SetButton(InputEvent::kLeft, held); }
    static std::string Preference(const char* key) { return CPreferences::Instance()->GetString(key).c_str(); }

    AppFolder m_folder;
    RecordingButtonServices m_services;
    CButtonServices* m_previous = nullptr;
};
} // namespace

TEST_F(SliderTest, ADragMovesTheValueAndPreferenceBetweenTheEnds)
{
    CSlider slider;
    Load(slider, R"(<Slider type="volume" preference="testvolume" action="vol"/>)");
    EXPECT_FLOAT_EQ(slider.GetValue(), 0.5f);
    EXPECT_EQ(Preference("testvolume"), "0.500000") << "an absent preference is created as 0.5";
    EXPECT_EQ(slider.GetKnobCentre(), Vector2<float>(50, 10));
    EXPECT_FALSE(slider.OnDragBegin(Vector2<float>(75, 10))) << "off the knob";
    ASSERT_TRUE(slider.OnDragBegin(Vector2<float>(52, 12)));
    Hold(true);

    const struct
    {
        float x;
        float value;
    } steps[] = {
        {92, 1.0f},  // 40 of 80 pixels: to the right end
        {140, 1.0f}, // beyond it: nothing, and the press point stays at 92
        {100, 1.0f}, // still right of 92
        {72, 0.75f}, // back past 92: moves again
        {-40, 0.0f}, // to the left end and beyond
        {-20, 0.25f},
    };
    for (const auto& step : steps)
    {
        slider.OnMotion(Vector2<float>(step.x, 10));
        EXPECT_FLOAT_EQ(slider.GetValue(), step.value) << "at x " << step.x;
    }
    EXPECT_EQ(Preference("testvolume"), "0.250000");
    ASSERT_FALSE(m_services.posts.empty());
    EXPECT_EQ(m_services.posts.front(), "vol(1.000000)");
    EXPECT_EQ(m_services.posts.back(), "vol(0.250000)");
    // The drag ends with a last step; a second end is not the slider's.
    EXPECT_TRUE(slider.OnDragEnd(Vector2<float>(-20, 10)));
    EXPECT_FALSE(slider.OnDragEnd(Vector2<float>(-20, 10)));
    EXPECT_FALSE(slider.OnDragCancel());
    Hold(false);

    // The next slider of that preference starts from the stored value; the image follows it.
    CSlider again;
    Load(again, R"(<Slider type="volume" preference="testvolume"/>)");
    EXPECT_FLOAT_EQ(again.GetValue(), 0.25f);
    EXPECT_EQ(again.GetImageIndex(), 1u);
    uint32_t first = 0, second = 0;
    float weight = 0.0f;
    again.SetValue(0.75f);
    again.GetCrossFade(first, second, weight);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, 2u);
    EXPECT_FLOAT_EQ(weight, 0.5f);

    // A change of the preference made elsewhere (the mute switch) shows on a slider already
    // loaded, but not while its knob is held.
    CPreferences::Instance()->SetFloat("testvolume", 0.0f);
    slider.FollowPreference();
    again.FollowPreference();
    EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f);
    EXPECT_FLOAT_EQ(again.GetValue(), 0.0f);
    ASSERT_TRUE(slider.OnDragBegin(Vector2<float>(10, 10)));
    CPreferences::Instance()->SetFloat("testvolume", 0.8f);
    slider.FollowPreference();
    EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f) << "the finger has the knob";
    CPreferences::Instance()->SetString("testvolume", "nan");
    again.FollowPreference();
    EXPECT_GE(again.GetValue(), 0.0f) << "a damaged value is never shown";
    EXPECT_LE(again.GetValue(), 1.0f);
}

TEST_F(SliderTest, ActionsAskForTheirValueAndBrokenLooksAreInert)
{
    CSlider action;
    Load(action, R"(<Slider type="volume" action="gamma"/>)");
    ASSERT_EQ(m_services.posts.size(), 1u);
    EXPECT_EQ(m_services.posts[0], "gamma(query)");
    CSlider neither;
    Load(neither, R"(<Slider type="volume"/>)");
    EXPECT_FLOAT_EQ(neither.GetValue(), 0.5f);
    EXPECT_EQ(m_services.posts.size(), 1u);
    // No template, or a template without a knob: nothing to drag.
    for (const char* type : {"missing", "bare"})
    {
        CSlider inert;
        Load(inert, (std::string("<Slider preference=\"othervolume\" type=\"") + type + "\"/>").c_str());
        EXPECT_FALSE(inert.OnDragBegin(inert.GetKnobCentre())) << type;
    }
}

TEST_F(SliderTest, AStoredValueOutOfRangeOrNotANumberIsClampedAndNotKept)
{
    const struct
    {
        const char* stored;
        float value;
        const char* kept;
    } cases[] = {
        {"nan", 0.0f, "0.000000"},      {"-nan", 0.0f, "0.000000"}, {"inf", 1.0f, "1.000000"},
        {"1.5", 1.0f, "1.000000"},      {"-0.25", 0.0f, "0.000000"}, {"0.3", 0.3f, "0.3"},
        {"garbage", 0.0f, "garbage"}, // reads as 0, which is in range
    };
    for (const auto& c : cases)
    {
        CPreferences::Instance()->SetString("testvolume", c.stored);
        CSlider slider;
        Load(slider, R"(<Slider type="volume" preference="testvolume"/>)");
        EXPECT_FLOAT_EQ(slider.GetValue(), c.value) << c.stored;
        EXPECT_EQ(Preference("testvolume"), c.kept) << c.stored;
        // A value that is not a number never reaches the store.
        slider.SetValue(std::nanf(""));
        EXPECT_FLOAT_EQ(slider.GetValue(), 0.0f) << c.stored;
        EXPECT_EQ(Preference("testvolume").find("nan"), std::string::npos) << c.stored;
    }
}
