#pragma once
// The pixel reader frame: the base of every image reader (TIFF, JPEG).
//
// A caller constructs a reader on an open fil (never owned), prepares it with
// pixreaini and a row layout (the output selector), optionally sets up colour
// synthesis (pixcolsynini) and the pixel cache (pixcachereabeg), pulls rows
// with pixrealin and ends with pixreaend.
//
// Row layouts (selector):
//   -1  xRGB preview, 4 bytes per pixel
//   -2  run list of the bilevel row (int32 pairs, terminator 2147483647)
//   -3  composite in the stored model without extra channels (1, 3 or 4 bytes)
//   -4  all stored samples, interleaved
//   n   single channel n, 1 byte per pixel
//
// Errors: pixerror reports the message, marks the reader failed (it then
// delivers no more rows) and, when the host registered a recovery point on
// the file (VelSys::RecoveryScope), does not return: it throws
// VelSys::RecoveryJump(-2). Readers are written so that this unwinds cleanly.
//
// Concrete readers implement pixreaini and ConvertRow (and LayoutRowBytes for
// layouts whose size the frame cannot know); the frame's pixrealin does the
// counting, the pixel cache serving and the colour synthesis around them.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/velgen/Messages.h"
#include "platform/velgen/colsynlnk.h"
#include "platform/velsys/PixelDefinitions.h"
#include "platform/velsys/fil.h"
#include "raster/input/DisplayInfo.h"
#include "raster/output/ColorspaceInfo.h"

namespace VelDB {
class Object;
}

namespace QuillonCore {

class PixelCacheEntry;
struct PixelCacheBlock;

// The bilevel threshold in percent (exported; initially 50).
extern int gTreshold;

// Thresholds count bytes (luminance) in place into packed bits, most
// significant bit first: 1 (black) when the byte is at or below
// (100 - gTreshold) x 255 / 100.
void graytobw(unsigned char* bytes, int count);

// Encodes a packed 1-bit row as a run list into runs (capacity in bytes).
// polarity 0 inverts the input bits first. On overflow reports message 101.
void bwtorun(unsigned char* runs, int runsCapacityBytes, const unsigned char* bits, int width, int polarity);

// Packs bytes (nonzero = 1) into bits in place, most significant bit first.
void pixcompressto1bit(unsigned char* bytes, int count);

// Sets or clears (null) the process-wide preview colour link of the RGB preview layouts.
void tifcolsynset(VelGen::colsynlnk* link);
VelGen::colsynlnk* tifcolsynget();

void pixcacheini();
void pixcacheexi();

class pixreatyp {
public:
    static constexpr int kMaxCacheEntries = 128;
    static constexpr std::uint32_t kMaxCacheBytes = 256000000;

    pixreatyp(VelSys::PixelDefinitions::pixfmttype format, VelSys::fil* file);
    // A copy shares the owned buffers (the last holder frees them).
    pixreatyp(const pixreatyp& other);
    pixreatyp& operator=(const pixreatyp& other);
    virtual ~pixreatyp();

    // The next row in the prepared layout; 1, or 0 when no row is left, the
    // reader failed or has no file. A null buffer skips the row.
    virtual int pixrealin(unsigned char* buffer, int length);
    // 0 ready, 1 not deliverable in this layout (reported), 2 ready without a
    // resolution (TIFF: 300 ppi reported).
    virtual int pixreaini(int* resolutionNumerator, int* resolutionDenominator, int* rows, int* columns,
                          int outputSelector, unsigned int imageOffset);
    // Readers' overrides call the base last.
    virtual void pixreaend();
    virtual int pixbitspersample() const;
    virtual unsigned int pixcompression() const;
    virtual VelDB::Object* GetClippingPath();
    virtual void pixImageID(std::string& id) const;
    virtual const char* pixchannelname(int index);
    virtual DisplayInfo* pixchannelDisplayInfo(int index);
    virtual const ColorspaceInfo* getColorspaceInfo();
    // Standard channel names; returns the number of standard channels.
    virtual int getChannelName(int index, std::string& name);

    VelSys::PixelDefinitions::pixfmttype pixgetfmt() const { return mFormat; }
    int pixinterpretation() const { return mInterpretation; }
    int pixsamplesperpixel() const { return mSamplesPerPixel; }
    bool pixisbw() const { return pixbitspersample() == 1 && (mInterpretation == 0 || mInterpretation == 1); }
    int getOutputSeps() const { return mOutputSeparationCount; }
    bool isColorManaged() const { return mColourManaged; }
    // Rows not yet delivered, and whether an error was reported.
    int pixrowsleft() const { return mRowsLeft; }
    bool pixfailed() const { return mFailed; }
    // The embedded ICC profile (empty when none).
    const std::vector<unsigned char>& pixiccprofile() const;

    void pixcolsynini(VelGen::colsynlnk* link, bool colourManaged, int separation);

    void pixerror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility, int id);
    void pixerror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility, const std::string& utf8Text);

    // The pixel cache (process-wide).
    static bool msCacheEnabled;
    static std::uint32_t msCacheChannelCount;
    static std::uint32_t msCacheSize;
    static PixelCacheEntry* pixcachetable[kMaxCacheEntries];
    static void pixcacheini();
    static void pixcacheexi();
    static void pixcachepushnew();
    static void pixcachepoprestore();
    void pixcachereabeg(VelSys::fil* file, int key);

protected:
    // Converts the next stored row into dst in the prepared layout (dst null:
    // consume the row, write nothing). length is the caller's buffer length.
    // Returns 1, or 0 after reporting through pixerror. The base returns 0.
    virtual int ConvertRow(unsigned char* dst, int length);
    // Bytes per row of the prepared layout, -1 when rows vary (run lists).
    // The base derives it from the selector, width, samples and interpretation.
    virtual std::int64_t LayoutRowBytes() const;
    // Whether the reader has a row converter (prepared successfully).
    virtual bool HasRowConverter() const { return mRowsLeft > 0 && !mFailed; }

    VelSys::PixelDefinitions::pixfmttype mFormat;
    VelSys::fil* mFile;
    int mRowsLeft = 0;
    int mWidth = 0;
    int mSamplesPerPixel = 1;
    int mOutputSelector = 0;
    int mInterpretation = -1;
    bool mColourManaged = false;
    bool mSharesSynthesisRow = false;
    VelGen::colsynlnk* mColourLink = nullptr;
    int mSelectedOutputSeparation = -1;
    int mOutputSeparationCount = 0;
    int mRowsDelivered = 0;
    bool mFailed = false;
    // Shared between copies; the last holder frees it.
    std::shared_ptr<std::vector<unsigned char>> mIccProfile;

private:
    int deliverRow(unsigned char* buffer, int length);
    int serveFromCache(unsigned char* buffer, int length);
    int synthesizeRow(unsigned char* buffer, int length);
    void releaseSynthesis();

    std::shared_ptr<std::vector<unsigned char>> mNativeRow;
    std::shared_ptr<std::vector<unsigned char>> mSynthesizedRow;
    // The cached image this reader serves rows from (shared with the cache).
    std::shared_ptr<const PixelCacheBlock> mCacheBlock;
    std::size_t mCacheReadPosition = 0;
};

}  // namespace QuillonCore
