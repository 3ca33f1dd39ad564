#include "services/CallBackManager.h"

namespace QuillonCore {

CallBackManager& CallBackManager::Instance() {
    static CallBackManager instance;
    return instance;
}

}  // namespace QuillonCore
