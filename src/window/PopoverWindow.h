#pragma once

#include "window/SceneObjects.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <functional>
#include <optional>

namespace vantrell {

class PopoverView;
class SceneHost;

// The window the tray item opens: a frameless popup holding the popover content in a scene
// host, so an appearance change makes the content afresh. It opens below the tray icon when the
// icon's geometry is known, else at the pointer, always inside the usable area of that screen,
// and no taller than that screen allows; a click outside closes it. It hides itself before it
// passes on a request for the main or the settings window, so the window that opens is not
// covered.
class PopoverWindow : public QWidget {
    Q_OBJECT

public:
    using ContentFactory = std::function<QWidget*(const PopoverObjects& objects)>;

    static constexpr int iconGap = 4;
    // A click on the tray item first closes the open popover (it is outside it) and then
    // arrives as an activation; within this time that activation does not reopen it.
    static constexpr qint64 reopenGuardMs = 300;

    // Makes the content at once from `objects`, whose actions it wraps so that opening a window
    // hides the popover first. The objects must outlive the window.
    PopoverWindow(const PopoverObjects& objects, ContentFactory makeContent,
                  QWidget* parent = nullptr);

    SceneHost* host() const { return m_host; }
    // The popover view shown, or null when the content is something else.
    PopoverView* view() const;

    // Where a popover of `size` goes: centred under the icon (or with its top-left corner at
    // the pointer), then moved into `available` (the screen's usable area).
    static QRect placement(std::optional<QRect> iconRect, QPoint pointer, const QRect& available,
                           QSize size);
    // Shows the popover for an icon at `iconRect` (none or invalid when unknown) on a screen
    // whose usable area is `available` (none without a screen).
    void open(std::optional<QRect> iconRect, QPoint pointer, std::optional<QRect> available);
    // Opens at the tray icon, or at the pointer, on the screen under it.
    void openAt(std::optional<QRect> iconRect);
    // Closes the popover when it is open, otherwise opens it as openAt() does, unless the click
    // that asks for it is the one that just closed it.
    void toggleAt(std::optional<QRect> iconRect);

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void applyScreenHeight();

    SceneHost* m_host;
    std::optional<int> m_visibleScreenHeight;
    QElapsedTimer m_sinceHidden;
};

}  // namespace vantrell
