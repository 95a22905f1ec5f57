#pragma once
// Moves a pane's screen rectangle as a function of its show progress, so that a pane slides in
// while shown and out while hidden; the plain kind is "default". Kinds are made by name from a
// registry filled by static initialisers, names compared without regard to case; registering a
// name again replaces its creator.
#include "core/CBase.h"
#include "core/CRef.h"
#include "core/Vector4.h"

class CPaneTransition : public CBase
{
  public:
    using Creator = CRef<CPaneTransition> (*)();

    // rect is (x, y, width, height) in screen pixels, changed in place; progress runs from 0
    // (hidden) to 1 (shown). The default kind slides the pane up past the top edge as progress
    // falls, with a smoothstep ease.
    virtual void Apply(Vector4<float>& rect, float progress);

    static CRef<CPaneTransition> Create();

    // For static initialisers.
    static void Register(const char* name, Creator creator);
    // The creator registered under name, or null.
    static Creator FindCreator(const char* name);
};
