#pragma once
// Display information of an extra channel (the Photoshop DisplayInfo record).

#include <cstdint>

namespace QuillonCore {

struct DisplayInfo {
    std::uint16_t colourSpace = 0;  // Photoshop colour space id
    std::uint16_t colour[4] = {0, 0, 0, 0};
    std::uint16_t opacity = 0;  // 0 to 100
    std::uint8_t kind = 5;      // 0 selected, 1 protected, 2 spot; 5 when none was read
    std::uint8_t padding = 0;   // old-form records only
};

}  // namespace QuillonCore
