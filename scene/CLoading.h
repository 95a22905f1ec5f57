#pragma once
// The loading screen shown while the mode group "global" creates its singletons: one frame per
// created singleton, swallowing the platform's events meanwhile (input during start-up is lost).
// Invariant: it draws and drains only between Begin and Finish; a step outside does nothing.
#include "core/CBase.h"
#include "core/CSingleton.h"
#include "core/CSingletonBase.h"

#include <cstdint>

class CLoading : public CBase, public CSingleton<CLoading>
{
  public:
    ~CLoading() override;

    // Brings up the file system, then the platform layer (in that order: the platform reads the
    // tuning values the file system loads), and becomes the singleton registry's step.
    void Begin();
    // One frame of the screen when a frame can begin; then every pending event is dropped.
    void Step();
    // Stops stepping and hands the screen back: the GL state cache is set up again for the game.
    void Finish();
    // One frame: the clear, then (once textures exist) the picture and the row of droplets.
    void Draw();

    bool IsActive() const { return m_active; }
    // Steps taken since Begin.
    int32_t GetStepCount() const { return m_stepCount; }

  private:
    friend class CSingleton<CLoading>;
    CLoading() = default;

    static void StepHook();

    // Stands for "the picture is held" until textures exist: set by Begin, cleared by Finish.
    bool m_active = false;
    int32_t m_stepCount = 0;
    CSingletonBase::StepHook m_previousStepHook = nullptr;
};
