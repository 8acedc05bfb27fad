#include "support/ui/Screenshot.h"

#include <QDir>
#include <QPainter>
#include <QWidget>

namespace vantrell::test {

QImage Screenshot::grab(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage Screenshot::onBackdrop(const QImage& image, const QColor& color, int margin)
{
    const QSize logical = image.deviceIndependentSize().toSize();
    QImage result(logical + QSize(2 * margin, 2 * margin), QImage::Format_ARGB32_Premultiplied);
    result.fill(color);
    QPainter painter(&result);
    painter.drawImage(QRect(QPoint(margin, margin), logical), image);
    return result;
}

bool Screenshot::save(const QImage& image, const QString& folder, const QString& name)
{
    return QDir().mkpath(folder) && image.save(QDir(folder).filePath(name + u".png"), "PNG");
}

}  // namespace vantrell::test
