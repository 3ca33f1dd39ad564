#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "editing/EventDispatcher.h"
#include "editing/EventReceiver.h"
#include "editing/SingleEventParameter.h"

using namespace QuillonCore;

namespace {

constexpr EventID kPing = FourCharCode("ping");
constexpr EventID kPong = FourCharCode("pong");

// A receiver that records its calls into a shared journal.
struct Listener : EventReceiver {
    Listener(std::string name, std::vector<std::string>& journal)
        : name(std::move(name)), journal(journal) {}
    void Listen(EventDispatcher& d, EventID id, std::function<void()> also = {}) {
        d.RegisterEventHandler(
            this,
            [this, also](EventDispatcher*, const EventParameter&) {
                journal.push_back(name);
                if (also) also();
            },
            id);
    }
    std::string name;
    std::vector<std::string>& journal;
};

using Journal = std::vector<std::string>;

}  // namespace

TEST(EventDispatcher, HandlersRunInOrderOfRegistrationWithTheParameter) {
    EventDispatcher d;
    Journal journal;
    Listener a("a", journal), b("b", journal);
    a.Listen(d, kPing);
    b.Listen(d, kPing);
    a.Listen(d, kPing);  // twice: runs twice
    b.Listen(d, kPong);
    int seen = 0;
    d.RegisterEventHandler(
        &a,
        [&](EventDispatcher* sender, const EventParameter& p) {
            EXPECT_EQ(sender, &d);
            auto* value = dynamic_cast<const SingleEventParameter<int>*>(&p);
            seen = value ? value->GetValue() : -1;
        },
        kPing);
    d.DispatchEvent(kPing, SingleEventParameter<int>(42));
    EXPECT_EQ(journal, Journal({"a", "b", "a"}));
    EXPECT_EQ(seen, 42);
    d.DispatchEvent(FourCharCode("none"));  // nobody listens: harmless
    EXPECT_TRUE(a.IsRegisteredWith(&d));
}

TEST(EventDispatcher, AReceiverUnregisteredDuringADispatchIsNotCalledAgain) {
    EventDispatcher d;
    Journal journal;
    Listener a("a", journal), b("b", journal);
    a.Listen(d, kPing, [&] {
        d.UnregisterReceiver(&b);
        EXPECT_FALSE(b.IsRegisteredWith(&d));  // told at once
        d.DispatchEvent(kPong);                // nor in a nested dispatch
    });
    b.Listen(d, kPing);
    b.Listen(d, kPong);
    d.DispatchEvent(kPing);
    EXPECT_EQ(journal, Journal({"a"}));
    EXPECT_EQ(d.HandlerCount(kPing), 1u);
    EXPECT_EQ(d.HandlerCount(kPong), 0u);
}

TEST(EventDispatcher, RegistrationsDuringADispatchTakeEffectWhenTheOutermostReturns) {
    EventDispatcher d;
    Journal journal;
    Listener a("a", journal), b("b", journal);
    int nested = 0;
    a.Listen(d, kPing, [&] {
        if (nested++ == 0) {
            b.Listen(d, kPing);
            d.DispatchEvent(kPing);  // runs only what was registered before
        }
    });
    d.DispatchEvent(kPing);
    EXPECT_EQ(journal, Journal({"a", "a"}));
    EXPECT_TRUE(b.IsRegisteredWith(&d));
    journal.clear();
    d.DispatchEvent(kPing);
    EXPECT_EQ(journal, Journal({"a", "b"}));
}

TEST(EventDispatcher, UnregisteredThenRegisteredWithinOneDispatchEndsWithNoHandlers) {
    EventDispatcher d;
    Journal journal;
    Listener a("a", journal), b("b", journal);
    b.Listen(d, kPong);
    a.Listen(d, kPing, [&] {
        d.UnregisterReceiver(&b);
        b.Listen(d, kPing);
    });
    d.DispatchEvent(kPing);
    EXPECT_EQ(d.HandlerCount(kPing), 1u);
    EXPECT_EQ(d.HandlerCount(kPong), 0u);
    EXPECT_FALSE(b.IsRegisteredWith(&d));
}

