#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editing/EventReceiver.h"
#include "editing/JobEventParameter.h"
#include "editing/JobSourceDestinationEventParameter.h"
#include "editing/QuillonEventDispatcher.h"
#include "platform/velgen/EventController.h"

using namespace QuillonCore;

// The classic handler table is process-wide and only grows: these tests run
// in this order, the one that fills the table last.

namespace {

struct Recorder : EventReceiver {};

}  // namespace

TEST(ClassicEvents, TheBridgeMapsClassicIdsOntoTheApplicationDispatcher) {
    auto& dispatcher = QuillonEventDispatcher::Instance();
    dispatcher.InstallClassicEventHandler();
    dispatcher.InstallClassicEventHandler();  // once only

    Recorder recorder;
    std::vector<EventID> seen;
    jobstr* const job = reinterpret_cast<jobstr*>(0x1000);
    const jobstr* const source = reinterpret_cast<const jobstr*>(0x2000);
    const EventID mapped[] = {kJobOpened,
                              kJobClosed,
                              kJobActivated,
                              kJobDeactivated,
                              kApplicationActivated,
                              kApplicationDeactivated,
                              kJobCopied,
                              kJobReverted};
    for (EventID id : mapped) {
        dispatcher.RegisterEventHandler(
            &recorder,
            [&, id](EventDispatcher*, const EventParameter& p) {
                seen.push_back(id);
                if (auto* jp = dynamic_cast<const JobEventParameter*>(&p)) {
                    EXPECT_EQ(jp->GetJob(), job);
                }
                if (auto* sd = dynamic_cast<const JobSourceDestinationEventParameter*>(&p)) {
                    EXPECT_EQ(sd->GetSourceJob(), source);
                    EXPECT_EQ(sd->GetDestinationJob(), job);
                }
            },
            id);
    }
    for (int classic = 0; classic <= 40; ++classic)
        VelGen::EventController::Instance().NotifyEvent(VelGen::Event(classic, job, source));
    EXPECT_EQ(seen, std::vector<EventID>({kJobOpened, kJobClosed, kJobActivated, kJobDeactivated,
                                          kApplicationActivated, kApplicationDeactivated,
                                          kJobCopied, kJobReverted}));
}

TEST(ClassicEvents, EvenIdsRunForwardsOddIdsBackwardsAndAdditionsWaitForTheNextEvent) {
    // The handlers outlive the test: they hold their state.
    auto order = std::make_shared<std::vector<int>>();
    auto added = std::make_shared<bool>(false);
    for (int n : {1, 2, 3}) {
        VelGen::AddEventHandler([order, added, n](const VelGen::Event&) {
            order->push_back(n);
            if (n == 3 && !*added) {
                *added = true;
                VelGen::AddEventHandler(
                    [order](const VelGen::Event&) { return order->push_back(4), 0; });
            }
            return 0;
        });
    }
    VelGen::EventController::Instance().NotifyEvent(VelGen::Event(100, 0));
    EXPECT_EQ(*order, std::vector<int>({1, 2, 3}));
    order->clear();
    VelGen::EventController::Instance().NotifyEvent(VelGen::Event(101, 0));
    EXPECT_EQ(*order, std::vector<int>({4, 3, 2, 1}));
}

TEST(ClassicEvents, TheTableHoldsAtMost120Handlers) {
    const std::size_t before = VelGen::ClassicEventHandlerCount();
    auto called = std::make_shared<std::vector<int>>();
    for (int n = 0; n < 130; ++n)
        VelGen::AddEventHandler(
            [called, n](const VelGen::Event&) { return called->push_back(n), 0; });
    VelGen::AddEventHandler(VelGen::ClassicEventHandler());  // empty: ignored
    EXPECT_EQ(VelGen::ClassicEventHandlerCount(), 120u);
    VelGen::EventController::Instance().NotifyEvent(VelGen::Event(200, 0));
    ASSERT_EQ(called->size(), 120 - before);
    for (std::size_t n = 0; n < called->size(); ++n) EXPECT_EQ((*called)[n], static_cast<int>(n));
}
