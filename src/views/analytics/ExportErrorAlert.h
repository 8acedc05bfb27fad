#pragma once

#include <QObject>
#include <QPointer>

#include <QMessageBox>

namespace vantrell {

class PortfolioStore;

// The "导出失败" alert of the analytics page. It is up while the store holds an export error
// and its host is on screen, showing the error's text; closing it in any way (its button,
// Escape, the window's close button) clears the error. Presenting it changes nothing.
class ExportErrorAlert : public QObject {
    Q_OBJECT

public:
    // The alert is window-modal over `host`, which also owns this object.
    ExportErrorAlert(PortfolioStore& store, QWidget* host);

    // The open alert, or null.
    QMessageBox* box() const { return m_box; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sync();
    void open(const QString& message);
    void dismissed();

    QPointer<PortfolioStore> m_store;
    QWidget* m_host;
    QPointer<QMessageBox> m_box;
};

}  // namespace vantrell