TEST(EventDispatcher, AReceiverDestroyedWhileItsRegistrationIsPendingIsNeverCalled) {
    EventDispatcher d;
    Journal journal;
    Listener a("a", journal);
    auto doomed = std::make_unique<Listener>("doomed", journal);
    a.Listen(d, kPing, [&] {
        if (!doomed) return;
        doomed->Listen(d, kPing);
        doomed.reset();
    });
    d.DispatchEvent(kPing);
    d.DispatchEvent(kPing);
    EXPECT_EQ(journal, Journal({"a", "a"}));
    EXPECT_EQ(d.HandlerCount(kPing), 1u);
}

TEST(EventDispatcher, ReceiversAndDispatchersDetachWhicheverDiesFirst) {
    Journal journal;
    auto d1 = std::make_unique<EventDispatcher>();
    EventDispatcher d2;
    auto r = std::make_unique<Listener>("r", journal);
    Listener s("s", journal);
    r->Listen(*d1, kPing);
    r->Listen(d2, kPing);
    s.Listen(*d1, kPing);
    r.reset();
    EXPECT_EQ(d1->HandlerCount(kPing), 1u);
    EXPECT_EQ(d2.HandlerCount(kPing), 0u);
    d1.reset();
    EXPECT_FALSE(s.IsRegisteredWith(d1.get()));
    s.UnregisterEventHandlers();  // must not reach the dead dispatcher
}

TEST(EventDispatcher, ADispatcherDestroyedByItsOwnHandlerEndsTheDispatch) {
    Journal journal;
    auto d = std::make_unique<EventDispatcher>();
    Listener a("a", journal), b("b", journal), late("late", journal);
    a.Listen(*d, kPing, [&] {
        late.Listen(*d, kPing);  // pending when the dispatcher dies
        d.reset();
    });
    b.Listen(*d, kPing);
    const EventDispatcher* dead = d.get();
    d->DispatchEvent(kPing);
    EXPECT_EQ(journal, Journal({"a"}));
    EXPECT_FALSE(late.IsRegisteredWith(dead));  // so its destructor does not reach it
    EXPECT_FALSE(a.IsRegisteredWith(dead));
}

TEST(EventDispatcher, AThrowingHandlerLeavesTheDispatcherIdleAndSettled) {
    EventDispatcher d;
    Journal journal;
    Listener a("a", journal), b("b", journal), c("c", journal);
    a.Listen(d, kPing, [&] { b.Listen(d, kPong); });
    d.RegisterSimpleEventHandler(&c, std::function<void()>(), kPing);  // empty: throws
    EXPECT_THROW(d.DispatchEvent(kPing), std::bad_function_call);
    EXPECT_FALSE(d.IsDispatching());
    EXPECT_EQ(d.HandlerCount(kPong), 1u);
    d.UnregisterReceiver(&c);  // acts at once again
    EXPECT_EQ(d.HandlerCount(kPing), 1u);
}

TEST(EventDispatcher, ANullReceiverIsIgnored) {
    EventDispatcher d;
    d.RegisterEventHandler(
        nullptr, [](EventDispatcher*, const EventParameter&) {}, kPing);
    d.UnregisterReceiver(nullptr);
    EXPECT_EQ(d.HandlerCount(kPing), 0u);
}

TEST(EventDispatcher, AReceiverMadeAtTheAddressOfOneDestroyedInTheSameDispatchKeepsItsRegistration) {
    EventDispatcher d;
    Journal journal;
    Listener a("a", journal);
    alignas(Listener) unsigned char storage[sizeof(Listener)];
    Listener* occupant = new (storage) Listener("first", journal);
    occupant->Listen(d, kPong);
    a.Listen(d, kPing, [&] {
        occupant->~Listener();
        occupant = new (storage) Listener("second", journal);  // the same address
        occupant->Listen(d, kPong);
    });
    d.DispatchEvent(kPing);
    journal.clear();
    d.DispatchEvent(kPong);
    EXPECT_EQ(journal, Journal({"second"}));
    d.UnregisterReceiver(&a);
    occupant->~Listener();
    EXPECT_EQ(d.HandlerCount(kPong), 0u);
}
