#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/velsys/Clock.h"
#include "services/Status.h"
#include "services/StatusReporting.h"

using namespace QuillonCore;

namespace {

// Records the reporter calls that carry values; keeps the model of the base.
class RecordingReporter : public VelSys::StatusReporting {
  public:
    explicit RecordingReporter(std::vector<std::string>& log) : mLog(log) {}
    void ProgressUpdate(float value) override {
        mLog.push_back("update " + std::to_string(value).substr(0, 5));
        VelSys::StatusReporting::ProgressUpdate(value);
    }
    void BeginProgressMap(float from, float to) override {
        mLog.push_back("map " + std::to_string(from).substr(0, 4) + " " +
                       std::to_string(to).substr(0, 4));
        VelSys::StatusReporting::BeginProgressMap(from, to);
    }
    void ProgressBusy() override { mLog.push_back("busy"); }
    void FinalizeAll(unsigned flags) override {
        mLog.push_back("finalize all");
        VelSys::StatusReporting::FinalizeAll(flags);
    }

  private:
    std::vector<std::string>& mLog;
};

class StatusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<RecordingReporter>(log);
        reporter = owned.get();
        StatusReporting::Initialize(std::move(owned));
        previousClock = VelSys::Clock::SetSource([this] { return ticks; });
    }
    void TearDown() override {
        StatusReporting::Initialize(nullptr);
        VelSys::Clock::SetSource(previousClock);
    }
    int updates() const {
        return static_cast<int>(std::count_if(log.begin(), log.end(),
                                              [](auto& s) { return s.rfind("update", 0) == 0; }));
    }

    std::vector<std::string> log;
    RecordingReporter* reporter = nullptr;
    unsigned ticks = 5000;
    VelSys::Clock::Source previousClock;
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST_F(StatusTest, NestedStatusesMapIntoSlicesOfTheirParent) {
    struct Case {
        double outerRange, outerValue, innerRange;
        double start, end;
    };
    const Case cases[] = {
        {100, 0.5, 0.25, 0.5, 0.75},  // outermost always spans [0, 1]
        {1, 0.5, 0.8, 0.5, 1.0},      // clamped to the end of the bar
        {1, 0.2, 0, 0.2, 0.2},        // range 0: disabled
        {1, 0.2, -0.3, 0.2, 0.2},     // negative range counts as 0
        {1, 0.2, kNaN, 0.2, 0.2},     // so does NaN
        {0, 0.0, 0.5, 0.0, 0.0},      // disabled parent
        {1, 7.0, 0.5, 1.0, 1.0},      // a stored value above 1 is clamped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.outerRange << " " << c.outerValue << " " << c.innerRange);
        Status outer(c.outerRange, u"");
        outer.Notify(c.outerValue);
        {
            Status inner(c.innerRange, u"");
            EXPECT_DOUBLE_EQ(inner.Start(), c.start);
            EXPECT_DOUBLE_EQ(inner.End(), c.end);
            EXPECT_EQ(inner.IsDisabled(), c.start == c.end);
            EXPECT_LE(inner.Start(), inner.End());
        }
        EXPECT_DOUBLE_EQ(Status::CurrentValue(), c.end);
    }
}

TEST_F(StatusTest, ProgressOfANestedStatusMovesTheBarWithinItsSlice) {
    Status outer(1, u"outer");
    outer.Notify(0.5);
    {
        Status inner(0.25, u"inner");
        EXPECT_EQ(reporter->Message(), u"inner");
        ticks += 1000;
        inner.Notify(0.5);
        EXPECT_NEAR(reporter->Fraction(), 0.625, 1e-6);
        {
            Status innermost(0.5, u"");
            ticks += 1000;
            innermost.Notify(1);
            EXPECT_NEAR(reporter->Fraction(), 0.5 + 0.25 * 1.0, 1e-6);
        }
    }
    // The parent carries on from the end of the child's slice, with its text back.
    EXPECT_EQ(log.back(), "update 0.750");
    EXPECT_NEAR(reporter->Fraction(), 0.75, 1e-6);
    EXPECT_EQ(reporter->Message(), u"outer");
    EXPECT_DOUBLE_EQ(Status::CurrentValue(), 0.75);
}

TEST_F(StatusTest, UpdatesAreThrottledToTenASecond) {
    Status status(1, u"");
    log.clear();
    status.Notify(0.1);
    ticks += 50;
    status.Notify(0.2);  // within the same tenth: stored, not sent
    NotifyBusy();
    EXPECT_EQ(log, std::vector<std::string>({"update 0.100"}));
    EXPECT_DOUBLE_EQ(Status::CurrentValue(), 0.2);
    ticks += 51;
    NotifyBusy(0.3);
    ticks += 101;
    status.Notify();
    EXPECT_EQ(log, std::vector<std::string>({"update 0.100", "update 0.300", "busy"}));
}

TEST_F(StatusTest, ThrottlingSurvivesTheTickCountWrapping) {
    ticks = 0xFFFFFF00u;
    Status status(1, u"");
    log.clear();
    status.Notify(0.1);
    ticks += 0x120;  // the count wraps past zero
    status.Notify(0.2);
    ticks += 10;
    status.Notify(0.3);
    EXPECT_EQ(updates(), 2);
}

TEST_F(StatusTest, CancelReachesEveryLevelAndOnlyANewOperationClearsIt) {
    Status outer(1, u"");
    Status middle(0.5, u"");
    {
        Status inner(0.5, u"");
        Status::SetCancelled(true);  // the host asks to stop while the innermost works
        EXPECT_TRUE(Status::Cancelled());
        Status nested(0.5, u"");  // a nested status keeps the flag
        EXPECT_TRUE(Status::Cancelled());
    }
    EXPECT_TRUE(Status::Cancelled());  // the outer levels see it after the inner ones end
}

TEST_F(StatusTest, AnOutermostStatusClearsTheCancelFlag) {
    Status::SetCancelled(true);
    Status status(1, u"");
    EXPECT_FALSE(Status::Cancelled());
}

TEST_F(StatusTest, AStatusEndedOutOfOrderEndsItsChildrenFirst) {
    auto outer = std::make_unique<Status>(1, u"");
    auto inner = std::make_unique<Status>(0.5, u"");
    outer.reset();
    EXPECT_FALSE(Status::IsProgressing());
    EXPECT_THROW(Status::GetCurrent(), std::out_of_range);
    EXPECT_EQ(log.back(), "finalize all");
    EXPECT_EQ(reporter->Depth(), 0u);
    const auto before = log.size();
    inner.reset();  // already ended
    EXPECT_EQ(log.size(), before);
}

TEST_F(StatusTest, NoStatusNoReporterCalls) {
    NotifyBusy();
    NotifyBusy(0.3);
    EXPECT_TRUE(log.empty());
    StatusReporting::Initialize(nullptr);  // the silent reporter stands in
    Status status(1, u"working");
    status.Notify(0.5);
    EXPECT_EQ(&Status::GetCurrent(), &status);
}
