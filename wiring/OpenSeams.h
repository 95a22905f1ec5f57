#pragma once
// The start-up check that no seam is left silent: every service operation and hook that a lower
// subsystem declares is listed with a way to tell whether it is still at its do-nothing default,
// and the seams that only a later piece of work can fill are listed with what they wait for.
#include <string>
#include <vector>

class OpenSeams
{
  public:
    struct Seam
    {
        const char* name;   // "Class::Operation" or "Class::hook"
        bool (*installed)(); // false while the seam is at its do-nothing default
    };
    struct Waiting
    {
        const char* name;     // as in the seam table
        const char* waitsFor; // the feature whose arrival installs it
    };

    static const std::vector<Seam>& All();
    static const std::vector<Waiting>& WaitingList();

    // One line per fault, empty when the wiring is complete: "open: <name>" for a seam at its
    // default that waits for nothing, "installed but listed as waiting: <name>" for a stale entry,
    // and "unknown waiting entry: <name>" for a waiting name that is not in the table.
    static std::vector<std::string> Check();
};
