#include "core/CPreference.h"
#include "core/CRule.h"
#include "core/CRuleChange.h"
#include "core/CRules.h"
#include "core/CXmlNode.h"
#include "support/AppFolder.h"
#include "support/CommaLocale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

namespace
{
const char* const kRules = R"(<rules>
  <counts
      big="2147483647"
      empty=""
      small="-12 apples" />
  <flags a="TRUE" b="2" c="0" d="yes" />
  <names title="Frog  Pond " />
  <particles>
    <entice radius="0.75" />
  </particles>
  <shapes
      colour="#ff0000"
      grey="0.2"
      pair="3,-4"
      single="0.5"
      two="1,2"
      wide="1.5,2.5" />
  <times duration="1.25" fade="0.5" />
</rules>
)";

bool IsRegistered(const char* key)
{
    const std::vector<CString> keys = CRuleBase::RegisteredKeys();
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Writes its tag and the rule it watches into a shared log when told; a hook runs afterwards.
class Listener : public CRuleChange
{
  public:
    Listener(std::string tag, std::string& log, const CRule<float>& watched)
        : m_tag(std::move(tag)), m_log(log), m_watched(watched)
    {
    }
    void Changed() override
    {
        m_log += m_tag + "=" + std::to_string(int(m_watched.Get())) + " ";
        if (m_hook)
            m_hook();
    }
    std::function<void()> m_hook;

  private:
    std::string m_tag;
    std::string& m_log;
    const CRule<float>& m_watched;
};

class RulesTest : public testing::Test
{
  protected:
    CRules* Rules() { return CSingleton<CRules>::Instance(); }

    AppFolder m_app;
};
} // namespace

