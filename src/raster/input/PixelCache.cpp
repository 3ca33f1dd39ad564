// The pixel cache of the reader frame: process-wide blocks of decoded rows,
// keyed by the caller's key and the file, with a save/restore stack.

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/velsys/Arithmetic.h"
#include "platform/velsys/Debug.h"
#include "raster/input/PixelCacheEntry.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

bool pixreatyp::msCacheEnabled = false;
std::uint32_t pixreatyp::msCacheChannelCount = 0;
std::uint32_t pixreatyp::msCacheSize = 0;
// The entries in use are owned by the table (deleted by the calls below).
PixelCacheEntry* pixreatyp::pixcachetable[kMaxCacheEntries] = {};

namespace {

// A pushed level; it owns its entries until they are restored.
struct SavedLevel {
    std::uint32_t count = 0;
    std::uint32_t size = 0;
    std::array<std::unique_ptr<PixelCacheEntry>, pixreatyp::kMaxCacheEntries> entries;
};

std::vector<SavedLevel>& savedLevels() {
    static std::vector<SavedLevel> levels;
    return levels;
}

void deleteEntriesInUse() {
    for (auto& entry : pixreatyp::pixcachetable) {
        delete entry;
        entry = nullptr;
    }
    pixreatyp::msCacheChannelCount = 0;
    pixreatyp::msCacheSize = 0;
}

std::shared_ptr<const PixelCacheBlock> findBlock(int key, const VelSys::filref& file,
                                                 const PixelCacheBlock& shape) {
    for (std::uint32_t i = 0; i < pixreatyp::msCacheChannelCount; ++i) {
        const PixelCacheEntry* entry = pixreatyp::pixcachetable[i];
        if (entry && entry->key() == key && entry->file() == file &&
            entry->block()->sameShape(shape))
            return entry->block();
    }
    return nullptr;
}

bool fitsInCache(std::int64_t bytes) {
    return pixreatyp::msCacheChannelCount < pixreatyp::kMaxCacheEntries &&
           bytes < static_cast<std::int64_t>(pixreatyp::kMaxCacheBytes) - pixreatyp::msCacheSize;
}

}  // namespace

void pixreatyp::pixcacheini() {
    if (msCacheEnabled) deleteEntriesInUse();
    msCacheEnabled = true;
}

void pixreatyp::pixcacheexi() {
    deleteEntriesInUse();
    msCacheEnabled = false;
}

void pixreatyp::pixcachepushnew() {
    if (!msCacheEnabled) return;
    SavedLevel level;
    level.count = msCacheChannelCount;
    level.size = msCacheSize;
    for (int i = 0; i < kMaxCacheEntries; ++i) {
        level.entries[i].reset(pixcachetable[i]);
        pixcachetable[i] = nullptr;
    }
    savedLevels().push_back(std::move(level));
    msCacheChannelCount = 0;
    msCacheSize = 0;
}

void pixreatyp::pixcachepoprestore() {
    if (!msCacheEnabled) return;
    if (savedLevels().empty()) {
        VelSys::debug("pixcachepoprestore: no saved level\n");
        return;
    }
    deleteEntriesInUse();
    SavedLevel& level = savedLevels().back();
    for (int i = 0; i < kMaxCacheEntries; ++i) pixcachetable[i] = level.entries[i].release();
    msCacheChannelCount = level.count;
    msCacheSize = level.size;
    savedLevels().pop_back();
}

void pixcacheini() {
    pixreatyp::pixcacheini();
}

void pixcacheexi() {
    pixreatyp::pixcacheexi();
}

void pixreatyp::pixcachereabeg(VelSys::fil* file, int key) {
    if (!msCacheEnabled || key <= 0 || mCacheBlock || mFailed || mRowsLeft <= 0 ||
        mRowsDelivered != 0)
        return;
    PixelCacheBlock shape;
    shape.selector = mOutputSelector;
    shape.imageOffset = mImageOffset;
    shape.width = mWidth;
    shape.rows = mRowsLeft;
    shape.rowBytes = deliveredRowBytes();
    if (mColourManaged) {
        shape.separation = mSelectedOutputSeparation;
        shape.link = mColourLink;
    }
    if (shape.rowBytes <= 0) return;  // run lists vary in length: not cached
    VelSys::filref ref;
    if (VelSys::filrefnew(&ref, file) != 0) return;
    if (auto block = findBlock(key, ref, shape)) {
        mCacheBlock = std::move(block);
        mCacheReadPosition = 0;
        return;
    }
    const auto bytes = VelSys::checkedMul(shape.rows, shape.rowBytes);
    if (!bytes || !fitsInCache(*bytes)) return;
    auto block = std::make_shared<PixelCacheBlock>(shape);
    try {
        block->bytes.resize(static_cast<std::size_t>(*bytes));
    } catch (const std::bad_alloc&) {
        return;
    }
    if (!fillCache(*block)) return;
    msCacheSize += static_cast<std::uint32_t>(*bytes);
    pixcachetable[msCacheChannelCount++] = new PixelCacheEntry(key, block, ref);
    mCacheBlock = std::move(block);
    mCacheReadPosition = 0;
}

bool pixreatyp::fillCache(PixelCacheBlock& block) {
    // Each row is read at its place in the block. A row that fails leaves
    // the reader exhausted (its input is consumed) and nothing is cached.
    unsigned char* row = block.bytes.data();
    for (int r = 0; r < block.rows; ++r, row += block.rowBytes)
        if (pixrealin(row, static_cast<int>(block.rowBytes)) != 1) return false;
    mRowsLeft = block.rows;
    mRowsDelivered = 0;
    return true;
}

int pixreatyp::serveFromCache(unsigned char* buffer, int length) {
    const std::size_t rowBytes = static_cast<std::size_t>(mCacheBlock->rowBytes);
    if (mCacheReadPosition + rowBytes > mCacheBlock->bytes.size()) return 0;
    if (buffer && length > 0)
        std::memcpy(buffer, mCacheBlock->bytes.data() + mCacheReadPosition,
                    std::min(rowBytes, static_cast<std::size_t>(length)));
    mCacheReadPosition += rowBytes;
    return 1;
}

}  // namespace QuillonCore
