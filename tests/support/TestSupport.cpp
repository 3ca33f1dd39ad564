#include "support/TestSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "platform/velsys/ustring.h"

namespace QuillonTest {

std::string dataPath(const std::string& name) { return std::string(QUILLON_TEST_DATA_DIR) + "/" + name; }

std::string tempPath(const std::string& name) {
    static std::atomic<int> counter{0};
    const char* base = std::getenv("QUILLON_TEST_TMP");
    std::filesystem::path dir = base ? base : std::filesystem::temp_directory_path() / "quillon-tests";
    dir /= std::to_string(getpid()) + "-" + std::to_string(counter++);
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

MessageRecorder::MessageRecorder() {
    mPrevious = VelGen::SetMessageSink([this](VelGen::MessageSeverity s, VelGen::MessageVolatility v,
                                              const ustring& text) {
        mSaid.push_back({s, v, VelSys::Uni16ToUTF8(text)});
    });
}

MessageRecorder::~MessageRecorder() { VelGen::SetMessageSink(mPrevious); }

}  // namespace QuillonTest
