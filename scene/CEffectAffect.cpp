#include "scene/CEffectAffect.h"

#include "scene/CLayer.h"
#include "scene/CPond.h"

CEffectAffect::CEffectAffect(const CString& target) : m_target(target) {}

CEffectAffect::~CEffectAffect()
{
    m_layer.Clear();
}

void CEffectAffect::Invoke()
{
    if (!m_layer)
        if (const CPond* pond = CPond::GetCurrent())
            m_layer.Set(pond->FindLayer(m_target.c_str()));
    if (CLayer* layer = GetTarget())
        layer->Affect();
}

CLayer* CEffectAffect::GetTarget() const
{
    return static_cast<CLayer*>(m_layer.Get());
}
