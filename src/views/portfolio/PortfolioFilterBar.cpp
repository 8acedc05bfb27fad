#include "views/portfolio/PortfolioFilterBar.h"

#include "store/PortfolioStore.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/FilterBarOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>

namespace vantrell {

namespace {

QComboBox* picker(const QString& name, const QString& accessibleName, int width)
{
    auto* combo = new QComboBox;
    combo->setObjectName(name);
    combo->setAccessibleName(accessibleName);
    combo->setFixedWidth(width);
    return combo;
}

template <typename T>
void fill(QComboBox* combo, const std::vector<FilterOption<T>>& options)
{
    combo->clear();
    for (const FilterOption<T>& option : options) {
        combo->addItem(option.text);
    }
}

template <typename T>
std::optional<T> tagAt(const std::vector<FilterOption<T>>& options, int index)
{
    if (index < 0 || index >= static_cast<int>(options.size())) {
        return std::nullopt;
    }
    return options[static_cast<std::size_t>(index)].tag;
}

}  // namespace

PortfolioFilterBar::PortfolioFilterBar(PortfolioStore& store, LocalCredentialStore credentials,
                                       bool showsSides, QWidget* parent)
    : QWidget(parent),
      m_store(&store),
      m_credentials(std::move(credentials)),
      m_search(new QLineEdit),
      m_exchange(picker(QStringLiteral("filterExchangePicker"), QStringLiteral("交易所"), 120)),
      m_account(picker(QStringLiteral("filterAccountPicker"), QStringLiteral("账户"), 140))
{
    setObjectName(QStringLiteral("portfolioFilterBar"));
    m_search->setObjectName(QStringLiteral("filterSearchField"));
    m_search->setPlaceholderText(FilterBarOptions::searchPlaceholder);
    m_search->setMaximumWidth(230);
    m_search->setClearButtonEnabled(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(m_search, 1);
    layout->addWidget(m_exchange);
    layout->addWidget(m_account);
    if (showsSides) {
        m_side = picker(QStringLiteral("filterSidePicker"), QStringLiteral("方向"), 100);
        fill(m_side, FilterBarOptions::sides());
        layout->addWidget(m_side);
        connect(m_side, &QComboBox::activated, this, &PortfolioFilterBar::edited);
    } else {
        m_hideSmall = new QCheckBox(FilterBarOptions::hideSmallLabel);
        m_hideSmall->setObjectName(QStringLiteral("filterHideSmallSwitch"));
        m_hideSmall->setFont(ViewFonts::font(11));
        layout->addWidget(m_hideSmall);
        connect(m_hideSmall, &QCheckBox::toggled, this, &PortfolioFilterBar::edited);
    }
    layout->addStretch(0);
    // Only the user's edits: programmatic changes happen under a signal blocker.
    connect(m_search, &QLineEdit::textChanged, this, &PortfolioFilterBar::edited);
    connect(m_exchange, &QComboBox::activated, this, &PortfolioFilterBar::edited);
    connect(m_account, &QComboBox::activated, this, &PortfolioFilterBar::edited);
    for (auto signal :
         {&PortfolioStore::snapshotChanged, &PortfolioStore::exchangeStatusesChanged}) {
        connect(&store, signal, this, &PortfolioFilterBar::repopulate);
    }
    repopulate();
}

void PortfolioFilterBar::repopulate()
{
    if (!m_store) {
        return;
    }
    const std::vector<Exchange> configured = m_store->configuredExchanges();
    const QSignalBlocker exchangeBlocker(m_exchange);
    const QSignalBlocker accountBlocker(m_account);
    fill(m_exchange, FilterBarOptions::exchanges(configured));
    fill(m_account, FilterBarOptions::accounts(configured, m_credentials));
    select();
}

void PortfolioFilterBar::setFilter(const PortfolioFilter& filter)
{
    m_filter = filter;
    const QSignalBlocker searchBlocker(m_search);
    m_search->setText(filter.query);
    select();
}

void PortfolioFilterBar::select()
{
    const QSignalBlocker exchangeBlocker(m_exchange);
    const QSignalBlocker accountBlocker(m_account);
    const std::vector<Exchange> configured =
        m_store ? m_store->configuredExchanges() : std::vector<Exchange>{};
    m_exchange->setCurrentIndex(
        indexOfOption(FilterBarOptions::exchanges(configured), m_filter.exchange));
    m_account->setCurrentIndex(
        indexOfOption(FilterBarOptions::accounts(configured, m_credentials), m_filter.accountID));
    if (m_side) {
        const QSignalBlocker blocker(m_side);
        m_side->setCurrentIndex(indexOfOption(FilterBarOptions::sides(), m_filter.side));
    }
    if (m_hideSmall) {
        const QSignalBlocker blocker(m_hideSmall);
        m_hideSmall->setChecked(m_filter.hideSmall);
    }
}

void PortfolioFilterBar::edited()
{
    const std::vector<Exchange> configured =
        m_store ? m_store->configuredExchanges() : std::vector<Exchange>{};
    PortfolioFilter next = m_filter;
    next.query = m_search->text();
    if (m_exchange->currentIndex() >= 0) {
        next.exchange = tagAt(FilterBarOptions::exchanges(configured), m_exchange->currentIndex());
    }
    if (m_account->currentIndex() >= 0) {
        next.accountID =
            tagAt(FilterBarOptions::accounts(configured, m_credentials), m_account->currentIndex());
    }
    if (m_side && m_side->currentIndex() >= 0) {
        next.side = tagAt(FilterBarOptions::sides(), m_side->currentIndex());
    }
    if (m_hideSmall) {
        next.hideSmall = m_hideSmall->isChecked();
    }
    if (next == m_filter) {
        return;
    }
    m_filter = next;
    Q_EMIT filterChanged(m_filter);
}

void PortfolioFilterBar::showEvent(QShowEvent* event)
{
    repopulate();
    QWidget::showEvent(event);
}

}  // namespace vantrell
