#include "core/CResizes.h"

#include "core/CBroadcastList.h"

namespace
{
CBroadcastList* s_receivers = nullptr;
}

CResizes::CResizes()
{
    m_node.SetOwner(this);
    Receivers().Add(m_node);
}

CResizes::CResizes(const CResizes&) : CResizes()
{
}

CResizes::~CResizes()
{
    Receivers().Remove(m_node);
}

void CResizes::InvalidateAll()
{
    Receivers().ForEach<CResizes>([](CResizes& receiver) { receiver.Invalidate(); });
}

void CResizes::ResizeAll()
{
    Receivers().ForEach<CResizes>([](CResizes& receiver) { receiver.Resize(); });
}

void CResizes::RotateAll()
{
    Receivers().ForEach<CResizes>([](CResizes& receiver) { receiver.Rotate(); });
}

int CResizes::CountRegistered()
{
    return Receivers().Count();
}

CBroadcastList& CResizes::Receivers()
{
    return CBroadcastList::MadeOnFirstUse(s_receivers);
}
