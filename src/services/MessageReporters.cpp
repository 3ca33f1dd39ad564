#include "services/MessageReporters.h"

#include <stdexcept>
#include <vector>

namespace QuillonCore {

namespace {

std::vector<ustring>& registry() {
    static std::vector<ustring> names;
    return names;
}

}  // namespace

ReporterID RegisterReporter(const ustring& name) {
    registry().push_back(name);
    return registry().size() - 1;
}

ustring GetReporter(ReporterID id) {
    if (id >= registry().size()) throw std::out_of_range("invalid vector<T> subscript");
    return registry()[id];
}

std::optional<ustring> FindReporter(ReporterID id) {
    if (id >= registry().size()) return std::nullopt;
    return registry()[id];
}

void AssignReporterID(VelSys::Core::Error& error, ReporterID id) {
    error.SetProperty(kReporterProperty, id);
}

std::optional<ReporterID> GetReporterID(const VelSys::Core::Error& error) {
    return error.GetProperty<ReporterID>(kReporterProperty);
}

void RemoveAllRegisteredReporters() {
    registry().clear();
}

}  // namespace QuillonCore
