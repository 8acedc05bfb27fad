#pragma once

#include "views/popover/PopoverModel.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QToolButton;
class QVariantAnimation;

namespace vantrell {

class FitLabel;
class PortfolioFreshnessDot;
class PortfolioStore;

// The popover's header: the title with the freshness dot, "未连接" while not live, the time of
// the last refresh and the refresh, settings and quit buttons; below, the total and the
// period's change. The refresh icon turns while a refresh runs.
class PopoverHeader : public QWidget {
    Q_OBJECT

public:
    explicit PopoverHeader(PortfolioStore& store, QWidget* parent = nullptr);

    void setModel(const PopoverModel& model);

Q_SIGNALS:
    void refreshClicked();
    void settingsClicked();
    void quitClicked();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* headerButton(const QString& symbol, const QString& tip, const QString& name);
    void keepTotalWhole();
    void setSpinning(bool spinning);
    void paintIcons();

    FitLabel* m_title;
    PortfolioFreshnessDot* m_dot;
    FitLabel* m_notConnected;
    FitLabel* m_time;
    QToolButton* m_refresh;
    QToolButton* m_settings;
    QToolButton* m_quit;
    FitLabel* m_total;
    FitLabel* m_periodLine;
    QHBoxLayout* m_totalRow;
    QVariantAnimation* m_spin;
    qreal m_angle = 0;
};

}  // namespace vantrell
