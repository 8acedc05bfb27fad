#include "views/floating/FloatingPortfolioView.h"

#include "support/StagedPortfolio.h"
#include "views/drawing/Sparkline.h"
#include "views/kit/CardFrame.h"
#include "views/kit/FitLabel.h"
#include "views/kit/VantrellPalette.h"
#include "window/FloatingPanelGeometry.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace vantrell;
using namespace vantrell::test;

namespace {

using Style = FloatingDisplayStyle;

QString textOf(const QWidget& view, const QString& name)
{
    const auto* label = view.findChild<FitLabel*>(name);
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
}

QColor colorOf(const QWidget& view, const QString& name)
{
    const auto* label = view.findChild<FitLabel*>(name);
    return label != nullptr ? label->color() : QColor();
}

class FloatingPortfolioViewTest : public ::testing::Test {
protected:
    // Five exchanges, live, 28,896.30 now against 28,100 earlier.
    void stageLive()
    {
        staged.stageAllExchanges();
        staged.setEarlierValue("28100");
        staged.refresh();
    }
    std::unique_ptr<FloatingPortfolioView> makeView(Style style)
    {
        staged.settings().setFloatingStyle(style);
        auto view = std::make_unique<FloatingPortfolioView>(staged.store(), staged.settings());
        view->resize(FloatingPanelGeometry::metrics(style).contentSize);
        return view;
    }

    StagedPortfolio staged;
};

TEST_F(FloatingPortfolioViewTest, LiveFullStyle)
{
    stageLive();
    auto view = makeView(Style::full);
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingTotal")), QStringLiteral("$28,896.30"));
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingSummary")),
              QStringLiteral("24h +$796.30  (+2.83%)"));
    EXPECT_EQ(colorOf(*view, QStringLiteral("floatingTotal")), VantrellPalette::gain());
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingCardAmount.binance")),
              QStringLiteral("$12,500"));
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingCardName.gateio")), QStringLiteral("Gate.io"));
    // No daily change per exchange: primary colour, no percent line.
    EXPECT_EQ(colorOf(*view, QStringLiteral("floatingCardAmount.okx")),
              VantrellPalette::primary(view.get()));
    EXPECT_EQ(view->findChild<FitLabel*>(QStringLiteral("floatingCardPercent.okx")), nullptr);
    EXPECT_EQ(view->findChildren<CardFrame*>().size(), 5);
    EXPECT_TRUE(view->findChildren<Sparkline*>().isEmpty());  // decorative only while not live
}

TEST_F(FloatingPortfolioViewTest, TodayAndCompactStyle)
{
    stageLive();
    staged.settings().setPerformancePeriod(PerformancePeriod::today);
    auto view = makeView(Style::compact);
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingSummary")),
              QStringLiteral("今日 +$796.30  (+2.83%)"));
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingEntryAmount.bitget")),
              QStringLiteral("$2,675"));
    EXPECT_NE(view->findChild<QWidget*>(QStringLiteral("floatingEntry.bybit")), nullptr);
    EXPECT_TRUE(view->findChildren<CardFrame*>().isEmpty());
}

TEST_F(FloatingPortfolioViewTest, TransparentStyleShowsThePercentOnly)
{
    stageLive();
    auto view = makeView(Style::transparent);
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingTotal")), QStringLiteral("$28,896.30"));
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingSummary")), QStringLiteral("24h +2.83%"));
    EXPECT_TRUE(view->findChildren<CardFrame*>().isEmpty());
}

TEST_F(FloatingPortfolioViewTest, NoDataShowsADashInEveryStyle)
{
    staged.stageAllExchanges();  // configured, never refreshed
    for (Style style : allFloatingDisplayStyles) {
        auto view = makeView(style);
        EXPECT_EQ(textOf(*view, QStringLiteral("floatingTotal")), QStringLiteral("—"));
        EXPECT_EQ(view->findChild<FitLabel*>(QStringLiteral("floatingSummary")), nullptr);
        EXPECT_EQ(colorOf(*view, QStringLiteral("floatingTotal")),
                  VantrellPalette::primary(view.get()));
    }
}

TEST_F(FloatingPortfolioViewTest, StaleDataKeepsTheTotalButDropsTheChange)
{
    stageLive();
    staged.stageFailure(Exchange::okx);
    staged.refresh();
    ASSERT_FALSE(staged.store().hasFreshCompleteData());
    auto view = makeView(Style::full);
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingTotal")), QStringLiteral("$28,896.30"));
    EXPECT_EQ(view->findChild<FitLabel*>(QStringLiteral("floatingSummary")), nullptr);
    EXPECT_EQ(view->findChildren<CardFrame*>().size(), 5);
}

