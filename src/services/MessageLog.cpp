#include "services/MessageLog.h"

#include <cwctype>

#include "platform/velsys/Uni16Search.h"

namespace QuillonCore {

const EventID MessageLog::kMessagesHaveBeenAdded = FourCharCode("mead");

namespace {

// White space separates tokens; every punctuation unit is a token of its own.
std::vector<ustring> tokenize(const ustring& filter) {
    std::vector<ustring> tokens(1);
    for (char16_t unit : filter) {
        const bool space = std::iswspace(unit), punctuation = std::iswpunct(unit);
        if ((space || punctuation) && !tokens.back().empty()) tokens.emplace_back();
        if (punctuation) {
            tokens.back() = ustring(1, unit);
            tokens.emplace_back();
        }
        if (!space && !punctuation) tokens.back() += unit;
    }
    if (tokens.back().empty()) tokens.pop_back();
    return tokens;
}

bool occurs(const ustring& text, const ustring& token) {
    return VelSys::Uni16CharFindSubStringWithOptions(text, token, VelSys::kFindIgnoreCase) >= 0;
}

}  // namespace

void MessageLog::Append(const Messages& errors) {
    Add(errors, true);
}

void MessageLog::Log(iterator first, iterator last) {
    Add(Messages(first, last), false);
}

void MessageLog::Add(Messages added, bool announceEmpty) {
    if (mAnnouncing > 0) {
        mDeferred.push_back([this, added, announceEmpty] { Add(added, announceEmpty); });
        return;
    }
    if (added.empty() && !announceEmpty) return;
    const std::size_t firstNew = mMessages.size();
    mMessages.insert(mMessages.end(), added.begin(), added.end());
    Announce(firstNew);
}

// Listeners may log again or destroy the log: what they change waits, and
// nothing of a destroyed log is touched.
void MessageLog::Announce(std::size_t firstNew) {
    const auto alive = LivenessToken();
    ++mAnnouncing;
    try {
        DispatchEvent(kMessagesHaveBeenAdded, IteratorParameter(mMessages.begin() + firstNew));
    } catch (...) {
        if (*alive) --mAnnouncing;
        throw;
    }
    if (!*alive) return;
    if (--mAnnouncing == 0) RunDeferred();
}

void MessageLog::RunDeferred() {
    while (!mDeferred.empty() && mAnnouncing == 0) {
        std::function<void()> change = std::move(mDeferred.front());
        mDeferred.pop_front();
        change();
    }
}

void MessageLog::Clear(std::optional<ReporterID> reporter, const ustring& filter) {
    const ustring reporterName = reporter ? GetReporter(*reporter) : ustring();
    if (mAnnouncing > 0) {
        mDeferred.push_back([this, reporter, filter] { Clear(reporter, filter); });
        return;
    }
    const std::vector<ustring> tokens = tokenize(filter);
    Messages taken;
    taken.swap(mMessages);
    Messages kept;
    for (auto& message : taken)
        if (!Matches(*message, reporterName, tokens)) kept.push_back(message);
    Log(kept.begin(), kept.end());
}

// A message whose reporter is not registered counts as one without reporter.
bool MessageLog::Matches(const VelSys::Core::Error& message, const ustring& reporterName,
                         const std::vector<ustring>& tokens) const {
    const std::optional<ReporterID> id = GetReporterID(message);
    const ustring mine = id ? FindReporter(*id).value_or(ustring()) : ustring();
    const ustring title = message.GetTitle();
    if (!reporterName.empty()) {
        if (!mine.empty() && mine != reporterName) return false;
        for (const ustring& token : tokens)
            if (!occurs(title, token)) return false;
        return true;
    }
    for (const ustring& token : tokens)
        if (!occurs(title, token) && !occurs(mine, token)) return false;
    return true;
}

}  // namespace QuillonCore
