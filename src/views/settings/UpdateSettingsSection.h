#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace vantrell {

class AppSettings;
class BusyIndicator;
class UpdateChecker;

// The settings form's "应用更新" section over the update checker: the running version, the
// automatic-check switch (a setting), the automatic-download switch (the updater's own), the
// check's state with its buttons, the release-notes link and the time of the last check.
class UpdateSettingsSection : public QWidget {
    Q_OBJECT

public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // Both must outlive the section.
    UpdateSettingsSection(AppSettings& settings, UpdateChecker& checker, QWidget* parent = nullptr);

    // Opens the release notes; the desktop's browser unless a test passes another.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

private:
    QWidget* buildStatusRow();
    void render();
    void renderStatus();

    QPointer<AppSettings> m_settings;
    QPointer<UpdateChecker> m_checker;
    UrlOpener m_openUrl;

    QCheckBox* m_automaticChecks = nullptr;
    QCheckBox* m_automaticDownloads = nullptr;
    BusyIndicator* m_busy = nullptr;
    QLabel* m_statusIcon = nullptr;
    QLabel* m_statusText = nullptr;
    QPushButton* m_installButton = nullptr;
    QPushButton* m_checkButton = nullptr;
    QLabel* m_releaseNotes = nullptr;
    QLabel* m_lastChecked = nullptr;
};

}  // namespace vantrell
