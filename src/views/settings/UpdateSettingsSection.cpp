#include "views/settings/UpdateSettingsSection.h"

#include "platform/SystemTimeZone.h"
#include "services/UpdateChecker.h"
#include "settings/AppSettings.h"
#include "views/controls/BusyIndicator.h"
#include "views/kit/PlainText.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/settings/SettingsFormParts.h"
#include "views/settings/SettingsFormRules.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeZone>
#include <QVBoxLayout>

namespace vantrell {

namespace Rules = SettingsFormRules;
namespace Parts = SettingsFormParts;

namespace {

using Kind = UpdateChecker::State::Kind;

struct StatusLook {
    QString symbol;
    Parts::Tint tint;
    QString text;
};

StatusLook lookOf(const UpdateChecker::State& state)
{
    switch (state.kind()) {
        case Kind::idle:
            return {{}, Parts::Tint::secondary, QStringLiteral("尚未检查")};
        case Kind::checking:
            return {{}, Parts::Tint::secondary, QStringLiteral("正在检查…")};
        case Kind::upToDate:
            return {QStringLiteral("checkmark.circle.fill"), Parts::Tint::green,
                    QStringLiteral("已是最新版本")};
        case Kind::updateAvailable:
            return {QStringLiteral("arrow.down.circle.fill"), Parts::Tint::blue,
                    QStringLiteral("发现 v") + state.text()};
        case Kind::failed:
            break;
    }
    return {QStringLiteral("exclamationmark.triangle"), Parts::Tint::orange, state.text()};
}

QColor tintColor(Parts::Tint tint, const QWidget* widget)
{
    switch (tint) {
        case Parts::Tint::green:
            return VantrellPalette::systemGreen(widget);
        case Parts::Tint::blue:
            return VantrellPalette::systemBlue(widget);
        case Parts::Tint::orange:
            return VantrellPalette::systemOrange(widget);
        default:
            return VantrellPalette::secondary(widget);
    }
}

}  // namespace

UpdateSettingsSection::UpdateSettingsSection(AppSettings& settings, UpdateChecker& checker,
                                             QWidget* parent)
    : QWidget(parent),
      m_settings(&settings),
      m_checker(&checker),
      m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    auto* content = new QVBoxLayout;
    QLabel* version = PlainText::label(QStringLiteral("v") + UpdateChecker::currentVersion());
    version->setObjectName(QStringLiteral("currentVersionLabel"));
    Parts::setTint(version, Parts::Tint::secondary);
    content->addLayout(Parts::row(QStringLiteral("当前版本"), version));

    m_automaticChecks = new QCheckBox(QStringLiteral("每天自动检查新版本"));
    m_automaticChecks->setObjectName(QStringLiteral("automaticChecksToggle"));
    connect(m_automaticChecks, &QCheckBox::toggled, this, [this](bool on) {
        if (m_settings) {
            m_settings->setAutomaticallyChecksForUpdates(on);
        }
    });
    m_automaticDownloads = new QCheckBox(QStringLiteral("自动下载更新"));
    m_automaticDownloads->setObjectName(QStringLiteral("automaticDownloadsToggle"));
    // The updater holds this switch; the checker's mirror follows it.
    connect(m_automaticDownloads, &QCheckBox::toggled, this, [this](bool on) {
        if (m_checker) {
            m_checker->updaterController().updater().setAutomaticallyDownloadsUpdates(on);
        }
    });
    content->addWidget(m_automaticChecks);
    content->addWidget(m_automaticDownloads);
    content->addWidget(buildStatusRow());

