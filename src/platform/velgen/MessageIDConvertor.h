#pragma once
// Turns the general library's numeric message codes into text. The library
// installs its own (LocalizationInitialize); without one, every code reads
// "Unknown error".

#include <string>

namespace VelGen {

class MessageIDConvertor {
public:
    virtual std::string Convert(unsigned code) = 0;  // UTF-8
    virtual ~MessageIDConvertor() = default;
};

// Installs the convertor (not owned) and returns the previous one.
MessageIDConvertor* SetMessageIDConvertor(MessageIDConvertor* convertor);
MessageIDConvertor* GetMessageIDConvertor();

}  // namespace VelGen
