#include "core/CBase.h"

#include <cassert>

int CBase::Release()
{
    assert(m_refCount > 0 && "Release without a matching reference: hold the object in a CRef");
    if (--m_refCount > 0)
        return m_refCount;
    // Hold one reference while dying, so that Exit or a destructor that takes and
    // drops a CRef to the object does not delete it a second time.
    m_refCount = 1;
    Exit();
    assert(m_refCount == 1 && "Exit kept a reference to a dying object");
    delete this;
    return 0;
}
