// The shipped rules.xml against the code: every tuning value any linked unit registers must have a
// non-empty text there, because a missing one silently reads as 0.
#include "core/CRuleBase.h"
#include "core/CXmlDocument.h"
#include "core/CXmlNode.h"
#include "core/TextFields.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace
{
CString Source(const char* relative)
{
    return CString(FROG_SOURCE_DIR) + "/" + relative;
}
} // namespace

TEST(RulesContent, EveryRegisteredKeyHasAValue)
{
    CXmlDocument rules;
    ASSERT_TRUE(rules.Parse(TempFolder::ReadFile(Source("data/rules.xml")), false))
        << "data/rules.xml parses";
    ASSERT_EQ(rules.GetRoot()->GetName(), "rules");
    for (const CString& key : CRuleBase::RegisteredKeys())
        EXPECT_TRUE(rules.HasAttribute(key)) << "data/rules.xml lacks a value for \"" << key << "\"";

    // Read at start-up, before or outside the registered values.
    for (const char* key : {"interval/animation", "ui/clearcolour", "ui/cleardepth", "ui/startpane"})
        EXPECT_TRUE(rules.HasAttribute(key)) << "data/rules.xml lacks a value for \"" << key << "\"";
    EXPECT_GT(ParseInt(rules.GetAttribute("interval/animation").c_str()), 0) << "milliseconds, above 0";
}

TEST(RulesContent, TextDocumentParses)
{
    CXmlDocument text;
    ASSERT_TRUE(text.Parse(TempFolder::ReadFile(Source("data/text.xml")), false)) << "data/text.xml parses";
    CXmlNode* group = text.GetRoot()->FirstChild();
    ASSERT_NE(group, nullptr);
    EXPECT_NE(group->FindChild("app_name"), nullptr);
}
