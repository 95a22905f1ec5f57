#pragma once
// The orders that the document "game" gives the platform: the drawing passes (its "draw"
// element) and the control groups (its "control" element).
#include "core/CString.h"

#include <cstdint>
#include <string_view>
#include <vector>

class CXmlNode;

// HashString of the "id" of every child element of the root's first child named section, in
// document order; duplicates kept, children without an id skipped. Empty when the document,
// or the section, is missing.
std::vector<uint32_t> ReadGameOrder(const char* section);

// The passes the game's drawings register in and the groups its controls join. One missing
// from "game" leaves what draws in it unseen (a blank screen) or what listens in it deaf.
const std::vector<std::string_view>& GamePasses();
const std::vector<std::string_view>& GameControlGroups();

// The first pass or group of the game that a "game" document's root does not name (in its
// "draw" and "control" elements), or "" when it names them all. Names the game does not use,
// children without an id, duplicates and the order are the content's choice.
CString CheckGameOrder(CXmlNode& root);
