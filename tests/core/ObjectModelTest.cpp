#include "core/CBase.h"
#include "core/CCallback.h"
#include "core/CLink.h"
#include "core/CLinkList.h"
#include "core/CRef.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace
{
// Records its hooks and destructors into a caller's log.
class CProbe : public CBase
{
  public:
    CProbe(std::vector<std::string>* log, std::string name) : m_log(log), m_name(std::move(name)) {}
    ~CProbe() override { m_log->push_back("~" + m_name); }
    void Exit() override { m_log->push_back("Exit " + m_name); }

    std::vector<std::string>* m_log;
    std::string m_name;
    CLink<CProbe> m_self;
};

class CDerivedProbe : public CProbe
{
  public:
    using CProbe::CProbe;
};

struct Owned
{
    CLinkNode node;
    int value = 0;
};

std::vector<int> Walk(const CLinkList& list)
{
    std::vector<int> values;
    for (CLinkNode* node = list.First(); node; node = node->Next())
        values.push_back(node->GetOwner<Owned>()->value);
    return values;
}
} // namespace

TEST(LinkList, KeepsOrderAndDetachesWithoutFreeing)
{
    CLinkList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    list.Clear();
    EXPECT_TRUE(list.IsEmpty());

    Owned a, b, c;
    int value = 0;
    for (Owned* o : {&a, &b, &c})
    {
        o->node.SetOwner(o);
        o->value = ++value;
    }
    list.PushBack(a.node);
    list.PushBack(b.node);
    list.PushBack(c.node);
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(list.Count(), 3);

    b.node.Unlink();
    b.node.Unlink();
    CLinkNode::UnlinkThrough(nullptr);
    EXPECT_FALSE(b.node.IsLinked());
    EXPECT_EQ(Walk(list), (std::vector<int>{1, 3}));

    // A node pushed into a second list leaves the first.
    CLinkList other;
    other.PushBack(a.node);
    EXPECT_EQ(Walk(list), (std::vector<int>{3}));
    EXPECT_EQ(Walk(other), (std::vector<int>{1}));

    list.Clear();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_FALSE(c.node.IsLinked());
    list.PushBack(b.node);
    EXPECT_EQ(list.Count(), 1);

    {
        Owned d;
        d.node.SetOwner(&d);
        d.value = 4;
        list.PushBack(d.node);
    }
    EXPECT_EQ(Walk(list), (std::vector<int>{2}));

    auto* dying = new CLinkList;
    dying->PushBack(c.node);
    delete dying;
    EXPECT_FALSE(c.node.IsLinked());
    c.node.Unlink();
}

TEST(Ref, CountsExactlyTheCountedHolders)
{
    std::vector<std::string> log;
    {
        CRef<CProbe> first = MakeRef<CProbe>(&log, "p");
        EXPECT_EQ(first->GetRefCount(), 1);
        CRef<CProbe> second = first;
        EXPECT_EQ(first->GetRefCount(), 2);
        CRef<CProbe> moved = std::move(second);
        EXPECT_FALSE(second);
        EXPECT_EQ(first->GetRefCount(), 2);

        first = first;
        first = first.Get();
        EXPECT_EQ(first->GetRefCount(), 2);

        // A raw pointer of an object already held adds a reference.
        CRef<CProbe> fromThis(moved.Get());
        EXPECT_EQ(first->GetRefCount(), 3);
        fromThis = nullptr;
        moved.Reset();
        EXPECT_EQ(first->GetRefCount(), 1);
        EXPECT_TRUE(log.empty());
    }
    EXPECT_EQ(log, (std::vector<std::string>{"Exit p", "~p"}));

    log.clear();
    {
        CRef<CProbe> adopted = CRef<CProbe>::Adopt(new CDerivedProbe(&log, "d"));
        CRef<CDerivedProbe> derived = CRef<CDerivedProbe>::Adopt(new CDerivedProbe(&log, "e"));
        CRef<CProbe> base = derived;
        EXPECT_EQ(derived->GetRefCount(), 2);
        base = std::move(adopted);
        EXPECT_EQ(log, (std::vector<std::string>{}));
        EXPECT_EQ(derived->GetRefCount(), 1);
        EXPECT_EQ(base->GetRefCount(), 1);
        CRef<CProbe> stolen = std::move(derived);
        EXPECT_EQ(stolen->GetRefCount(), 1);
    }
    EXPECT_EQ(log.size(), 4u);
}

