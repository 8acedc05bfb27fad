#pragma once

#include "settings/FloatingDisplayStyle.h"
#include "views/floating/FloatingViewModel.h"
#include "views/kit/CoalescedRender.h"

#include <QPointer>
#include <QWidget>

class QBoxLayout;
class QToolButton;

namespace vantrell {

class AppSettings;
class PortfolioStore;

// The floating panel's content in its three styles: the total with the period's change and,
// by style, a card per exchange (full), a line of exchanges (compact) or a single line on a
// clear background (transparent), with a close button. It re-renders, once per turn of the
// event loop, whenever the store or the settings publish a change; the hover state lives in
// the view itself and survives re-rendering. The transparent style shows its close button
// only while the pointer is over the panel.
class FloatingPortfolioView : public QWidget {
    Q_OBJECT

public:
    static constexpr int cornerRadius = 15;

    FloatingPortfolioView(PortfolioStore& store, AppSettings& settings, QWidget* parent = nullptr);

    bool isHovering() const { return m_isHovering; }
    const FloatingViewModel& model() const { return m_model; }
    // Rebuilds the content now from the store and settings (renders are otherwise coalesced).
    void render();
    // Rebuilds the content from a given model (the panel's benchmark and tests).
    void render(const FloatingViewModel& model);

Q_SIGNALS:
    // The close button was pressed.
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void scheduleRender();
    void setHovering(bool hovering);
    QWidget* buildFull();
    QWidget* buildCompact();
    QWidget* buildTransparent();
    QBoxLayout* totalSummary(int totalSize, int summarySize);
    QToolButton* closeButton();
    void updateCloseIcon();

    QPointer<PortfolioStore> m_store;
    QPointer<AppSettings> m_settings;
    FloatingViewModel m_model;
    QWidget* m_content = nullptr;
    QToolButton* m_closeButton = nullptr;
    bool m_isHovering = false;
    CoalescedRender m_coalescedRender{this, [this] { render(); }};
};

}  // namespace vantrell
