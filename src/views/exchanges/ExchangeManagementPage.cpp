#include "views/exchanges/ExchangeManagementPage.h"

#include "security/CredentialChangeNotifier.h"
#include "security/LocalCredentialStore.h"
#include "services/ReferralLinkStore.h"
#include "store/PortfolioStore.h"
#include "views/drawing/ExchangeIcon.h"
#include "views/exchanges/ExchangeCredentialSheet.h"
#include "views/exchanges/ExchangeManagementRules.h"
#include "views/kit/CardFrame.h"
#include "views/kit/FitLabel.h"
#include "views/kit/PlainText.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantrell {

namespace Rules = ExchangeManagementRules;

namespace {

// The hairline between two exchanges' blocks.
class RowDivider : public QWidget {
public:
    RowDivider() { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter(this).fillRect(rect(), VantrellPalette::divider(this));
    }
};

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

QString nameOf(const QString& role, Exchange exchange)
{
    return role + u'.' + caseName(exchange);
}

}  // namespace

ExchangeManagementPage::ExchangeManagementPage(PortfolioStore& store,
                                               ReferralLinkStore& referralLinks,
                                               DefaultsStore& credentialDefaults, QWidget* parent)
    : QScrollArea(parent),
      m_store(&store),
      m_referralLinks(&referralLinks),
      m_credentialDefaults(credentialDefaults),
      m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("exchangeManagementPage"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("exchangeManagementContent"));
    content->setAutoFillBackground(true);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(12);
    column->addWidget(buildHeader());
    auto* card = new CardFrame(12);
    card->setObjectName(QStringLiteral("exchangeCard"));
    m_cardLayout = new QVBoxLayout(card);
    m_cardLayout->setContentsMargins(0, 0, 0, 0);
    m_cardLayout->setSpacing(0);
    column->addWidget(card);
    column->addStretch(1);
    setWidget(content);

    connect(&store, &PortfolioStore::exchangeStatusesChanged, this,
            &ExchangeManagementPage::scheduleRefresh);
    connect(&store, &PortfolioStore::snapshotChanged, this,
            &ExchangeManagementPage::scheduleRefresh);
    connect(&referralLinks, &ReferralLinkStore::linksChanged, this,
            &ExchangeManagementPage::scheduleRefresh);
    connect(&CredentialChangeNotifier::instance(), &CredentialChangeNotifier::credentialsChanged,
            this, &ExchangeManagementPage::scheduleRefresh);
    applyColors();
    refresh();
}

QWidget* ExchangeManagementPage::buildHeader()
{
    auto* header = new QWidget;
    auto* texts = new QVBoxLayout(header);
    texts->setContentsMargins(2, 0, 2, 0);
    texts->setSpacing(2);
    QLabel* title = PlainText::label(Rules::pageTitle.toString());
    title->setFont(ViewFonts::font(18, QFont::DemiBold));
    QLabel* subtitle = PlainText::label(Rules::pageSubtitle.toString());
    subtitle->setObjectName(QStringLiteral("pageSubtitle"));
    subtitle->setFont(ViewFonts::font(11));
    texts->addWidget(title);
    texts->addWidget(subtitle);
    return header;
}

void ExchangeManagementPage::scheduleRefresh()
{
    // A hidden page is brought up to date when it is shown again.
    if (isVisible()) {
        m_coalescedRefresh.schedule();
    }
}

void ExchangeManagementPage::refreshIfShown()
{
    if (isVisible()) {
        refresh();
    }
}

void ExchangeManagementPage::refresh()
{
    m_coalescedRefresh.clear();
    if (!m_store) {
        return;
    }
    std::vector<ExchangeBlockContent> blocks = currentContent();
    if (blocks == m_shown) {
        return;
    }
    if (haveSameRows(blocks, m_shown)) {
        updateStatusLines(blocks);
    } else {
        rebuildRows(blocks);
    }
    m_shown = std::move(blocks);
}

