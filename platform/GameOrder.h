#pragma once
// The orders that the document "game" gives the platform: the drawing passes (its "draw"
// element) and the control groups (its "control" element).
#include <cstdint>
#include <vector>

// HashString of the "id" of every child element of the root's first child named section, in
// document order; duplicates kept, children without an id skipped. Empty when the document,
// or the section, is missing.
std::vector<uint32_t> ReadGameOrder(const char* section);
