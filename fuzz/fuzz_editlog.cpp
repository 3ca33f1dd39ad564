// The edit-log record: arbitrary bytes read into a fresh list, written back
// and read again must give the same list, and what we wrote must read clean.

#include <cstdint>
#include <cstdlib>
#include <stdexcept>

#include "editing/EditHistoryList.h"
#include "platform/velsys/fil.h"

using namespace QuillonCore;

namespace {

constexpr int kX = 1000, kY = -2000;

bool sameEntries(const EditHistoryList& a, const EditHistoryList& b) {
    if (a.NumEntries() != b.NumEntries()) return false;
    for (int i = 0; i < a.NumEntries(); ++i) {
        const EditHistoryEntry* x = a.GetEntry(i);
        const EditHistoryEntry* y = b.GetEntry(i);
        if (x->GetId() != y->GetId() || x->GetCount() != y->GetCount() ||
            x->GetDescription() != y->GetDescription() || x->GetBBoxes() != y->GetBBoxes())
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VelSys::fil in;
    in.openMemory({data, size});
    EditHistoryList first;
    try {
        first.Read(&in, kX, kY);
    } catch (const std::length_error&) {
        return 0;  // a stored count out of range: refused as documented
    }
    VelSys::fil out;
    out.createMemory();
    first.Write(&out, kX, kY);
    VelSys::fil again;
    again.openMemory(out.contents());
    EditHistoryList second;
    second.Read(&again, kX, kY);
    if (VelSys::filerr(&again) != 0 || !sameEntries(first, second)) std::abort();
    return 0;
}
