#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace vantrell::test {

// The registry of pictures that scripts/screenshots writes: one entry per window state. A file
// of scenes registers its entries at start-up:
//
//     const bool registered = ScreenshotScenes::add(QStringLiteral("popover-light"), [] {
//         StagedPortfolio staged;  ...
//         return Screenshot::grab(popover);
//     });
class ScreenshotScenes {
public:
    struct Scene {
        QString name;  // the PNG's file name, without extension
        std::function<QImage()> render;
    };

    ScreenshotScenes() = delete;

    static bool add(const QString& name, std::function<QImage()> render);
    // In the order they were added.
    static const std::vector<Scene>& all();

private:
    static std::vector<Scene>& registry();
};

}  // namespace vantrell::test