TEST(Base, LastReleaseRunsExitOnceBeforeAnyDestructor)
{
    std::vector<std::string> log;
    auto* probe = new CProbe(&log, "p");
    CLink<CProbe> watcher(probe);
    probe->AddRef();
    EXPECT_EQ(probe->Release(), 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(probe->Release(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"Exit p", "~p"}));
    EXPECT_EQ(watcher.Get(), nullptr);

    // Taking and dropping a reference while dying does not delete a second time.
    class CSelfHolder : public CBase
    {
      public:
        explicit CSelfHolder(int* exits) : m_exits(exits) {}
        ~CSelfHolder() override { CRef<CSelfHolder> again(this); }
        void Exit() override
        {
            ++*m_exits;
            CRef<CSelfHolder> self(this);
        }
        int* m_exits;
    };
    int exits = 0;
    CRef<CSelfHolder> holder = MakeRef<CSelfHolder>(&exits);
    holder.Reset();
    EXPECT_EQ(exits, 1);
}

TEST(Link, ReadsNullOnceTheTargetDies)
{
    std::vector<std::string> log;
    CRef<CProbe> target = MakeRef<CProbe>(&log, "t");
    CLink<CProbe> a(target.Get()), b, c;
    b.Set(target.Get());
    c = b;
    EXPECT_EQ(target->CountBackLinks(), 3);
    c.Set(target.Get());
    c.Set(target.Get());
    EXPECT_EQ(target->CountBackLinks(), 3);
    EXPECT_EQ(target->GetRefCount(), 1);

    b.Clear();
    EXPECT_EQ(target->CountBackLinks(), 2);
    b.Set(target.Get());

    // An object linking to itself and to others dies cleanly.
    target->m_self.Set(target.Get());
    target.Reset();
    EXPECT_EQ(a.Get(), nullptr);
    EXPECT_EQ(b.Get(), nullptr);
    EXPECT_EQ(c.Get(), nullptr);
    EXPECT_FALSE(c);

    // A link outlives nothing: dying before its target leaves the target's list.
    CRef<CProbe> other = MakeRef<CProbe>(&log, "o");
    {
        CLink<CProbe> brief(other.Get());
        a.Set(other.Get());
        EXPECT_EQ(other->CountBackLinks(), 2);
    }
    EXPECT_EQ(other->CountBackLinks(), 1);
    a.Set(nullptr);
    EXPECT_EQ(other->CountBackLinks(), 0);
}

TEST(Link, StaysLinkedThroughContainerGrowthAndErase)
{
    std::vector<std::string> log;
    std::vector<CRef<CProbe>> targets;
    for (int i = 0; i < 4; ++i)
        targets.push_back(MakeRef<CProbe>(&log, std::to_string(i)));

    std::vector<CLink<CProbe>> links;
    std::deque<CLink<CProbe>> queue;
    for (int round = 0; round < 40; ++round)
    {
        CProbe* target = targets[size_t(round) % targets.size()].Get();
        links.emplace_back(target);
        if (round % 2)
            queue.emplace_front(target);
        else
            queue.emplace_back(target);
    }
    links.erase(links.begin() + 3, links.begin() + 9);
    queue.erase(queue.begin() + 10);
    queue.erase(queue.begin() + 1);
    links.insert(links.begin(), links.back());

    CLink<CProbe> moved;
    auto expectConsistent = [&]
    {
        for (const CRef<CProbe>& target : targets)
        {
            if (!target)
                continue;
            int held = moved.Get() == target.Get();
            for (const CLink<CProbe>& link : links)
                held += link.Get() == target.Get();
            for (const CLink<CProbe>& link : queue)
                held += link.Get() == target.Get();
            EXPECT_EQ(target->CountBackLinks(), held) << target->m_name;
        }
    };
    expectConsistent();

    moved = std::move(links.front());
    EXPECT_EQ(links.front().Get(), nullptr);
    EXPECT_NE(moved.Get(), nullptr);
    expectConsistent();

    targets[2].Reset();
    targets[0].Reset();
    expectConsistent();
    for (const CLink<CProbe>& link : links)
        EXPECT_TRUE(!link.Get() || link->m_name == "1" || link->m_name == "3");

    links.clear();
    expectConsistent();
    targets.clear();
    for (const CLink<CProbe>& link : queue)
        EXPECT_EQ(link.Get(), nullptr);
}

TEST(Callback, CountedAndDeletedOnTheLastRelease)
{
    struct Counter : CCallback
    {
        Counter(int* calls, int* deaths) : m_calls(calls), m_deaths(deaths) {}
        ~Counter() override { ++*m_deaths; }
        void Invoke() override { ++*m_calls; }
        int* m_calls;
        int* m_deaths;
    };
    int calls = 0, deaths = 0;
    CRef<CCallback> callback = MakeRef<Counter>(&calls, &deaths);
    std::vector<CRef<CCallback>> pending(3, callback);
    EXPECT_EQ(callback->GetRefCount(), 4);
    for (const CRef<CCallback>& c : pending)
        c->Invoke();
    pending.clear();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(deaths, 0);
    callback.Reset();
    EXPECT_EQ(deaths, 1);
}
