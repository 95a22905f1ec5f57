#include "core/CString.h"
#include "core/CaseInsensitiveLess.h"
#include "core/Colour.h"
#include "core/TextFields.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <map>
#include <string>

namespace
{
void ExpectColour(const Vector4<float>& c, float r, float g, float b, float a)
{
    EXPECT_FLOAT_EQ(c.x, r);
    EXPECT_FLOAT_EQ(c.y, g);
    EXPECT_FLOAT_EQ(c.z, b);
    EXPECT_FLOAT_EQ(c.w, a);
}
}

TEST(StringTest, ComparesIgnoringCase)
{
    EXPECT_TRUE(CString::EqualsNoCase("TRUE", "true"));
    EXPECT_FALSE(CString::EqualsNoCase("true ", "true"));
    EXPECT_FALSE(CString::EqualsNoCase(nullptr, nullptr));
    EXPECT_FALSE(CString::EqualsNoCase("true", nullptr));
    EXPECT_TRUE(EqualsNoCase(CString("Linear"), "LINEAR"));
    EXPECT_FALSE(EqualsNoCase(CString("linear"), "lin"));
    EXPECT_FALSE(EqualsNoCase(CString(""), nullptr));

    const CaseInsensitiveLess less;
    EXPECT_TRUE(less("abc", "ABCD"));
    EXPECT_FALSE(less("ABCD", "abc"));
    EXPECT_FALSE(less("Abc", "aBC"));
    EXPECT_FALSE(less("aBC", "Abc"));
    // Ordered as lower case, so "_" (95) sorts before letters.
    EXPECT_TRUE(less("_x", "A"));

    std::map<CString, int, CaseInsensitiveLess> names;
    names["Fade"] = 1;
    names["FADE"] = 2;
    EXPECT_EQ(names.size(), 1u);
    EXPECT_EQ(names.find("fade")->second, 2);
    EXPECT_EQ(CString::ToLower("MiXeD 1"), "mixed 1");
    EXPECT_EQ(CString::ToLower(nullptr), "");
}

TEST(StringTest, FindsAndNeverReadsOutside)
{
    const CString text = "a,b;c,d";
    EXPECT_EQ(CString::Find(text, ",", 0), 1);
    EXPECT_EQ(CString::Find(text, ",", 2), 5);
    EXPECT_EQ(CString::Find(text, "c,d", 0), 4);
    EXPECT_EQ(CString::Find(text, "x", 0), -1);
    EXPECT_EQ(CString::Find(text, "d", 7), -1);
    EXPECT_EQ(CString::Find(text, "d", 100), -1);
    EXPECT_EQ(CString::Find(text, "a", -1), -1);
    EXPECT_EQ(CString::Find(text, nullptr, 0), -1);
    EXPECT_EQ(CString::FindChar(text, 'd', 6), 6);
    EXPECT_EQ(CString::FindChar(text, 'd', 7), -1);
    EXPECT_EQ(CString::FindChar(text, 'a', -5), -1);

    const CString style = "  key: value";
    EXPECT_EQ(CString::FindFirstNotOf(style, " ", 0), 2);
    EXPECT_EQ(CString::FindFirstOf(style, ":;", 0), 5);
    EXPECT_EQ(CString::FindFirstOf(style, ":", 6), -1);
    EXPECT_EQ(CString::FindFirstNotOf(style, "abcdefghijklmnopqrstuvwxyz", 7), -1);
    EXPECT_EQ(CString::FindFirstOf(style, " ", 12), -1);
    EXPECT_EQ(CString::FindLastOf(style, " ", 100), 6);
    EXPECT_EQ(CString::FindLastOf(style, " ", 5), 1);
    EXPECT_EQ(CString::FindLastNotOf(style, "eulav", 11), 6);
    EXPECT_EQ(CString::FindLastOf(style, " ", -1), -1);

    EXPECT_EQ(CString::SubString(text, 2, 3), "b;c");
    EXPECT_EQ(CString::SubString(text, 5, 100), ",d");
    EXPECT_EQ(CString::SubString(text, 8, 1), "");
    EXPECT_EQ(CString::SubString(text, -1, 1), "");
}

TEST(StringTest, FormatsWithoutLengthLimit)
{
    EXPECT_EQ(CString::Format("%d,%f,%s", 3, 0.8, "x"), "3,0.800000,x");
    EXPECT_EQ(CString::Format("%s", ""), "");
    const std::string longText(5000, 'q');
    const CString formatted = CString::Format("<%s>%d", longText.c_str(), 42);
    EXPECT_EQ(formatted.size(), 5004u);
    EXPECT_EQ(formatted, "<" + longText + ">42");
}

