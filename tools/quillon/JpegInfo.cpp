#include "JpegInfo.h"

namespace Quillon {

int describeJpeg(QuillonCore::jpegreatyp& reader, nlohmann::json& info) {
    int numerator = 0, denominator = 0, rows = 0, columns = 0;
    const int result = reader.pixreaini(&numerator, &denominator, &rows, &columns, -3, 0);
    if (result == 1 && rows == 0) return result;
    nlohmann::json channels = nlohmann::json::array();
    for (int i = 0; i < reader.pixsamplesperpixel(); ++i) {
        std::string name;
        reader.getChannelName(i, name);
        channels.push_back(name);
    }
    const double photoshop = reader.photoshopResolution();
    info.update({{"width", columns},
                 {"height", rows},
                 {"resolution", {{"numerator", numerator}, {"denominator", denominator}}},
                 {"interpretation", reader.pixinterpretation()},
                 {"samples_per_pixel", reader.pixsamplesperpixel()},
                 {"bits_per_sample", reader.pixbitspersample()},
                 {"channels", channels},
                 {"progressive", reader.isProgressive()},
                 {"photoshop_resolution",
                  photoshop > 0 ? nlohmann::json(photoshop) : nlohmann::json(nullptr)},
                 {"readable", result != 1}});
    reader.pixreaend();
    return result;
}

}  // namespace Quillon
