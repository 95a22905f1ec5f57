#pragma once
// A node of an intrusive, non-owning list (CLinkList). Invariant: a node is in a
// list exactly when its prev is set; then prev points at the previous node's next field.

class CLinkNode
{
  public:
    CLinkNode() = default;
    ~CLinkNode() { Unlink(); }
    // A node's address is known to its neighbours, so it never copies or moves;
    // holders that must be copyable (CLink) re-link a fresh node instead.
    CLinkNode(const CLinkNode&) = delete;
    CLinkNode& operator=(const CLinkNode&) = delete;

    void SetOwner(void* owner) { m_owner = owner; }
    // The object that contains this node, as set by SetOwner; list walkers use it.
    template <typename T> T* GetOwner() const { return static_cast<T*>(m_owner); }

    bool IsLinked() const { return m_prev != nullptr; }
    // The following node of the same list, or null at the end or when in no list.
    CLinkNode* Next() const { return m_next && m_next->m_next ? m_next : nullptr; }

    // Leaves the list the node is in, joining its neighbours; nothing when in no list.
    void Unlink();
    // Unlink through a pointer that may be null.
    static void UnlinkThrough(CLinkNode* node);

  private:
    friend class CLinkList;

    CLinkNode* m_next = nullptr;
    CLinkNode** m_prev = nullptr;
    void* m_owner = nullptr;
};
