#include "ImageOpener.h"

#include "raster/input/FileInfo.h"
#include "raster/input/jpegreatyp.h"
#include "raster/input/tifreatyp.h"

namespace Quillon {

using QuillonCore::FileInfo;

std::string ImageOpener::typeOf(VelSys::fil& file) {
    if (FileInfo::fileIsTiff(file)) return "TIFF";
    if (FileInfo::fileIsJPEG(file)) return "JPEG";
    if (FileInfo::fileIsPsd(file)) return "Photoshop";
    if (FileInfo::fileIsPDF(file)) return "PDF";
    if (FileInfo::fileIsEps(file)) return "EPS";
    if (FileInfo::fileIsBrellCT(file)) return "BrellCT";
    if (FileInfo::fileIsQuillon(file)) return "job file";
    return "unknown";
}

bool ImageOpener::open(const std::string& path, OpenedImage& image, std::string& error) {
    image.file = std::make_unique<VelSys::fil>();
    VelSys::errtyp openError;
    if (VelSys::openFile(image.file.get(), &openError, VelSys::FileSpec(path)) != 0) {
        error = openError.message;
        return false;
    }
    image.type = typeOf(*image.file);
    if (image.type == "TIFF")
        image.reader = std::make_unique<QuillonCore::tifreatyp>(image.file.get());
    if (image.type == "JPEG")
        image.reader = std::make_unique<QuillonCore::jpegreatyp>(image.file.get());
    return true;
}

}  // namespace Quillon
