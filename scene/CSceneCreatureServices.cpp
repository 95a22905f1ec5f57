#include "scene/CSceneCreatureServices.h"

#include "creatures/CEntice.h"
#include "creatures/CFloater.h"
#include "platform/CCursor.h"
#include "puzzle/CPuzzle.h"
#include "scene/CParticle.h"

void CSceneCreatureServices::SetPondTargets(const std::vector<Vector2<float>>& cells)
{
    const CPuzzle* puzzle = CPuzzle::Peek();
    if (CPond* pond = puzzle ? dynamic_cast<CPond*>(puzzle->GetPond()) : nullptr)
        pond->SetTargets(cells);
}

void CSceneCreatureServices::ShowTip(const CString& text, const Vector2<float>& position, float size)
{
    const CRef<CFloater> tip = CFloater::Create(text, position.x, position.y, size);
    tip->SetKeepOnScreen(true);
}

CRef<CBase> CSceneCreatureServices::MakeParticle(const Vector2<float>& position)
{
    CRef<CParticle> particle = CParticle::Create("Entice");
    if (particle)
        particle->position = position;
    return particle;
}

void CSceneCreatureServices::DrawParticle(CBase& particle, int32_t now)
{
    // Only particles of MakeParticle reach here.
    static_cast<CParticle&>(particle).Draw(now);
}

void CSceneCreatureServices::SendTargetsToEntice(const std::vector<Vector2<float>>& cells)
{
    // Peek: a menu pond must not bring the effect up outside its group.
    if (CEntice* entice = CEntice::Peek())
        entice->SetTargets(cells);
}

void CSceneCreatureServices::SetCursor(const char* name, int32_t ms)
{
    if (CCursor* cursor = CCursor::Peek())
        cursor->SetCursor(name, ms);
}
