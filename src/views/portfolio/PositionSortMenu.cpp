#include "views/portfolio/PositionSortMenu.h"

#include "settings/AppSettings.h"
#include "views/kit/SymbolIcon.h"
#include "views/kit/VantrellPalette.h"
#include "views/kit/ViewFonts.h"
#include "views/portfolio/PositionSortTexts.h"

#include <QEvent>
#include <QMenu>

namespace vantrell {

PositionSortMenu::PositionSortMenu(AppSettings& settings, QWidget* parent)
    : QToolButton(parent), m_settings(&settings), m_menu(new QMenu(this))
{
    setObjectName(QStringLiteral("positionSortMenu"));
    m_menu->setObjectName(QStringLiteral("positionSortMenu.menu"));
    setPopupMode(QToolButton::InstantPopup);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setAutoRaise(true);
    setFont(ViewFonts::font(11));
    setIconSize(QSize(11, 11));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const PositionSortMode mode : allPositionSortModes) {
        QAction* item = m_menu->addAction(PositionSortTexts::menuText(mode));
        item->setObjectName(QStringLiteral("positionSortItem.") + toStored(mode));
        connect(item, &QAction::triggered, this, [this, mode] {
            if (m_settings) {
                m_settings->setPositionSortMode(mode);
            }
        });
    }
    setMenu(m_menu);
    connect(&settings, &AppSettings::positionSortModeChanged, this, &PositionSortMenu::sync);
    sync();
}

QAction* PositionSortMenu::itemFor(PositionSortMode mode) const
{
    return m_menu->findChild<QAction*>(QStringLiteral("positionSortItem.") + toStored(mode));
}

void PositionSortMenu::sync()
{
    if (!m_settings) {
        return;
    }
    const PositionSortMode current = m_settings->positionSortMode();
    setText(PositionSortTexts::shortText(current));
    setIcon(SymbolIcon::icon(QStringLiteral("arrow.up.arrow.down"), 11,
                             VantrellPalette::primary(this)));
    const QColor ink = VantrellPalette::primary(this);
    for (const PositionSortMode mode : allPositionSortModes) {
        itemFor(mode)->setIcon(
            mode == current ? SymbolIcon::icon(QStringLiteral("checkmark"), 12, ink) : QIcon());
    }
}

void PositionSortMenu::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange) {
        sync();
    }
    QToolButton::changeEvent(event);
}

}  // namespace vantrell
