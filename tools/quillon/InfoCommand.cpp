// quillon info FILE [--json]: what the reader makes of an image file.

#include <iostream>
#include <nlohmann/json.hpp>

#include "Command.h"
#include "ImageOpener.h"
#include "JpegInfo.h"
#include "platform/veldb/Sequence.h"
#include "raster/input/jpegreatyp.h"
#include "raster/input/tifreatyp.h"

namespace Quillon {

namespace {

using nlohmann::json;

json separations(const QuillonCore::ColorspaceInfo* space) {
    json list = json::array();
    for (int i = 0; space && i < space->separationCount(); ++i) {
        const auto* s = space->getSeparationInfoAt(i);
        list.push_back({{"name", s->name()}, {"cmyk", {s->mC, s->mM, s->mY, s->mK}}});
    }
    return list;
}

json clippingPath(VelDB::Object* path) {
    if (!path) return nullptr;
    const auto box = path->getBoundingBox();
    const auto* compound = dynamic_cast<const VelDB::Sequence*>(path);
    return {{"subpaths", compound ? compound->members().size() : 1},
            {"bounds", {box.lowX, box.lowY, box.highX, box.highY}}};
}

json describe(QuillonCore::tifreatyp& reader, int result, int numerator, int denominator) {
    const auto& d = reader.directory();
    json channels = json::array();
    for (int i = 0; i < reader.pixsamplesperpixel(); ++i) {
        std::string name;
        reader.getChannelName(i, name);
        channels.push_back(name);
    }
    std::string imageId;
    reader.pixImageID(imageId);
    return {{"width", d.width},
            {"height", d.height},
            {"resolution",
             {{"numerator", numerator}, {"denominator", denominator}, {"missing", result == 2}}},
            {"interpretation", reader.pixinterpretation()},
            {"samples_per_pixel", reader.pixsamplesperpixel()},
            {"bits_per_sample", reader.pixbitspersample()},
            {"compression", reader.pixcompression()},
            {"channels", channels},
            {"separations", separations(reader.getColorspaceInfo())},
            {"clipping_path", clippingPath(reader.GetClippingPath())},
            {"image_id", imageId},
            {"icc_profile_length", reader.pixiccprofile().size()},
            {"readable", result != 1}};
}

void printText(const json& info) {
    for (const auto& [key, value] : info.items())
        std::cout << key << ": " << (value.is_string() ? value.get<std::string>() : value.dump())
                  << "\n";
}

int runInfo(const std::vector<std::string>& args) {
    const Command& command = *CommandRegistry::find("info");
    std::string path;
    bool asJson = false;
    for (const auto& arg : args) {
        if (arg == "--json")
            asJson = true;
        else if (path.empty() && arg.rfind("--", 0) != 0)
            path = arg;
        else
            return usageError(command, "unexpected argument '" + arg + "'");
    }
    if (path.empty()) return usageError(command, "no file given");
    OpenedImage image;
    std::string error;
    if (!ImageOpener::open(path, image, error)) {
        std::cerr << "quillon info: " << error << "\n";
        return kExitFailure;
    }
    json info = {{"file", path}, {"type", image.type}};
    auto* tiff = dynamic_cast<QuillonCore::tifreatyp*>(image.reader.get());
    int result = 0;
    if (tiff) {
        int numerator = 0, denominator = 0, rows = 0, columns = 0;
        result = tiff->pixreaini(&numerator, &denominator, &rows, &columns, -1, 0);
        if (tiff->directory().width != 0)
            info.update(describe(*tiff, result, numerator, denominator));
        tiff->pixreaend();
    } else if (auto* jpeg = dynamic_cast<QuillonCore::jpegreatyp*>(image.reader.get())) {
        result = describeJpeg(*jpeg, info);
    }
    if (asJson)
        std::cout << info.dump(2) << "\n";
    else
        printText(info);
    return result == 1 ? kExitFailure : kExitSuccess;
}

const CommandRegistration kInfo{
    {"info", "FILE [--json]", "Describe an image file",
     "Prints the file type and, for a TIFF, its size, resolution, colour model,\n"
     "channel names, separations, clipping path, image ID and ICC profile length;\n"
     "for a JPEG, its size, resolution, colour model, channel names, whether it is\n"
     "progressive and the resolution of its Photoshop ResolutionInfo.\n"
     "--json prints the same as one JSON object. Exit 1 when the image cannot be read.",
     runInfo}};

}  // namespace

}  // namespace Quillon
