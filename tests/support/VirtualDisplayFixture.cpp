#include "support/VirtualDisplayFixture.h"

#include <QStandardPaths>

namespace vantrell::test {

void VirtualDisplayFixture::SetUp()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps adds it)";
    }
    display.emplace(xvfb);
    const std::optional<QString> name = display->waitForDisplay();
    ASSERT_TRUE(name) << "Xvfb did not report a display";
    displayName = *name;
}

}  // namespace vantrell::test
