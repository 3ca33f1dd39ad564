#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "editing/EventReceiver.h"
#include "services/Message.h"
#include "services/MessageLog.h"

using namespace QuillonCore;
using VelSys::Core::Error;
using ErrorPtr = std::shared_ptr<Error>;

namespace {

// Collects, per "mead", the titles between the iterator and the end.
struct Listener : EventReceiver {
    explicit Listener(MessageLog& log) : log(log) {
        log.RegisterEventHandler(
            this,
            [this](EventDispatcher*, const EventParameter& p) {
                auto& first = dynamic_cast<const MessageLog::IteratorParameter&>(p).GetIterator();
                std::vector<std::string> titles;
                for (auto it = first; it != this->log.GetEnd(); ++it)
                    titles.push_back((*it)->what());
                batches.push_back(titles);
                if (also) also();
            },
            MessageLog::kMessagesHaveBeenAdded);
    }
    MessageLog& log;
    std::vector<std::vector<std::string>> batches;
    std::function<void()> also;
};

ErrorPtr message(const char16_t* title, std::optional<ReporterID> reporter = std::nullopt) {
    auto m = std::make_shared<Message>(title, Error::kWarning);
    if (reporter) AssignReporterID(*m, *reporter);
    return m;
}

std::vector<std::string> titles(const MessageLog& log) {
    std::vector<std::string> out;
    for (auto it = log.GetBegin(); it != log.GetEnd(); ++it) out.push_back((*it)->what());
    return out;
}

using Titles = std::vector<std::string>;

}  // namespace

TEST(MessageLog, AdditionsAreAnnouncedOncePerBatch) {
    MessageLog log;
    Listener listener(log);
    MessageLog::Messages none;
    log.Log(none.begin(), none.end());
    EXPECT_TRUE(listener.batches.empty());
    log.Append(none);
    EXPECT_EQ(listener.batches, std::vector<Titles>({{}}));
    log.Append({message(u"a"), message(u"b")});
    MessageLog::Messages three{message(u"c"), message(u"d"), message(u"e")};
    log.Log(three.begin(), three.end());
    EXPECT_EQ(listener.batches.back(), Titles({"c", "d", "e"}));
    // Through the logger machinery: one batch between Begin and End.
    log.Begin();
    log.Report(Error(Error::kError, u"f"));
    log.Report(message(u"g"));
    EXPECT_TRUE(log.HasPending());
    bool done = false;
    log.End([&] { done = true; });
    EXPECT_TRUE(done);
    EXPECT_EQ(listener.batches.back(), Titles({"f", "g"}));
    EXPECT_EQ(listener.batches.size(), 4u);
}

TEST(MessageLog, ChangesMadeByListenersWaitForTheAnnouncementToEnd) {
    MessageLog log;
    Listener listener(log);
    int round = 0;
    listener.also = [&] {
        if (round++ == 0) {
            log.Append({message(u"late")});  // would reallocate under the iterator
            log.Clear(std::nullopt, u"first");
        }
    };
    log.Append({message(u"first"), message(u"second")});
    EXPECT_EQ(listener.batches,
              std::vector<Titles>({{"first", "second"}, {"late"}, {"second", "late"}}));
    EXPECT_EQ(titles(log), Titles({"second", "late"}));
}

TEST(MessageLog, ClearDropsExactlyTheMatchingMessages) {
    RemoveAllRegisteredReporters();
    const ReporterID reader = RegisterReporter(u"Reader");
    const ReporterID writer = RegisterReporter(u"Writer");
    const ReporterID gone = 99;  // never registered: counts as none
    struct Case {
        std::optional<ReporterID> reporter;
        const char16_t* filter;
        Titles kept;
    };
    const Case cases[] = {
        {std::nullopt, u"", {}},
        {reader, u"", {"Disk full", "Low ink, refill"}},
        {std::nullopt, u"cannot  FILE", {"Disk full", "Out of memory", "Low ink, refill", "Stale"}},
        {std::nullopt,
         u"writer",
         {"Cannot read file", "Cannot write file", "Out of memory", "Stale"}},
        {reader, u"cannot", {"Disk full", "Out of memory", "Low ink, refill", "Stale"}},
        {std::nullopt,
         u"low,ink",
         {"Cannot read file", "Disk full", "Cannot write file", "Out of memory", "Stale"}},
        {std::nullopt,
         u"ink ;",
         {"Cannot read file", "Disk full", "Cannot write file", "Out of memory", "Low ink, refill",
          "Stale"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.reporter ? int(*c.reporter) : -1) << " "
                                        << VelSys::Uni16ToUTF8(c.filter));
        MessageLog log;
        log.Append({message(u"Cannot read file", reader), message(u"Disk full", writer),
                    message(u"Cannot write file"), message(u"Out of memory", reader),
                    message(u"Low ink, refill", writer), message(u"Stale", gone)});
        const ErrorPtr first = *log.GetBegin();
        Listener listener(log);
        log.Clear(c.reporter, c.filter);
        EXPECT_EQ(titles(log), c.kept);
        EXPECT_EQ(listener.batches.size(), c.kept.empty() ? 0u : 1u);
        if (!c.kept.empty() && c.kept.front() == "Cannot read file") {
            EXPECT_EQ(*log.GetBegin(), first);  // the same objects are kept
            EXPECT_NE(dynamic_cast<Message*>(log.GetBegin()->get()), nullptr);
        }
    }
    MessageLog log;
    log.Append({message(u"kept")});
    EXPECT_THROW(log.Clear(gone, u""), std::out_of_range);
    EXPECT_EQ(titles(log), Titles({"kept"}));
}

TEST(MessageLog, ReportersAreNumberedInOrderOfRegistration) {
    RemoveAllRegisteredReporters();
    EXPECT_EQ(RegisterReporter(u"a"), 0u);
    EXPECT_EQ(RegisterReporter(u"a"), 1u);
    EXPECT_EQ(RegisterReporter(u"b"), 2u);
    EXPECT_EQ(GetReporter(2), u"b");
    EXPECT_THROW(GetReporter(3), std::out_of_range);
    EXPECT_TRUE(IsReportedBefore(0, 2));
    RemoveAllRegisteredReporters();
    EXPECT_EQ(RegisterReporter(u"c"), 0u);
    Error plain(Error::kNote);
    EXPECT_FALSE(GetReporterID(plain).has_value());
    AssignReporterID(plain, 0);
    EXPECT_EQ(GetReporterID(plain), std::optional<ReporterID>(0));
}

TEST(MessageLog, AMessageCloneKeepsDescriptionTimeStampAndSeverity) {
    const Message original(u"Ink \u00e9puis\u00e9e", Error::kError);
    std::unique_ptr<Message> copy(original.Clone());
    EXPECT_EQ(copy->GetDescription(), original.GetDescription());
    EXPECT_EQ(copy->GetTimeStamp(), original.GetTimeStamp());
    EXPECT_EQ(copy->GetSeverity(), Error::kError);
    EXPECT_TRUE(std::regex_match(VelSys::Uni16ToUTF8(copy->GetTimeStamp()),
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)")));
}

TEST(MessageLog, ADisabledLoggerDropsReports) {
    MessageLog log;
    log.SetEnabled(false);
    log.Report(Error(Error::kError, u"dropped"));
    EXPECT_EQ(log.Size(), 0u);
    log.Append({message(u"direct")});  // appending is not reporting
    EXPECT_EQ(log.Size(), 1u);
}
