#pragma once
// Interface of objects told when the display was lost, resized or rotated (GL
// objects to drop, layouts to redo). An object is registered from construction
// to destruction, in construction order.
#include "core/CLinkNode.h"

class CBroadcastList;

class CResizes
{
public:
    CResizes();
    // A copy is a new registration; the original stays registered.
    CResizes(const CResizes&);
    CResizes& operator=(const CResizes&) { return *this; }
    virtual ~CResizes();

    // Before the video mode is set again and at exit: drop what lives in the GL context.
    virtual void Invalidate() {}
    // After the window size and the logical views have been recomputed.
    virtual void Resize() {}
    // At the end of a screen rotation.
    virtual void Rotate() {}

    // Each calls every registered object in registration order. A receiver may
    // unregister or destroy itself or any other receiver during the broadcast.
    static void InvalidateAll();
    static void ResizeAll();
    static void RotateAll();
    static int CountRegistered();

private:
    static CBroadcastList& Receivers();

    CLinkNode m_node;
};
