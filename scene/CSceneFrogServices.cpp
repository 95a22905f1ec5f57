#include "scene/CSceneFrogServices.h"

#include "creatures/CFly.h"
#include "creatures/CFrog.h"
#include "creatures/CSkeleton.h"
#include "scene/CLayer.h"
#include "scene/CPond.h"

CPlaySkeleton* CSceneFrogServices::GetFrogSkeleton()
{
    return CFrog::Instance()->GetSkeleton();
}

void CSceneFrogServices::LoadSpecies(const CString& species)
{
    CFrog::Instance()->LoadSpecies(species);
}

void CSceneFrogServices::CatchFly()
{
    CFrog::Instance()->CatchFly();
}

void CSceneFrogServices::CancelCatch()
{
    if (CFrog* frog = CFrog::Peek())
        frog->CancelCatch();
}

void CSceneFrogServices::PlaceFlyForGoal()
{
    CFly::Instance()->PlaceForGoal();
}

void CSceneFrogServices::FlyJumpToRest()
{
    CFly::Instance()->JumpToRest();
}

bool CSceneFrogServices::GetFlyPosition(Vector2<float>& position)
{
    const CFly* fly = CFly::Peek();
    if (!fly)
        return false;
    position = fly->position;
    return true;
}

bool CSceneFrogServices::GetBoardOffset(Vector2<float>& offset)
{
    const CPond* pond = CPond::GetCurrent();
    if (!pond)
        return false;
    const CLayer* board = pond->FindLayer("board");
    offset = board ? board->GetOffset() : Vector2<float>();
    return true;
}

Vector3<float> CSceneFrogServices::GetLightVector()
{
    return CPond::GetLightVector();
}
