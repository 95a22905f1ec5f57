#pragma once
// Interface of objects told that the program is about to end (before the modes
// are popped), while everything else still exists. Registered from construction
// to destruction, in construction order.
#include "core/CLinkNode.h"

class CBroadcastList;

class CShutdown
{
public:
    CShutdown();
    // A copy is a new registration; the original stays registered.
    CShutdown(const CShutdown&);
    CShutdown& operator=(const CShutdown&) { return *this; }
    virtual ~CShutdown();

    virtual void Shutdown() = 0;

    // Calls Shutdown on every registered object in registration order; a receiver
    // may unregister or destroy itself or any other receiver meanwhile.
    static void ShutdownAll();
    static int CountRegistered();

private:
    static CBroadcastList& Receivers();

    CLinkNode m_node;
};
