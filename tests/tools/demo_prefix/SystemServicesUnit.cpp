#include <gtest/gtest.h>

#include "platform/Platform.h"

namespace {

// The drive map reads the generated prefix through the system's folder access.
class InstallSystemServices : public ::testing::Environment {
public:
    void SetUp() override { modshelf::platform::installSystemServices(); }
};

[[maybe_unused]] ::testing::Environment* const kSystemServices =
    ::testing::AddGlobalTestEnvironment(new InstallSystemServices);

}  // namespace
