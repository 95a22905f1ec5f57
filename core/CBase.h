#pragma once
// Base of every long-lived object: intrusively counted (CRef) and weakly linkable
// (CLink). Invariant: the count is the number of counted holders, 1 at construction
// for the creator; every CLink to the object reads null once the object is gone.
#include "core/CLinkList.h"

#include <cstdint>

class CBase
{
  public:
    CBase() = default;
    virtual ~CBase() = default;
    // Weak links point at the object's address: it never copies or moves.
    CBase(const CBase&) = delete;
    CBase& operator=(const CBase&) = delete;

    // Set-up after construction; whoever creates an object that needs it calls it once.
    virtual void Init() {}
    // Called by the last Release while the object is still whole, before any destructor.
    virtual void Exit() {}

    void AddRef() { ++m_refCount; }
    // Drops one reference and returns the count left; at 0 runs Exit, then deletes.
    int Release();
    int GetRefCount() const { return m_refCount; }
    // The number of CLinks that currently point at this object.
    int CountBackLinks() const { return m_backLinks.Count(); }

  private:
    template <typename> friend class CLink;
    CLinkList& BackLinks() { return m_backLinks; }

    // Its destructor detaches every CLink node, which makes each of those links read null.
    CLinkList m_backLinks;
    int32_t m_refCount = 1;
};
