#include "views/exchanges/ExchangeCredentialSheet.h"

#include "store/PortfolioStore.h"
#include "views/controls/BusyIndicator.h"
#include "views/drawing/ExchangeIcon.h"
#include "views/exchanges/CredentialSheetRules.h"
#include "views/kit/PlainText.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vantrell {

namespace Rules = CredentialSheetRules;

namespace {

constexpr int sheetWidth = 500;
constexpr int noticeIconSize = 12;

void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

}  // namespace

ExchangeCredentialSheet::ExchangeCredentialSheet(PortfolioStore& store,
                                                 DefaultsStore& credentialDefaults,
                                                 Exchange exchange,
                                                 std::optional<AdditionalExchangeAccount> account,
                                                 QWidget* parent)
    : QDialog(parent),
      m_store(&store),
      m_model(credentialDefaults, exchange, std::move(account)),
      m_spinner(new QTimer(this))
{
    setObjectName(QStringLiteral("credentialSheet"));
    setWindowTitle(Rules::title(exchange));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(sheetWidth);
    m_spinner->setInterval(80);
    connect(m_spinner, &QTimer::timeout, this, &ExchangeCredentialSheet::stepSpinner);

    // The stored values are read once, before anything can be typed.
    const CredentialSheetModel::Loaded loaded = m_model.load();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(22, 22, 22, 22);
    column->setSpacing(18);
    column->addWidget(buildHeader());
    column->addWidget(buildFields(loaded));
    column->addWidget(buildNotice());
    column->addWidget(buildButtons());
    applyColors();
    updateButtons();
}

void ExchangeCredentialSheet::applyColors()
{
    if (auto* subtitle = findChild<QLabel*>(QStringLiteral("sheetSubtitle"))) {
        setTextColor(subtitle, VantrellPalette::secondary(this));
    }
    if (m_removeButton != nullptr) {
        setTextColor(m_removeButton, VantrellPalette::systemRed(this));
    }
    updateNotice();
}

QWidget* ExchangeCredentialSheet::buildHeader()
{
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(new ExchangeIcon(m_model.exchange(), 38), 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    QLabel* title = PlainText::label(Rules::title(m_model.exchange()));
    title->setObjectName(QStringLiteral("sheetTitle"));
    title->setFont(ViewFonts::font(18, QFont::DemiBold));
    QLabel* subtitle = PlainText::label(Rules::subtitle.toString());
    subtitle->setObjectName(QStringLiteral("sheetSubtitle"));
    subtitle->setFont(ViewFonts::font(11));
    texts->addWidget(title);
    texts->addWidget(subtitle);
    row->addLayout(texts, 1);
    return header;
}

QWidget* ExchangeCredentialSheet::buildFields(const CredentialSheetModel::Loaded& loaded)
{
    auto* fields = new QWidget;
    auto* column = new QVBoxLayout(fields);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);
    if (m_model.servesAdditionalAccount()) {
        m_alias = new QLineEdit(loaded.alias);
        m_alias->setObjectName(QStringLiteral("aliasField"));
        m_alias->setPlaceholderText(Rules::aliasPlaceholder.toString());
        column->addWidget(m_alias);
    }
    column->addWidget(credentialField(Rules::apiKeyTitle.toString(), QStringLiteral("apiKeyField"),
                                      loaded.credentials.apiKey));
    m_apiKey = fields->findChild<QLineEdit*>(QStringLiteral("apiKeyField"));
    column->addWidget(credentialField(Rules::secretKeyTitle.toString(),
                                      QStringLiteral("secretKeyField"),
                                      loaded.credentials.secretKey));
    m_secretKey = fields->findChild<QLineEdit*>(QStringLiteral("secretKeyField"));
    if (m_model.fields().passphrase) {
        column->addWidget(credentialField(Rules::passphraseTitle.toString(),
                                          QStringLiteral("passphraseField"),
                                          loaded.credentials.passphrase));
        m_passphrase = fields->findChild<QLineEdit*>(QStringLiteral("passphraseField"));
    }
    return fields;
}

QWidget* ExchangeCredentialSheet::credentialField(const QString& title, const QString& name,
                                                  const QString& text)
{
    auto* field = new QWidget;
    auto* column = new QVBoxLayout(field);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(5);
    QLabel* label = PlainText::label(title);
    label->setFont(ViewFonts::font(11, QFont::Medium));
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setEchoMode(QLineEdit::Password);
    edit->setPlaceholderText(title);
    connect(edit, &QLineEdit::textChanged, this, &ExchangeCredentialSheet::updateButtons);
    column->addWidget(label);
    column->addWidget(edit);
    return field;
}

QWidget* ExchangeCredentialSheet::buildNotice()
{
    auto* notice = new QWidget;
    auto* row = new QHBoxLayout(notice);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(5);
    m_noticeIcon = new QLabel;
    m_noticeIcon->setObjectName(QStringLiteral("noticeIcon"));
    m_noticeIcon->setFixedSize(noticeIconSize, noticeIconSize);
    m_noticeText = PlainText::label();
    m_noticeText->setObjectName(QStringLiteral("noticeText"));
    m_noticeText->setFont(ViewFonts::font(11));
    m_noticeText->setWordWrap(true);
    row->addWidget(m_noticeIcon, 0, Qt::AlignTop);
    row->addWidget(m_noticeText, 1);
    return notice;
}

