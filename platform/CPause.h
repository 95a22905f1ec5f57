#pragma once
// A scoped pause of a scheduler: the scheduler stands still from construction until the last
// of its CPause objects is destroyed. Invariant: a CPause holds exactly one of the scheduler's
// pauses while paused is set, and never outlives its effect on a dead scheduler.
#include "core/CBase.h"
#include "core/CLink.h"
#include "core/CRef.h"

class CScheduler;

class CPause : public CBase
{
  public:
    // Pauses the scheduler when it is alive (null pauses nothing).
    explicit CPause(CScheduler* scheduler);
    // Resumes the scheduler when it is still alive.
    ~CPause() override;
    // The scheduler's pause factory (CScheduler::CreatePause).
    static CRef<CBase> Create(CScheduler* scheduler);

    bool IsPaused() const { return m_paused; }

  private:
    bool m_paused = false;
    CLink<CScheduler> m_scheduler;
};
