#pragma once

#include "services/UpdateUserDriver.h"

#include <QMessageBox>
#include <QPointer>
#include <QUrl>

#include <functional>

namespace vantrell {

// The update layer's own small windows for checks the user started: the new version with a
// button that opens its download page in the browser, "up to date", or the failure. They never
// block: each is a non-modal box, and a new one replaces the one still open.
class UpdateDialogs final : public UpdateUserDriver {
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    // `openUrl` opens the download page; the desktop's browser unless a test passes another.
    explicit UpdateDialogs(UrlOpener openUrl = {});
    ~UpdateDialogs() override;
    UpdateDialogs(const UpdateDialogs&) = delete;
    UpdateDialogs& operator=(const UpdateDialogs&) = delete;

    void showUpdateFound(const UpdateItem& item) override;
    void showUpdateNotFound() override;
    void showUpdaterError(const UpdaterError& error) override;

    // The box on screen, if any.
    QMessageBox* currentDialog() const { return m_dialog; }

private:
    QMessageBox* present(const QString& objectName, const QString& text, QMessageBox::Icon icon);

    UrlOpener m_openUrl;
    QPointer<QMessageBox> m_dialog;
};

}  // namespace vantrell
