#include "views/update/UpdateDialogs.h"

#include "services/SecureAddress.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

namespace vantrell {

UpdateDialogs::UpdateDialogs(UrlOpener openUrl) : m_openUrl(std::move(openUrl))
{
    if (!m_openUrl) {
        m_openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    }
}

UpdateDialogs::~UpdateDialogs()
{
    delete m_dialog;
}

void UpdateDialogs::showUpdateFound(const UpdateItem& item)
{
    QMessageBox* box = present(QStringLiteral("updateFoundDialog"),
                               QStringLiteral("发现新版本 v") + item.displayVersionString,
                               QMessageBox::Information);
    QPushButton* download = box->addButton(QStringLiteral("下载"), QMessageBox::AcceptRole);
    download->setObjectName(QStringLiteral("updateDownloadButton"));
    QPushButton* later = box->addButton(QStringLiteral("稍后"), QMessageBox::RejectRole);
    later->setObjectName(QStringLiteral("updateLaterButton"));
    box->setDefaultButton(download);
    // Nothing downloaded is ever run here: the page opens in the browser, and only over https.
    const QUrl url = item.downloadURL;
    QObject::connect(download, &QPushButton::clicked, box, [opener = m_openUrl, url] {
        if (SecureAddress::isSecure(url)) {
            opener(url);
        }
    });
    box->show();
}

void UpdateDialogs::showUpdateNotFound()
{
    QMessageBox* box = present(QStringLiteral("updateNotFoundDialog"),
                               QStringLiteral("已是最新版本"), QMessageBox::Information);
    box->addButton(QStringLiteral("好"), QMessageBox::AcceptRole)
        ->setObjectName(QStringLiteral("updateOkButton"));
    box->show();
}

void UpdateDialogs::showUpdaterError(const UpdaterError& error)
{
    QMessageBox* box = present(QStringLiteral("updateErrorDialog"), error.localizedDescription,
                               QMessageBox::Warning);
    box->addButton(QStringLiteral("好"), QMessageBox::AcceptRole)
        ->setObjectName(QStringLiteral("updateOkButton"));
    box->show();
}

QMessageBox* UpdateDialogs::present(const QString& objectName, const QString& text,
                                    QMessageBox::Icon icon)
{
    if (m_dialog) {
        m_dialog->close();
        m_dialog->deleteLater();
    }
    auto* box = new QMessageBox();
    box->setObjectName(objectName);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setWindowTitle(QStringLiteral("Vantrell"));
    box->setIcon(icon);
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    m_dialog = box;
    return box;
}

}  // namespace vantrell
