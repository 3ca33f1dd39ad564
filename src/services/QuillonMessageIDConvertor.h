#pragma once
// The library's message identifier convertor: the reader error codes 100 to
// 103 give the localized text of their key; any other code "Unknown error".

#include "platform/velgen/MessageIDConvertor.h"

namespace QuillonCore {

class QuillonMessageIDConvertor : public VelGen::MessageIDConvertor {
public:
    std::string Convert(unsigned code) override;
};

}  // namespace QuillonCore
