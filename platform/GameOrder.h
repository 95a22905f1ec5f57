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

// The passes the game draws in and the groups its controls join: a name the game does not know
// draws nothing or reaches nothing, and a missing one leaves part of the game unseen or deaf.
const std::vector<std::string_view>& GamePasses();
const std::vector<std::string_view>& GameControlGroups();

// What is wrong with the orders of a "game" document's root, or "" when both name every pass
// and group of the game and nothing else (each at least once; a child without an id is a fault).
CString CheckGameOrder(CXmlNode& root);
