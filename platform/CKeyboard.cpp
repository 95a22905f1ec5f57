#include "platform/CKeyboard.h"

#include "core/TextFields.h"

#include <cstring>
#include <optional>

REGISTER_SINGLETON(CKeyboard, "global", 50);

namespace
{
struct KeyName
{
    const char* name;
    uint32_t key; // SDL 1.2 key symbol
};

// Searched from the top. Characters 33..122 that SDL 1.2 has a key for are named by themselves;
// the gesture area's keys follow "del"; the rest are SDL's own blocks in symbol order.
constexpr KeyName kKeyNames[] = {
    {"back", 8},       {"tab", 9},          {"clr", 12},     {"ret", 13},      {"pause", 19},
    {"esc", 27},       {" ", 32},           {"!", 33},       {"&quot;", 34},   {"#", 35},
    {"$", 36},         {"&amp;", 38},       {"'", 39},       {"(", 40},        {")", 41},
    {"*", 42},         {"+", 43},           {",", 44},       {"-", 45},        {".", 46},
    {"/", 47},         {"0", 48},           {"1", 49},       {"2", 50},        {"3", 51},
    {"4", 52},         {"5", 53},           {"6", 54},       {"7", 55},        {"8", 56},
    {"9", 57},         {":", 58},           {";", 59},       {"&lt;", 60},     {"=", 61},
    {"&gt;", 62},      {"?", 63},           {"@", 64},       {"[", 91},        {"\\", 92},
    {"]", 93},         {"^", 94},           {"_", 95},       {"`", 96},        {"a", 97},
    {"b", 98},         {"c", 99},           {"d", 100},      {"e", 101},       {"f", 102},
    {"g", 103},        {"h", 104},          {"i", 105},      {"j", 106},       {"k", 107},
    {"l", 108},        {"m", 109},          {"n", 110},      {"o", 111},       {"p", 112},
    {"q", 113},        {"r", 114},          {"s", 115},      {"t", 116},       {"u", 117},
    {"v", 118},        {"w", 119},          {"x", 120},      {"y", 121},       {"z", 122},
    {"del", 127},      {"gback", 231},      {"gnext", 229},  {"kp0", 256},     {"kp1", 257},
    {"kp2", 258},      {"kp3", 259},        {"kp4", 260},    {"kp5", 261},     {"kp6", 262},
    {"kp7", 263},      {"kp8", 264},        {"kp9", 265},    {"kp.", 266},     {"kp/", 267},
    {"kp*", 268},      {"kp-", 269},        {"kp+", 270},    {"kpenter", 271}, {"kp=", 272},
    {"up", 273},       {"down", 274},       {"right", 275},  {"left", 276},    {"ins", 277},
    {"home", 278},     {"end", 279},        {"pgup", 280},   {"pgdn", 281},    {"f1", 282},
    {"f2", 283},       {"f3", 284},         {"f4", 285},     {"f5", 286},      {"f6", 287},
    {"f7", 288},       {"f8", 289},         {"f9", 290},     {"f10", 291},     {"f11", 292},
    {"f12", 293},      {"f13", 294},        {"f14", 295},    {"f15", 296},     {"numlock", 300},
    {"capslock", 301}, {"scrolllock", 302}, {"rshift", 303}, {"lshift", 304},  {"rctrl", 305},
    {"lctrl", 306},    {"ralt", 307},       {"lalt", 308},   {"rmeta", 309},   {"lmeta", 310},
    {"lsuper", 311},   {"rsuper", 312},     {"mode", 313},   {"compose", 314}, {"help", 315},
    {"print", 316},    {"sysreq", 317},     {"break", 318},  {"menu", 319},    {"power", 320},
    {"euro", 321},     {"undo", 322},
};

struct ModifierWord
{
    const char* word;
    uint32_t mask; // SDL KMOD bits of both keys of the group
};
constexpr ModifierWord kModifierWords[] = {
    {"shift", 0x0003}, {"ctrl", 0x00C0}, {"alt", 0x0300}, {"cmd", 0x0C00}};
} // namespace

uint32_t CKeyboard::KeyFromName(const char* name)
{
    if (!name)
        return 0;
    for (const KeyName& row : kKeyNames)
        if (strcmp(row.name, name) == 0)
            return row.key;
    return 0;
}

uint32_t CKeyboard::ModifiersFromText(const char* text)
{
    uint32_t mask = 0;
    for (int32_t n = 0;; ++n)
    {
        const std::optional<CString> word = FieldOf(text, n);
        if (!word)
            return mask;
        for (const ModifierWord& modifier : kModifierWords)
            if (*word == modifier.word)
                mask |= modifier.mask;
    }
}
