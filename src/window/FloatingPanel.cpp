#include "window/FloatingPanel.h"

#include "window/FloatingPanelDesktops.h"

#include <QMouseEvent>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWindow>

namespace vantrell {

namespace {
constexpr int resizeBand = 5;  // pixels along each edge that resize instead of drag
}

FloatingPanel::FloatingPanel(QWidget* content)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("floatingPanel"));
    setWindowTitle(QStringLiteral("Vantrell"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    resize(FloatingPanelGeometry::initialSize);
}

void FloatingPanel::applyStyleMetrics(const FloatingPanelGeometry::StyleMetrics& metrics)
{
    // Widen the bounds first: going from a small style to a large one would otherwise set a
    // minimum above the old maximum.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    setMinimumSize(metrics.minimumSize);
    setMaximumSize(metrics.maximumSize);
    setWindowOpacity(1.0);
    m_hasShadow = metrics.hasShadow;
}

void FloatingPanel::setLocked(bool locked)
{
    m_locked = locked;
    m_dragOffset.reset();
    if (windowFlags().testFlag(Qt::WindowTransparentForInput) == locked) {
        return;
    }
    // Changing a window flag hides the window and may recreate it: keep its frame and bring it
    // back without activating it.
    const bool wasVisible = isVisible();
    const QRect frame = geometry();
    setWindowFlag(Qt::WindowTransparentForInput, locked);
    setGeometry(frame);
    if (wasVisible) {
        present();
    }
}

void FloatingPanel::present()
{
    show();
    raise();
}

Qt::Edges FloatingPanel::edgesAt(QPoint position) const
{
    Qt::Edges edges;
    edges.setFlag(Qt::LeftEdge, position.x() < resizeBand);
    edges.setFlag(Qt::RightEdge, position.x() >= width() - resizeBand);
    edges.setFlag(Qt::TopEdge, position.y() < resizeBand);
    edges.setFlag(Qt::BottomEdge, position.y() >= height() - resizeBand);
    return edges;
}

void FloatingPanel::mousePressEvent(QMouseEvent* event)
{
    if (m_locked || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QWindow* window = windowHandle();
    const Qt::Edges edges = edgesAt(event->position().toPoint());
    if (window != nullptr && edges != Qt::Edges() && window->startSystemResize(edges)) {
        return;
    }
    if (window != nullptr && window->startSystemMove()) {
        return;
    }
    // No window manager help (offscreen, some X11 managers): move the window ourselves.
    m_dragOffset = event->globalPosition().toPoint() - pos();
}

void FloatingPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_locked && m_dragOffset && event->buttons().testFlag(Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *m_dragOffset);
        return;
    }
    event->ignore();
}

void FloatingPanel::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragOffset.reset();
    event->ignore();
}

void FloatingPanel::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    Q_EMIT frameChanged();
}

void FloatingPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Q_EMIT frameChanged();
}

void FloatingPanel::showEvent(QShowEvent* event)
{
    // A spontaneous show comes from the window system, after the window was mapped.
    if (!event->spontaneous()) {
        FloatingPanelDesktops::requestAllDesktops(*this);
    }
    QWidget::showEvent(event);
}

}  // namespace vantrell
