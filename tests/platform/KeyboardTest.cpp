#include "platform/CKeyboard.h"

#include <gtest/gtest.h>

#include <utility>

TEST(Keyboard, KeyNamesAreExactAndCaseSensitive)
{
    const std::pair<const char*, uint32_t> cases[] = {
        {"a", 97},    {"A", 0},      {"'", 39},      {"\\", 92},      {"&quot;", 34},   {"&amp;", 38},
        {"&lt;", 60}, {"&gt;", 62},  {"\"", 0},      {"%", 0},        {" ", 32},        {"back", 8},
        {"esc", 27},  {"del", 127},  {"gback", 231}, {"gnext", 229},  {"kp9", 265},     {"kpenter", 271},
        {"kp=", 272}, {"pgdn", 281}, {"f15", 296},   {"lshift", 304}, {"compose", 314}, {"undo", 322},
        {"Esc", 0},   {"", 0},
    };
    for (const auto& [name, key] : cases)
        EXPECT_EQ(CKeyboard::KeyFromName(name), key) << '"' << name << '"';
    EXPECT_EQ(CKeyboard::KeyFromName(nullptr), 0u);
}

TEST(Keyboard, ModifierWordsAddTheirGroupsMasks)
{
    EXPECT_EQ(CKeyboard::ModifiersFromText("ctrl,shift"), 0x00C3u);
    EXPECT_EQ(CKeyboard::ModifiersFromText("cmd"), 0x0C00u);
    EXPECT_EQ(CKeyboard::ModifiersFromText("alt"), 0x0300u);
    EXPECT_EQ(CKeyboard::ModifiersFromText("super"), 0u);
    EXPECT_EQ(CKeyboard::ModifiersFromText("shift,super,alt,shift"), 0x0303u);
    EXPECT_EQ(CKeyboard::ModifiersFromText("Shift"), 0u);
    EXPECT_EQ(CKeyboard::ModifiersFromText(""), 0u);
    EXPECT_EQ(CKeyboard::ModifiersFromText(nullptr), 0u);
}
