#pragma once
// The process-wide synthesized row that colour-managed readers of one image
// share (typically one reader per separation being output): the first reader
// to reach a row converts it, the others only pick their separation from it.
//
// A reader joins only when the file, the image's offset in it, the width,
// the number of synthesized separations and the colour link all match, so
// the row always has the shape every sharer expects. The row number is set
// only once a row is completely synthesized (-1 while it is being written or
// after a failure), so no sharer ever takes a half-made row.

#include <vector>

#include "platform/velgen/colsynlnk.h"
#include "platform/velsys/filref.h"

namespace QuillonCore {

class pixcolsyncache {
  public:
    struct Shape {
        VelSys::filref file;
        unsigned int imageOffset = 0;
        int width = 0;
        int separationCount = 0;
        const VelGen::colsynlnk* link = nullptr;
        bool operator==(const Shape& other) const;
    };

    // Joins the row for an image of this shape: takes it over when unused,
    // else counts one more sharer when the shapes match. False: not shared.
    bool join(const Shape& shape);
    // One sharer less; the last one frees the row.
    void leave();

    bool inUse() const { return mReferenceCount > 0; }
    int referenceCount() const { return mReferenceCount; }
    // Another holder of an existing share (a copied reader).
    void addSharer() { ++mReferenceCount; }

    int mRowNumber = -1;
    std::vector<unsigned char> mRow;  // separation count x width bytes

  private:
    int mReferenceCount = 0;
    Shape mShape;
};

}  // namespace QuillonCore
