#pragma once
// The TIFF reader: the first image of a TIFF file (or of a TIFF stream
// inside a larger file), delivered row by row in the layouts of pixreatyp.
//
// pixreaini parses the header and first directory with their metadata
// (resolution, channel names and display information, the clipping path,
// ink names, image ID, ICC profile), checks every size the file declares,
// and picks a converter for the colour model and layout; pixrealin then
// decodes one row per call (uncompressed, PackBits, LZW, CCITT fax).
//
// Errors go through pixerror. Any error during preparation makes pixreaini
// return 1. An LZW code that names no string is reported and thrown as the
// int 1 out of pixrealin (the caller may catch it and go on with the next
// strip).

#include <memory>
#include <string>

#include "platform/veldb/Object.h"
#include "raster/input/PhotoshopResources.h"
#include "raster/input/TiffConverterTable.h"
#include "raster/input/TiffDirectory.h"
#include "raster/input/TiffRowShaper.h"
#include "raster/input/TiffRowSource.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

class tifreatyp : public pixreatyp {
  public:
    explicit tifreatyp(VelSys::fil* file);
    ~tifreatyp() override;
    tifreatyp(const tifreatyp&) = delete;
    tifreatyp& operator=(const tifreatyp&) = delete;

    int pixreaini(int* resolutionNumerator, int* resolutionDenominator, int* rows, int* columns,
                  int outputSelector, unsigned int imageOffset) override;
    void pixreaend() override;
    int pixbitspersample() const override { return static_cast<int>(mDirectory.bitsPerSample); }
    unsigned int pixcompression() const override { return mDirectory.compression; }
    VelDB::Object* GetClippingPath() override { return mClippingPath; }
    void pixImageID(std::string& id) const override { id = mDirectory.imageId; }
    const char* pixchannelname(int index) override;
    DisplayInfo* pixchannelDisplayInfo(int index) override;
    const ColorspaceInfo* getColorspaceInfo() override { return mColourSpace.get(); }
    int getChannelName(int index, std::string& name) override;

    bool getMissingResolution() const { return mMissingResolution; }
    void setMissingResolution(bool missing) { mMissingResolution = missing; }

    void tiferror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility, int id) {
        pixerror(severity, volatility, id);
    }

    // What the parser read (for hosts that describe a file).
    const TiffDirectory& directory() const { return mDirectory; }

  protected:
    int ConvertRow(unsigned char* destination, int length) override;
    bool HasRowConverter() const override;

  private:
    // Why no converter was chosen: the message to report.
    enum class Refusal { kNone, kUnsupportedColourspace, kCannotRead, kOutOfMemory };

    void release();
    void resetMetadata();
    bool parse(unsigned int imageOffset);
    void takeMetadata();
    void takeInkNames();
    void takePhotoshopResources();
    bool validateSize();
    bool resolution(int* numerator, int* denominator) const;
    bool layOutStrips();
    Refusal chooseConverter();
    Refusal modelFor(TiffRowShaper::Model& model) const;
    Refusal codecFor(TiffRowShaper::Model model, TiffRowSource::Codec& codec) const;
    bool oldStyleLzw();
    void makeRowSteps(TiffRowShaper::Model model, TiffRowSource::Codec codec);
    void refuse(Refusal refusal);

    TiffDirectory mDirectory;
    std::int64_t mRowsPerStrip = 0;
    std::unique_ptr<ColorspaceInfo> mColourSpace;
    VelDB::Object* mClippingPath = nullptr;  // owned; removed with objrem
    PhotoshopResources::ChannelNames mChannelNames;
    PhotoshopResources::DisplayInfos mDisplayInfos;
    bool mMissingResolution = false;
    std::unique_ptr<TiffRowSource> mSource;
    std::unique_ptr<TiffRowShaper> mShaper;
    const TiffConverter* mConverter = nullptr;
};

}  // namespace QuillonCore