TEST_F(RulesTest, EveryTypeReadsItsText)
{
    m_app.WriteData("rules.xml", kRules);
    CRule<int> big("counts/big"), small("counts/small"), empty("counts/empty"), absent("counts/none");
    CRule<float> duration("times/duration"), radius("particles/entice/radius");
    CRule<bool> a("flags/a"), b("flags/b"), c("flags/c"), d("flags/d");
    CRule<CString> title("names/title");
    CRule<Vector2<int>> pair("shapes/pair");
    CRule<Vector2<float>> wide("shapes/wide");
    CRule<Vector3<float>> single("shapes/single"), two("shapes/two");
    CRule<Vector4<float>> colour("shapes/colour"), grey("shapes/grey");
    EXPECT_EQ(big.Get(), 0) << "nothing is read before the first load";

    ASSERT_TRUE(Rules()->Load());
    EXPECT_EQ(big.Get(), 2147483647);
    EXPECT_EQ(small.Get(), -12);
    EXPECT_EQ(empty.Get(), 0);
    EXPECT_EQ(absent.Get(), 0);
    EXPECT_FLOAT_EQ(duration, 1.25f);
    EXPECT_FLOAT_EQ(radius, 0.75f);
    EXPECT_TRUE(a.Get());
    EXPECT_TRUE(b.Get());
    EXPECT_FALSE(c.Get());
    EXPECT_FALSE(d.Get());
    EXPECT_EQ(title.Get(), "Frog  Pond ");
    EXPECT_EQ(pair.Get(), Vector2<int>(3, -4));
    EXPECT_EQ(wide.Get(), Vector2<float>(1.5f, 2.5f));
    EXPECT_EQ(single.Get(), Vector3<float>(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(two.Get(), Vector3<float>(1, 2, 2));
    EXPECT_EQ(colour.Get(), Vector4<float>(1, 0, 0, 1));
    EXPECT_EQ(grey.Get(), Vector4<float>(0.2f, 0.2f, 0.2f, 0.2f));

    EXPECT_TRUE(IsRegistered("shapes/colour"));
    EXPECT_TRUE(IsRegistered("particles/entice/radius"));
}

TEST_F(RulesTest, ReloadRefreshesValuesAndKeepsVanishedOnes)
{
    m_app.WriteData("rules.xml", kRules);
    CRule<float> duration("times/duration"), fade("times/fade");
    CRule<CString> title("names/title");
    CRule<int> small("counts/small");
    ASSERT_TRUE(Rules()->Load());
    const float* cachedDuration = Rules()->GetFloatRef("times/duration");
    const float* cachedFade = Rules()->GetFloatRef("times/fade");
    const float* cachedNone = Rules()->GetFloatRef("times/none");
    EXPECT_FLOAT_EQ(*cachedDuration, 1.25f);
    EXPECT_FLOAT_EQ(*cachedNone, 0.0f);

    // duration changes, fade and title vanish, small becomes empty.
    m_app.WriteData("rules.xml", R"(<rules><times duration="3" /><counts small="" /></rules>)");
    ASSERT_TRUE(Rules()->Load());
    EXPECT_FLOAT_EQ(duration, 3.0f);
    EXPECT_FLOAT_EQ(fade, 0.5f);
    EXPECT_EQ(title.Get(), "Frog  Pond ");
    EXPECT_EQ(small.Get(), -12);
    EXPECT_EQ(Rules()->GetFloatRef("times/duration"), cachedDuration) << "the address holds";
    EXPECT_FLOAT_EQ(*cachedDuration, 3.0f);
    EXPECT_FLOAT_EQ(*cachedFade, 0.5f) << "a vanished key keeps its cached value";

    // A broken file changes nothing and keeps the installed document.
    m_app.WriteData("rules.xml", "<rules><times duration=\"9\" /></rules><rules/>");
    EXPECT_FALSE(Rules()->Load());
    EXPECT_FLOAT_EQ(duration, 3.0f);
    EXPECT_EQ(Rules()->GetRoot()->GetAttribute("times/duration"), "3");

    // Read re-reads one rule from the installed document.
    Rules()->GetRoot()->SetAttribute("times/fade", "0.125");
    fade.Read();
    EXPECT_FLOAT_EQ(fade, 0.125f);
}

TEST_F(RulesTest, ListenersAreToldAfterEverySuccessfulLoadInOrder)
{
    m_app.WriteData("rules.xml", "<rules><times duration=\"1\" /></rules>");
    CRule<float> duration("times/duration");
    std::string log;
    Listener first("a", log, duration);
    auto second = std::make_unique<Listener>("b", log, duration);
    std::unique_ptr<Listener> late;
    // The first listener drops the second and brings in a third, both while being told.
    first.m_hook = [&]
    {
        second.reset();
        if (!late)
            late = std::make_unique<Listener>("c", log, duration);
    };
    ASSERT_TRUE(Rules()->Load());
    EXPECT_EQ(log, "a=1 ") << "every rule holds its new value; the newcomer waits for the next load";

    m_app.WriteData("rules.xml", "<rules><times duration=\"2\" /></rules>");
    ASSERT_TRUE(Rules()->Load());
    EXPECT_EQ(log, "a=1 a=2 c=2 ");
    m_app.WriteData("rules.xml", "<rules><times duration=\"9\" /></rules><rules/>");
    EXPECT_FALSE(Rules()->Load());
    EXPECT_EQ(log, "a=1 a=2 c=2 ") << "a failed load tells nobody";
}

TEST_F(RulesTest, FirstUseLoadsAndMissingFileReadsZero)
{
    {
        m_app.WriteData("rules.xml", kRules);
        CRule<float> duration("times/duration");
        EXPECT_FALSE(CSingleton<CRules>::Exists());
        duration.Read();
        EXPECT_TRUE(Rules()->HasDocument());
        EXPECT_FLOAT_EQ(duration, 1.25f);
    }
    EXPECT_FALSE(IsRegistered("times/duration")) << "a rule that died has left the registry";
    AppFolder::ReleaseStores();

    std::remove(m_app.PathOf("data/rules.xml").c_str());
    CRule<int> small("counts/small");
    EXPECT_FALSE(Rules()->Load());
    ASSERT_NE(Rules()->GetRoot(), nullptr);
    EXPECT_EQ(Rules()->GetRoot()->GetName(), "rules");
    EXPECT_EQ(small.Get(), 0);
    EXPECT_FLOAT_EQ(*Rules()->GetFloatRef("times/duration"), 0.0f);
}

// Rules and preferences are written with "." whatever the locale the player's system runs in.
TEST_F(RulesTest, NumbersIgnoreTheProcessLocale)
{
    m_app.WriteData("rules.xml", kRules);
    CRule<float> duration("times/duration");
    CRule<Vector2<float>> wide("shapes/wide");
    CommaLocale locale;
    if (!locale.Active())
        GTEST_SKIP() << "no locale with a decimal comma can be had";
    Rules()->Load();
    EXPECT_FLOAT_EQ(duration, 1.25f);
    EXPECT_EQ(wide.Get(), Vector2<float>(1.5f, 2.5f));

    CPreference<float> volume("volume", 0.8f);
    CPreferences* preferences = CSingleton<CPreferences>::Instance();
    EXPECT_EQ(preferences->GetString("volume"), "0.800000");
    preferences->SetFloat("volume", 0.5f);
    EXPECT_FLOAT_EQ(volume, 0.5f);
    EXPECT_FLOAT_EQ(preferences->GetFloat("volume", 0.0f), 0.5f);
    ASSERT_TRUE(preferences->Save());
    EXPECT_NE(m_app.ReadApp("preferences.xml").find("volume=\"0.500000\""), std::string::npos);
}
