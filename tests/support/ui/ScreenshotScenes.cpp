#include "support/ui/ScreenshotScenes.h"

namespace vantrell::test {

std::vector<ScreenshotScenes::Scene>& ScreenshotScenes::registry()
{
    static std::vector<Scene> scenes;
    return scenes;
}

bool ScreenshotScenes::add(const QString& name, std::function<QImage()> render)
{
    registry().push_back({name, std::move(render)});
    return true;
}

const std::vector<ScreenshotScenes::Scene>& ScreenshotScenes::all()
{
    return registry();
}

}  // namespace vantrell::test
