#pragma once
// The JPEG image reader: baseline and progressive JPEG files decoded by
// libjpeg, delivered in the row layouts of the reader frame.
//
// Decoding starts at the file's current position (the image offset of
// pixreaini is not used). Gray files deliver luminance, RGB files RGB, and
// CMYK/YCCK files, which store inverted samples, ink amounts in the
// composite layouts and the stored values (255 - ink) as single channels.
// A file libjpeg cannot decode is reported as error 102; a colour model the
// reader cannot deliver as error 100.

#include <memory>
#include <vector>

#include "platform/velsys/filref.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

class jpegintyp;

// Where a JPEG reader reads next in its file.
struct JpegFileCursor {
    VelSys::fil* file = nullptr;
    int next = 0;
};

class jpegreatyp : public pixreatyp {
  public:
    explicit jpegreatyp(VelSys::fil* file);
    ~jpegreatyp() override;
    // The reader owns its decoder context; it cannot be shared.
    jpegreatyp(const jpegreatyp&) = delete;
    jpegreatyp& operator=(const jpegreatyp&) = delete;

    int pixreaini(int* resolutionNumerator, int* resolutionDenominator, int* rows, int* columns,
                  int outputSelector, unsigned int imageOffset) override;
    void pixreaend() override;
    int pixbitspersample() const override { return 8; }

    // Reports like pixerror.
    void jpegerror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility, int id) {
        pixerror(severity, volatility, id);
    }
    // Whether the file is progressive (false before pixreaini).
    bool isProgressive() const;
    // The horizontal resolution of the file's Photoshop ResolutionInfo in
    // pixels per inch, 0 when it has none (or before pixreaini).
    double photoshopResolution() const;

  protected:
    int ConvertRow(unsigned char* dst, int length) override;

  private:
    // How decoded scanlines become the prepared layout.
    enum class Converter {
        kNone,
        kScanline,          // as decoded: gray luminance, RGB
        kInvertedScanline,  // CMYK ink amounts
        kGrayPreview,
        kRgbPreview,
        kCmykPreview,
        kInvertedChannel,  // 255 - component n (RGB)
        kStoredChannel,    // component n as stored (CMYK)
        kGrayRuns,
        kRgbRuns,
        kCmykRuns,
    };

    Converter chooseConverter(int selector) const;
    bool decode(unsigned char* row);
    unsigned char* decodeScratch();
    void toRuns(const unsigned char* scanline, unsigned char* dst, int length);
    void toLuminance(const unsigned char* scanline);
    void extractChannel(const unsigned char* scanline, int components, bool inverted,
                        unsigned char* dst) const;

    std::unique_ptr<jpegintyp> mContext;
    JpegFileCursor mCursor;
    Converter mConverter = Converter::kNone;
    int mChannel = 0;
    std::vector<unsigned char> mGrayRow;
};

// The resolution an older version of the editor saw in a JPEG file: the
// Photoshop resources are walked without padding their data, and a
// fractional Photoshop resolution is used only when asked for. Nothing is
// written when the file cannot be opened or its header read.
void GetJPEGResolutionAsSeenByOlderQuillon(const VelSys::filref& file, int& numerator,
                                           int& denominator, bool useFractionalResolution);

}  // namespace QuillonCore
