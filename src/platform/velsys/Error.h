#pragma once
// The system library's error: an exception with a severity, a title and a
// store of typed properties under four-character keys. Errors travel as
// shared pointers between the components that raise them and the logger
// that collects them.

#include <any>
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <string>

#include "platform/velsys/ustring.h"

namespace VelSys::Core {

class Error : public std::exception {
  public:
    enum Severity : int { kNote = 0, kWarning = 1, kError = 2, kFatal = 3 };

    explicit Error(Severity severity, const ustring& title = {});
    ~Error() override = default;
    Error(const Error&) = default;
    Error& operator=(const Error&) = default;

    // The title as UTF-8.
    const char* what() const noexcept override { return mWhat.c_str(); }
    virtual ustring GetTitle() const { return mTitle; }
    Severity GetSeverity() const { return mSeverity; }

    bool HasProperty(std::uint32_t key) const { return mProperties.count(key) != 0; }
    template <class T>
    void SetProperty(std::uint32_t key, const T& value) {
        mProperties[key] = value;
    }
    // The value under the key, when there is one of that type.
    template <class T>
    std::optional<T> GetProperty(std::uint32_t key) const {
        auto found = mProperties.find(key);
        if (found == mProperties.end()) return std::nullopt;
        if (const T* value = std::any_cast<T>(&found->second)) return *value;
        return std::nullopt;
    }

  private:
    Severity mSeverity;
    ustring mTitle;
    std::string mWhat;
    std::map<std::uint32_t, std::any> mProperties;
};

}  // namespace VelSys::Core
