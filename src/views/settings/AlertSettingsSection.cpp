#include "views/settings/AlertSettingsSection.h"

#include "platform/Notifier.h"
#include "settings/ViewPreferences.h"
#include "views/kit/PlainText.h"
#include "views/kit/ViewFonts.h"
#include "views/settings/SettingsFormParts.h"
#include "views/settings/SettingsFormRules.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace vantrell {

namespace Rules = SettingsFormRules;
namespace Parts = SettingsFormParts;

AlertSettingsSection::AlertSettingsSection(ViewPreferences& preferences, Notifier& authorizer,
                                           QWidget* parent)
    : QWidget(parent), m_preferences(&preferences), m_authorizer(authorizer)
{
    auto* content = new QVBoxLayout;
    m_enabled = new QCheckBox(QStringLiteral("启用系统通知"));
    m_enabled->setObjectName(QStringLiteral("alertsEnabledToggle"));
    connect(m_enabled, &QCheckBox::toggled, this,
            [this](bool on) { m_preferences->setAlertsEnabled(on); });
    content->addWidget(m_enabled);
    content->addWidget(buildFields());
    m_deniedNotice = PlainText::label(Rules::permissionDeniedNotice.toString());
    m_deniedNotice->setObjectName(QStringLiteral("permissionDeniedNotice"));
    m_deniedNotice->setWordWrap(true);
    m_deniedNotice->setFont(ViewFonts::font(11));
    Parts::setTint(m_deniedNotice, Parts::Tint::orange);
    m_deniedNotice->setVisible(false);
    content->addWidget(m_deniedNotice);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(
        Parts::section(QStringLiteral("资产提醒"), content, QStringLiteral("alertsSection")));

    connect(&preferences, &ViewPreferences::valueChanged, this,
            &AlertSettingsSection::syncFromPreferences);
    connect(&preferences, &ViewPreferences::alertsEnabledChanged, this,
            &AlertSettingsSection::alertsEnabledChanged);
    syncFromPreferences();
}

QWidget* AlertSettingsSection::buildFields()
{
    m_fields = new QWidget;
    m_fields->setObjectName(QStringLiteral("alertFields"));
    auto* column = new QVBoxLayout(m_fields);
    column->setContentsMargins(0, 0, 0, 0);
    m_upper = thresholdField(Rules::alertUpperPlaceholder.toString(),
                             QStringLiteral("alertUpperField"), &ViewPreferences::setAlertUpperUSD);
    m_lower = thresholdField(Rules::alertLowerPlaceholder.toString(),
                             QStringLiteral("alertLowerField"), &ViewPreferences::setAlertLowerUSD);
    m_percent =
        thresholdField(Rules::alertPercentPlaceholder.toString(),
                       QStringLiteral("alertPercentField"), &ViewPreferences::setAlertPercent);
    for (QLineEdit* field : {m_upper, m_lower, m_percent}) {
        column->addWidget(field);
    }

    auto* stepper = new QHBoxLayout;
    m_cooldown = PlainText::label();
    m_cooldown->setObjectName(QStringLiteral("alertCooldownLabel"));
    stepper->addWidget(m_cooldown);
    stepper->addStretch(1);
    for (bool up : {false, true}) {
        auto* button = new QToolButton;
        button->setObjectName(up ? QStringLiteral("alertCooldownUp")
                                 : QStringLiteral("alertCooldownDown"));
        button->setText(up ? QStringLiteral("+") : QStringLiteral("−"));
        button->setAutoRepeat(true);
        connect(button, &QToolButton::clicked, this, [this, up] { stepCooldown(up); });
        stepper->addWidget(button);
    }
    column->addLayout(stepper);
    column->addWidget(Parts::caption(QStringLiteral(
        "仅在完整数据下判断阈值。同一条件持续满足不会重复提醒；回到正常范围后重新触发"
        "。通知不包含资产金额。")));
    return m_fields;
}

QLineEdit* AlertSettingsSection::thresholdField(const QString& placeholder, const QString& name,
                                                bool (ViewPreferences::*write)(const QString&))
{
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setPlaceholderText(placeholder);
    // Only the person's edits are written, exactly as typed.
    connect(field, &QLineEdit::textEdited, this, [this, write](const QString& text) {
        if (m_preferences) {
            (m_preferences->*write)(text);
        }
    });
    return field;
}

void AlertSettingsSection::syncFromPreferences()
{
    if (!m_preferences) {
        return;
    }
    const bool enabled = m_preferences->alertsEnabled();
    {
        const QSignalBlocker blocker(m_enabled);
        m_enabled->setChecked(enabled);
    }
    m_fields->setVisible(enabled);
    const std::pair<QLineEdit*, QString> texts[] = {{m_upper, m_preferences->alertUpperUSD()},
                                                    {m_lower, m_preferences->alertLowerUSD()},
                                                    {m_percent, m_preferences->alertPercent()}};
    for (const auto& [field, text] : texts) {
        // The field being typed in already holds the text; leave its cursor alone.
        if (field->text() != text) {
            field->setText(text);
        }
    }
    m_cooldown->setText(Rules::cooldownLabel(m_preferences->alertCooldownMinutes()));
}

void AlertSettingsSection::stepCooldown(bool up)
{
    if (m_preferences) {
        m_preferences->setAlertCooldownMinutes(
            Rules::cooldownStepped(m_preferences->alertCooldownMinutes(), up));
    }
}

void AlertSettingsSection::alertsEnabledChanged()
{
    if (!m_preferences) {
        return;
    }
    if (!m_preferences->alertsEnabled()) {
        m_requests.cancel();
        setPermissionDenied(false);
        return;
    }
    requestPermission();
}

QCoro::Task<void> AlertSettingsSection::requestPermission()
{
    QPointer<AlertSettingsSection> self(this);
    const PermissionRequestTracker::Ticket ticket = m_requests.begin();
    bool granted = false;
    try {
        granted = co_await m_authorizer.requestAuthorization();
    } catch (...) {
        granted = false;
    }
    if (self && m_requests.accepts(ticket)) {
        setPermissionDenied(!granted);
    }
}

void AlertSettingsSection::setPermissionDenied(bool denied)
{
    m_permissionDenied = denied;
    m_deniedNotice->setVisible(denied);
}

}  // namespace vantrell
