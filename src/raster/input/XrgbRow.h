#pragma once
// Building the RGB preview layout (selector -1): 4 bytes per pixel from the
// rows a reader decodes. Both image readers use these, so every source kind
// gives the same pixels whichever file format it came from.
//
// The process-wide preview colour link (tifcolsynset, declared with the
// reader frame) is used when set; its process(in, out, count) turns `count`
// pixels of 3 bytes (RGB) or 1 byte (gray ink) or 4 bytes (CMYK ink) into 3
// bytes each. When the link reports failure (process returns 0) the pixels
// are built as if no link were set.
//
//   source          without link / link failed        with link (o0, o1, o2)
//   luminance L     (0, L, L, L)                      (0, 255-o0, 255-o1, 255-o2) of ink 255-L
//   RGB             (0, R, G, B)                      (0, o0, o1, o2)
//   CMYK ink        VelGen::cmykrgbrun                (o2, o1, o0, 0)
//   1-bit           bytes (255,255,255,0) white, (0,0,0,0) black
//   palette index   the 32-bit palette value R<<16 | G<<8 | B in native order
//
// `xrgb` receives 4 x count bytes. The source row is either apart from xrgb
// or starts at its first byte (a reader may decode into the caller's buffer
// and expand in place): the expansion runs back to front or through a
// scratch row. Sources are contiguous 8-bit samples without extra channels.
// Null pointers or a count of 0 or below write nothing.

#include <cstdint>

namespace QuillonCore {

void xrgbFromLuminance(const unsigned char* gray, int count, unsigned char* xrgb);
void xrgbFromRgb(const unsigned char* rgb, int count, unsigned char* xrgb);
void xrgbFromInk(const unsigned char* cmyk, int count, unsigned char* xrgb);

// Packed bits, most significant bit first; setIsWhite tells the polarity
// (TIFF PhotometricInterpretation 1: true, 0: false).
void xrgbFromBits(const unsigned char* bits, int count, bool setIsWhite, unsigned char* xrgb);

// Packed indexes of 1, 2, 4 or 8 bits, most significant first. An index at
// or beyond paletteSize gives black. False (nothing written) for another
// index size.
bool xrgbFromPalette(const unsigned char* indexes, int bitsPerIndex, int count,
                     const std::uint32_t* palette, int paletteSize, unsigned char* xrgb);

}  // namespace QuillonCore
