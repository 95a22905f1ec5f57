#include "ui/CButtonTransition.h"

#include "core/ContentLimits.h"
#include "ui/CButtonServices.h"

void CButtonTransition::Start(int32_t targetPhase, float delay)
{
    m_startTime = CButtonServices::Get().GetGameTime() + SignedSecondsToMs(delay);
    m_targetPhase = uint32_t(targetPhase);
}
