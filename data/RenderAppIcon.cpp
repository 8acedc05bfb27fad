// Writes the program's icon as PNG files for the desktop: RenderAppIcon OUTPUT_FOLDER SIZE...
// gives OUTPUT_FOLDER/<size>/vantrell.png for each size. Run by the build.

#include "window/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    // Only images are painted: no display is needed, nor wanted at build time.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList arguments = QGuiApplication::arguments().mid(1);
    if (arguments.size() < 2) {
        QTextStream(stderr) << "usage: RenderAppIcon OUTPUT_FOLDER SIZE...\n";
        return 2;
    }
    const QString folder = arguments.takeFirst();
    for (const QString& argument : arguments) {
        bool isNumber = false;
        const int size = argument.toInt(&isNumber);
        const QString sizeFolder = folder + u'/' + argument;
        if (!isNumber || size <= 0 || !QDir().mkpath(sizeFolder) ||
            !vantrell::AppIcon::image(size).save(sizeFolder + QStringLiteral("/vantrell.png"))) {
            QTextStream(stderr) << "could not write the " << argument << " px icon\n";
            return 1;
        }
    }
    return 0;
}
