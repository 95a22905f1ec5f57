#pragma once
// The program's composition root: the one place where every service and hook that a lower
// subsystem declares gets the real implementation from the subsystem that owns the behaviour.
// main calls Install before anything starts and Uninstall after everything has ended; nothing
// else installs a seam in the program (tests install their own fakes).
//
// To add a seam: install it in Install below (and take it back in Uninstall), add its entry to
// the table in wiring/OpenSeams.cpp so that the start-up check sees it, and delete its line from
// the waiting list there. The program test "open_seams" fails on a seam left at its default that
// is not on the waiting list, and on a waiting entry that is in fact installed.
class GameWiring
{
  public:
    // Installs every seam; calling it again changes nothing.
    static void Install();
    // Puts every seam this installed back to its do-nothing default.
    static void Uninstall();
};
