#include "core/CLink.h"
#include "core/CResizes.h"
#include "core/CShutdown.h"
#include "core/CTranslates.h"
#include "core/TranslateScope.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
std::vector<std::string> s_calls;

class Resizer : public CResizes
{
public:
    explicit Resizer(std::string name) : m_name(std::move(name)) {}
    void Invalidate() override { Call("invalidate"); }
    void Resize() override { Call("resize"); }
    void Rotate() override { Call("rotate"); }
    std::function<void()> m_action;

private:
    void Call(const char* what)
    {
        s_calls.push_back(m_name + ":" + what);
        if (m_action)
            m_action(); // may destroy this object: nothing of it is used afterwards
    }
    std::string m_name;
};

class Quitter : public CShutdown
{
public:
    explicit Quitter(std::string name) : m_name(std::move(name)) {}
    void Shutdown() override
    {
        s_calls.push_back(m_name);
        if (m_action)
            m_action();
    }
    std::function<void()> m_action;

private:
    std::string m_name;
};

class Translator : public CTranslates
{
public:
    explicit Translator(std::string name) : m_name(std::move(name)) {}
    void Retranslate(const char* key) override
    {
        s_calls.push_back(m_name + ":" + key);
        if (m_action)
            m_action();
    }
    std::function<void()> m_action;

private:
    std::string m_name;
};

class BroadcastTest : public ::testing::Test
{
protected:
    BroadcastTest() { s_calls.clear(); }
};

TEST_F(BroadcastTest, ResizesReachEveryLiveReceiverInOrder)
{
    const int before = CResizes::CountRegistered();
    CResizes::InvalidateAll(); // nothing registered here: nothing happens
    EXPECT_TRUE(s_calls.empty());

    auto a = std::make_unique<Resizer>("a");
    auto b = std::make_unique<Resizer>("b");
    auto c = std::make_unique<Resizer>("c");
    Resizer copy(*a); // a copy registers on its own, after c
    EXPECT_EQ(CResizes::CountRegistered(), before + 4);
    b.reset(); // leaves at once
    CResizes::ResizeAll();
    CResizes::RotateAll();
    EXPECT_EQ(s_calls, (std::vector<std::string>{"a:resize", "c:resize", "a:resize", "a:rotate", "c:rotate",
                                                 "a:rotate"}));
    a.reset();
    c.reset();
    EXPECT_EQ(CResizes::CountRegistered(), before + 1);
}

TEST_F(BroadcastTest, ReceiversMayDestroyThemselvesAndOthersDuringABroadcast)
{
    auto first = std::make_unique<Resizer>("first");
    auto self = std::make_unique<Resizer>("self");
    auto next = std::make_unique<Resizer>("next");
    auto last = std::make_unique<Resizer>("last");
    first->m_action = [&] { first.reset(); };     // the one being called
    self->m_action = [&] {
        next.reset();                               // the very next one
        self.reset();
    };
    bool nested = false;
    last->m_action = [&] {
        if (!std::exchange(nested, true))
            CResizes::InvalidateAll(); // a nested walk over the same list
    };
    CResizes::InvalidateAll();
    EXPECT_EQ(s_calls, (std::vector<std::string>{"first:invalidate", "self:invalidate", "last:invalidate",
                                                 "last:invalidate"}));
    EXPECT_FALSE(first);
    EXPECT_FALSE(self);
    EXPECT_FALSE(next);

    // A nested broadcast that destroys the receiver the outer walk goes to next.
    s_calls.clear();
    auto outer = std::make_unique<Resizer>("outer");
    auto doomed = std::make_unique<Resizer>("doomed");
    nested = false;
    last->m_action = [&] {
        if (std::exchange(nested, true))
            return;
        outer->m_action = [&] { doomed.reset(); };
        CResizes::RotateAll();
    };
    CResizes::RotateAll();
    EXPECT_EQ(s_calls, (std::vector<std::string>{"last:rotate", "last:rotate", "outer:rotate", "outer:rotate"}));
}

