#pragma once

#include "settings/PositionSortMode.h"

#include <QPointer>
#include <QToolButton>

class QMenu;

namespace vantrell {

class AppSettings;

// The menu that chooses how positions are ordered everywhere: its label is the current
// mode's short text, its items the five modes with a checkmark on the current one. Choosing
// an item writes the setting (which stores itself); the label follows the setting, whoever
// changed it.
class PositionSortMenu : public QToolButton {
    Q_OBJECT

public:
    explicit PositionSortMenu(AppSettings& settings, QWidget* parent = nullptr);

    QMenu* sortMenu() const { return m_menu; }
    // The item of a mode ("positionSortItem.<stored mode>").
    QAction* itemFor(PositionSortMode mode) const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void sync();

    QPointer<AppSettings> m_settings;
    QMenu* m_menu;
};

}  // namespace vantrell
