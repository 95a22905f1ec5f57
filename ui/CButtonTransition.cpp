#include "ui/CButtonTransition.h"

#include "ui/CButtonServices.h"

void CButtonTransition::Start(int32_t targetPhase, float delay)
{
    m_startTime = CButtonServices::Get().GetGameTime() + int32_t(delay * 1000.0f);
    m_targetPhase = uint32_t(targetPhase);
}
