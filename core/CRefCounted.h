#pragma once
// A light counted object for small function objects: no weak links, no hooks.
// Invariant: the count is the number of counted holders, 1 at construction.
#include <cstdint>

class CRefCounted
{
  public:
    CRefCounted() = default;
    virtual ~CRefCounted() = default;
    CRefCounted(const CRefCounted&) = delete;
    CRefCounted& operator=(const CRefCounted&) = delete;

    void AddRef() { ++m_refCount; }
    // Drops one reference and returns the count left; deletes the object at 0.
    int Release();
    int GetRefCount() const { return m_refCount; }

  private:
    int32_t m_refCount = 1;
};