TEST_F(BroadcastTest, ShutdownSurvivesReceiversLeaving)
{
    CShutdown::ShutdownAll();
    EXPECT_TRUE(s_calls.empty());
    auto a = std::make_unique<Quitter>("a");
    auto b = std::make_unique<Quitter>("b");
    auto c = std::make_unique<Quitter>("c");
    std::unique_ptr<Quitter> late;
    a->m_action = [&] { b.reset(); };
    c->m_action = [&] {
        late = std::make_unique<Quitter>("late"); // joins behind the end: still told
        c.reset();
    };
    CShutdown::ShutdownAll();
    EXPECT_EQ(s_calls, (std::vector<std::string>{"a", "c", "late"}));
}

TEST_F(BroadcastTest, KeyChangesReachOnlyTheirUsers)
{
    Translator title("title");
    auto score = std::make_unique<Translator>("score");
    Translator other("other");
    title.AddKey("puz_title");
    score->AddKey("puz_title");
    score->AddKey("puz_score");
    other.AddKey("");
    EXPECT_TRUE(score->UsesKey("puz_score"));
    EXPECT_FALSE(title.UsesKey("puz_score"));
    EXPECT_FALSE(title.UsesKey(nullptr));

    CTranslates::NotifyKeyChanged("unused");
    CTranslates::NotifyKeyChanged(nullptr);
    EXPECT_TRUE(s_calls.empty());
    CTranslates::NotifyKeyChanged("puz_title");
    EXPECT_EQ(s_calls, (std::vector<std::string>{"title:puz_title", "score:puz_title"}));

    // A receiver closing itself and a weak link to it.
    CLink<CTranslates> link(score.get());
    s_calls.clear();
    title.m_action = [&] { score.reset(); };
    CTranslates::NotifyKeyChanged("puz_title");
    EXPECT_EQ(s_calls, (std::vector<std::string>{"title:puz_title"}));
    EXPECT_EQ(link.Get(), nullptr);

    title.ClearKeys();
    s_calls.clear();
    CTranslates::NotifyKeyChanged("puz_title");
    EXPECT_TRUE(s_calls.empty());
}

TEST_F(BroadcastTest, TranslateScopesNestAndRestore)
{
    Translator pane("pane");
    auto sub = std::make_unique<Translator>("sub");
    EXPECT_EQ(CTranslates::GetCurrentOwner(), nullptr);
    CTranslates::RecordKey("nobody"); // no owner: recorded nowhere
    {
        TranslateScope outer(&pane);
        CTranslates::RecordKey("pane_key");
        {
            TranslateScope inner(sub.get());
            CTranslates::RecordKey("sub_key");
            {
                TranslateScope none(nullptr);
                CTranslates::RecordKey("lost");
            }
            EXPECT_EQ(CTranslates::GetCurrentOwner(), sub.get());
            sub.reset(); // the inner owner dies inside its scope
            EXPECT_EQ(CTranslates::GetCurrentOwner(), nullptr);
        }
        EXPECT_EQ(CTranslates::GetCurrentOwner(), &pane);
        CTranslates::RecordKey("pane_after");
    }
    EXPECT_EQ(CTranslates::GetCurrentOwner(), nullptr);
    EXPECT_TRUE(pane.UsesKey("pane_key"));
    EXPECT_TRUE(pane.UsesKey("pane_after"));
    EXPECT_FALSE(pane.UsesKey("sub_key"));
    EXPECT_FALSE(pane.UsesKey("lost"));
    EXPECT_FALSE(pane.UsesKey("nobody"));

    // The outer owner dies inside the inner scope: nothing dangles afterwards.
    auto dying = std::make_unique<Translator>("dying");
    Translator child("child");
    {
        TranslateScope outer(dying.get());
        {
            TranslateScope inner(&child);
            dying.reset();
        }
        EXPECT_EQ(CTranslates::GetCurrentOwner(), nullptr);
    }
    EXPECT_EQ(CTranslates::GetCurrentOwner(), nullptr);
}
} // namespace
