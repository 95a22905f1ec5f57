#pragma once
// A list of broadcast receivers (CResizes, CShutdown, CTranslates) in
// registration order, whose walks survive receivers leaving or dying mid-walk:
// the one being called, the next one, or any other. Walks may nest.
#include "core/CLinkList.h"

class CBroadcastList
{
public:
    CBroadcastList() = default;
    CBroadcastList(const CBroadcastList&) = delete;
    CBroadcastList& operator=(const CBroadcastList&) = delete;

    // The list behind `slot`, made on first use and never freed: receivers that
    // are statics in any unit register during static initialisation and may
    // unregister after every other static is gone. `slot` is a constant-
    // initialised pointer at namespace scope.
    static CBroadcastList& MadeOnFirstUse(CBroadcastList*& slot)
    {
        if (!slot)
            slot = new CBroadcastList;
        return *slot;
    }

    // Appends a receiver's node (its owner must be set); a running walk at the
    // end of the list goes on to it.
    void Add(CLinkNode& node);
    // Unlinks the node, first stepping every running walk past it.
    void Remove(CLinkNode& node);

    bool IsEmpty() const { return m_list.IsEmpty(); }
    int Count() const { return m_list.Count(); }

    // Calls fn(T&) on every receiver in registration order. A receiver added
    // during the walk is reached as well.
    template <typename T, typename Fn>
    void ForEach(Fn&& fn)
    {
        Walk walk{nullptr, m_walks};
        m_walks = &walk;
        for (CLinkNode* node = m_list.First(); node; node = walk.next)
        {
            walk.next = node->Next();
            fn(*node->GetOwner<T>()); // may destroy the node: it is not read again
        }
        m_walks = walk.outer;
    }

private:
    // A running walk: the node it goes to next. Remove steps it past a leaving
    // node; Add gives a walk at the end the new node.
    struct Walk
    {
        CLinkNode* next;
        Walk* outer;
    };

    CLinkList m_list;
    Walk* m_walks = nullptr;
};