QWidget* ExchangeCredentialSheet::buildButtons()
{
    auto* buttons = new QWidget;
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    if (m_model.hasStoredCredentials()) {
        m_removeButton = new QPushButton(Rules::removeButton.toString());
        m_removeButton->setObjectName(QStringLiteral("removeButton"));
        m_removeButton->setAutoDefault(false);
        connect(m_removeButton, &QPushButton::clicked, this,
                &ExchangeCredentialSheet::removeCredentials);
        row->addWidget(m_removeButton);
    }
    row->addStretch(1);
    m_cancelButton = new QPushButton(Rules::cancelButton.toString());
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_cancelButton->setAutoDefault(false);
    connect(m_cancelButton, &QPushButton::clicked, this, &ExchangeCredentialSheet::reject);
    m_saveButton = new QPushButton(Rules::saveButton.toString());
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setDefault(true);
    connect(m_saveButton, &QPushButton::clicked, this, &ExchangeCredentialSheet::verifyAndSave);
    row->addWidget(m_cancelButton);
    row->addWidget(m_saveButton);
    return buttons;
}

EnteredCredentials ExchangeCredentialSheet::entered() const
{
    return {m_apiKey->text(), m_secretKey->text(),
            m_passphrase != nullptr ? m_passphrase->text() : QString()};
}

bool ExchangeCredentialSheet::credentialsComplete() const
{
    const EnteredCredentials values = entered();
    return Rules::credentialsComplete(m_model.exchange(), values.apiKey, values.secretKey,
                                      values.passphrase);
}

void ExchangeCredentialSheet::updateButtons()
{
    if (m_removeButton != nullptr) {
        m_removeButton->setEnabled(!m_busy);
    }
    m_cancelButton->setEnabled(!m_busy);
    m_saveButton->setEnabled(!m_busy && credentialsComplete());
    m_saveButton->setText((m_testing ? Rules::testingText : Rules::saveButton).toString());
    if (!m_testing) {
        m_saveButton->setIcon(QIcon());
    }
}

void ExchangeCredentialSheet::updateNotice()
{
    const bool failed = m_errorMessage.has_value();
    const QColor color =
        failed ? VantrellPalette::systemOrange(this) : VantrellPalette::secondary(this);
    const QString symbol =
        failed ? QStringLiteral("exclamationmark.triangle.fill") : QStringLiteral("lock.fill");
    m_noticeIcon->setPixmap(SymbolIcon::pixmap(symbol, noticeIconSize, color, devicePixelRatioF()));
    m_noticeText->setText(failed ? *m_errorMessage : Rules::storageNotice.toString());
    setTextColor(m_noticeText, color);
}

void ExchangeCredentialSheet::setErrorMessage(const std::optional<QString>& message)
{
    m_errorMessage = message;
    updateNotice();
}

void ExchangeCredentialSheet::setBusy(bool busy, bool testing)
{
    m_busy = busy;
    m_testing = busy && testing;
    // The values being tested are the ones written, so they stay as they are meanwhile.
    for (QLineEdit* edit : {m_alias, m_apiKey, m_secretKey, m_passphrase}) {
        if (edit != nullptr) {
            edit->setReadOnly(busy);
        }
    }
    if (m_testing) {
        m_spinnerStep = 0;
        stepSpinner();
        m_spinner->start();
    } else {
        m_spinner->stop();
    }
    updateButtons();
}

void ExchangeCredentialSheet::stepSpinner()
{
    m_spinnerStep = (m_spinnerStep + 1) % BusyIndicator::steps;
    m_saveButton->setIcon(
        BusyIndicator::frame(m_spinnerStep, 12, palette().color(QPalette::ButtonText)));
}

void ExchangeCredentialSheet::reject()
{
    if (!m_busy) {
        QDialog::reject();
    }
}

void ExchangeCredentialSheet::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void ExchangeCredentialSheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), VantrellPalette::panel(this));
}

void ExchangeCredentialSheet::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_noticeText != nullptr) {
        applyColors();
    }
}

void ExchangeCredentialSheet::verifyAndSave()
{
    if (m_busy || !credentialsComplete()) {
        return;
    }
    setErrorMessage(std::nullopt);
    const EnteredCredentials values = entered();
    if (m_model.isDuplicateKey(Rules::trimmed(values.apiKey))) {
        setErrorMessage(Rules::duplicateKeyMessage.toString());
        return;
    }
    setBusy(true, true);
    testAndSave(values, m_alias != nullptr ? m_alias->text() : QString());
}

QCoro::Task<void> ExchangeCredentialSheet::testAndSave(EnteredCredentials values, QString alias)
{
    QPointer<ExchangeCredentialSheet> self(this);
    if (!m_store) {
        co_return;
    }
    const ConnectionTestResult result =
        co_await m_store->testConnection(m_model.exchange(), m_model.testStore(values));
    if (!self) {
        co_return;
    }
    if (!result.succeeded()) {
        setErrorMessage(Rules::failureMessage(*result.failureMessage));
        setBusy(false, false);
        co_return;
    }
    if (!m_model.save(values, alias)) {
        setErrorMessage(Rules::saveFailedMessage.toString());
        setBusy(false, false);
        co_return;
    }
    co_await refreshStore();
    if (!self) {
        co_return;
    }
    setBusy(false, false);
    accept();
}

void ExchangeCredentialSheet::removeCredentials()
{
    if (m_busy) {
        return;
    }
    setErrorMessage(std::nullopt);
    if (!m_model.remove()) {
        setErrorMessage(Rules::removeFailedMessage.toString());
        return;
    }
    setBusy(true, false);
    removeAndRefresh();
}

QCoro::Task<void> ExchangeCredentialSheet::removeAndRefresh()
{
    QPointer<ExchangeCredentialSheet> self(this);
    co_await refreshStore();
    if (!self) {
        co_return;
    }
    setBusy(false, false);
    accept();
}

QCoro::Task<void> ExchangeCredentialSheet::refreshStore()
{
    if (QPointer<PortfolioStore> store = m_store) {
        co_await store->refreshAfterCurrentCycle();
    }
}

}  // namespace vantrell
