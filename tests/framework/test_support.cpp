#include "test_support.h"

#include <gtest/gtest.h>

namespace {

// Every test needs the common control classes before its dialogs.
class CommonControlsEnvironment : public ::testing::Environment {
    void SetUp() override { AfxInitCommonControls(); }
};
const auto* environment = ::testing::AddGlobalTestEnvironment(new CommonControlsEnvironment);

} // namespace
