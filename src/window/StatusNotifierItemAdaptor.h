#pragma once

#include "window/StatusNotifierPixmap.h"
#include "window/StatusNotifierToolTip.h"

#include <QDBusAbstractAdaptor>
#include <QString>

namespace vantrell {

class StatusNotifierItem;

// The tray item's face on D-Bus (org.kde.StatusNotifierItem with the label extension): the
// properties hosts read, the signals that tell them to read again, and the clicks they pass on.
class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QString IconName READ iconName)
    Q_PROPERTY(vantrell::StatusNotifierPixmaps IconPixmap READ iconPixmap)
    Q_PROPERTY(vantrell::StatusNotifierToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QString XAyatanaLabel READ label)
    Q_PROPERTY(QString XAyatanaLabelGuide READ labelGuide)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem* item);

    QString category() const { return QStringLiteral("ApplicationStatus"); }
    QString id() const { return QStringLiteral("vantrell"); }
    QString title() const { return QStringLiteral("Vantrell"); }
    QString status() const { return QStringLiteral("Active"); }
    // Empty: hosts draw IconPixmap.
    QString iconName() const { return QString(); }
    StatusNotifierPixmaps iconPixmap() const;
    StatusNotifierToolTip toolTip() const;
    // A click activates the item; there is no menu of its own.
    bool itemIsMenu() const { return false; }
    QString label() const;
    QString labelGuide() const;

public Q_SLOTS:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString& orientation);

Q_SIGNALS:
    void NewIcon();
    void NewToolTip();
    void NewStatus(const QString& status);
    void XAyatanaNewLabel(const QString& label, const QString& guide);

private:
    StatusNotifierItem* m_item;
};

}  // namespace vantrell
