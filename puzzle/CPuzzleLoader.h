#pragma once
// A puzzle load deferred until a screen flip or a mode change fires it: enters the game from the
// front end when needed, then loads the named puzzle from its home pose. An empty name goes back
// to the front end instead.
#include "core/CCallback.h"
#include "core/CString.h"

class CPuzzleLoader : public CCallback
{
  public:
    explicit CPuzzleLoader(const CString& name) : m_name(name) {}

    void Invoke() override;
    const CString& GetName() const { return m_name; }

  private:
    CString m_name;
};
