#pragma once

#include "support/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <QString>

#include <optional>

namespace vantrell::test {

// A test on an Xvfb server of its own, started before the test and stopped after it; skipped
// where Xvfb is not installed.
//
//     class MyX11Test : public VirtualDisplayFixture {};
//     TEST_F(MyX11Test, ...) { ... VirtualDisplay::clientEnvironment(displayName) ... }
class VirtualDisplayFixture : public testing::Test {
protected:
    void SetUp() override;

    std::optional<VirtualDisplay> display;  // reset() stops the server
    QString displayName;                    // ":N"
};

}  // namespace vantrell::test
