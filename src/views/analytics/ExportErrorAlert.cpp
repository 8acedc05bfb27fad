#include "views/analytics/ExportErrorAlert.h"

#include "store/PortfolioStore.h"
#include "views/analytics/AnalyticsTexts.h"
#include "views/kit/WindowAppearanceBridge.h"

#include <QEvent>
#include <QMessageBox>
#include <QPushButton>

namespace vantrell {

ExportErrorAlert::ExportErrorAlert(PortfolioStore& store, QWidget* host)
    : QObject(host), m_store(&store), m_host(host)
{
    setObjectName(QStringLiteral("exportErrorAlert"));
    connect(&store, &PortfolioStore::exportErrorChanged, this, &ExportErrorAlert::sync);
    host->installEventFilter(this);
}

bool ExportErrorAlert::eventFilter(QObject* watched, QEvent* event)
{
    // An error that arrived while the page was hidden is shown when it comes back.
    if (watched == m_host && event->type() == QEvent::Show) {
        sync();
    }
    return QObject::eventFilter(watched, event);
}

void ExportErrorAlert::sync()
{
    const std::optional<QString> error =
        m_store ? m_store->exportError() : std::optional<QString>();
    if (!error) {
        if (m_box) {
            m_box->done(QMessageBox::Ok);
        }
        return;
    }
    if (m_box) {
        m_box->setText(*error);
    } else if (m_host->isVisible()) {
        open(*error);
    }
}

void ExportErrorAlert::open(const QString& message)
{
    auto* box = new QMessageBox(QMessageBox::Warning, AnalyticsTexts::exportFailedTitle.toString(),
                                message, QMessageBox::NoButton, m_host);
    box->setObjectName(QStringLiteral("exportErrorBox"));
    // The message comes from the file system: never read it as markup.
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::WindowModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* ok =
        box->addButton(AnalyticsTexts::exportFailedButton.toString(), QMessageBox::AcceptRole);
    ok->setObjectName(QStringLiteral("exportErrorOkButton"));
    box->setEscapeButton(ok);
    if (const auto mode = WindowAppearanceBridge::appliedMode(m_host->window())) {
        WindowAppearanceBridge::apply(box, *mode);
    }
    connect(box, &QMessageBox::finished, this, &ExportErrorAlert::dismissed);
    m_box = box;
    box->open();
}

void ExportErrorAlert::dismissed()
{
    m_box = nullptr;
    if (m_store) {
        m_store->clearExportError();
    }
}

}  // namespace vantrell
