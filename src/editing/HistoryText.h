#pragma once
// The table of action kinds: the catalogue key of each kind's description
// and whether consecutive actions of the kind fold into one edit-log entry.

#include "editing/HISTORY_ID.h"
#include "platform/velsys/ustring.h"

namespace QuillonCore {

class HistoryText {
  public:
    // The key without its "EDITLOG/" prefix; null for a kind without text.
    static const char* Key(HISTORY_ID id);
    static bool IsMergeable(HISTORY_ID id);
    // The localized description; empty for a kind without text.
    static ustring Description(HISTORY_ID id);
};

}  // namespace QuillonCore
