#pragma once

#include "models/Exchange.h"
#include "views/kit/CoalescedRender.h"
#include "views/portfolio/ExchangeDetailModel.h"

#include <QPointer>
#include <QWidget>

class QScrollArea;
class QVBoxLayout;

namespace vantrell {

class AppSettings;
class PortfolioStore;

// The page of one exchange: its name and refresh status, its total and the value of each
// account type, its holdings by value and its positions in the chosen order; or, while the
// snapshot holds no account of it, a note saying where to configure it. It keeps no state: it
// re-renders (once per turn of the event loop) on every change of the store or the settings.
class ExchangeDetailView : public QWidget {
    Q_OBJECT

public:
    ExchangeDetailView(PortfolioStore& store, AppSettings& settings, Exchange exchange,
                       QWidget* parent = nullptr);

    Exchange exchange() const { return m_exchange; }
    const ExchangeDetailModel& model() const { return m_model; }
    void render();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void scheduleRender();
    QWidget* buildHeader();
    QWidget* buildMetrics();
    QWidget* buildAssets();
    QWidget* buildPositions();

    QPointer<PortfolioStore> m_store;
    QPointer<AppSettings> m_settings;
    Exchange m_exchange;
    ExchangeDetailModel m_model;
    CoalescedRender m_coalescedRender{this, [this] { render(); }};
    QScrollArea* m_scroll;
    QWidget* m_content = nullptr;
};

}  // namespace vantrell
