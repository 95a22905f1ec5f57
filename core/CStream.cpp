#include "core/CStream.h"

bool CStream::ReadAll(CString& out)
{
    out.clear();
    if (!IsOpen())
        return false;
    // Grows by what was really read, so a lying length field elsewhere cannot inflate it.
    char chunk[16384];
    for (;;)
    {
        const size_t got = Read(chunk, sizeof(chunk));
        out.append(chunk, got);
        if (got < sizeof(chunk) || HasError())
            break;
    }
    return !HasError();
}