TEST(StringTest, ReplacesEveryOccurrenceOnce)
{
    std::string text = "%a% and %a%";
    EXPECT_EQ(CString::Replace(text, "%a%", "[%a%]"), 2);
    EXPECT_EQ(text, "[%a%] and [%a%]");
    std::string doubled = "aaa";
    EXPECT_EQ(CString::Replace(doubled, "a", "aa"), 3);
    EXPECT_EQ(doubled, "aaaaaa");
    std::string removed = "x-y-z";
    CString::Replace(removed, "-", nullptr);
    EXPECT_EQ(removed, "xyz");
    std::string untouched = "abc";
    EXPECT_EQ(CString::Replace(untouched, "", "x"), 0);
    EXPECT_EQ(CString::Replace(untouched, nullptr, "x"), 0);
    EXPECT_EQ(untouched, "abc");
    EXPECT_EQ(MakeString(nullptr), "");
}

TEST(StringTest, ReadsCommaFields)
{
    EXPECT_EQ(FieldOf("1,2,3", 2), CString("3"));
    EXPECT_EQ(FieldOf("1,2,3", 3), std::nullopt);
    EXPECT_EQ(FieldOf("", 0), CString(""));
    EXPECT_EQ(FieldOf(nullptr, 0), std::nullopt);
    EXPECT_EQ(FieldOf("1,,3", 1), CString(""));
    EXPECT_EQ(FieldOf(" 1, 2", 1), CString(" 2"));
    // Two fields held at once stay apart (no shared buffer).
    const std::optional<CString> first = FieldOf("10,20,30", 0);
    const std::optional<CString> second = FieldOf("10,20,30", 1);
    EXPECT_EQ(*first + "/" + *second, "10/20");

    float pair[2];
    EXPECT_EQ(ParseFloatFields("2.5", pair, 2), 1);
    EXPECT_FLOAT_EQ(pair[1], 2.5f);
    int32_t rect[4];
    EXPECT_EQ(ParseIntFields("1,2", rect, 4), 2);
    EXPECT_EQ(rect[3], 2);
    EXPECT_EQ(ParseIntFields(nullptr, rect, 4), 0);
    EXPECT_EQ(rect[0], 0);

    const char* end = nullptr;
    EXPECT_EQ(ParseInt(" -12px", &end), -12);
    EXPECT_STREQ(end, "px");
    EXPECT_EQ(ParseInt("99999999999"), INT32_MAX);
    EXPECT_DOUBLE_EQ(ParseFloat("1e-3"), 0.001);
    EXPECT_STREQ(SkipFirstChar("#ff"), "ff");
    EXPECT_STREQ(SkipFirstChar(""), "");
    EXPECT_STREQ(SkipFirstChar(nullptr), "");
}

TEST(StringTest, ParsesColours)
{
    ExpectColour(ParseHexColour("ff0000"), 1, 0, 0, 1);
    ExpectColour(ParseHexColour("00ff0080"), 0, 1, 0, 128 / 255.0f);
    ExpectColour(ParseHexColour("FfA"), 0, 15 / 255.0f, 250 / 255.0f, 1);
    ExpectColour(ParseHexColour("zz0010"), 0, 0, 16 / 255.0f, 1);
    ExpectColour(ParseHexColour("1ff0000ff"), 1, 0, 0, 1);
    ExpectColour(ParseHexColour(""), 0, 0, 0, 1);

    const Vector4<float> def(0.1f, 0.2f, 0.3f, 0.4f);
    ExpectColour(ParseColourText(nullptr, def), 0.1f, 0.2f, 0.3f, 0.4f);
    ExpectColour(ParseColourText("", def), 0.1f, 0.2f, 0.3f, 0.4f);
    ExpectColour(ParseColourText("#0000ff", def), 0, 0, 1, 1);
    ExpectColour(ParseColourText("0.5", def), 0.5f, 0.5f, 0.5f, 0.5f);
    ExpectColour(ParseColourText("1,0,0", def), 1, 0, 0, 0);
    ExpectColour(ParseColourText(",1", def), 0, 1, 1, 1);
}

TEST(StringTest, NumbersIgnoreTheProcessLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char* commaLocale = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de_DE", "fr_FR"})
    {
        if (std::setlocale(LC_ALL, name) && *std::localeconv()->decimal_point == ',')
        {
            commaLocale = name;
            break;
        }
    }
    if (!commaLocale)
    {
        std::setlocale(LC_ALL, saved.c_str());
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    char plain[32];
    std::snprintf(plain, sizeof plain, "%f", 0.5);
    const CString formatted = CString::Format("%f", 0.5);
    const char* end = nullptr;
    const double half = ParseFloat("0.5,", &end);
    const Vector4<float> grey = ParseColourText("0.25", Vector4<float>());
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_STREQ(plain, "0,500000") << commaLocale;
    EXPECT_EQ(formatted, "0.500000");
    EXPECT_DOUBLE_EQ(half, 0.5);
    EXPECT_STREQ(end, ",");
    EXPECT_FLOAT_EQ(grey.w, 0.25f);
}
