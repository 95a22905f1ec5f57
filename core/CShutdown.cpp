#include "core/CShutdown.h"

#include "core/CBroadcastList.h"

namespace
{
CBroadcastList* s_receivers = nullptr;
}

CShutdown::CShutdown()
{
    m_node.SetOwner(this);
    Receivers().Add(m_node);
}

CShutdown::CShutdown(const CShutdown&) : CShutdown()
{
}

CShutdown::~CShutdown()
{
    Receivers().Remove(m_node);
}

void CShutdown::ShutdownAll()
{
    Receivers().ForEach<CShutdown>([](CShutdown& receiver) { receiver.Shutdown(); });
}

int CShutdown::CountRegistered()
{
    return Receivers().Count();
}

CBroadcastList& CShutdown::Receivers()
{
    return CBroadcastList::MadeOnFirstUse(s_receivers);
}
