#pragma once
// The library's error logger: keeps every message it is given in arrival
// order, tells listeners about additions ("mead", once per batch, with an
// iterator at the first new message), and removes messages selectively by
// reporter and by words of their text.
//
// While listeners of "mead" run, changes of the log (Append, Log, Clear)
// wait until the outermost announcement has returned, so the iterator the
// listeners hold stays valid; each change then announces itself.

#include <deque>
#include <functional>
#include <optional>

#include "editing/EventDispatcher.h"
#include "editing/EventParameter.h"
#include "platform/velsys/ErrorLogger.h"
#include "services/MessageReporters.h"

namespace QuillonCore {

class MessageLog : public VelSys::Core::ErrorLogger, public EventDispatcher {
  public:
    using Messages = ErrorList;
    using const_iterator = Messages::const_iterator;

    // Sent with "mead": the first message added; valid during the dispatch.
    class IteratorParameter : public EventParameter {
      public:
        explicit IteratorParameter(const_iterator first) : mFirst(first) {}
        const const_iterator& GetIterator() const { return mFirst; }

      private:
        const_iterator mFirst;
    };

    static const EventID kMessagesHaveBeenAdded;

    MessageLog() = default;
    ~MessageLog() override = default;

    const_iterator GetBegin() const { return mMessages.begin(); }
    const_iterator GetEnd() const { return mMessages.end(); }
    std::size_t Size() const { return mMessages.size(); }

    // Adds the errors and announces them (also when there are none).
    void Append(const Messages& errors);
    // The logger's delivery: adds and announces a non-empty batch.
    void Log(iterator first, iterator last) override;
    // Drops the messages matching the reporter and the words of the filter
    // and keeps the others, in their order, announcing them again as one
    // batch. std::out_of_range when the reporter is not registered (nothing
    // is dropped then).
    void Clear(std::optional<ReporterID> reporter, const ustring& filter);

  private:
    void Add(Messages added, bool announceEmpty);
    void Announce(std::size_t firstNew);
    void RunDeferred();
    bool Matches(const VelSys::Core::Error& message, const ustring& reporterName,
                 const std::vector<ustring>& tokens) const;

    Messages mMessages;
    int mAnnouncing = 0;
    std::deque<std::function<void()>> mDeferred;
};

}  // namespace QuillonCore
