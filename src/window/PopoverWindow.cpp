#include "window/PopoverWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrell {

namespace {

constexpr int anchorGap = 4;
// A click on the tray item first closes the open popover (it is outside it) and then
// arrives as an activation; within this time that activation does not reopen it.
constexpr qint64 reopenGuardMs = 300;

QRect areaAround(const QRect& anchor)
{
    QScreen* screen = QGuiApplication::screenAt(anchor.center());
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

}  // namespace

PopoverWindow::PopoverWindow(AppSettings& settings, SceneHost::ContentFactory makeContent,
                             QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("popoverWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_host = new SceneHost(QStringLiteral("popover"), settings, std::move(makeContent), this);
    layout->addWidget(m_host);
}

void PopoverWindow::toggle(const QRect& anchor)
{
    if (isVisible()) {
        hide();
        return;
    }
    if (m_sinceHidden.isValid() && m_sinceHidden.elapsed() < reopenGuardMs) {
        return;
    }
    open(anchor);
}

void PopoverWindow::open(const QRect& anchor)
{
    adjustSize();
    const QRect area = areaAround(anchor);
    move(area.isValid() ? placement(size(), anchor, area) : anchor.topLeft());
    show();
    raise();
    activateWindow();
}

QPoint PopoverWindow::placement(const QSize& size, const QRect& anchor, const QRect& area)
{
    const bool below = anchor.center().y() < area.center().y();
    int x = anchor.center().x() - size.width() / 2;
    int y =
        below ? anchor.y() + anchor.height() + anchorGap : anchor.y() - anchorGap - size.height();
    // Qt's right() and bottom() are one pixel short; the area's far edges are x + width and
    // y + height.
    x = std::max(area.x(), std::min(x, area.x() + area.width() - size.width()));
    y = std::max(area.y(), std::min(y, area.y() + area.height() - size.height()));
    return {x, y};
}

void PopoverWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_sinceHidden.start();
}

}  // namespace vantrell