TEST_F(FloatingPortfolioViewTest, RerendersOnSettingChanges)
{
    stageLive();
    auto view = makeView(Style::full);
    staged.settings().setPerformancePeriod(PerformancePeriod::today);
    staged.settings().setFloatingStyle(Style::transparent);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->model().style, Style::transparent);
    EXPECT_EQ(textOf(*view, QStringLiteral("floatingSummary")), QStringLiteral("今日 +2.83%"));
}

TEST_F(FloatingPortfolioViewTest, ModelRules)
{
    staged.settings().setDisplayCurrency(DisplayCurrency::cny);  // no rates: nothing converts
    FloatingViewModel::Inputs inputs;
    inputs.isLive = false;
    inputs.totalValue = *Decimal::parse("100");
    inputs.percent = Decimal(0);
    ExchangeAccount binance{Exchange::binance, *Decimal::parse("60"), Decimal(0), {}};
    ExchangeAccount okx{Exchange::okx, *Decimal::parse("40"), *Decimal::parse("-1.5"), {}};
    inputs.accounts = {binance, okx};

    const FloatingViewModel model = FloatingViewModel::make(inputs, staged.settings());
    EXPECT_EQ(model.total, QStringLiteral("—"));
    EXPECT_FALSE(model.summary);                   // full style needs the profit as well
    EXPECT_EQ(model.totalTint, ChangeTint::gain);  // zero counts as a gain
    ASSERT_EQ(model.entries.size(), 2u);
    EXPECT_EQ(model.entries[0].amount, QStringLiteral("—"));
    EXPECT_EQ(model.entries[0].percent, QStringLiteral("0.00%"));
    EXPECT_EQ(model.entries[0].percentTint, ChangeTint::gain);
    EXPECT_EQ(model.entries[1].percent, QStringLiteral("-1.50%"));
    EXPECT_EQ(model.entries[1].amountTint, ChangeTint::loss);
    EXPECT_EQ(model.entries[0].sparkline, (std::vector<double>{1, 3, 2, 5, 4, 8, 7, 10}));
    EXPECT_EQ(model.entries[1].sparkline, (std::vector<double>{1, 4, 3, 6, 5, 7, 6}));

    inputs.isLive = true;
    EXPECT_TRUE(FloatingViewModel::make(inputs, staged.settings()).entries[0].sparkline.empty());
}

TEST_F(FloatingPortfolioViewTest, DecorativeSparklinesWhileNotLive)
{
    FloatingViewModel model;
    model.total = QStringLiteral("—");
    model.entries = {
        {Exchange::binance, QStringLiteral("Binance"), QStringLiteral("—"), ChangeTint::primary,
         std::nullopt, ChangeTint::gain, FloatingViewModel::decorativeSparkline(0)},
        {Exchange::okx, QStringLiteral("OKX"), QStringLiteral("—"), ChangeTint::primary,
         std::nullopt, ChangeTint::gain, FloatingViewModel::decorativeSparkline(1)}};
    auto view = makeView(Style::full);
    view->render(model);
    const auto lines = view->findChildren<Sparkline*>();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0]->size(), QSize(44, 24));
    EXPECT_EQ(lines[0]->color(), VantrellPalette::gain());
}

TEST_F(FloatingPortfolioViewTest, TransparentCloseButtonOnlyOnHover)
{
    stageLive();
    auto view = makeView(Style::transparent);
    view->move(300, 300);  // away from the pointer, which would report a hover of its own
    view->show();
    QCoreApplication::processEvents();
    auto* close = view->findChild<QToolButton*>(QStringLiteral("floatingCloseButton"));
    ASSERT_NE(close, nullptr);
    auto* summary = view->findChild<FitLabel*>(QStringLiteral("floatingSummary"));
    const QRect summaryPlace = summary->geometry();
    EXPECT_FALSE(close->isVisible());

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), view->mapToGlobal(QPointF(5, 5)));
    QCoreApplication::sendEvent(view.get(), &enter);
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->isHovering());
    EXPECT_TRUE(close->isVisible());
    EXPECT_EQ(summary->geometry(), summaryPlace);  // the button kept its place while hidden

    // The hover state survives a re-render.
    staged.settings().setPerformancePeriod(PerformancePeriod::today);
    QCoreApplication::processEvents();
    close = view->findChild<QToolButton*>(QStringLiteral("floatingCloseButton"));
    EXPECT_TRUE(close->isVisible());

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(view.get(), &leave);
    EXPECT_FALSE(close->isVisible());
}

TEST_F(FloatingPortfolioViewTest, FullStyleCloseButtonAlwaysShownAndRequestsClosing)
{
    auto view = makeView(Style::full);
    view->show();
    QSignalSpy closing(view.get(), &FloatingPortfolioView::closeRequested);
    auto* close = view->findChild<QToolButton*>(QStringLiteral("floatingCloseButton"));
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->isVisible());
    close->click();
    EXPECT_EQ(closing.count(), 1);
}

}  // namespace
