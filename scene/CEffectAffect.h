#pragma once
// The effect link of a plane layer: a callback that makes another layer of the current pond, found
// by name, react (CLayer::Affect). The name is looked up on the first invocation that finds it;
// later invocations reuse that layer until it dies. Invariant: the link holds a layer only while
// that layer lives.
#include "core/CBase.h"
#include "core/CCallback.h"
#include "core/CLink.h"
#include "core/CString.h"

class CLayer;

class CEffectAffect : public CCallback
{
  public:
    explicit CEffectAffect(const CString& target);
    ~CEffectAffect() override;

    // Runs the target layer's Affect; nothing while the current pond has no layer of that name.
    // The target may draw at once, so call it while a frame is being drawn.
    void Invoke() override;

    const CString& GetTargetName() const { return m_target; }
    // The linked layer, or null while unresolved.
    CLayer* GetTarget() const;

  private:
    CString m_target;
    CLink<CBase> m_layer;
};
