#pragma once
// Weak, self-clearing pointer to an object that keeps a back-link list (CBase).
// Invariant: the link's node is in the target's back-link list exactly while the link
// has a target; when the target dies it detaches the node and the link reads null.
//
// Copies and moves re-link at the new address, so links may live in growing or
// erasing std::vector and std::deque; a moved-from link is empty.
#include "core/CLinkNode.h"

template <typename T> class CLink
{
  public:
    CLink() { m_node.SetOwner(this); }
    explicit CLink(T* target) : CLink() { Set(target); }
    CLink(const CLink& other) : CLink() { Set(other.Get()); }
    CLink(CLink&& other) noexcept : CLink()
    {
        Set(other.Get());
        other.Clear();
    }
    CLink& operator=(const CLink& other)
    {
        if (this != &other)
            Set(other.Get());
        return *this;
    }
    CLink& operator=(CLink&& other) noexcept
    {
        if (this != &other)
        {
            Set(other.Get());
            other.Clear();
        }
        return *this;
    }
    ~CLink() { Clear(); }

    // Points the link at the target (or at nothing for null).
    void Set(T* target)
    {
        Clear();
        if (!target)
            return;
        m_target = target;
        target->BackLinks().PushBack(m_node);
    }
    void Clear()
    {
        m_node.Unlink();
        m_target = nullptr;
    }

    // The target, or null when unset or once the target has died.
    T* Get() const { return m_node.IsLinked() ? m_target : nullptr; }
    T* operator->() const { return Get(); }
    explicit operator bool() const { return Get() != nullptr; }

  private:
    CLinkNode m_node;
    T* m_target = nullptr;
};
