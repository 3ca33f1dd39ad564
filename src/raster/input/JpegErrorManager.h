#pragma once
// libjpeg's error manager with a non-fatal exit, shared by the decoder and
// the compressor.
//
// libjpeg reports a fatal error by calling error_exit, which must not return.
// Ours jumps back to the setjmp of the innermost runGuarded call instead of
// ending the process. Everything between that setjmp and the jump is C code
// (libjpeg) or our own callbacks with trivially destructible frames, so the
// jump skips no destructor; callers turn the failure into their own result
// (pixerror 102 for readers, a non-zero result for the compressor) once they
// are back in ordinary C++ frames. No C++ exception may cross libjpeg.

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace QuillonCore {

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool armed = false;
    char lastMessage[JMSG_LENGTH_MAX] = {};

    // Installs the standard routines with our exit and output steps; returns
    // the struct to store in the codec's err field.
    jpeg_error_mgr* install();
    // True after a fatal error was caught.
    bool failed() const { return lastMessage[0] != 0; }
};

// Runs call() (a lambda capturing only pointers and scalars) under the error
// manager's jump. Returns false when libjpeg raised a fatal error. The frame
// holds no object with a destructor, which keeps the longjmp well defined.
template <class Call>
bool runGuarded(JpegErrorManager& errors, Call call) {
    if (setjmp(errors.jump)) {
        errors.armed = false;
        return false;
    }
    errors.armed = true;
    call();
    errors.armed = false;
    return true;
}

}  // namespace QuillonCore
