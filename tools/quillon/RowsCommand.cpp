// quillon rows FILE --layout rgb|runs|composite|all|N [-o PATH]: every row
// of an image in one of the reader's layouts, back to back. Run lists are
// written as little-endian int32 values, each row's list with its
// 2147483647 terminator.

#include <bit>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <vector>

#include "Command.h"
#include "ImageOpener.h"
#include "raster/input/RunListWriter.h"
#include "services/Status.h"

namespace Quillon {

namespace {

bool parseLayout(const std::string& text, int& selector) {
    static const std::map<std::string, int> kNames = {
        {"rgb", -1}, {"runs", -2}, {"composite", -3}, {"all", -4}};
    if (auto it = kNames.find(text); it != kNames.end()) {
        selector = it->second;
        return true;
    }
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos ||
        text.size() > 6)
        return false;
    selector = std::stoi(text);
    return true;
}

// Bytes of one row in a layout (run lists: room for the longest list).
std::int64_t rowCapacity(const QuillonCore::pixreatyp& reader, int selector, int width) {
    const std::int64_t w = width;
    switch (selector) {
        case -1:
            return 4 * w;
        case -2:
            return 4 * (w + 2);
        case -3:
            return reader.pixinterpretation() == 2   ? 3 * w
                   : reader.pixinterpretation() == 5 ? 4 * w
                                                     : w;
        case -4:
            return w * reader.pixsamplesperpixel();
        default:
            return w;
    }
}

// The bytes of a row as written: a run list up to and including its terminator.
std::size_t rowLength(const std::vector<unsigned char>& row, int selector) {
    if (selector != -2) return row.size();
    std::size_t n = 0;
    for (; n + 4 <= row.size(); n += 4) {
        std::int32_t v;
        std::memcpy(&v, &row[n], 4);
        if (v == QuillonCore::kRunListTerminator) return n + 4;
    }
    return n;
}

void writeRow(std::ostream& out, std::vector<unsigned char>& row, int selector) {
    const std::size_t n = rowLength(row, selector);
    if (selector == -2 && std::endian::native == std::endian::big)
        for (std::size_t i = 0; i < n; i += 4)
            std::swap(row[i], row[i + 3]), std::swap(row[i + 1], row[i + 2]);
    out.write(reinterpret_cast<const char*>(row.data()), static_cast<std::streamsize>(n));
}

int readRows(QuillonCore::pixreatyp& reader, int selector, std::ostream& out) {
    int numerator = 0, denominator = 0, rows = 0, columns = 0;
    if (reader.pixreaini(&numerator, &denominator, &rows, &columns, selector, 0) == 1)
        return kExitFailure;
    std::vector<unsigned char> row(
        static_cast<std::size_t>(rowCapacity(reader, selector, columns)));
    QuillonCore::Status status(1, u"Reading rows");
    for (int y = 0; y < rows; ++y) {
        int delivered = 0;
        try {
            delivered = reader.pixrealin(row.data(), static_cast<int>(row.size()));
        } catch (int) {
            std::cerr << "quillon rows: undecodable data at row " << y << "\n";
            return kExitFailure;
        }
        if (!delivered || reader.pixfailed()) return kExitFailure;
        writeRow(out, row, selector);
        status.Notify(double(y + 1) / rows);
    }
    reader.pixreaend();
    return kExitSuccess;
}

int runRows(const std::vector<std::string>& args) {
    const Command& command = *CommandRegistry::find("rows");
    std::string path, output, layout;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--layout" && i + 1 < args.size())
            layout = args[++i];
        else if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else if (path.empty() && args[i].rfind("-", 0) != 0)
            path = args[i];
        else
            return usageError(command, "unexpected argument '" + args[i] + "'");
    }
    int selector = 0;
    if (path.empty()) return usageError(command, "no file given");
    if (!parseLayout(layout, selector))
        return usageError(command, "unknown layout '" + layout + "'");
    OpenedImage image;
    std::string error;
    if (!ImageOpener::open(path, image, error)) {
        std::cerr << "quillon rows: " << error << "\n";
        return kExitFailure;
    }
    if (!image.reader) {
        std::cerr << "quillon rows: no reader for a file of type " << image.type << "\n";
        return kExitFailure;
    }
    std::ofstream file;
    if (!output.empty()) {
        file.open(output, std::ios::binary);
        if (!file) {
            std::cerr << "quillon rows: cannot create " << output << "\n";
            return kExitFailure;
        }
    }
    const int status = readRows(*image.reader, selector, output.empty() ? std::cout : file);
    if (status == kExitSuccess && !output.empty() && !file.flush()) return kExitFailure;
    return status;
}

const CommandRegistration kRows{
    {"rows", "FILE --layout rgb|runs|composite|all|N [-o PATH]",
     "Write every row of an image in a layout",
     "Layouts: rgb (4 bytes per pixel: preview), runs (run lists of the bilevel row as\n"
     "little-endian int32 values, each list ending with 2147483647), composite (gray,\n"
     "RGB or CMYK without extra channels), all (every stored sample), N (channel N).\n"
     "Rows go back to back to PATH or stdout. Exit 1 when the image cannot be read.",
     runRows}};

}  // namespace

}  // namespace Quillon
