#pragma once
// An intrusive list of CLinkNodes between a head and a tail sentinel, in insertion
// order. It owns nothing: clearing or destroying it detaches its nodes and frees none.
#include "core/CLinkNode.h"

class CLinkList
{
  public:
    CLinkList();
    ~CLinkList();
    // The sentinels' addresses are held by the nodes, so a list never copies or moves.
    CLinkList(const CLinkList&) = delete;
    CLinkList& operator=(const CLinkList&) = delete;

    // Appends the node; a node still in some list leaves it first.
    void PushBack(CLinkNode& node);

    bool IsEmpty() const { return m_head.m_next == &m_tail; }
    // Walks the list: O(n).
    int Count() const;
    // The first node, or null when empty; continue with CLinkNode::Next. A walker
    // that may unlink the current node reads Next before acting on it.
    CLinkNode* First() const { return IsEmpty() ? nullptr : m_head.m_next; }

    // Detaches every node (each is then in no list) and leaves the list empty.
    void Clear();
    // For a list of CLink nodes: every link reads null afterwards. A CLink whose node
    // is in no list reads null, so detaching is all it takes.
    void ResetLinks() { Clear(); }

  private:
    CLinkNode m_head;
    CLinkNode m_tail;
};
