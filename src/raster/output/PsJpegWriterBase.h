#pragma once
// Where psjpeghandler writes its PostScript: supplied by the caller, which
// decides how data bytes are encoded (binary, or ASCIIHex) and how a patched
// byte count fills the ten characters psbegbin reserves.
//
// Texts reach writeText already formatted (numbers in the C locale, whatever
// the process locale is); the writer writes them as they are.

namespace QuillonCore {

class PsJpegWriterBase {
  public:
    virtual ~PsJpegWriterBase() = default;
    // Data bytes (the compressed image).
    virtual void write(const unsigned char* bytes, int count) = 0;
    // PostScript text and DSC comments.
    virtual void writeText(const char* text) = 0;
    // Writes value into the room reserved at an earlier position.
    virtual void patch(int position, int value) = 0;
    // The current output position in bytes.
    virtual int position() const = 0;
};

}  // namespace QuillonCore
