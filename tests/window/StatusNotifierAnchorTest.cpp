#include "window/StatusNotifierAnchor.h"

#include "support/VirtualDisplayFixture.h"
#include "window/PopoverWindow.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

using namespace vantrell;
using namespace vantrell::test;

namespace {

using Screens = std::vector<StatusNotifierAnchor::Screen>;

constexpr int most = std::numeric_limits<int>::max();
constexpr int least = std::numeric_limits<int>::min();

TEST(StatusNotifierAnchorTest, MapsDevicePointsOntoTheNearestScreen)
{
    const Screens plain{{QRect(0, 0, 1280, 800), 1.0}};
    const Screens doubled{{QRect(0, 0, 640, 400), 2.0}};
    // A plain screen, and a doubled one to its right: 1920 x 1080 device pixels from x 1280.
    const Screens sideBySide{{QRect(0, 0, 1280, 800), 1.0}, {QRect(1280, 0, 960, 540), 2.0}};
    // A gap of 200 pixels between two plain screens, and one left of the origin.
    const Screens apart{{QRect(0, 0, 1000, 800), 1.0}, {QRect(1200, 0, 800, 600), 1.0}};
    const Screens leftOfOrigin{{QRect(-1280, 0, 1280, 800), 1.0}, {QRect(0, 0, 800, 600), 2.0}};
    const struct {
        const char* what;
        const Screens& screens;
        QPoint device;
        QPoint logical;
    } rows[] = {
        {"inside, plain", plain, {300, 24}, {300, 24}},
        {"last pixel, plain", plain, {1279, 799}, {1279, 799}},
        {"inside, doubled", doubled, {600, 48}, {300, 24}},
        {"odd pixel, doubled", doubled, {601, 49}, {300, 24}},
        {"last pixel, doubled", doubled, {1279, 799}, {639, 399}},
        {"past the edge, doubled", doubled, {1280, 800}, {639, 399}},
        {"far corner", plain, {most, most}, {1279, 799}},
        {"near corner", plain, {least, least}, {0, 0}},
        {"bottom edge", plain, {0, most}, {0, 799}},
        {"far corner, doubled", doubled, {most, most}, {639, 399}},
        {"near corner, doubled", doubled, {least, least}, {0, 0}},
        {"first screen", sideBySide, {1279, 400}, {1279, 400}},
        {"second screen's first pixel", sideBySide, {1280, 0}, {1280, 0}},
        {"second screen", sideBySide, {1880, 100}, {1580, 50}},
        {"second screen's last pixel", sideBySide, {3199, 1079}, {2239, 539}},
        {"below both, nearer the second", sideBySide, {2000, 1500}, {1640, 539}},
        {"below the first only", sideBySide, {100, 1000}, {100, 799}},
        {"right of both", sideBySide, {most, 500}, {2239, 250}},
        {"in the gap, nearer the first", apart, {1050, 100}, {999, 100}},
        {"in the gap, nearer the second", apart, {1150, 100}, {1200, 100}},
        {"left of the origin", leftOfOrigin, {-10, 10}, {-10, 10}},
        {"doubled at the origin", leftOfOrigin, {1000, 1000}, {500, 500}},
        {"far left", leftOfOrigin, {least, 0}, {-1280, 0}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(StatusNotifierAnchor::logicalPoint(row.device, row.screens), row.logical)
            << row.what;
        EXPECT_EQ(StatusNotifierAnchor::anchor(row.device, row.screens),
                  QRect(row.logical, QSize(1, 1)))
            << row.what;
    }
}

TEST(StatusNotifierAnchorTest, WithoutAScreenThereIsNoAnchor)
{
    EXPECT_EQ(StatusNotifierAnchor::logicalPoint(QPoint(10, 10), {}), std::nullopt);
    EXPECT_FALSE(StatusNotifierAnchor::anchor(QPoint(10, 10), {}).isValid());
}

// The program reports the screen's ratio, the popover's logical geometry and where its window
// landed on the X server, in device pixels.
struct Placement {
    double ratio = 0;
    QRect logical;
    QPoint device;
};

std::optional<Placement> placementFrom(const QByteArray& output)
{
    const QList<QByteArray> fields = output.trimmed().split(' ');
    if (fields.size() != 7) {
        return std::nullopt;
    }
    const auto at = [&](int index) { return fields[index].toInt(); };
    return Placement{fields[0].toDouble(), QRect(at(1), at(2), at(3), at(4)), QPoint(at(5), at(6))};
}

// Runs the program on `display` with Qt's scale factor 2, for a click at `devicePoint`.
QByteArray openedAtScaleTwo(const QString& display, QPoint devicePoint)
{
    QProcess program;
    // No desktop bus: the item is clicked through its adaptor.
    const QTemporaryDir busless;
    QProcessEnvironment environment =
        VirtualDisplay::clientEnvironmentWithoutBus(display, busless.path());
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(VANTRELL_STATUS_NOTIFIER_ANCHOR_PROGRAM),
                  {QString::number(devicePoint.x()), QString::number(devicePoint.y())});
    if (!program.waitForFinished(30000) || program.exitCode() != 0) {
        return QByteArray("the program failed");
    }
    return program.readAllStandardOutput();
}

class StatusNotifierAnchorOnX11Test : public VirtualDisplayFixture {};

TEST_F(StatusNotifierAnchorOnX11Test, PopoverOpensUnderTheDevicePointOnAScaledScreen)
{
    // Device pixel (600, 48) of the 1280 x 800 server is logical (300, 24).
    const QByteArray output = openedAtScaleTwo(displayName, QPoint(600, 48));
    const std::optional<Placement> placement = placementFrom(output);
    ASSERT_TRUE(placement) << output.toStdString();
    ASSERT_EQ(placement->ratio, 2.0);

    // Centred under logical (300, 24), as under an icon one pixel wide.
    const QSize size = placement->logical.size();
    EXPECT_EQ(placement->logical,
              QRect(QPoint(300 - size.width() / 2, 24 + 1 + PopoverWindow::iconGap), size))
        << output.toStdString();
    EXPECT_EQ(placement->device, placement->logical.topLeft() * 2) << output.toStdString();
}

}  // namespace
