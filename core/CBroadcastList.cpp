#include "core/CBroadcastList.h"

void CBroadcastList::Add(CLinkNode& node)
{
    m_list.PushBack(node);
    for (Walk* walk = m_walks; walk; walk = walk->outer)
    {
        if (!walk->next)
            walk->next = &node;
    }
}

void CBroadcastList::Remove(CLinkNode& node)
{
    for (Walk* walk = m_walks; walk; walk = walk->outer)
    {
        if (walk->next == &node)
            walk->next = node.Next();
    }
    node.Unlink();
}
