#include "core/CLinkNode.h"

void CLinkNode::Unlink()
{
    if (!m_prev)
        return;
    // A list's tail sentinel has no next; it unlinks when its list is destroyed.
    if (m_next)
        m_next->m_prev = m_prev;
    *m_prev = m_next;
    m_next = nullptr;
    m_prev = nullptr;
}

void CLinkNode::UnlinkThrough(CLinkNode* node)
{
    if (node)
        node->Unlink();
}
