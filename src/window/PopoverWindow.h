#pragma once

#include "window/SceneHost.h"

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

#include <optional>

namespace vantrell {

class AppSettings;

// The borderless window under the tray item that holds the popover content. It closes when the
// user clicks elsewhere, and takes the size its content asks for.
class PopoverWindow : public QWidget {
    Q_OBJECT

public:
    // Makes the content at once; `settings` must outlive the window.
    PopoverWindow(AppSettings& settings, SceneHost::ContentFactory makeContent,
                  QWidget* parent = nullptr);

    SceneHost* host() const { return m_host; }

    // Opens the window at `anchor` (the tray item's rectangle, or the pointer's position when
    // the tray tells nothing), or closes it when it is open. A click on the tray item that
    // itself closed the popover does not open it again at once.
    void toggle(const QRect& anchor);
    void open(const QRect& anchor);

    // Where a window of `size` goes for `anchor` inside `area`: centred under the anchor when
    // the anchor is in the upper half of the area, above it otherwise, kept inside the area.
    static QPoint placement(const QSize& size, const QRect& anchor, const QRect& area);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    SceneHost* m_host;
    QElapsedTimer m_sinceHidden;
};

}  // namespace vantrell
