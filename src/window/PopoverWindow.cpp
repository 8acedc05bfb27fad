#include "window/PopoverWindow.h"

#include "views/popover/PopoverView.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace vantrell {

PopoverWindow::PopoverWindow(PortfolioStore& store, AppSettings& settings,
                             FloatingWindowController& floating, UpdateChecker& updateChecker,
                             QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint),
      m_view(new PopoverView(store, settings, floating, updateChecker))
{
    setObjectName(QStringLiteral("popoverWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_view);
    const auto hideThen = [this](void (PopoverWindow::*signal)()) {
        return [this, signal] {
            hide();
            Q_EMIT(this->*signal)();
        };
    };
    connect(m_view, &PopoverView::openMainWindowRequested, this,
            hideThen(&PopoverWindow::openMainWindowRequested));
    connect(m_view, &PopoverView::openSettingsRequested, this,
            hideThen(&PopoverWindow::openSettingsRequested));
    connect(m_view, &PopoverView::quitRequested, this, &PopoverWindow::quitRequested);
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
    m_view->setVisibleScreenHeight(available ? std::optional<int>(available->height())
                                             : std::nullopt);
    adjustSize();
    const QRect area = available.value_or(QRect(pointer, size()));
    setGeometry(placement(iconRect, pointer, area, m_view->size()));
    show();
    raise();
    activateWindow();
}

void PopoverWindow::toggleAt(std::optional<QRect> iconRect)
{
    if (isVisible()) {
        hide();
        return;
    }
    const QPoint pointer = QCursor::pos();
    const QPoint probe = iconRect && iconRect->isValid() ? iconRect->center() : pointer;
    QScreen* screen = QGuiApplication::screenAt(probe);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    open(iconRect, pointer,
         screen ? std::optional<QRect>(screen->availableGeometry()) : std::nullopt);
}

}  // namespace vantrell