std::vector<ExchangeBlockContent> ExchangeManagementPage::currentContent() const
{
    const std::vector<AdditionalExchangeAccount> accounts =
        LocalCredentialStore(m_credentialDefaults).additionalAccounts();
    std::vector<ExchangeBlockContent> blocks;
    for (Exchange exchange : allExchanges) {
        const std::optional<ReferralLink> link =
            m_referralLinks ? m_referralLinks->linkFor(exchange) : std::nullopt;
        blocks.push_back(ExchangeBlockContent::of(exchange, m_store->isConfigured(exchange),
                                                  m_store->status(exchange),
                                                  link ? link->url() : std::nullopt, accounts));
    }
    return blocks;
}

void ExchangeManagementPage::updateStatusLines(const std::vector<ExchangeBlockContent>& blocks)
{
    // Called with blocks of the same rows as those shown; lines that read the same are left be.
    for (std::size_t i = 0; i < blocks.size() && i < m_statusLines.size(); ++i) {
        FitLabel* line = m_statusLines[i];
        if (line != nullptr && blocks[i] != m_shown[i]) {
            line->setText(blocks[i].statusText);
            line->setToolTip(PlainText::toolTip(blocks[i].statusTooltip));
        }
    }
}

void ExchangeManagementPage::rebuildRows(const std::vector<ExchangeBlockContent>& blocks)
{
    clearRows();
    for (const ExchangeBlockContent& block : blocks) {
        m_cardLayout->addWidget(exchangeRow(block));
        for (const AdditionalExchangeAccount& account : block.accounts) {
            m_cardLayout->addWidget(accountRow(account));
        }
        if (block.exchange != allExchanges.back()) {
            m_cardLayout->addWidget(divider(block.exchange));
        }
    }
}

