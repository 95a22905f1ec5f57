#pragma once
// What the game keeps per mode name: a weak link to the mode object and the mode's input
// receivers, timed callbacks and drawing list, each made on first request and kept for the
// scope's whole life, so that registrations outlive the mode object.
#include "core/CLink.h"
#include "core/CRef.h"
#include "platform/CMode.h"

#include <cstdint>

class CControls;
class CDrawings;
class CScheduler;

class Scope
{
  public:
    explicit Scope(uint32_t id);
    // Releases controls, drawings and scheduler in that order, then clears the mode link.
    ~Scope();
    // Services keep the scope's id: a scope never copies or moves.
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

    uint32_t GetId() const { return m_id; }
    // The live mode object of this name, or null.
    CMode* GetMode() const { return m_mode.Get(); }
    void SetMode(CMode* mode) { m_mode.Set(mode); }

    // Each makes its service on the first call (the scheduler gets its Init).
    CControls& GetControls();
    CScheduler& GetScheduler();
    CDrawings& GetDrawings();
    // The service if it was made, or null; never makes one.
    CControls* PeekControls() const { return m_controls.Get(); }
    CScheduler* PeekScheduler() const { return m_scheduler.Get(); }
    CDrawings* PeekDrawings() const { return m_drawings.Get(); }

  private:
    uint32_t m_id;
    CLink<CMode> m_mode;
    CRef<CScheduler> m_scheduler;
    CRef<CDrawings> m_drawings;
    CRef<CControls> m_controls;
};
