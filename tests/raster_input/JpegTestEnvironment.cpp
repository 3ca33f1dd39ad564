// The reader tests read message texts: install the library's convertor once.

#include <gtest/gtest.h>

#include "services/Localization.h"

namespace {

class RasterEnvironment : public ::testing::Environment {
public:
    void SetUp() override { QuillonCore::LocalizationInitialize(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new RasterEnvironment);

}  // namespace
