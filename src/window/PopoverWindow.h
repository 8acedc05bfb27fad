#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <optional>

namespace vantrell {

class AppSettings;
class FloatingWindowController;
class PopoverView;
class PortfolioStore;
class UpdateChecker;

// The window the tray item opens: a frameless popup holding the popover. It opens below the
// tray icon when the icon's geometry is known, else at the pointer, always inside the usable
// area of that screen; a click outside closes it. It hides itself before it asks for the main
// or the settings window, so the window that opens is not covered.
class PopoverWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int iconGap = 4;

    PopoverWindow(PortfolioStore& store, AppSettings& settings, FloatingWindowController& floating,
                  UpdateChecker& updateChecker, QWidget* parent = nullptr);

    PopoverView& view() const { return *m_view; }

    // Where a popover of `size` goes: centred under the icon (or with its top-left corner at
    // the pointer), then moved into `available` (the screen's usable area).
    static QRect placement(std::optional<QRect> iconRect, QPoint pointer, const QRect& available,
                           QSize size);
    // Shows the popover for an icon at `iconRect` (invalid when unknown) on a screen whose
    // usable area is `available` (none without a screen).
    void open(std::optional<QRect> iconRect, QPoint pointer, std::optional<QRect> available);
    // Opens at the tray icon, or at the pointer, on the screen under it.
    void toggleAt(std::optional<QRect> iconRect);

Q_SIGNALS:
    void openMainWindowRequested();
    void openSettingsRequested();
    void quitRequested();

private:
    PopoverView* m_view;
};

}  // namespace vantrell