    m_releaseNotes = new QLabel(QStringLiteral("<a href=\"#\">查看版本更新内容</a>"));
    m_releaseNotes->setObjectName(QStringLiteral("releaseNotesLink"));
    m_releaseNotes->setTextFormat(Qt::RichText);
    connect(m_releaseNotes, &QLabel::linkActivated, this, [this] {
        if (m_checker && m_checker->releaseNotesURL() && m_openUrl) {
            m_openUrl(*m_checker->releaseNotesURL());
        }
    });
    m_lastChecked = Parts::caption(QString(), QStringLiteral("lastCheckedLabel"));
    content->addWidget(m_releaseNotes);
    content->addWidget(m_lastChecked);
    content->addWidget(Parts::caption(Rules::updateCaption.toString()));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(
        Parts::section(QStringLiteral("应用更新"), content, QStringLiteral("updateSection")));

    connect(&settings, &AppSettings::automaticallyChecksForUpdatesChanged, this,
            &UpdateSettingsSection::render);
    for (auto signal :
         {&UpdateChecker::stateChanged, &UpdateChecker::canCheckForUpdatesChanged,
          &UpdateChecker::automaticallyDownloadsUpdatesChanged,
          &UpdateChecker::releaseNotesURLChanged, &UpdateChecker::lastCheckedAtChanged}) {
        connect(&checker, signal, this, &UpdateSettingsSection::render);
    }
    render();
}

QWidget* UpdateSettingsSection::buildStatusRow()
{
    auto* statusRow = new QWidget;
    auto* row = new QHBoxLayout(statusRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    m_busy = new BusyIndicator(12);
    m_statusIcon = new QLabel;
    m_statusIcon->setFixedSize(13, 13);
    m_statusText = PlainText::label();
    m_statusText->setObjectName(QStringLiteral("updateStatusText"));
    m_installButton = new QPushButton(QStringLiteral("安装更新"));
    m_installButton->setObjectName(QStringLiteral("installUpdateButton"));
    m_checkButton = new QPushButton;
    m_checkButton->setObjectName(QStringLiteral("checkUpdatesButton"));
    for (QPushButton* button : {m_installButton, m_checkButton}) {
        connect(button, &QPushButton::clicked, this, [this] {
            if (m_checker) {
                m_checker->checkForUpdates();
            }
        });
    }
    row->addWidget(m_busy);
    row->addWidget(m_statusIcon);
    row->addWidget(m_statusText, 1);
    row->addWidget(m_installButton);
    row->addWidget(m_checkButton);
    return statusRow;
}

void UpdateSettingsSection::render()
{
    if (!m_settings || !m_checker) {
        return;
    }
    {
        const QSignalBlocker checks(m_automaticChecks);
        m_automaticChecks->setChecked(m_settings->automaticallyChecksForUpdates());
        const QSignalBlocker downloads(m_automaticDownloads);
        m_automaticDownloads->setChecked(m_checker->automaticallyDownloadsUpdates());
    }
    renderStatus();
    m_releaseNotes->setVisible(m_checker->releaseNotesURL().has_value());
    const std::optional<Date> checkedAt = m_checker->lastCheckedAt();
    m_lastChecked->setVisible(checkedAt.has_value());
    if (checkedAt) {
        m_lastChecked->setText(Rules::lastCheckedText(*checkedAt, QLocale(), systemTimeZone()));
    }
}

void UpdateSettingsSection::renderStatus()
{
    const UpdateChecker::State state = m_checker->state();
    const StatusLook look = lookOf(state);
    const bool checking = state.kind() == Kind::checking;
    m_busy->setVisible(checking);
    m_statusIcon->setVisible(!look.symbol.isEmpty());
    if (!look.symbol.isEmpty()) {
        m_statusIcon->setPixmap(
            SymbolIcon::pixmap(look.symbol, 13, tintColor(look.tint, this), devicePixelRatioF()));
    }
    m_statusText->setText(look.text);
    Parts::setTint(m_statusText, look.tint);
    m_installButton->setVisible(state.kind() == Kind::updateAvailable);
    m_checkButton->setText(state.kind() == Kind::failed ? QStringLiteral("重试检查")
                                                        : QStringLiteral("检查更新"));
    m_checkButton->setEnabled(m_checker->canCheckForUpdates() && !checking);
}

}  // namespace vantrell
