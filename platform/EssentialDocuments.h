#pragma once
// The documents the game cannot run without: "rules" (every tuning value) and "game" (the
// drawing passes and the input groups, without which no key reaches the game). A missing,
// empty or damaged one is refused at start, with one line that names the file and what is
// wrong, rather than taken as a document of zeros that shows a window no key can close.
#include "core/CString.h"

namespace EssentialDocuments
{
// What is wrong with "<data folder>/<name>.xml" ("missing <path>", "<path> is empty", "<path> is
// damaged: not one whole XML document"), or "" when it reads whole.
CString Check(const char* name);
// The first problem of the essential documents in start-up order ("rules", then "game"), or "".
CString CheckAll();
} // namespace EssentialDocuments
