#include "platform/CDrawings.h"

#include "core/CRef.h"
#include "core/HashString.h"
#include "platform/CDrawing.h"
#include "platform/CGame.h"
#include "platform/GameOrder.h"
#include "platform/PlatformHooks.h"
#include "platform/WalkMark.h"

namespace
{
CLink<CDrawings> s_global;
} // namespace

CDrawings::CDrawings(uint32_t scopeId) : m_scopeId(scopeId)
{
    if (scopeId == CGame::GlobalScopeId())
        s_global.Set(this);
}

CDrawings::~CDrawings()
{
    ++m_walking; // a drawing told of the end may unregister: keep the indices put
    for (auto& [passId, pass] : m_passes)
        for (size_t i = 0; i < pass.size(); ++i)
            if (CDrawing* drawing = pass[i].Get())
                drawing->OnListDestroyed();
    m_passes.clear();
}

void CDrawings::Add(CDrawing* drawing, const char* passName)
{
    Add(drawing, HashString(passName));
}

void CDrawings::Add(CDrawing* drawing, uint32_t passId)
{
    if (!drawing)
        return;
    drawing->m_registered = true;
    drawing->m_frameStamp = 0;
    m_passes[passId].emplace_back(drawing);
}

void CDrawings::Remove(CDrawing* drawing, const char* passName)
{
    Remove(drawing, HashString(passName));
}

void CDrawings::Remove(CDrawing* drawing, uint32_t passId)
{
    if (!drawing)
        return;
    const auto found = m_passes.find(passId);
    if (found != m_passes.end())
    {
        Pass& pass = found->second;
        for (size_t i = 0; i < pass.size(); ++i)
        {
            if (pass[i].Get() != drawing)
                continue;
            // While a draw walks the list its indices must stay put: clear now, erase later.
            if (m_walking > 0)
                pass[i].Clear();
            else
                pass.erase(pass.begin() + std::ptrdiff_t(i));
            break;
        }
    }
    drawing->m_registered = Holds(drawing);
}

void CDrawings::LoadOrder()
{
    if (m_passOrder.empty())
        m_passOrder = ReadGameOrder("draw");
}

void CDrawings::Draw()
{
    CRef<CDrawings> global(s_global.Get());
    if (!global)
        return;
    CRef<CDrawings> self(this); // a drawing may end what owns this list
    LoadOrder();
    WalkMark walkingThis(m_walking);
    WalkMark walkingGlobal(global->m_walking);

    for (uint32_t passId : m_passOrder)
    {
        Prune(passId);
        if (global.Get() != this)
            global->Prune(passId);
    }

    // A weak link: the cover may die while other drawings are asked or told they are hidden.
    CLink<CDrawing> cover;
    size_t coverPass = 0;
    for (size_t i = 0; i < m_passOrder.size(); ++i)
    {
        const uint32_t passId = m_passOrder[i];
        ForEachInPass(passId, global.Get(),
                      [&](CDrawing* drawing)
                      {
                          drawing->m_passId = passId;
                          if (drawing->CoversBelow())
                          {
                              cover.Set(drawing);
                              coverPass = i;
                          }
                      });
    }

    if (PlatformHooks::BeginFrame())
    {
        bool pending = cover.Get() != nullptr;
        for (size_t i = 0; i < m_passOrder.size(); ++i)
        {
            const uint32_t passId = m_passOrder[i];
            ForEachInPass(passId, global.Get(),
                          [&](CDrawing* drawing)
                          {
                              drawing->m_passId = passId;
                              const bool hidden =
                                  pending && (i < coverPass || (i == coverPass && drawing != cover.Get()));
                              if (hidden)
                              {
                                  drawing->OnHidden();
                                  return;
                              }
                              if (i == coverPass)
                                  pending = false;
                              drawing->m_frameStamp = PlatformHooks::GetFrameCount();
                              drawing->Draw();
                          });
            if (i == coverPass)
                pending = false; // a cover that left its pass hides nothing beyond it
        }
        PlatformHooks::SwapBuffers();
    }
    ++m_drawCount;
}

int32_t CDrawings::CountInPass(const char* passName) const
{
    const auto found = m_passes.find(HashString(passName));
    if (found == m_passes.end())
        return 0;
    int32_t count = 0;
    for (const CLink<CDrawing>& link : found->second)
        if (link.Get() && link.Get()->m_registered)
            ++count;
    return count;
}

CDrawings* CDrawings::GetGlobal()
{
    return s_global.Get();
}

template <typename Fn> void CDrawings::ForEachInPass(uint32_t passId, CDrawings* global, Fn fn)
{
    CDrawings* lists[2] = {this, global != this ? global : nullptr};
    for (CDrawings* list : lists)
    {
        if (!list)
            continue;
        const auto found = list->m_passes.find(passId);
        if (found == list->m_passes.end())
            continue;
        // By index, the size read again each step: a callback may append to this pass, and
        // removals during the walk only clear entries. The deque keeps its place in the map.
        Pass& pass = found->second;
        for (size_t i = 0; i < pass.size(); ++i)
        {
            CDrawing* drawing = pass[i].Get();
            if (drawing && drawing->m_registered)
                fn(drawing);
        }
    }
}

void CDrawings::Prune(uint32_t passId)
{
    const auto found = m_passes.find(passId);
    if (found == m_passes.end())
        return;
    Pass& pass = found->second;
    for (size_t i = 0; i < pass.size();)
    {
        CDrawing* drawing = pass[i].Get();
        if (!drawing || !drawing->m_registered)
            pass.erase(pass.begin() + std::ptrdiff_t(i));
        else
            ++i;
    }
}

bool CDrawings::Holds(const CDrawing* drawing) const
{
    for (const auto& [passId, pass] : m_passes)
        for (const CLink<CDrawing>& link : pass)
            if (link.Get() == drawing)
                return true;
    return false;
}
