#include "window/PopoverWindow.h"

#include "views/popover/PopoverView.h"
#include "window/SceneHost.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrell {

namespace {

// The same objects, with actions that hide `window` before they open another window.
PopoverObjects hidingFirst(const PopoverObjects& objects, PopoverWindow* window)
{
    const SceneActions actions = objects.actions;
    SceneActions wrapped{[window, actions](const QString& sceneId) {
                             window->hide();
                             if (actions.openWindow) {
                                 actions.openWindow(sceneId);
                             }
                         },
                         actions.quit};
    return {objects.store, objects.floatingWindow, objects.settings, objects.updateChecker,
            std::move(wrapped)};
}

}  // namespace

PopoverWindow::PopoverWindow(const PopoverObjects& objects, ContentFactory makeContent,
                             QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("popoverWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const PopoverObjects content = hidingFirst(objects, this);
    m_host = new SceneHost(
        QStringLiteral("popover"), objects.settings,
        [content, makeContent = std::move(makeContent)] { return makeContent(content); }, this);
    layout->addWidget(m_host);
    // A new content starts without the screen's height cap.
    connect(m_host, &SceneHost::contentRebuilt, this, &PopoverWindow::applyScreenHeight);
    // Closed until it is first opened, so its content waits for the opening to render.
    hide();
}

PopoverView* PopoverWindow::view() const
{
    return qobject_cast<PopoverView*>(m_host->content());
}

QRect PopoverWindow::placement(std::optional<QRect> iconRect, QPoint pointer,
                               const QRect& available, QSize size)
{
    QPoint topLeft = pointer;
    if (iconRect && iconRect->isValid()) {
        topLeft = QPoint(iconRect->x() + iconRect->width() / 2 - size.width() / 2,
                         iconRect->y() + iconRect->height() + iconGap);
    }
    // Into the usable area: the far edges first, so a popover larger than the area keeps its
    // top-left corner visible.
    const int x1 = available.x() + available.width();
    const int y1 = available.y() + available.height();
    topLeft.setX(std::max(available.x(), std::min(topLeft.x(), x1 - size.width())));
    topLeft.setY(std::max(available.y(), std::min(topLeft.y(), y1 - size.height())));
    return QRect(topLeft, size);
}

void PopoverWindow::open(std::optional<QRect> iconRect, QPoint pointer,
                         std::optional<QRect> available)
{
    m_visibleScreenHeight =
        available ? std::optional<int>(available->height()) : std::optional<int>();
    applyScreenHeight();
    adjustSize();
    const QRect area = available.value_or(QRect(pointer, size()));
    setGeometry(placement(iconRect, pointer, area, size()));
    show();
    raise();
    activateWindow();
}

void PopoverWindow::openAt(std::optional<QRect> iconRect)
{
    const QPoint pointer = QCursor::pos();
    const QPoint probe = iconRect && iconRect->isValid() ? iconRect->center() : pointer;
    QScreen* screen = QGuiApplication::screenAt(probe);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    open(iconRect, pointer,
         screen != nullptr ? std::optional<QRect>(screen->availableGeometry()) : std::nullopt);
}

void PopoverWindow::toggleAt(std::optional<QRect> iconRect)
{
    if (isVisible()) {
        hide();
        return;
    }
    if (m_sinceHidden.isValid() && m_sinceHidden.elapsed() < reopenGuardMs) {
        return;
    }
    openAt(iconRect);
}

void PopoverWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_sinceHidden.start();
}

void PopoverWindow::applyScreenHeight()
{
    if (PopoverView* popover = view()) {
        popover->setVisibleScreenHeight(m_visibleScreenHeight);
    }
}

}  // namespace vantrell
