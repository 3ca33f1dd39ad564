// Reads framed records, strings and references from arbitrary bytes the way
// job-file readers do: the first byte of each step chooses the next field.
// Every read must stay inside the file and each record's end, and the walk
// must end.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/velsys/fil.h"
#include "platform/velsys/filref.h"

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

void readField(VelSys::fil* file, int kind, std::vector<int>& ends) {
    const int end = ends.back();
    switch (kind % 8) {
        case 0:
            filrea16sub(file);
            break;
        case 1:
            filrea32sub(file);
            break;
        case 2: {
            std::string text;
            VelSys::filreastring(file, text, end);
            break;
        }
        case 3: {
            ustring text;
            VelSys::filreaUni16String(file, text, end);
            break;
        }
        case 4: {
            char buffer[32];
            check(VelSys::filreastrnul(file, buffer, sizeof buffer) < 32,
                  "string within its buffer");
            break;
        }
        case 5: {
            VelSys::filref ref;
            VelSys::filrearef(file, &ref, end);
            break;
        }
        case 6: {
            // A count read across the enclosing end leaves the position past
            // it; the record is then empty there (never before the position).
            const int recordEnd = VelSys::filreapos(file, end);
            const int position = VelSys::filpos(file);
            check(recordEnd >= position && recordEnd <= std::max(end, position),
                  "record inside its enclosure");
            ends.push_back(recordEnd);
            break;
        }
        default:
            VelSys::filpos(file, end);
            ends.pop_back();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VelSys::fil file;
    file.openMemory({data, size});
    std::vector<int> ends = {VelSys::filgeteof(&file)};
    for (int step = 0; step < 4096 && !ends.empty() && !VelSys::fileofsub(&file); ++step) {
        while (ends.size() > 1 && VelSys::filpos(&file) >= ends.back()) ends.pop_back();
        readField(&file, VelSys::filrea8sub(&file), ends);
        check(VelSys::filpos(&file) <= VelSys::filgeteof(&file), "position inside the file");
    }
    return 0;
}
