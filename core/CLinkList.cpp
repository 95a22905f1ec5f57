#include "core/CLinkList.h"

CLinkList::CLinkList()
{
    m_head.m_next = &m_tail;
    m_tail.m_prev = &m_head.m_next;
}

CLinkList::~CLinkList()
{
    Clear();
}

void CLinkList::PushBack(CLinkNode& node)
{
    node.Unlink();
    node.m_next = &m_tail;
    node.m_prev = m_tail.m_prev;
    *m_tail.m_prev = &node;
    m_tail.m_prev = &node.m_next;
}

int CLinkList::Count() const
{
    int count = 0;
    for (const CLinkNode* node = m_head.m_next; node != &m_tail; node = node->m_next)
        ++count;
    return count;
}

void CLinkList::Clear()
{
    CLinkNode* node = m_head.m_next;
    while (node != &m_tail)
    {
        CLinkNode* next = node->m_next;
        node->m_next = nullptr;
        node->m_prev = nullptr;
        node = next;
    }
    m_head.m_next = &m_tail;
    m_tail.m_prev = &m_head.m_next;
}
