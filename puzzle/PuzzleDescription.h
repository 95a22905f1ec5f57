#pragma once
// One puzzle file as read: every field of the format with its default. It holds no play state,
// so tools, validators and tests read files with it and CPuzzle copies it into play.
// Invariant after Read: complete is true exactly when the layout and valid home and goal poses
// were present.
#include "core/CString.h"
#include "core/Vector2.h"
#include "puzzle/Pose.h"

#include <cstdint>
#include <string_view>
#include <vector>

class CXmlNode;

struct PuzzleDescription
{
    // Par when a file gives none, or one below 1.
    static constexpr int32_t kDefaultPar = 15;
    static constexpr int32_t kDefaultUnlocks = 5;
    static constexpr float kDefaultDifficulty = 0.5f;

    CString title;
    int32_t unlocks = kDefaultUnlocks;
    int32_t category = 0;
    // The frog's species; empty to keep the frog that is loaded.
    CString species;
    // Knob cells in document order, each once (a repeated cell keeps its first place).
    std::vector<Vector2<int>> knobs;
    bool hasLayout = false;
    // 0 when missing or not a valid pose text.
    Pose home;
    Pose goal;
    // Board cell units; (0, 0) without a "pond" element.
    Vector2<float> pondPosition;
    // "fallback" without a "pond" element; "" for one without "template".
    CString pondTemplate = "fallback";
    // Tutorial script to run at the start; empty for none.
    CString instructions;
    float difficulty = kDefaultDifficulty;
    int32_t par = kDefaultPar;
    // The solution, home first; invalid step texts are left out.
    std::vector<Pose> hintSteps;
    // The layout and valid home and goal poses were present.
    bool complete = false;

    // Reads a puzzle document's root (null: nothing read; the result is false). name is the
    // puzzle's name, the title when the file gives none. Returns complete.
    bool Read(CXmlNode* root, const CString& name);
    // Reads a puzzle from XML text, as tests and tools hold it.
    bool Parse(std::string_view text, const CString& name);
};
