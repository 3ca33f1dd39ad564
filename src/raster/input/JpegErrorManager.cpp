#include "raster/input/JpegErrorManager.h"

#include <cstdlib>

#include "platform/velsys/Debug.h"

namespace QuillonCore {

namespace {

void outputMessage(j_common_ptr codec) {
    char text[JMSG_LENGTH_MAX];
    (*codec->err->format_message)(codec, text);
    VelSys::debug("JPEG Error: %s\n", text);
}

void errorExit(j_common_ptr codec) {
    auto* errors = reinterpret_cast<JpegErrorManager*>(codec->err);
    (*codec->err->format_message)(codec, errors->lastMessage);
    if (!errors->lastMessage[0]) errors->lastMessage[0] = '?';
    VelSys::debug("JPEG Error: %s\n", errors->lastMessage);
    // Every libjpeg call of the library runs under runGuarded; reaching this
    // point without it is a programming error, not a file error.
    if (!errors->armed) std::abort();
    std::longjmp(errors->jump, 1);
}

}  // namespace

jpeg_error_mgr* JpegErrorManager::install() {
    jpeg_std_error(&pub);
    pub.error_exit = errorExit;
    pub.output_message = outputMessage;
    lastMessage[0] = 0;
    return &pub;
}

}  // namespace QuillonCore
