#pragma once
// What the puzzle chooser shows of a puzzle file, read lightly with the pull reader so that the
// front end never makes the in-game puzzle. The pond and frog texts are found only in a file that
// puts "pond" right after "hint" and "frog" after it; the other values are found in any order.
#include "core/CString.h"

#include <cstdint>

struct PuzzleListing
{
    CString title;
    // The "difficulty" of "hint"; 0 without one.
    float difficulty = 0.0f;
    // The child elements of "hint" after the first (the home pose); 0 without one.
    int32_t par = 0;
    CString pondTemplate;
    CString species;
};
