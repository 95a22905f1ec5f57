#pragma once
// A scope's drawing list: drawings by pass, drawn once per frame in the pass order of the
// document "game" (its "draw" element's children, attribute "id"), this list's drawings then
// the "global" list's in each pass. A drawing that covers everything before it (CoversBelow)
// hides those drawings for the frame; they are told so.
// Invariant: drawings may register, unregister or die while the list draws; a walk never
// skips or repeats a live entry because of it (entries are only erased outside callbacks).
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CResizes.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

class CDrawing;

class CDrawings : public CBase, public CResizes
{
  public:
    // The list of the scope "global" becomes the one every list draws along with its own.
    explicit CDrawings(uint32_t scopeId);
    // Tells every live drawing OnListDestroyed.
    ~CDrawings() override;

    // Appends the drawing to the pass (registered set, frame stamp 0). Null is ignored.
    void Add(CDrawing* drawing, const char* passName);
    void Add(CDrawing* drawing, uint32_t passId);
    // Removes the drawing's first entry in the pass; it stays registered while any pass of
    // this list still holds it.
    void Remove(CDrawing* drawing, const char* passName);
    void Remove(CDrawing* drawing, uint32_t passId);

    // Reads the pass order from the document "game" when it is empty. A missing document
    // leaves it empty, and it is read again at the next draw.
    void LoadOrder();
    // One frame: cover search, the platform's frame begin, every pass in order, buffer swap.
    // Nothing at all happens while there is no "global" list.
    void Draw();

    uint32_t GetScopeId() const { return m_scopeId; }
    const std::vector<uint32_t>& GetPassOrder() const { return m_passOrder; }
    // Live, registered entries of a pass.
    int32_t CountInPass(const char* passName) const;
    int32_t GetDrawCount() const { return m_drawCount; }

    // The "global" scope's list, or null.
    static CDrawings* GetGlobal();

  private:
    using Pass = std::deque<CLink<CDrawing>>;

    // Calls fn(drawing) for every live, registered entry of the pass in this list, then in
    // the global list (when that is another list).
    template <typename Fn> void ForEachInPass(uint32_t passId, CDrawings* global, Fn fn);
    // Erases the entries whose drawing is gone or no longer registered.
    void Prune(uint32_t passId);
    bool Holds(const CDrawing* drawing) const;

    uint32_t m_scopeId;
    std::vector<uint32_t> m_passOrder;
    std::map<uint32_t, Pass> m_passes;
    int32_t m_drawCount = 0;
    // Non-zero while a draw walks this list: removals then only clear their entry.
    int32_t m_walking = 0;
};
