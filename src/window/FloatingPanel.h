#pragma once

#include "window/FloatingPanelGeometry.h"

#include <QPoint>
#include <QWidget>

#include <optional>

namespace vantrell {

// The floating panel's window: frameless, always on top, never activating the application and
// never its main window (a tool window that shows without activation), with a clear background
// so its content draws the rounded panel. It can be dragged by its background and resized
// from its edges unless it is locked; a locked panel lets every click through to the windows
// behind it.
//
// A frameless window has no native shadow on Linux: hasShadow() records the style's choice. On
// X11 the panel asks the window manager to show it on every desktop.
class FloatingPanel : public QWidget {
    Q_OBJECT

public:
    explicit FloatingPanel(QWidget* content);

    // The style's minimum and maximum size and shadow; the size itself is set by the caller.
    void applyStyleMetrics(const FloatingPanelGeometry::StyleMetrics& metrics);
    bool hasShadow() const { return m_hasShadow; }

    // Locked: click-through (Qt::WindowTransparentForInput) and no dragging. The window keeps
    // its frame, and stays on screen if it was, across the flag change.
    void setLocked(bool locked);
    bool isLocked() const { return m_locked; }
    bool isMovableByBackground() const { return !m_locked; }

    // Orders the panel to the front without activating it.
    void present();

Q_SIGNALS:
    // The frame moved or changed size.
    void frameChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Before the window is mapped: asks for every desktop.
    void showEvent(QShowEvent* event) override;

private:
    Qt::Edges edgesAt(QPoint position) const;

    bool m_hasShadow = true;
    bool m_locked = false;
    // Where the pointer grabbed the panel, while a drag runs without the window manager.
    std::optional<QPoint> m_dragOffset;
};

}  // namespace vantrell
