#include "window/StatusNotifierItemAdaptor.h"

#include "window/StatusNotifierItem.h"

namespace vantrell {

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(StatusNotifierItem* item)
    : QDBusAbstractAdaptor(item), m_item(item)
{
}

StatusNotifierPixmaps StatusNotifierItemAdaptor::iconPixmap() const
{
    return m_item->iconPixmap();
}

StatusNotifierToolTip StatusNotifierItemAdaptor::toolTip() const
{
    return m_item->toolTip();
}

QString StatusNotifierItemAdaptor::label() const
{
    return m_item->label();
}

QString StatusNotifierItemAdaptor::labelGuide() const
{
    return m_item->labelGuide();
}

void StatusNotifierItemAdaptor::Activate(int x, int y)
{
    Q_EMIT m_item->activated(QPoint(x, y));
}

// The popover is the program's only surface: the other clicks and the wheel have nothing to do.
void StatusNotifierItemAdaptor::SecondaryActivate(int, int) {}

void StatusNotifierItemAdaptor::ContextMenu(int, int) {}

void StatusNotifierItemAdaptor::Scroll(int, const QString&) {}

}  // namespace vantrell
