#pragma once
// Turns the key names and modifier words of the key-binding document into SDL 1.2 key symbols
// and KMOD masks. The name table is read-only and fixed at compile time, so both look-ups are
// static and need no instance; the singleton stands for the table in the "global" group.
// Invariant: names are exact and case-sensitive; an unknown name or word gives 0.
#include "core/CBase.h"
#include "core/CSingleton.h"

#include <cstdint>

class CKeyboard : public CBase, public CSingleton<CKeyboard>
{
  public:
    // The key symbol of the first table row named exactly name; 0 when none is. Printable keys
    // are named by their own character (lower-case letters only; no "%"); the four characters
    // XML escapes are named as written in an attribute: "&quot;", "&amp;", "&lt;", "&gt;".
    static uint32_t KeyFromName(const char* name);
    // The OR of the masks of the comma-separated words ("shift" 0x0003, "ctrl" 0x00C0, "alt"
    // 0x0300, "cmd" 0x0C00); other words add nothing; 0 for an empty or null text.
    static uint32_t ModifiersFromText(const char* text);

  private:
    friend class CSingleton<CKeyboard>;
    CKeyboard() = default;
};
