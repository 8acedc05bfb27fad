#pragma once

#include <QObject>

namespace vantrell {

class AppSettings;
class PortfolioStore;

// What the popover needs of the floating panel: whether it is shown, and a way to show or hide
// it. The window layer, which owns the panel, implements it.
class FloatingPanelSwitch : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isVisible READ isVisible NOTIFY isVisibleChanged)

public:
    using QObject::QObject;

    virtual bool isVisible() const = 0;
    // Hides a visible panel, otherwise shows it, over this store and these settings.
    virtual void toggle(PortfolioStore& store, AppSettings& settings) = 0;

Q_SIGNALS:
    void isVisibleChanged();
};

}  // namespace vantrell
