#pragma once
// Helpers shared by the test suites: paths of fixtures and scratch files,
// and a recorder for user messages.

#include <string>
#include <vector>

#include "platform/velgen/Messages.h"

namespace QuillonTest {

// Absolute path of a fixture under tests/data.
std::string dataPath(const std::string& name);

// A fresh scratch path (the folder exists, the file does not).
std::string tempPath(const std::string& name);

// Records every user message said while it lives.
class MessageRecorder {
public:
    struct Said {
        VelGen::MessageSeverity severity;
        VelGen::MessageVolatility volatility;
        std::string text;
    };
    MessageRecorder();
    ~MessageRecorder();
    const std::vector<Said>& said() const { return mSaid; }
    void clear() { mSaid.clear(); }

private:
    std::vector<Said> mSaid;
    VelGen::MessageSink mPrevious;
};

}  // namespace QuillonTest
