#pragma once
// Interface of everything visible: an object drawn each frame in named drawing passes of a
// scope's drawing list (CDrawings). Lists hold it by weak links, so a drawing that dies simply
// drops out; it should still unregister from the passes it joined.
#include "core/CLinkList.h"

#include <cstdint>

template <typename> class CLink;

class CDrawing
{
  public:
    CDrawing() = default;
    // Lists find the drawing by its address: it never copies or moves.
    CDrawing(const CDrawing&) = delete;
    CDrawing& operator=(const CDrawing&) = delete;
    // Its back-link list's destruction empties every list's link to it.
    virtual ~CDrawing() = default;

    // Draws it; GetPassId tells which pass is being drawn.
    virtual void Draw() = 0;
    // Not drawn this frame because a drawing after it covers the screen.
    virtual void OnHidden() {}
    // Whether it covers everything drawn before it in this frame (asked with the pass id set).
    virtual bool CoversBelow() { return false; }
    // The list holding it is being destroyed.
    virtual void OnListDestroyed() {}

    // Adds it to a pass of the named scope's list (the scope made when absent), or of the
    // current scope's list. Makes the game on first use, since global singletons may register
    // before it is started.
    void Register(const char* scopeName, const char* passName);
    void RegisterInCurrentScope(const char* passName);
    // Removes it from a pass of the named scope's list; safe after the game has gone.
    void Unregister(const char* scopeName, const char* passName);

    // True while it is in at least one pass of a list.
    bool IsRegistered() const { return m_registered; }
    // The platform frame count when it was last drawn; 0 when added.
    int32_t GetFrameStamp() const { return m_frameStamp; }
    // HashString of the pass being drawn or searched for a cover.
    uint32_t GetPassId() const { return m_passId; }

  private:
    friend class CDrawings;
    template <typename> friend class CLink;
    CLinkList& BackLinks() { return m_backLinks; }

    bool m_registered = false;
    int32_t m_frameStamp = 0;
    uint32_t m_passId = 0;
    CLinkList m_backLinks;
};
