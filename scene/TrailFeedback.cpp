#include "scene/TrailFeedback.h"

#include "platform/CGesture.h"
#include "scene/CParticles.h"

bool TrailFeedback::Install()
{
    CGesture::FeedbackHooks hooks = CGesture::SetFeedbackHooks(CGesture::FeedbackHooks());
    hooks.makeTrail = &MakeTrail;
    hooks.capacityOf = &CapacityOf;
    hooks.emitAt = &EmitAt;
    CGesture::SetFeedbackHooks(hooks);
    return true;
}

CRef<CBase> TrailFeedback::MakeTrail()
{
    return CParticles::CreateIn("trail", "global");
}

int32_t TrailFeedback::CapacityOf(CBase* trail)
{
    const CParticles* particles = dynamic_cast<CParticles*>(trail);
    return particles ? particles->GetPoolSize() : 0;
}

void TrailFeedback::EmitAt(CBase* trail, const Vector2<float>& position, float delaySeconds)
{
    if (CParticles* particles = dynamic_cast<CParticles*>(trail))
        particles->EmitAt(position, delaySeconds);
}
