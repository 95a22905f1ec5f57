#include "core/CRefCounted.h"

#include <cassert>

int CRefCounted::Release()
{
    assert(m_refCount > 0 && "Release without a matching reference: hold the object in a CRef");
    if (--m_refCount > 0)
        return m_refCount;
    // As in CBase: a destructor that takes and drops a reference must not delete again.
    m_refCount = 1;
    delete this;
    return 0;
}
