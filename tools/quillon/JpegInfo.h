#pragma once
// What `quillon info` says about a JPEG file.

#include <nlohmann/json.hpp>

#include "raster/input/jpegreatyp.h"

namespace Quillon {

// Prepares the reader, adds its description to info and ends it. Returns the
// reader's pixreaini result (1: the image cannot be read).
int describeJpeg(QuillonCore::jpegreatyp& reader, nlohmann::json& info);

}  // namespace Quillon
