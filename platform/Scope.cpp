#include "platform/Scope.h"

#include "core/CScheduler.h"
#include "platform/CControls.h"
#include "platform/CDrawings.h"
#include "platform/CMode.h"

Scope::Scope(uint32_t id) : m_id(id) {}

Scope::~Scope()
{
    m_controls.Reset();
    m_drawings.Reset();
    m_scheduler.Reset();
    m_mode.Clear();
}

CControls& Scope::GetControls()
{
    if (!m_controls)
        m_controls = MakeRef<CControls>(m_id);
    return *m_controls;
}

CScheduler& Scope::GetScheduler()
{
    if (!m_scheduler)
    {
        m_scheduler = MakeRef<CScheduler>();
        m_scheduler->Init();
    }
    return *m_scheduler;
}

CDrawings& Scope::GetDrawings()
{
    if (!m_drawings)
        m_drawings = MakeRef<CDrawings>(m_id);
    return *m_drawings;
}
