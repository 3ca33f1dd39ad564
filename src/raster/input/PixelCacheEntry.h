#pragma once
// One image held by the pixel cache: the caller's key, the block of rows and
// the file they came from. Deleting an entry releases the cache's share of
// the block (readers still serving from it keep theirs) and the reference.

#include <memory>

#include "platform/velsys/filref.h"
#include "raster/input/PixelCacheBlock.h"

namespace QuillonCore {

class PixelCacheEntry {
  public:
    PixelCacheEntry(int key, std::shared_ptr<const PixelCacheBlock> block, VelSys::filref file)
        : mKey(key), mBlock(std::move(block)), mFile(std::move(file)) {}
    virtual ~PixelCacheEntry() = default;
    PixelCacheEntry(const PixelCacheEntry&) = delete;
    PixelCacheEntry& operator=(const PixelCacheEntry&) = delete;

    int key() const { return mKey; }
    const std::shared_ptr<const PixelCacheBlock>& block() const { return mBlock; }
    const VelSys::filref& file() const { return mFile; }

  private:
    int mKey;
    std::shared_ptr<const PixelCacheBlock> mBlock;
    VelSys::filref mFile;
};

}  // namespace QuillonCore
