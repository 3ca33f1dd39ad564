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
#include "raster/input/pixcolsyncache.h"
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
void bwtorun(unsigned char* runs, int runsCapacityBytes, const unsigned char* bits, int width,
             int polarity);

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
    // A copy shares the owned buffers (the last holder frees them) and counts
    // as one more sharer of the synthesis row when the original shares it.
    pixreatyp(const pixreatyp& other);
    pixreatyp& operator=(const pixreatyp& other);
    // Runs the base end bookkeeping when pixreaend has not.
    virtual ~pixreatyp();

    // The next row in the prepared layout; 1, or 0 when no row is left, the
    // reader failed or has no file. A null buffer skips the row.
    virtual int pixrealin(unsigned char* buffer, int length);
    // 0 ready, 1 not deliverable in this layout (reported), 2 ready without a
    // resolution (TIFF: 300 ppi reported).
    virtual int pixreaini(int* resolutionNumerator, int* resolutionDenominator, int* rows,
                          int* columns, int outputSelector, unsigned int imageOffset);
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
    bool pixisbw() const {
        return pixbitspersample() == 1 && (mInterpretation == 0 || mInterpretation == 1);
    }
    int getOutputSeps() const { return mOutputSeparationCount; }
    bool isColorManaged() const { return mColourManaged; }
    // Rows not yet delivered, and whether an error was reported.
    int pixrowsleft() const { return mRowsLeft; }
    bool pixfailed() const { return mFailed; }
    // The embedded ICC profile (empty when none).
    const std::vector<unsigned char>& pixiccprofile() const;

    // Colour synthesis, after pixreaini. Stores the link, the flag and the
    // separation (negative: -1, the caller then receives every synthesized
    // separation per pixel; else 255 minus that separation's byte). The
    // separation count is spp + 3 (gray), spp + 1 (RGB), spp (CMYK).
    // Colour management needs interpretation 0, 1, 2 or 5, enough samples
    // for the model, a link, layout -4 and a separation below the count;
    // otherwise the reader fails with 102. A second call releases the state
    // of the first.
    void pixcolsynini(VelGen::colsynlnk* link, bool colourManaged, int separation);

    // Reports a message (the text form is localized first), marks the reader
    // failed and, with a recovery point on the file, does not return.
    void pixerror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility, int id);
    void pixerror(VelGen::MessageSeverity severity, VelGen::MessageVolatility volatility,
                  const std::string& utf8Text);

    // The synthesis row shared by colour-managed readers of one image.
    static pixcolsyncache sPixcolorCache;
    bool sharesSynthesisRow() const { return mSharesSynthesisRow; }

    // The pixel cache (process-wide). At most kMaxCacheEntries entries and
    // less than kMaxCacheBytes in total; a reader that does not fit, asks
    // for run lists (-2) or fails while filling stays uncached, silently.
    // Readers serving from the cache share its blocks, so emptying the cache
    // (exi, poprestore, ini) never frees rows under a live reader. A pop
    // without a matching push is refused; pixcacheexi leaves pushed levels
    // alone (they are freed at their pop).
    static bool msCacheEnabled;
    static std::uint32_t msCacheChannelCount;
    static std::uint32_t msCacheSize;
    static PixelCacheEntry* pixcachetable[kMaxCacheEntries];
    static void pixcacheini();
    static void pixcacheexi();
    static void pixcachepushnew();
    static void pixcachepoprestore();
    // After pixreaini, before the first row: serve the rows from the cache,
    // reading them all now on a miss. key must be above 0.
    void pixcachereabeg(VelSys::fil* file, int key);
    bool pixiscached() const { return mCacheBlock != nullptr; }

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
    // The imageOffset given to pixreaini (JPEG: the stream's start position).
    // Readers set it; the shared synthesis row and the cache tell images of
    // one file apart by it.
    unsigned int mImageOffset = 0;
    // Shared between copies; the last holder frees it.
    std::shared_ptr<std::vector<unsigned char>> mIccProfile;

  private:
    int deliverRow(unsigned char* buffer, int length);
    int serveFromCache(unsigned char* buffer, int length);
    int synthesizeRow(unsigned char* buffer);
    void synthesizePixels(const unsigned char* native, unsigned char* synthesized);
    void extractSeparation(const unsigned char* synthesized, unsigned char* buffer) const;
    bool synthesisAcceptable() const;
    void releaseSynthesis();
    void markFailed();
    // Bytes per delivered row, synthesis included; -1 for run lists.
    std::int64_t deliveredRowBytes() const;
    bool fillCache(PixelCacheBlock& block);

    std::shared_ptr<std::vector<unsigned char>> mNativeRow;
    std::shared_ptr<std::vector<unsigned char>> mSynthesizedRow;
    // The cached image this reader serves rows from (shared with the cache).
    std::shared_ptr<const PixelCacheBlock> mCacheBlock;
    std::size_t mCacheReadPosition = 0;
};

}  // namespace QuillonCore
