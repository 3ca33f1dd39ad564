#pragma once
// Named callables the host registers and library code asks for by name
// ("texparful": fill the parameters of an empty text).

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace QuillonCore {

namespace Private {

// Base of the holders of callables of any signature.
class CallBackHolder {
public:
    virtual ~CallBackHolder() = default;
};

template <class Signature>
class CallBackHolderOf : public CallBackHolder {
public:
    explicit CallBackHolderOf(std::function<Signature> fn) : mFunction(std::move(fn)) {}
    const std::function<Signature>& function() const { return mFunction; }

private:
    std::function<Signature> mFunction;
};

}  // namespace Private

class CallBackManager {
public:
    static CallBackManager& Instance();

    // Registers (or replaces) the callable under a name.
    template <class Signature>
    void Register(const std::string& name, std::function<Signature> fn) {
        mHolders[name] = std::make_unique<Private::CallBackHolderOf<Signature>>(std::move(fn));
    }

    // A copy of the callable registered under the name; empty when the name is
    // unknown or was registered with another signature.
    template <class Signature>
    std::function<Signature> Get(const std::string& name) const {
        auto it = mHolders.find(name);
        if (it == mHolders.end()) return {};
        auto* holder = dynamic_cast<const Private::CallBackHolderOf<Signature>*>(it->second.get());
        return holder ? holder->function() : std::function<Signature>();
    }

    void Unregister(const std::string& name) { mHolders.erase(name); }

private:
    CallBackManager() = default;
    std::map<std::string, std::unique_ptr<Private::CallBackHolder>> mHolders;
};

}  // namespace QuillonCore
