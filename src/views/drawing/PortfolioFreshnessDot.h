#pragma once

#include "models/Exchange.h"
#include "views/kit/CoalescedRender.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace vantrell {

class PortfolioStore;

// A 6 × 6 dot: green while the data (of one exchange, or of the whole portfolio) is fresh,
// orange otherwise. Its tooltip is the store's freshness description (plain text, it can
// carry an exchange's error text), or "等待账户数据" while there is none.
class PortfolioFreshnessDot : public QWidget {
    Q_OBJECT

public:
    explicit PortfolioFreshnessDot(PortfolioStore& store,
                                   std::optional<Exchange> exchange = std::nullopt,
                                   QWidget* parent = nullptr);

    bool isFresh() const;
    QColor dotColor() const;
    // The tooltip's text before escaping.
    QString helpText() const;
    // Re-reads the store: tooltip, accessible value and colour. In a closed window this waits
    // until the window is shown again.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void readStore();

    QPointer<PortfolioStore> m_store;
    std::optional<Exchange> m_exchange;
    CoalescedRender m_whenShown{this, [this] { readStore(); }};
};

}  // namespace vantrell