void ExchangeManagementPage::clearRows()
{
    m_statusLines.clear();
    while (QLayoutItem* item = m_cardLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

QWidget* ExchangeManagementPage::divider(Exchange exchange)
{
    auto* line = new RowDivider;
    line->setObjectName(nameOf(QStringLiteral("divider"), exchange));
    auto* inset = new QWidget;
    auto* row = new QHBoxLayout(inset);
    row->setContentsMargins(56, 0, 0, 0);
    row->addWidget(line);
    return inset;
}

QWidget* ExchangeManagementPage::exchangeRow(const ExchangeBlockContent& block)
{
    const Exchange exchange = block.exchange;
    auto* rowWidget = new QWidget;
    rowWidget->setObjectName(nameOf(QStringLiteral("exchangeRow"), exchange));
    rowWidget->setMinimumHeight(64);
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(14, 0, 14, 0);
    row->setSpacing(12);
    row->addWidget(new ExchangeIcon(exchange, 34), 0, Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    texts->addStretch(1);
    QLabel* name = PlainText::label(toStored(exchange));
    name->setFont(ViewFonts::font(13, QFont::DemiBold));
    auto* statusLine = new FitLabel(ViewFonts::font(11));
    statusLine->setObjectName(nameOf(QStringLiteral("statusText"), exchange));
    statusLine->setText(block.statusText);
    statusLine->setColorProvider([](const QWidget* w) { return VantrellPalette::secondary(w); });
    statusLine->setToolTip(PlainText::toolTip(block.statusTooltip));
    m_statusLines.push_back(statusLine);
    texts->addWidget(name);
    texts->addWidget(statusLine);
    texts->addStretch(1);
    row->addLayout(texts, 1);
    row->addSpacing(16);

    if (block.registrationURL) {
        row->addWidget(registerButton(exchange, *block.registrationURL));
    }

    auto* manage = new QPushButton(Rules::mainAccountButtonText(block.configured));
    manage->setObjectName(nameOf(QStringLiteral("mainAccountButton"), exchange));
    manage->setIcon(SymbolIcon::icon(QStringLiteral("slider.horizontal.3"), 12,
                                     VantrellPalette::primary(this)));
    connect(manage, &QPushButton::clicked, this,
            [this, exchange] { openSheet(exchange, std::nullopt); });
    row->addWidget(manage);

    auto* add = new QToolButton;
    add->setObjectName(nameOf(QStringLiteral("addAccountButton"), exchange));
    add->setAutoRaise(true);
    add->setIcon(SymbolIcon::icon(QStringLiteral("plus"), 12, VantrellPalette::primary(this)));
    add->setToolTip(Rules::addAccountTooltip.toString());
    connect(add, &QToolButton::clicked, this, [this, exchange] { addAccount(exchange); });
    row->addWidget(add);
    return rowWidget;
}

QWidget* ExchangeManagementPage::registerButton(Exchange exchange, const QUrl& url)
{
    auto* button = new QToolButton;
    button->setObjectName(nameOf(QStringLiteral("registerButton"), exchange));
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setText(Rules::registerButton.toString());
    const QColor accent = VantrellPalette::systemBlue(this);
    button->setIcon(SymbolIcon::icon(QStringLiteral("arrow.up.right.square"), 12, accent));
    setTextColor(button, accent);
    button->setToolTip(Rules::registerTooltip(exchange));
    connect(button, &QToolButton::clicked, this, [this, url] {
        if (m_openUrl) {
            m_openUrl(url);
        }
    });
    return button;
}

QWidget* ExchangeManagementPage::accountRow(const AdditionalExchangeAccount& account)
{
    auto* rowWidget = new QWidget;
    rowWidget->setObjectName(QStringLiteral("accountRow.") + account.id);
    auto* row = new QHBoxLayout(rowWidget);
    row->setContentsMargins(60, 0, 14, 10);
    QLabel* alias = PlainText::label(account.alias);
    alias->setObjectName(QStringLiteral("accountAlias.") + account.id);
    alias->setFont(ViewFonts::font(11));
    row->addWidget(alias, 1);
    auto* manage = new QPushButton(Rules::manageButton.toString());
    manage->setObjectName(QStringLiteral("accountButton.") + account.id);
    connect(manage, &QPushButton::clicked, this,
            [this, account] { openSheet(account.exchange, account); });
    row->addWidget(manage);
    return rowWidget;
}

void ExchangeManagementPage::addAccount(Exchange exchange)
{
    const auto accounts = LocalCredentialStore(m_credentialDefaults).additionalAccounts();
    openSheet(exchange, Rules::proposedAccount(exchange, accounts));
}

void ExchangeManagementPage::openSheet(Exchange exchange,
                                       std::optional<AdditionalExchangeAccount> account)
{
    if (m_sheet || !m_store) {
        return;
    }
    m_sheet = new ExchangeCredentialSheet(*m_store, m_credentialDefaults, exchange,
                                          std::move(account), this);
    m_sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_sheet, &QDialog::finished, this, &ExchangeManagementPage::scheduleRefresh);
    m_sheet->open();
}

void ExchangeManagementPage::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    refresh();
    if (m_referralLinks) {
        // The store guards its own lifetime; the page redraws through linksChanged.
        m_referralLinks->refresh();
    }
}

void ExchangeManagementPage::changeEvent(QEvent* event)
{
    QScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        applyColors();
        // The icons carry the old look's colours: every row is drawn anew.
        m_shown.clear();
        scheduleRefresh();
    }
}

void ExchangeManagementPage::applyColors()
{
    QWidget* content = widget();
    if (content == nullptr) {
        return;
    }
    QPalette palette = content->palette();
    palette.setColor(QPalette::Window, VantrellPalette::panel(this));
    content->setPalette(palette);
    if (auto* subtitle = content->findChild<QLabel*>(QStringLiteral("pageSubtitle"))) {
        setTextColor(subtitle, VantrellPalette::secondary(this));
    }
}

ExchangeCredentialSheet* ExchangeManagementPage::credentialSheet() const
{
    return m_sheet;
}

}  // namespace vantrell
