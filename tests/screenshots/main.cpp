// Writes a PNG of every registered window scene: vantrell_screenshots OUTPUT_FOLDER [NAME...]
// (only the scenes whose names contain one of the NAMEs when any are given).

#include "support/ui/Screenshot.h"
#include "support/ui/ScreenshotScenes.h"
#include "views/kit/WindowAppearanceBridge.h"

#include <QApplication>
#include <QTextStream>

using namespace vantrell;
using namespace vantrell::test;

namespace {

bool wanted(const QString& name, const QStringList& filters)
{
    if (filters.isEmpty()) {
        return true;
    }
    return std::any_of(filters.begin(), filters.end(),
                       [&](const QString& filter) { return name.contains(filter); });
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    WindowAppearanceBridge::installStyle();
    QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        QTextStream(stderr) << "usage: vantrell_screenshots OUTPUT_FOLDER [NAME...]\n";
        return 2;
    }
    const QString folder = arguments.takeFirst();
    QTextStream out(stdout);
    int failures = 0;
    for (const ScreenshotScenes::Scene& scene : ScreenshotScenes::all()) {
        if (!wanted(scene.name, arguments)) {
            continue;
        }
        const bool saved = Screenshot::save(scene.render(), folder, scene.name);
        out << (saved ? "wrote " : "FAILED ") << scene.name << ".png\n";
        failures += saved ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
