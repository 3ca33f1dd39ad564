#pragma once
// The components that raise messages register by name and get small
// numbers; a message carries its reporter's number as a property.

#include <cstdint>
#include <optional>

#include "platform/velsys/Error.h"
#include "platform/velsys/ustring.h"

namespace QuillonCore {

using ReporterID = std::uint64_t;

// The property key under which an error carries its reporter ("Repo").
inline constexpr std::uint32_t kReporterProperty = 0x5265706F;

// Appends the name; the same name registered twice gets two identifiers.
ReporterID RegisterReporter(const ustring& name);
// The name; std::out_of_range for an identifier that is not registered.
ustring GetReporter(ReporterID id);
// As GetReporter, without throwing.
std::optional<ustring> FindReporter(ReporterID id);
void AssignReporterID(VelSys::Core::Error& error, ReporterID id);
std::optional<ReporterID> GetReporterID(const VelSys::Core::Error& error);
// The reporter registered first comes first.
inline bool IsReportedBefore(ReporterID a, ReporterID b) {
    return a < b;
}
// Empties the registry; identifiers start again at 0.
void RemoveAllRegisteredReporters();

}  // namespace QuillonCore
