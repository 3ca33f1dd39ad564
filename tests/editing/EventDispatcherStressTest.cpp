// Handlers that register, unregister, dispatch again and destroy receivers
// (and now and then their own sender) at random, checked against a model of
// what the dispatcher promises: a handler runs only while its registration
// is in effect, registrations made during a dispatch take effect when the
// outermost dispatch returns, and a receiver unregistered (or destroyed)
// during a dispatch is dropped with its pending registrations.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "editing/EventDispatcher.h"
#include "editing/EventReceiver.h"

using namespace QuillonCore;

namespace {

constexpr int kDispatchers = 2;
constexpr int kSlots = 8;
constexpr EventID kIds = 3;
constexpr int kMaxDepth = 4;

struct StressReceiver : EventReceiver {
    explicit StressReceiver(int serial) : serial(serial) {}
    int serial;
};

// What the dispatchers should hold, per dispatcher.
struct Expected {
    std::map<std::pair<int, EventID>, int> effective;  // (receiver serial, id) -> registrations
    std::vector<std::pair<int, EventID>> pending;
    std::set<int> unregisteredDuringDispatch;
    int depth = 0;
    int generation = 0;  // bumped when the dispatcher is destroyed
};

class StressWorld {
  public:
    explicit StressWorld(unsigned seed) : mRandom(seed) {
        for (int d = 0; d < kDispatchers; ++d)
            mDispatchers[d] = std::make_unique<EventDispatcher>();
        for (int s = 0; s < kSlots; ++s) CreateReceiver(s);
    }

    void Round() {
        mBudget = 60;
        for (int i = 0; i < 8; ++i) RandomAction(0);
        for (int d = 0; d < kDispatchers; ++d)
            if (!mDispatchers[d]) {
                mDispatchers[d] = std::make_unique<EventDispatcher>();
                mExpected[d] = Expected{{}, {}, {}, 0, mExpected[d].generation};
            }
        CheckEffectiveRegistrations();
    }

    int calls = 0;

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(mRandom); }

    void CreateReceiver(int slot) {
        mReceivers[slot] = std::make_unique<StressReceiver>(mNextSerial++);
    }

    void RandomAction(int depth) {
        if (mBudget-- <= 0) return;
        const int d = Pick(kDispatchers);
        const int slot = Pick(kSlots);
        const EventID id = static_cast<EventID>(Pick(kIds));
        switch (Pick(12)) {
            case 0:
            case 1:
            case 2:
            case 3:
                return Dispatch(d, id, depth);
            case 4:
            case 5:
                return Register(d, slot, id);
            case 6:
                return Unregister(d, slot);
            case 7:
                return DestroyReceiver(slot);
            case 8:
                if (!mReceivers[slot]) CreateReceiver(slot);
                return;
            case 9:
                if (Pick(8) == 0) return DestroyDispatcher(d);
                return;
            default:
                return;
        }
    }

    void Register(int d, int slot, EventID id) {
        StressReceiver* r = mReceivers[slot].get();
        if (!mDispatchers[d] || !r) return;
        const int serial = r->serial;
        const int generation = mExpected[d].generation;
        mDispatchers[d]->RegisterEventHandler(
            r,
            [this, d, serial, id, generation](EventDispatcher* sender, const EventParameter&) {
                Called(d, serial, id, generation, sender);
            },
            id);
        Expected& e = mExpected[d];
        if (e.depth == 0)
            ++e.effective[{serial, id}];
        else if (!e.unregisteredDuringDispatch.count(serial))
            e.pending.emplace_back(serial, id);
    }

    void Forget(int d, int serial) {
        Expected& e = mExpected[d];
        std::erase_if(e.effective, [serial](const auto& kv) { return kv.first.first == serial; });
        if (e.depth > 0) e.unregisteredDuringDispatch.insert(serial);
    }

    void Unregister(int d, int slot) {
        if (!mDispatchers[d] || !mReceivers[slot]) return;
        mDispatchers[d]->UnregisterReceiver(mReceivers[slot].get());
        Forget(d, mReceivers[slot]->serial);
    }

    void DestroyReceiver(int slot) {
        if (!mReceivers[slot]) return;
        const int serial = mReceivers[slot]->serial;
        mReceivers[slot].reset();
        for (int d = 0; d < kDispatchers; ++d)
            if (mDispatchers[d]) Forget(d, serial);
    }

    void DestroyDispatcher(int d) {
        if (!mDispatchers[d]) return;
        mDispatchers[d].reset();
        mExpected[d] = Expected{{}, {}, {}, 0, mExpected[d].generation + 1};
    }

    void Dispatch(int d, EventID id, int depth) {
        if (!mDispatchers[d] || depth >= kMaxDepth) return;
        Expected& e = mExpected[d];
        const int generation = e.generation;
        ++e.depth;
        mDispatchers[d]->DispatchEvent(id);
        if (mExpected[d].generation != generation) return;  // destroyed by a handler
        if (--e.depth == 0) Settle(e);
    }

    static void Settle(Expected& e) {
        for (const auto& [serial, id] : e.pending)
            if (!e.unregisteredDuringDispatch.count(serial)) ++e.effective[{serial, id}];
        e.pending.clear();
        e.unregisteredDuringDispatch.clear();
    }

    void Called(int d, int serial, EventID id, int generation, EventDispatcher* sender) {
        ++calls;
        ASSERT_EQ(mExpected[d].generation, generation) << "a handler outlived its dispatcher";
        ASSERT_EQ(sender, mDispatchers[d].get());
        const auto& effective = mExpected[d].effective;
        ASSERT_TRUE(effective.count({serial, id}))
            << "receiver " << serial << " called while not registered";
        if (mQuiet) {
            ++mQuietCalls[{d, serial, id}];
            return;
        }
        RandomAction(mExpected[d].depth);
    }

    // Every registration in effect runs once per dispatch, none other.
    void CheckEffectiveRegistrations() {
        mQuiet = true;
        mQuietCalls.clear();
        for (int d = 0; d < kDispatchers; ++d)
            for (EventID id = 0; id < kIds; ++id) Dispatch(d, id, 0);
        for (int d = 0; d < kDispatchers; ++d)
            for (const auto& [key, count] : mExpected[d].effective)
                EXPECT_EQ((mQuietCalls[{d, key.first, key.second}]), count);
        int total = 0, expected = 0;
        for (const auto& [key, count] : mQuietCalls) total += count;
        for (int d = 0; d < kDispatchers; ++d)
            for (const auto& [key, count] : mExpected[d].effective) expected += count;
        EXPECT_EQ(total, expected);
        mQuiet = false;
    }

    std::mt19937 mRandom;
    std::unique_ptr<EventDispatcher> mDispatchers[kDispatchers];
    std::unique_ptr<StressReceiver> mReceivers[kSlots];
    Expected mExpected[kDispatchers];
    int mNextSerial = 0;
    int mBudget = 0;
    bool mQuiet = false;
    std::map<std::tuple<int, int, EventID>, int> mQuietCalls;
};

}  // namespace

TEST(EventDispatcherStress, RandomReentrantChangesKeepEveryPromise) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        StressWorld world(seed);
        for (int round = 0; round < 300 && !testing::Test::HasFatalFailure(); ++round)
            world.Round();
        EXPECT_GT(world.calls, 100);
    }
}
